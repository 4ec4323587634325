#include "ui/Fmain.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QVBoxLayout>

#include "runtime/twips.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"

namespace zibs {

namespace {

QPushButton* stripButton(QWidget* strip, const char* caption, int left) {
    auto* b = new QPushButton(QString::fromLatin1(caption), strip);
    b->setGeometry(px(left), px(60), px(1305), px(315));
    return b;
}

}  // namespace

Fmain::Fmain(World& world, Rnd& rnd) : world_(world) {
    setWindowTitle("Zibs");

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Picture1 = new QWidget(client);
    Picture1->setFixedHeight(px(465));
    Picture1->setAutoFillBackground(true);
    cmd[0] = stripButton(Picture1, "World", 120);
    cmd[1] = stripButton(Picture1, "Graph", 1530);
    cmd[2] = stripButton(Picture1, "Variables", 2940);
    cmdstop = stripButton(Picture1, "Stop", 4350);
    cmdstop->setEnabled(false);
    layout->addWidget(Picture1);

    area_ = new QMdiArea(client);
    // The child windows' layouts are laid out for a small sans-serif face.
    area_->setFont(QFont("Liberation Sans", 8));
    layout->addWidget(area_, 1);
    setCentralWidget(client);

    mmu = menuBar()->addMenu("File");
    mnu = menuBar()->addMenu("Options");
    mnuopt[0] = mnu->addAction("Auto Zib update");
    mnuopt[0]->setCheckable(true);
    mnuopt[0]->setChecked(true);

    for (int i = 0; i < static_cast<int>(cmd.size()); ++i)
        connect(cmd[i], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
    connect(cmdstop, &QPushButton::clicked, this, &Fmain::cmdstop_Click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::ApplicationShortcut);
    connect(escape, &QShortcut::activated, this, &Fmain::cmdstop_Click);

    forms_ = std::make_unique<Forms>(*this, area_, world, rnd);
    MDIForm_Load();

    resize(px(11490), px(8775) + menuBar()->sizeHint().height());
}

Fmain::~Fmain() = default;

void Fmain::MDIForm_Load() {
    world_.popstart = 10;
    world_.reprorate = 1;
    world_.maxgrass = 20;
    world_.selzib = 1;
}

void Fmain::cmd_Click(int index) {
    switch (index) {
        case 0:
            showChildForm(&forms_->get<Fworld>());
            break;
        case 1:
            showChildForm(&forms_->get<graph>());
            break;
        case 2:
            showChildForm(&forms_->get<Fvariables>());
            break;
        default:
            break;
    }
}

// A click on the item toggles it by itself (it is checkable); this is the same toggle for
// callers other than the menu.
void Fmain::mnuopt_Click(int) {
    mnuopt[0]->setChecked(!mnuopt[0]->isChecked());
}

void Fmain::cmdstop_Click() {
    stopRequested_ = true;
}

void Fmain::runStarted() {
    stopRequested_ = false;
    cmdstop->setEnabled(true);
}

void Fmain::runEnded() {
    cmdstop->setEnabled(false);
}

void Fmain::message(const QString& text) {
    if (messageSink) {
        messageSink(text);
        return;
    }
    QMessageBox::warning(this, "Zibs", text);
}

void Fmain::closeEvent(QCloseEvent* event) {
    closing_ = true;
    stopRequested_ = true;
    event->accept();
}

}  // namespace zibs

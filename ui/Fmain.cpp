#include "ui/Fmain.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "files/filewriter.h"
#include "files/lineagefile.h"
#include "files/worldfile.h"
#include "runtime/controls.h"
#include "sim/statscsv.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"
#include "ui/helptexts.h"
#include "ui/lineages.h"
#include "ui/statistics.h"
#include "ui/worlddocument.h"
#include "ui/zibfile.h"

namespace zibs {

namespace {

QPushButton* stripButton(QWidget* strip, const char* caption, int left) {
    return placed(new QPushButton(caption, strip), left, 60, 1305, 315);
}

}  // namespace

Fmain::Fmain(World& world, Rnd& rnd) : world_(world) {
    // One font for the whole program: the small sans-serif face its layouts are laid out for.
    // This window already has the old one and passes its own on to what it holds.
    const QFont font("Liberation Sans", 8);
    QApplication::setFont(font);
    setFont(font);

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
    cmd[3] = stripButton(Picture1, "Statistics", 4350);
    cmd[4] = stripButton(Picture1, "Lineages", 5760);
    cmdstop = stripButton(Picture1, "Stop", 7170);
    cmdstop->setEnabled(false);
    layout->addWidget(Picture1);

    area_ = new QMdiArea(client);
    layout->addWidget(area_, 1);
    setCentralWidget(client);

    mmu = menuBar()->addMenu("&File");
    mnuopenworld = mmu->addAction("&Open world...");
    mnuopenworld->setShortcut(QKeySequence("Ctrl+O"));
    mnurecent = mmu->addMenu("&Recent worlds");
    mnusaveworld = mmu->addAction("&Save world");
    mnusaveworld->setShortcut(QKeySequence("Ctrl+S"));
    mnusaveworldas = mmu->addAction("Save world &as...");
    mnusaveworldas->setShortcut(QKeySequence("Ctrl+Shift+S"));
    mmu->addSeparator();
    mnuexport = mmu->addAction("Export &population (CSV)...");
    mnuexportstats = mmu->addAction("Export s&tatistics (CSV)...");
    mnuexportphylogeny = mmu->addAction("Export p&hylogeny (CSV)...");
    mnuexporttree = mmu->addAction("Export tree (&Newick)...");
    mnusave = mmu->addAction("Save world p&icture...");
    mmu->addSeparator();
    mnuquit = mmu->addAction("&Quit");
    mnuquit->setShortcut(QKeySequence("Ctrl+Q"));
    mnu = menuBar()->addMenu("&Options");
    mnuopt[0] = mnu->addAction("&Auto Zib update");
    mnuopt[0]->setCheckable(true);
    mnuopt[0]->setChecked(true);
    mnuslow = mnu->addAction("&Slow motion");
    mnuslow->setCheckable(true);
    mnuday = mnu->addAction("&Go to day...");
    mnuhelp = menuBar()->addMenu("&Help");
    mnukeys = mnuhelp->addAction("&Keys");
    mnuabout = mnuhelp->addAction("&About Zibs");

    seedlbl = new QLabel(this);
    statusBar()->addPermanentWidget(seedlbl);

    for (int i = 0; i < static_cast<int>(cmd.size()); ++i)
        connect(cmd[i], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
    connect(cmdstop, &QPushButton::clicked, this, &Fmain::cmdstop_Click);
    connect(mnuopenworld, &QAction::triggered, this, &Fmain::mnuopenworld_Click);
    connect(mnusaveworld, &QAction::triggered, this, &Fmain::mnusaveworld_Click);
    connect(mnusaveworldas, &QAction::triggered, this, &Fmain::mnusaveworldas_Click);
    connect(mnuquit, &QAction::triggered, this, &QWidget::close);
    connect(mnukeys, &QAction::triggered, this,
            [this] { QMessageBox::information(this, "Keys", keysText()); });
    connect(mnuabout, &QAction::triggered, this,
            [this] { QMessageBox::about(this, "About Zibs", aboutText()); });
    connect(mnuexport, &QAction::triggered, this, &Fmain::mnuexport_Click);
    connect(mnuexportstats, &QAction::triggered, this, &Fmain::mnuexportstats_Click);
    connect(mnuexportphylogeny, &QAction::triggered, this, &Fmain::mnuexportphylogeny_Click);
    connect(mnuexporttree, &QAction::triggered, this, &Fmain::mnuexporttree_Click);
    connect(mnusave, &QAction::triggered, this, &Fmain::mnusave_Click);
    connect(mnuday, &QAction::triggered, this, &Fmain::mnuday_Click);
    connect(mmu, &QMenu::aboutToShow, this,
            [this] { mnusave->setEnabled(forms_->existing<Fworld>() != nullptr); });

    // Escape and the world window's buttons from anywhere in the program; a disabled button
    // ignores its key.
    auto addKey = [this](const QKeySequence& key, auto action) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
        keys_.push_back(shortcut);
    };
    addKey(QKeySequence(Qt::Key_Escape), &Fmain::cmdstop_Click);
    const std::pair<QKeySequence, QPushButton * Fworld::*> buttons[] = {
        {QKeySequence("Ctrl+I"), &Fworld::Command1},
        {QKeySequence("Ctrl+1"), &Fworld::Command2},
        {QKeySequence("Ctrl+G"), &Fworld::Command3},
        {QKeySequence("Ctrl+E"), &Fworld::Command4},
    };
    for (const auto& [key, button] : buttons)
        addKey(key, [this, button] { (forms_->get<Fworld>().*button)->click(); });
    // One day back or forward in the run.
    addKey(QKeySequence(Qt::CTRL | Qt::Key_Left), [this] { showDay(world_.day - 1); });
    addKey(QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { showDay(world_.day + 1); });
    addKey(QKeySequence("Ctrl+T"), [this] { cmd_Click(3); });
    addKey(QKeySequence("Ctrl+L"), [this] { cmd_Click(4); });
    // A text box would take Ctrl+E as "end of line" before the shortcut sees it.
    qApp->installEventFilter(this);
    cmdstop->setToolTip("Stop the run after the current day (Esc)");
    cmd[3]->setToolTip("Charts of the population, the cells and the grass, day by day (Ctrl+T)");
    cmd[4]->setToolTip("Who descends from whom: the founding families day by day (Ctrl+L)");

    forms_ = std::make_unique<Forms>(*this, area_, world, rnd);
    document_ = new WorldDocument(*this, forms_->runlog);
    connect(mnurecent, &QMenu::aboutToShow, this, [this] {
        document_->fillRecentMenu(mnurecent, [this](const QString& path) { openRecent(path); });
    });
    // A name typed without a suffix gets the one of the suggested name; the dialog asks before
    // it replaces a file under the name completed so.
    savePathSource = [this](const QString& caption, const QString& filter, const QString& name) {
        QFileDialog dialog(this, caption, name, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QFileInfo(name).suffix());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    openPathSource = [this](const QString& caption, const QString& filter) {
        return QFileDialog::getOpenFileName(this, caption, QString(), filter);
    };
    daySource = [this](int current, int first, int last) -> std::optional<int> {
        bool ok = false;
        // Any whole number is taken: a day outside the run is refused with a message, not
        // silently cut to one inside it.
        const int day = QInputDialog::getInt(this, "Go to day",
                                             QStringLiteral("Day (%1 to %2):").arg(first).arg(last),
                                             current, -2147483647, 2147483647, 1, &ok);
        return ok ? std::optional<int>(day) : std::nullopt;
    };
    MDIForm_Load();

    resize(px(11490), px(8775) + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
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
        case 3:
            showChildForm(&forms_->get<statistics>());
            break;
        case 4:
            showChildForm(&forms_->get<lineages>());
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
    emit stopPressed();
}

void Fmain::runStarted() {
    stopRequested_ = false;
    cmdstop->setEnabled(true);
}

void Fmain::runEnded() {
    cmdstop->setEnabled(false);
    if (statistics* charts = forms_->existing<statistics>()) charts->refresh();
}

void Fmain::message(const QString& text) {
    if (messageSink) {
        messageSink(text);
        return;
    }
    QMessageBox::warning(this, "Zibs", text);
}

void Fmain::showSeed(std::uint32_t seed) {
    seedlbl->setText(QStringLiteral("Seed %1").arg(seed));
}

bool Fmain::worldStarted(const char* what) {
    if (document_->hasWorld()) return true;
    message(
        QStringLiteral("There is nothing to %1 yet: press Initialize to start a world.").arg(what));
    return false;
}

void Fmain::mnuexport_Click() {
    if (!worldStarted("export")) return;
    const QString path = savePathSource("Export population", "CSV files (*.csv)", "population.csv");
    if (!path.isEmpty()) exportPopulation(path);
}

void Fmain::mnuexportstats_Click() {
    if (!worldStarted("export")) return;
    const QString path = savePathSource("Export statistics", "CSV files (*.csv)", "statistics.csv");
    if (!path.isEmpty()) exportStatistics(path);
}

void Fmain::mnusave_Click() {
    if (!worldStarted("save")) return;
    const QString path = savePathSource("Save world picture", "PNG images (*.png)", "world.png");
    if (!path.isEmpty()) saveWorldPicture(path);
}

void Fmain::mnuopenworld_Click() {
    if (!document_->settle([this] { return mnusaveworld_Click(); })) return;
    const QString path = openPathSource("Open world", "Zibs worlds (*.zibs);;All files (*)");
    if (!path.isEmpty()) openWorld(path);
}

void Fmain::openRecent(const QString& path) {
    if (document_->settle([this] { return mnusaveworld_Click(); })) openWorld(path);
}

bool Fmain::mnusaveworld_Click() {
    if (document_->path().isEmpty()) return mnusaveworldas_Click();
    return worldStarted("save") && saveWorld(document_->path());
}

bool Fmain::mnusaveworldas_Click() {
    if (!worldStarted("save")) return false;
    const QString name =
        document_->path().isEmpty() ? QStringLiteral("world.zibs") : document_->path();
    QString path = savePathSource("Save world", "Zibs worlds (*.zibs)", name);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += ".zibs";
    return saveWorld(path);
}

bool Fmain::openWorld(const QString& path) {
    WorldRead read = loadWorld(QFile::encodeName(path).toStdString());
    if (!read.saved) {
        message(QString::fromStdString(read.error));
        return false;
    }
    const SavedWorld& s = *read.saved;
    cmdstop_Click();  // a running "Go 100" or "Go to end" ends before another day
    world_ = s.world;
    forms_->rnd.restore(s.seed, s.generator);  // the reader has checked the state
    forms_->runlog.restore(s.seed, s.texts, s.params, s.history, s.world, s.generator, &s.lineage);
    // The windows Initialize uses, in its order: the parameters window brings the others.
    forms_->get<Fvariables>().setTexts(s.texts, s.seed);
    forms_->get<graph>().drawhistory(s.history);
    forms_->get<Fworld>().drawworld();
    forms_->get<Fworld>().markShownDay();
    if (zibfile* inspector = forms_->existing<zibfile>()) inspector->showzib(world_);
    showSeed(s.seed);
    document_->stored(path);
    return true;
}

bool Fmain::saveWorld(const QString& path) {
    const RunLog& log = forms_->runlog;
    if (log.empty()) {
        message("There is no world to save yet: press Initialize to start a world.");
        return false;
    }
    const SavedWorld saved{log.texts(),
                           log.params(),
                           log.seed(),
                           forms_->rnd.state(),
                           world_,
                           log.rows(),
                           log.lineage().at(world_.day)};
    if (const std::optional<std::string> failure =
            zibs::saveWorld(QFile::encodeName(path).toStdString(), saved)) {
        message(QStringLiteral("The world could not be saved: %1")
                    .arg(QString::fromStdString(*failure)));
        return false;
    }
    document_->stored(path);
    return true;
}

void Fmain::mnuday_Click() {
    const RunLog& log = forms_->runlog;
    if (log.empty()) {
        message("There is no day to go to yet: press Initialize to start a world.");
        return;
    }
    // The run would go on while the question is open.
    if (cmdstop->isEnabled()) cmdstop_Click();
    // An opened world's earlier days are rebuilt when asked for.
    const int first = log.rebuildRefusal().empty() ? 0 : log.firstDay();
    const std::optional<int> day = daySource(world_.day, first, log.lastDay());
    if (!day) return;
    if (*day < first || *day > log.lastDay()) {
        message(QStringLiteral("There is no day %1 in this run: the days are %2 to %3.")
                    .arg(*day)
                    .arg(first)
                    .arg(log.lastDay()));
        return;
    }
    showDay(*day);
}

bool Fmain::showDay(int day) {
    RunLog& log = forms_->runlog;
    if (!log.empty() && day >= 0 && day < log.firstDay()) {
        const std::string why = log.rebuildStart();
        if (!why.empty()) {
            message(QStringLiteral("The days before day %1 cannot be shown: its seed and "
                                   "parameters do not give this world again (%2); the file may "
                                   "have been edited. The world goes back to day %1 at most.")
                        .arg(log.firstDay())
                        .arg(QString::fromStdString(why)));
            day = log.firstDay();
        }
    }
    // Only a day of the run opens the world window.
    if (!log.holds(day) || day == world_.day) return false;
    return forms_->get<Fworld>().goToDay(day);
}

bool Fmain::exportPopulation(const QString& path) {
    return exportRows(path, "population", [](const RunLog& log) { return log.csv(); });
}

bool Fmain::exportStatistics(const QString& path) {
    return exportRows(path, "statistics", [](const RunLog& log) { return statsCsv(log.rows()); });
}

void Fmain::mnuexportphylogeny_Click() {
    if (!worldStarted("export")) return;
    const QString path = savePathSource("Export phylogeny", "CSV files (*.csv)", "phylogeny.csv");
    if (!path.isEmpty()) exportPhylogeny(path);
}

void Fmain::mnuexporttree_Click() {
    if (!worldStarted("export")) return;
    const QString path = savePathSource("Export tree", "Newick files (*.nwk)", "tree.nwk");
    if (!path.isEmpty()) exportTree(path);
}

bool Fmain::exportPhylogeny(const QString& path) {
    return exportRows(path, "phylogeny", [](const RunLog& log) {
        return phylogenyCsv(log.lineage().at(log.currentDay()));
    });
}

bool Fmain::exportTree(const QString& path) {
    return exportRows(path, "tree", [](const RunLog& log) {
        return newickText(log.lineage().at(log.currentDay()));
    });
}

bool Fmain::exportRows(const QString& path, const char* what,
                       std::string (*csv)(const RunLog& log)) {
    const RunLog& log = forms_->runlog;
    if (log.empty()) {
        message("There is nothing to export yet: press Initialize to start a world.");
        return false;
    }
    if (const std::optional<std::string> failure =
            writeWholeFile(QFile::encodeName(path).toStdString(), csv(log))) {
        message(QStringLiteral("The %1 could not be saved: %2")
                    .arg(what, QString::fromStdString(*failure)));
        return false;
    }
    return true;
}

bool Fmain::saveWorldPicture(const QString& path) {
    // Only a picture the user sees: opening the window now would save an empty one.
    const Fworld* shown = forms_->existing<Fworld>();
    if (!shown) {
        message("There is no world picture to save: the world window is closed.");
        return false;
    }
    QByteArray png;
    QBuffer buffer(&png);
    const bool encoded =
        buffer.open(QIODevice::WriteOnly) && shown->pic->image().save(&buffer, "PNG");
    const std::optional<std::string> failure =
        encoded ? writeWholeFile(QFile::encodeName(path).toStdString(), png.toStdString())
                : "PNG encoding failed";
    if (failure) {
        message(QStringLiteral("The world picture could not be saved: %1")
                    .arg(QString::fromStdString(*failure)));
        return false;
    }
    return true;
}

bool Fmain::eventFilter(QObject* watched, QEvent* event) {
    // An open menu or dialog keeps its keys (Escape closes it).
    if (event->type() == QEvent::ShortcutOverride && !QApplication::activePopupWidget() &&
        !QApplication::activeModalWidget()) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QShortcut* shortcut : keys_) {
            if (shortcut->key() != pressed) continue;
            event->ignore();  // not the control's key: the shortcut takes it
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Fmain::closeEvent(QCloseEvent* event) {
    // Cancel keeps everything as it was, a run going on included.
    if (!closing_ && !document_->settle([this] { return mnusaveworld_Click(); })) {
        event->ignore();
        return;
    }
    closing_ = true;
    stopRequested_ = true;
    emit stopPressed();
    event->accept();
}

void Fmain::makeRoomFor(QWidget* frame) {
    QWidget* workspace = area_->viewport();
    const int missing = frame->geometry().right() + 1 - workspace->width();
    if (missing > 0 && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QRect screen = this->screen()->availableGeometry();
        const int room = std::max(0, screen.right() - frameGeometry().right());
        resize(width() + std::min(missing, room), height());
    }
    frame->move(std::clamp(frame->x(), 0, std::max(0, workspace->width() - frame->width())),
                frame->y());
}

}  // namespace zibs

#include "ui/Fvariables.h"

#include <algorithm>

#include "runtime/controls.h"
#include "ui/forms.h"
#include "ui/graph.h"
#include "ui/zibfile.h"

namespace zibs {

namespace {

constexpr int rowHeight = 285;

QLabel* label(QWidget* parent, const char* text, int left, int top, int width) {
    return zibs::label(parent, text, left, top, width, rowHeight);
}

QLineEdit* textBox(QWidget* parent, const char* text, int left, int top) {
    return placed(new QLineEdit(text, parent), left, top, 500, rowHeight);
}

}  // namespace

// Closing the window only hides it: the texts keep whatever the user typed for the whole run.
Fvariables::Fvariables(Forms& forms)
    : ChildForm("Variables", 5190, 2250, OnClose::Hide), forms_(forms) {
    // Created in tab order: the text boxes take the focus in this order.
    Label1 = label(this, "Start population", 90, 30, 1300);
    startpop = textBox(this, "10", 1410, 30);
    repro = textBox(this, "1", 1410, 360);
    Label2 = label(this, "Repro rate", 90, 360, 1300);
    txtGrass = textBox(this, "15", 1410, 690);
    Label3 = label(this, "Max grass", 90, 690, 1300);
    txtgrow = textBox(this, "2", 1410, 1020);
    Label4 = label(this, "Grass growth rate", 90, 1020, 1300);
    txtrad = textBox(this, "50", 1410, 1350);
    Label5 = label(this, "Radiation", 90, 1350, 1300);
    txtmute = textBox(this, "1", 3240, 30);
    Label6 = label(this, "Cell mutations", 1920, 30, 1305);
    Label7 = label(this, "Seed", 1920, 360, 1305);
    txtseed = textBox(this, "", 3240, 360);
    // Wide enough for a ten-digit seed, within the window.
    const int seedWidth = txtseed->fontMetrics().horizontalAdvance("4294967295") + 12;
    txtseed->resize(std::clamp(seedWidth, px(500), px(5190 - 3240 - 90)), txtseed->height());
}

void Fvariables::Form_Load() {
    const zibfile& inspector = forms_.get<zibfile>();
    setTop(inspector.Height() + inspector.Top());
    setLeft(inspector.Left());
    setHeight(forms_.get<graph>().Height());
    setWidth(inspector.Width());
}

ParameterTexts Fvariables::texts() const {
    ParameterTexts t;
    t.startpop = startpop->text().toStdString();
    t.repro = repro->text().toStdString();
    t.grass = txtGrass->text().toStdString();
    t.grow = txtgrow->text().toStdString();
    t.rad = txtrad->text().toStdString();
    t.mute = txtmute->text().toStdString();
    return t;
}

void Fvariables::setTexts(const ParameterTexts& t, std::uint32_t seed) {
    startpop->setText(QString::fromStdString(t.startpop));
    repro->setText(QString::fromStdString(t.repro));
    txtGrass->setText(QString::fromStdString(t.grass));
    txtgrow->setText(QString::fromStdString(t.grow));
    txtrad->setText(QString::fromStdString(t.rad));
    txtmute->setText(QString::fromStdString(t.mute));
    txtseed->setText(QString::number(seed));
}

std::string Fvariables::seedText() const {
    return txtseed->text().toStdString();
}

}  // namespace zibs

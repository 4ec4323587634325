#include "ui/graph.h"

#include "runtime/convert.h"
#include "runtime/twips.h"
#include "ui/Fworld.h"
#include "ui/forms.h"

namespace zibs {

namespace {

QLabel* label(QWidget* parent, const char* text, int left, int top, int width, int height) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setGeometry(px(left), px(top), px(width), px(height));
    // Fixed: a new text then asks the window for no new layout (which re-measures its frame).
    l->setFixedSize(l->size());
    return l;
}

}  // namespace

graph::graph(Forms& forms) : ChildForm("Graphs", 6525, 1845), forms_(forms) {
    graphpic = new PictureBox(this);
    graphpic->setBorder(true);
    graphpic->setGeometry(px(210), px(60), px(4635), px(1305));
    graphpic->setBackColor(RGB(255, 255, 255));
    const QColor text = palette().color(QPalette::WindowText);
    graphpic->setForeColor(RGB(text.red(), text.green(), text.blue()));
    graphpic->setDrawWidth(1);
    graphpic->Cls();
    Label1 = label(this, "Population", 4860, 540, 765, 225);
    Label2 = label(this, "Day", 4860, 810, 765, 225);
    Poplbl = label(this, "0", 5670, 540, 765, 225);
    daylbl = label(this, "0", 5670, 810, 765, 225);
}

void graph::Form_Load() {
    graphpic->setScaleWidth(500);
    graphpic->setScaleHeight(100);
    setLeft(0);
    const Fworld& world = forms_.get<Fworld>();
    setTop(world.Top() + world.Height());
}

void graph::updategraph(const World& world) {
    const double height = graphpic->ScaleHeight();
    graphpic->PSet(world.day, height - world.population);
    Poplbl->setText(QString::fromStdString(plainDecimal(world.population)));
    daylbl->setText(QString::fromStdString(plainDecimal(world.day)));
}

}  // namespace zibs

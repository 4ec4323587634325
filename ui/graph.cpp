#include "ui/graph.h"

#include "runtime/controls.h"
#include "runtime/convert.h"
#include "ui/Fworld.h"
#include "ui/forms.h"

namespace zibs {

graph::graph(Forms& forms) : ChildForm("Graphs", 6525, 1845), forms_(forms) {
    graphpic = new PictureBox(this);
    graphpic->setBorder(true);
    placed(graphpic, 210, 60, 4635, 1305);
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

void graph::drawhistory(const StatsHistory& rows) {
    graphpic->Cls();
    const double height = graphpic->ScaleHeight();
    for (const DayStats& row : rows) {
        if (row.day >= 1) graphpic->PSet(row.day, height - row.population);
    }
    if (rows.empty()) return;
    Poplbl->setText(QString::fromStdString(plainDecimal(rows.back().population)));
    daylbl->setText(QString::fromStdString(plainDecimal(rows.back().day)));
}

void graph::updategraph(const World& world) {
    const double height = graphpic->ScaleHeight();
    graphpic->PSet(world.day, height - world.population);
    Poplbl->setText(QString::fromStdString(plainDecimal(world.population)));
    daylbl->setText(QString::fromStdString(plainDecimal(world.day)));
}

}  // namespace zibs

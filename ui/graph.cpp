#include "ui/graph.h"

#include "runtime/controls.h"
#include "runtime/convert.h"
#include "ui/Fmain.h"
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
    // A click on the plot shows the world of the day under the pointer.
    connect(graphpic, &PictureBox::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, double x, double) {
                if (button == Qt::LeftButton) forms_.main.showDay(nearestInt(x));
            });
}

void graph::Form_Load() {
    graphpic->setScaleWidth(500);
    graphpic->setScaleHeight(100);
    setLeft(0);
    const Fworld& world = forms_.get<Fworld>();
    setTop(world.Top() + world.Height());
    // A window opened again shows the run as the window that stayed open shows it: the curve of
    // every day run, the figures of the day the world is at, marked when it is an earlier one.
    const RunLog& log = forms_.runlog;
    if (log.empty()) return;
    drawhistory(log.runRows());
    showFigures(forms_.world);
    if (forms_.world.day < log.lastDay()) markDay(forms_.world.day);
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
    showFigures(world);
}

void graph::showFigures(const World& world) {
    Poplbl->setText(QString::fromStdString(plainDecimal(world.population)));
    daylbl->setText(QString::fromStdString(plainDecimal(world.day)));
}

void graph::markDay(int day) {
    if (day < 0) {
        if (dayMark_) dayMark_->hide();
        return;
    }
    if (!dayMark_) {
        // A widget of its own over the plot: the picture keeps its pixels, and the dot of the
        // day shows through the translucent line.
        dayMark_ = new QWidget(graphpic);
        dayMark_->setAttribute(Qt::WA_TransparentForMouseEvents);
        dayMark_->setAutoFillBackground(true);
        QPalette pal = dayMark_->palette();
        pal.setColor(QPalette::Window, QColor(255, 0, 0, 110));
        dayMark_->setPalette(pal);
    }
    const int border = graphpic->borderWidth();
    const QPoint at = graphpic->toPixel(day, 0);
    dayMark_->setGeometry(border + at.x(), border, 1, graphpic->height() - 2 * border);
    dayMark_->show();
}

}  // namespace zibs

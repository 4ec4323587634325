// Runs bring the screen up to date at the display's pace and end with their last day on it.
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>

#include "app_fixture.h"
#include "runtime/repaintpacer.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"

namespace zibs {
namespace {

using PacedRuns = AppTest;

// Counts the paint events of a widget; for a label, keeps the text its last paint showed.
class Paints : public QObject {
  public:
    explicit Paints(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    int count = 0;
    QString lastText;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
            if (auto* label = qobject_cast<QLabel*>(widget_)) lastText = label->text();
        }
        return false;
    }

  private:
    QWidget* widget_;
};

// The drawing area of a picture as the screen shows it.
QImage onScreen(const PictureBox& pic) {
    QWidget* window = pic.window();
    const QPoint at = pic.mapTo(window, QPoint(pic.borderWidth(), pic.borderWidth()));
    const QSize size = pic.image().size();
    return window->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), size.width(), size.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The last 600 days before the day limit of a world that lives that long: one repaint at the
// start, then at most one per pacing interval, whatever the speed of the days (a bound from the
// run's own duration, not a demand on it), and the screen shows the last day when "Go to end"
// returns; so it does when "Go 100" returns. "Go 1" repaints once the window events run, as it
// always did.
TEST_F(PacedRuns, FewRepaintsAndTheLastDayShown) {
    Fworld& w = window<Fworld>();
    start("31").Command2->click();
    QCoreApplication::processEvents();
    world.day = dayLimit - 600;
    Paints picture(w.pic);
    Paints day(window<graph>().daylbl);
    QElapsedTimer clock;
    clock.start();
    w.Command4->click();
    const qint64 bound = clock.elapsed() / RepaintPacer::intervalMs + 2;
    ASSERT_EQ(world.day, dayLimit);
    ASSERT_GT(world.population, 0);
    for (const Paints* p : {&picture, &day}) {
        EXPECT_GE(p->count, 1);
        EXPECT_LE(p->count, bound);
    }
    EXPECT_EQ(day.lastText.toStdString(), std::to_string(dayLimit));
    EXPECT_EQ(onScreen(*w.pic), w.pic->image());

    world.day = 1000;
    w.Command3->click();
    EXPECT_EQ(day.lastText.toStdString(), "1100");
    EXPECT_EQ(onScreen(*w.pic), w.pic->image());

    w.Command2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(day.lastText.toStdString(), "1101");
    EXPECT_EQ(onScreen(*w.pic), w.pic->image());
}

}  // namespace
}  // namespace zibs

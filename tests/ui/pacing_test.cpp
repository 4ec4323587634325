// Runs bring the screen up to date at the display's pace and end with their last day on it.
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>

#include "app_fixture.h"
#include "runtime/repaintpacer.h"

namespace zibs {
namespace {

using PacedRuns = AppTest;

// Counts the paint events of a widget; for a label, keeps the text its last paint showed.
struct Paints : QObject {
    QLabel* label;
    int count = 0;
    QString lastText;

    explicit Paints(QWidget* w) : label(qobject_cast<QLabel*>(w)) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        ++count;
        if (label) lastText = label->text();
        return false;
    }
};

// The drawing area of a picture as the screen shows it.
QImage onScreen(const PictureBox& pic) {
    QWidget* window = pic.window();
    const QRect r(pic.mapTo(window, QPoint(1, 1) * pic.borderWidth()), pic.image().size());
    return window->screen()
        ->grabWindow(window->winId(), r.x(), r.y(), r.width(), r.height())
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
    for (const Paints* p : {&picture, &day}) EXPECT_TRUE(p->count >= 1 && p->count <= bound);
    const auto shown = [&] { return std::tuple(day.lastText.toStdString(), onScreen(*w.pic)); };
    EXPECT_EQ(shown(), std::tuple(std::to_string(dayLimit), w.pic->image()));

    world.day = 1000;
    w.Command3->click();
    EXPECT_EQ(shown(), std::tuple(std::string("1100"), w.pic->image()));

    w.Command2->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), std::tuple(std::string("1101"), w.pic->image()));
}

// A repaint asked for within the interval after one comes by itself when the interval is over.
TEST(RepaintPacer, AHeldRepaintComesAtTheEndOfTheInterval) {
    QLabel label("a");
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    Paints paints(&label);
    RepaintPacer pacer(&label);
    for (const char* text : {"b", "c"}) {
        label.setText(text);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.lastText == "c"; }, 1000)) << paints.count;
}

}  // namespace
}  // namespace zibs

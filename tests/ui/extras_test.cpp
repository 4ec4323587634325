// Slow motion, export, the keyboard, and runs that bring the screen up to date at the display's
// pace and end with their last day on it.
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <cerrno>

#include "app_fixture.h"
#include "runtime/repaintpacer.h"
#include "ui/statistics.h"

namespace zibs {
namespace {

using SlowMotion = AppTest;
using Export = AppTest;
using Keyboard = AppTest;

// Unchecked, a run never waits. Checked, every day waits for the slow-motion timer, and Stop
// pressed early, midway or late in a wait ends the run there: the timer never fires after it.
TEST_F(SlowMotion, DaysWaitAndStopEndsTheWait) {
    Fworld& w = window<Fworld>();
    makeEndless(world);
    int timeouts = 0;
    QObject::connect(w.slowTimer, &QTimer::timeout, [&] { ++timeouts; });
    w.Command3->click();
    EXPECT_EQ(std::tuple(world.day, timeouts), std::tuple(100, 0));

    fmain.mnuslow->trigger();
    for (int left : {50, 25, 2}) {
        SCOPED_TRACE(left);
        const int before = timeouts;
        int atStop = -1, dayAtStop = -1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const QTimer& t = *w.slowTimer;
            if (timeouts < before + 2 || !t.isActive() || t.remainingTime() > left) return;
            poll.stop();
            atStop = timeouts;
            dayAtStop = world.day;
            fmain.cmdstop->click();
        });
        poll.start(0);
        w.Command4->click();
        EXPECT_TRUE(world.day == dayAtStop && timeouts == atStop && !w.slowTimer->isActive());
    }
}

TEST_F(Export, PopulationCsvAndWorldPicture) {
    QTemporaryDir dir;
    const QString csvPath = dir.filePath("population.csv"), pngPath = dir.filePath("world.png");
    // No world yet, no picture the user has seen: the item is off and nothing is saved.
    EXPECT_FALSE(fmain.exportPopulation(csvPath));
    emit fmain.mmu->aboutToShow();
    EXPECT_FALSE(fmain.mnusave->isEnabled() || fmain.saveWorldPicture(pngPath) ||
                 existing<Fworld>());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());

    // The rows of the second world only, each with its seed and parameters.
    start("7", 1);
    window<Fvariables>().startpop->setText("12");
    Fworld& w = start("8");
    w.Command2->click();
    fmain.savePathSource = [&](const QString&, const QString&, const QString&) { return csvPath; };
    fmain.mnuexport->trigger();
    const QString params = ",8,12,1,15,2,50,1\n";
    EXPECT_EQ(QString::fromStdString(testing::slurp(csvPath.toStdString())),
              "day,population,seed,start_population,repro_rate,max_grass,growth_rate,radiation,"
              "mutations\n0,12" +
                  params + QStringLiteral("1,%1").arg(world.population) + params);

    emit fmain.mmu->aboutToShow();
    EXPECT_TRUE(fmain.mnusave->isEnabled() && fmain.saveWorldPicture(pngPath));
    EXPECT_EQ(QImage(pngPath).convertToFormat(w.pic->image().format()), w.pic->image());

    // A cancelled dialog is quiet.
    messages.clear();
    fmain.savePathSource = [](const QString&, const QString&, const QString&) { return QString(); };
    fmain.mnuexport->trigger();
    EXPECT_TRUE(messages.isEmpty());
}

// On a full disk, at the first byte or part way, each export says which file and why, and the
// file that was there stays as it was, with no remains beside it.
TEST_F(Export, FullDiskKeepsTheOldFile) {
    start("1", 1);
    const std::pair<bool (Fmain::*)(const QString&), const char*> exports[] = {
        {&Fmain::exportPopulation, "population.csv"},
        {&Fmain::exportStatistics, "statistics.csv"},
        {&Fmain::saveWorldPicture, "world.png"}};
    for (const auto& [save, name] : exports)
        for (rlim_t limit : {0, 100}) {
            SCOPED_TRACE(::testing::Message() << name << " " << limit);
            QTemporaryDir dir;
            const QString path = dir.filePath(name);
            ASSERT_TRUE(std::ofstream(path.toStdString()) << "old");
            messages.clear();
            // Saved while files may grow to `limit` bytes.
            EXPECT_FALSE((testing::FileSizeLimit(limit), (fmain.*save)(path)));
            EXPECT_TRUE(messages.size() == 1 &&
                        messages[0].contains(QDir::toNativeSeparators(path)) &&
                        messages[0].contains(std::strerror(EFBIG)))
                << messages.join("|").toStdString();
            EXPECT_EQ(std::tuple(testing::slurp(path.toStdString()),
                                 QDir(dir.path()).entryList(QDir::Files)),
                      std::tuple(std::string("old"), QStringList(name)));
        }
}

// A text box's editing keys come from the desktop's key bindings (under X11 Ctrl+E is "end of
// line"): this one claims every key, as the greediest bindings would.
struct ClaimsEveryKey : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        return false;
    }
};

// The step keys act on the main window and in a text box, whose editing keys give way to them.
TEST_F(Keyboard, ShortcutsActWhereverTheFocusIs) {
    Fvariables& v = window<Fvariables>();
    ClaimsEveryKey greedy;
    v.startpop->installEventFilter(&greedy);
    QApplication::setActiveWindow(&fmain);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fmain));
    for (QWidget* focus : {static_cast<QWidget*>(&fmain), static_cast<QWidget*>(v.startpop)}) {
        SCOPED_TRACE(focus->metaObject()->className());
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_I, Qt::ControlModifier);
        EXPECT_TRUE(world.day == 0 && world.population == 10) << world.day;
        QTest::keyClick(focus, Qt::Key_1, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_G, Qt::ControlModifier);
        EXPECT_EQ(world.day, 101);
        makeEndless(world);
        QTimer::singleShot(0, &fmain, [&] { QTest::keyClick(focus, Qt::Key_Escape); });
        QTest::keyClick(focus, Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(world.day == 102 && v.startpop->text() == "10") << world.day;
    }
    EXPECT_EQ(QApplication::focusWidget(), v.startpop);
    QTest::keyClick(v.startpop, Qt::Key_T, Qt::ControlModifier);
    EXPECT_NE(existing<statistics>(), nullptr);
}

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

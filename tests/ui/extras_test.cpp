// Slow motion, export and the keyboard.
#include <QDir>
#include <QMenu>
#include <cerrno>

#include "app_fixture.h"
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

}  // namespace
}  // namespace zibs

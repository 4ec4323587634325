// Repeatable worlds, slow motion, export and the keyboard.
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "app_fixture.h"
#include "sim/trace.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/statistics.h"

namespace zibs {
namespace {

using Seed = AppTest;
using SlowMotion = AppTest;
using Export = AppTest;
using Keyboard = AppTest;

std::string trace(const World& w) {
    std::string out;
    appendTrace(out, w);
    return out;
}

// Runs the headless runner and returns its standard output.
QString runner(const QStringList& args) {
    QProcess run;
    run.start(ZIBS_RUN_PATH, args);
    EXPECT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0);
    return QString::fromUtf8(run.readAllStandardOutput());
}

TEST_F(Seed, SameSeedSameWorldInTheProgramAndTheRunner) {
    Fvariables& v = window<Fvariables>();
    v.txtseed->setText("12345");
    Fworld& w = window<Fworld>();
    w.Command1->click();
    EXPECT_EQ(fmain.seedlbl->text(), "Seed 12345");
    const std::string first = trace(world);
    w.Command3->click();
    const std::string firstAfter = trace(world);
    w.Command1->click();
    EXPECT_EQ(trace(world), first);
    w.Command3->click();
    EXPECT_EQ(trace(world), firstAfter);

    const QString out = runner({"--seed", "12345", "--days", "100", "--trace"});
    EXPECT_EQ(out.mid(out.lastIndexOf("day ")).toStdString(), firstAfter);
}

// Unchecked, a run never waits. Checked, every day waits for the slow-motion timer, and Stop
// pressed early, midway or late in a wait ends the run there: the timer never fires after it.
TEST_F(SlowMotion, DaysWaitAndStopEndsTheWait) {
    Fworld& w = window<Fworld>();
    makeEndless(world);
    int timeouts = 0;
    QObject::connect(w.slowTimer, &QTimer::timeout, [&] { ++timeouts; });
    w.Command3->click();
    EXPECT_EQ(world.day, 100);
    EXPECT_EQ(timeouts, 0);

    fmain.mnuslow->trigger();
    for (int left : {50, 25, 2}) {
        SCOPED_TRACE(left);
        const int before = timeouts;
        int atStop = -1;
        Integer dayAtStop = -1;
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
        EXPECT_EQ(world.day, dayAtStop);
        EXPECT_EQ(timeouts, atStop);
        EXPECT_FALSE(w.slowTimer->isActive());
    }
}

// Raises the soft file-size limit back when it goes: in between, writes beyond `bytes` fail
// with "File too large" as they would on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lower = old_;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

TEST_F(Export, PopulationCsvAndWorldPicture) {
    QTemporaryDir dir;
    const QString csvPath = dir.filePath("population.csv");
    const QString pngPath = dir.filePath("world.png");
    EXPECT_FALSE(fmain.exportPopulation(csvPath));  // no world yet
    // No world window, no picture the user has seen: the item is off and saves nothing.
    emit fmain.mmu->aboutToShow();
    EXPECT_FALSE(fmain.mnusave->isEnabled());
    EXPECT_FALSE(fmain.saveWorldPicture(pngPath));
    EXPECT_EQ(existing<Fworld>(), nullptr);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());

    // The rows of the second world only, each with its seed and parameters.
    Fvariables& v = window<Fvariables>();
    Fworld& w = window<Fworld>();
    v.txtseed->setText("7");
    w.Command1->click();
    for (int i = 0; i < 3; ++i) w.Command2->click();
    v.txtseed->setText("8");
    v.startpop->setText("12");
    w.Command1->click();
    w.Command2->click();
    fmain.savePathSource = [&](const QString&, const QString&, const QString&) { return csvPath; };
    fmain.mnuexport->trigger();
    const QString params = ",8,12,1,15,2,50,1\n";
    EXPECT_EQ(QString::fromUtf8(contents(csvPath)),
              "day,population,seed,start_population,repro_rate,max_grass,growth_rate,radiation,"
              "mutations\n0,12" +
                  params + QStringLiteral("1,%1").arg(world.population) + params);

    fmain.savePathSource = [&](const QString&, const QString&, const QString&) { return pngPath; };
    emit fmain.mmu->aboutToShow();
    EXPECT_TRUE(fmain.mnusave->isEnabled());
    fmain.mnusave->trigger();
    EXPECT_EQ(QImage(pngPath).convertToFormat(w.pic->image().format()), w.pic->image());

    // A cancelled dialog is quiet (a file that cannot be written: see below).
    messages.clear();
    fmain.savePathSource = [](const QString&, const QString&, const QString&) { return QString(); };
    fmain.mnuexport->trigger();
    EXPECT_TRUE(messages.isEmpty());
}

// The statistics file holds the rows that zibs-run --stats prints for the same seed and days.
TEST_F(Export, StatisticsCsvAsTheRunnerPrintsIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("statistics.csv");
    EXPECT_FALSE(fmain.exportStatistics(path));  // no world yet
    EXPECT_EQ(messages.size(), 1);
    EXPECT_FALSE(QFile::exists(path));

    window<Fvariables>().txtseed->setText("31");
    Fworld& w = window<Fworld>();
    w.Command1->click();
    w.Command3->click();
    QString asked;
    fmain.savePathSource = [&](const QString& caption, const QString&, const QString&) {
        asked = caption;
        return path;
    };
    fmain.mnuexportstats->trigger();
    EXPECT_EQ(asked, "Export statistics");
    EXPECT_EQ(contents(path), runner({"--seed", "31", "--days", "100", "--stats"}).toUtf8());
}

// On a full disk, at the first byte or part way, each export says which file and why, and the
// file that was there stays as it was, with no remains beside it.
TEST_F(Export, FullDiskKeepsTheOldFile) {
    Fworld& w = window<Fworld>();
    w.Command1->click();
    w.Command3->click();
    const std::pair<bool (Fmain::*)(const QString&), const char*> exports[] = {
        {&Fmain::exportPopulation, "population.csv"},
        {&Fmain::exportStatistics, "statistics.csv"},
        {&Fmain::saveWorldPicture, "world.png"}};
    for (const auto& [save, name] : exports)
        for (rlim_t limit : {0, 100}) {
            SCOPED_TRACE(testing::Message() << name << " " << limit);
            QTemporaryDir dir;
            const QString path = dir.filePath(name);
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            old.close();
            messages.clear();
            bool saved = true;
            {
                FileSizeLimit full(limit);
                saved = (fmain.*save)(path);
            }
            EXPECT_FALSE(saved);
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(path)))
                << messages[0].toStdString();
            EXPECT_TRUE(messages[0].contains(std::strerror(EFBIG))) << messages[0].toStdString();
            EXPECT_EQ(contents(path), "old");
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList(name));
        }
}

// A text box's editing keys come from the desktop's key bindings (under X11 Ctrl+E is "end of
// line"): this one claims every key, as the greediest bindings would.
class ClaimsEveryKey : public QObject {
  public:
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
        EXPECT_EQ(world.population, 10);
        EXPECT_EQ(world.day, 0);
        QTest::keyClick(focus, Qt::Key_1, Qt::ControlModifier);
        EXPECT_EQ(world.day, 1);
        QTest::keyClick(focus, Qt::Key_G, Qt::ControlModifier);
        EXPECT_EQ(world.day, 101);
        makeEndless(world);
        QTimer::singleShot(0, &fmain, [&] { QTest::keyClick(focus, Qt::Key_Escape); });
        QTest::keyClick(focus, Qt::Key_E, Qt::ControlModifier);
        EXPECT_EQ(world.day, 102);
        EXPECT_EQ(v.startpop->text(), "10");
    }
    EXPECT_EQ(QApplication::focusWidget(), v.startpop);
    QTest::keyClick(v.startpop, Qt::Key_T, Qt::ControlModifier);
    EXPECT_NE(existing<statistics>(), nullptr);
}

}  // namespace
}  // namespace zibs

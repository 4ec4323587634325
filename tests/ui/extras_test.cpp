// Repeatable worlds, slow motion, export and the keyboard.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "app_fixture.h"
#include "sim/trace.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"

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
    EXPECT_EQ(v.txtseed->text(), "");
    EXPECT_EQ(v.Label7->text(), "Seed");
    EXPECT_EQ(v.Label7->geometry(), QRect(128, 24, 87, 19));
    EXPECT_EQ(v.txtseed->pos(), QPoint(216, 24));
    EXPECT_GE(v.txtseed->width(), v.txtseed->fontMetrics().horizontalAdvance("4294967295"));

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

TEST_F(Seed, BadSeedIsRefusedAndNothingChanges) {
    Fworld& w = window<Fworld>();
    w.Command1->click();
    const QString clockSeed = fmain.seedlbl->text();
    EXPECT_TRUE(clockSeed.startsWith("Seed "));
    const World before = world;
    for (const char* text : {"abc", "-1", "4294967296", "12.5"}) {
        window<Fvariables>().txtseed->setText(text);
        messages.clear();
        w.Command1->click();
        ASSERT_EQ(messages.size(), 1) << text;
        EXPECT_TRUE(messages[0].contains("Seed") && messages[0].contains(text)) << text;
        EXPECT_EQ(std::memcmp(&before, &world, sizeof(World)), 0) << text;
        EXPECT_EQ(fmain.seedlbl->text(), clockSeed);
    }
    window<Fvariables>().txtseed->setText(" 4294967295 ");
    w.Command1->click();
    EXPECT_EQ(fmain.seedlbl->text(), "Seed 4294967295");
}

TEST_F(SlowMotion, BoundsTheRateAndStopsAtOnce) {
    EXPECT_EQ(fmain.mnuslow->text(), "Slow motion");
    EXPECT_FALSE(fmain.slowMotion());
    fmain.mnuslow->trigger();
    Fworld& w = window<Fworld>();
    makeEndless(world);
    QElapsedTimer clock;
    qint64 stoppedAt = 0;
    Integer dayAtStop = 0;
    QTimer::singleShot(500, &fmain, [&] {
        dayAtStop = world.day;
        stoppedAt = clock.elapsed();
        fmain.cmdstop->click();
    });
    clock.start();
    w.Command4->click();
    // 500 ms at 20 days a second: about 10 days, never more than 11.
    EXPECT_GE(world.day, 5);
    EXPECT_LE(world.day, 11);
    EXPECT_EQ(world.day, dayAtStop);
    EXPECT_LT(clock.elapsed() - stoppedAt, 40);  // not the rest of a 50 ms wait

    // Unchecked, a run goes at full speed again: 100 days at 20 a second would take 5 s.
    fmain.mnuslow->trigger();
    clock.restart();
    w.Command3->click();
    EXPECT_EQ(world.day, dayAtStop + 100);
    EXPECT_LT(clock.elapsed(), 4000);
}

TEST_F(Export, PopulationCsvAndWorldPicture) {
    QTemporaryDir dir;
    const QString csvPath = dir.filePath("population.csv");
    EXPECT_FALSE(fmain.exportPopulation(csvPath));  // no world yet
    EXPECT_EQ(messages.size(), 1);

    window<Fvariables>().txtseed->setText("7");
    Fworld& w = window<Fworld>();
    w.Command1->click();
    for (int i = 0; i < 3; ++i) w.Command2->click();
    QString asked;
    fmain.savePathSource = [&](const QString& caption, const QString&, const QString&) {
        asked = caption;
        return csvPath;
    };
    fmain.mnuexport->trigger();
    EXPECT_EQ(asked, "Export population");
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0],
              "# seed 7 start-population 10 repro-rate 1 max-grass 15 growth-rate 2 radiation 50 "
              "mutations 1");
    EXPECT_EQ(lines[5], QStringLiteral("3,%1").arg(world.population));
    // The rows are the runner's for the same seed.
    EXPECT_EQ(runner({"--seed", "7", "--days", "3"}).split('\n', Qt::SkipEmptyParts), lines.mid(1));

    const QString pngPath = dir.filePath("world.png");
    fmain.savePathSource = [&](const QString&, const QString&, const QString&) { return pngPath; };
    fmain.mnusave->trigger();
    EXPECT_EQ(QImage(pngPath).convertToFormat(w.pic->image().format()), w.pic->image());

    // A file that cannot be written is reported and changes nothing; a cancelled dialog is quiet.
    messages.clear();
    EXPECT_FALSE(fmain.exportPopulation(dir.filePath("no/such/folder/out.csv")));
    EXPECT_FALSE(fmain.saveWorldPicture(dir.filePath("no/such/folder/out.png")));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].contains("could not be written"));
    EXPECT_TRUE(fmain.exportPopulation(csvPath));
    fmain.savePathSource = [](const QString&, const QString&, const QString&) { return QString(); };
    fmain.mnuexport->trigger();
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(Keyboard, ShortcutsDriveTheWorldWindow) {
    Fworld& w = window<Fworld>();
    EXPECT_TRUE(w.Command1->toolTip().contains("Ctrl+I"));
    EXPECT_TRUE(w.Command2->toolTip().contains("Ctrl+1"));
    EXPECT_TRUE(w.Command3->toolTip().contains("Ctrl+G"));
    EXPECT_TRUE(w.Command4->toolTip().contains("Ctrl+E"));
    EXPECT_TRUE(fmain.cmdstop->toolTip().contains("Esc"));

    QApplication::setActiveWindow(&fmain);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fmain));
    QTest::keyClick(&fmain, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(world.population, 10);
    EXPECT_EQ(world.day, 0);
    QTest::keyClick(&fmain, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(world.day, 1);
    QTest::keyClick(&fmain, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(world.day, 101);
    makeEndless(world);
    QTimer::singleShot(0, &fmain, [&] { QTest::keyClick(&fmain, Qt::Key_Escape); });
    QTest::keyClick(&fmain, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(world.day, 102);
}

}  // namespace
}  // namespace zibs

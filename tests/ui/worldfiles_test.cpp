// Saving a world and opening it again through the File menu.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "app_fixture.h"
#include "sim/trace.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"
#include "ui/zibfile.h"

namespace zibs {
namespace {

using WorldFiles = AppTest;

std::string trace(const World& w) {
    std::string out;
    appendTrace(out, w);
    return out;
}

// The last snapshot the headless runner prints for these arguments.
std::string runnerLastDay(const QStringList& args) {
    QProcess run;
    run.start(ZIBS_RUN_PATH, args);
    EXPECT_TRUE(run.waitForFinished(30000));
    const std::string out = run.readAllStandardOutput().toStdString();
    return out.substr(out.rfind("day "));
}

// Clicks the world picture on zib i.
void pick(Fworld& w, const World& world, int i) {
    w.pic_MouseDown(Qt::LeftButton, {}, world.zibs[i].x, world.zibs[i].y);
}

TEST_F(WorldFiles, AnOpenedWorldGoesOnAsTheStraightRunAndTheRunner) {
    QTemporaryDir dir;
    Fworld& w = window<Fworld>();
    Fvariables& v = window<Fvariables>();
    graph& g = window<graph>();
    v.txtseed->setText("31");
    w.Command1->click();
    w.Command3->click();
    pick(w, world, 4);
    ASSERT_EQ(world.zibs[4].alive, 1);
    // A name typed without a suffix is given ".zibs".
    fmain.savePathSource = [&](const QString&, const QString&, const QString&) {
        return dir.filePath("day100");
    };
    QApplication::setActiveWindow(&fmain);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fmain));
    QTest::keyClick(&fmain, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(dir.filePath("day100.zibs")));
    const QImage graph100 = g.graphpic->image();
    const QImage pic100 = w.pic->image();
    w.Command3->click();
    const std::string straight = trace(world);
    const QImage pic200 = w.pic->image(), graph200 = g.graphpic->image();
    const std::string log200 = fmain.forms().runlog.csv();
    EXPECT_EQ(straight, runnerLastDay({"--seed", "31", "--days", "200", "--trace"}));

    // Another world, another zib inspected, then the saved one opened.
    v.txtseed->setText("5");
    v.startpop->setText("20");
    w.Command1->click();
    pick(w, world, 2);
    fmain.openPathSource = [&](const QString&, const QString&) {
        return dir.filePath("day100.zibs");
    };
    QTest::keyClick(&fmain, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(world.day, 100);
    EXPECT_EQ(messages, QStringList());
    EXPECT_EQ(std::tuple(v.startpop->text(), v.txtseed->text(), fmain.seedlbl->text()),
              std::tuple("10", "31", "Seed 31"));
    EXPECT_EQ(g.graphpic->image(), graph100);
    EXPECT_EQ(std::tuple(g.daylbl->text(), g.Poplbl->text()),
              std::tuple("100", QString::number(world.population)));
    zibfile& inspector = window<zibfile>();
    EXPECT_EQ(inspector.Caption(), "Zib number 4");
    EXPECT_EQ(inspector.agelbl->text().trimmed(), QString::number(world.zibs[4].age));
    // Drawn from the state: the grass in the day's shades, the living zibs. In this world that is
    // the picture as it was when saved, pixel for pixel; in others a grazed point or an erased
    // zib may have left marks that the state does not hold.
    EXPECT_EQ(w.pic->image(), pic100);

    // The next hundred days are those of the run that never stopped, picture and graph too.
    w.Command3->click();
    EXPECT_EQ(trace(world), straight);
    EXPECT_EQ(w.pic->image(), pic200);
    EXPECT_EQ(g.graphpic->image(), graph200);
    EXPECT_EQ(fmain.forms().runlog.csv(), log200);
}

// Everything a refused file must leave as it was.
struct Shown {
    QByteArray world;
    QImage pic, graphpic;
    QStringList texts;
    std::string log;
    friend bool operator==(const Shown&, const Shown&) = default;
};

TEST_F(WorldFiles, NothingChangesForARefusedFileAndOpeningEndsARun) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.zibs");
    EXPECT_FALSE(fmain.saveWorld(path));  // no world before Initialize
    EXPECT_TRUE(messages.value(0).contains("no world to save")) << messages.value(0).toStdString();
    Fworld& w = window<Fworld>();
    Fvariables& v = window<Fvariables>();
    v.txtseed->setText("31");
    w.Command1->click();
    w.Command2->click();
    ASSERT_TRUE(fmain.saveWorld(path));
    const std::string saved = trace(world);

    v.txtseed->setText("8");
    w.Command1->click();
    w.Command3->click();
    v.startpop->setText("typed, not used");
    const auto shown = [&] {
        return Shown{QByteArray(reinterpret_cast<const char*>(&world), sizeof world),
                     w.pic->image(),
                     window<graph>().graphpic->image(),
                     {v.startpop->text(), v.txtseed->text(), fmain.seedlbl->text(),
                      window<graph>().daylbl->text(), window<zibfile>().Caption()},
                     fmain.forms().runlog.csv()};
    };
    const Shown before = shown();
    QFile text(path);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QByteArray good = text.readAll();
    const std::pair<QByteArray, QString> files[] = {
        {"", "the file is empty"},
        {"day,population\n0,10\n", "this is not a Zibs world file"},
        {good.left(good.size() - 3), "cut short"},
        {QByteArray(good).replace("\"day\": 1", "\"day\": 2"), "history has 2 rows"},
    };
    for (const auto& [bytes, problem] : files) {
        const QString bad = dir.filePath("bad.zibs");
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) >= 0);
        f.close();
        messages.clear();
        EXPECT_FALSE(fmain.openWorld(bad));
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith('"' + bad + "\" cannot be opened as a world: "));
        EXPECT_TRUE(messages[0].contains(problem)) << messages[0].toStdString();
        EXPECT_TRUE(shown() == before) << problem.toStdString();
    }
    messages.clear();
    EXPECT_FALSE(fmain.saveWorld(dir.filePath("none/b.zibs")));
    EXPECT_TRUE(
        messages.value(0).contains(dir.filePath("none/b.zibs") + "\" could not be written"));

    // A refused file leaves a run going; a world opened during a run ends it before another day.
    makeEndless(world);
    int refusedOnDay = -1;
    QTimer::singleShot(0, &fmain, [&] {
        fmain.openWorld(dir.filePath("bad.zibs"));
        refusedOnDay = world.day;
        QTimer::singleShot(0, &fmain, [&] { fmain.openWorld(path); });
    });
    w.Command4->click();
    EXPECT_GT(refusedOnDay, 100);
    EXPECT_EQ(trace(world), saved);
    EXPECT_FALSE(fmain.cmdstop->isEnabled());
    EXPECT_TRUE(w.Command4->isEnabled());
}

}  // namespace
}  // namespace zibs

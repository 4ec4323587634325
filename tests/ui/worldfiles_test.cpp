// Saving a world and opening it again through the File menu.
#include <QFile>

#include "app_fixture.h"

namespace zibs {

using WorldFiles = AppTest;

TEST_F(WorldFiles, AnOpenedWorldGoesOnAsTheStraightRunAndTheRunner) {
    QTemporaryDir dir;
    Fworld& w = window<Fworld>();
    Fvariables& v = window<Fvariables>();
    graph& g = window<graph>();
    start("31", 1);
    w.pic_MouseDown(Qt::LeftButton, {}, world.zibs[4].x, world.zibs[4].y);
    ASSERT_EQ(world.zibs[4].alive, 1);
    // A name typed without a suffix is given ".zibs".
    fmain.savePathSource = [&](const QString&, const QString&, const QString&) {
        return dir.filePath("day100");
    };
    QApplication::setActiveWindow(&fmain);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fmain));
    QTest::keyClick(&fmain, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(dir.filePath("day100.zibs")));
    const QImage graph100 = g.graphpic->image(), pic100 = w.pic->image();
    const auto state = [&] {  // the world, its picture, the graph and the log
        return std::tuple(trace(world), w.pic->image(), g.graphpic->image(),
                          fmain.forms().runlog.csv());
    };
    w.Command3->click();
    const auto day200 = state();

    // Another world, another zib inspected, then the saved one opened.
    v.startpop->setText("20");
    start("5");
    w.pic_MouseDown(Qt::LeftButton, {}, world.zibs[2].x, world.zibs[2].y);
    fmain.openPathSource = [&](const QString&, const QString&) {
        return dir.filePath("day100.zibs");
    };
    QTest::keyClick(&fmain, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(world.day == 100 && messages.isEmpty() && g.graphpic->image() == graph100)
        << messages.join("|").toStdString();
    zibfile& inspector = window<zibfile>();
    EXPECT_EQ(
        (QStringList{v.startpop->text(), v.txtseed->text(), fmain.seedlbl->text(), g.daylbl->text(),
                     g.Poplbl->text(), inspector.Caption(), inspector.agelbl->text().trimmed()}),
        (QStringList{"10", "31", "Seed 31", "100", QString::number(world.population),
                     "Zib number 4", QString::number(world.zibs[4].age)}));
    // Drawn from the state: the grass in the day's shades, the living zibs. In this world that is
    // the picture as it was when saved, pixel for pixel; in others a grazed point or an erased
    // zib may have left marks that the state does not hold.
    EXPECT_EQ(w.pic->image(), pic100);

    // The next hundred days are those of the run that never stopped, picture and graph too.
    w.Command3->click();
    EXPECT_TRUE(state() == day200);
}

TEST_F(WorldFiles, NothingChangesForARefusedFileAndOpeningEndsARun) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.zibs");
    EXPECT_FALSE(fmain.saveWorld(path));  // no world before Initialize
    EXPECT_TRUE(messages.value(0).contains("no world to save")) << messages.value(0).toStdString();
    Fworld& w = window<Fworld>();
    Fvariables& v = window<Fvariables>();
    start("31").Command2->click();
    ASSERT_TRUE(fmain.saveWorld(path));
    const std::string saved = trace(world);

    start("8", 1);
    v.startpop->setText("typed, not used");
    const auto shown = [&] {  // everything a refused file must leave as it was
        return std::tuple(QByteArray(reinterpret_cast<const char*>(&world), sizeof world),
                          w.pic->image(), window<graph>().graphpic->image(),
                          QStringList{v.startpop->text(), v.txtseed->text(), fmain.seedlbl->text(),
                                      window<graph>().daylbl->text(), window<zibfile>().Caption()},
                          fmain.forms().runlog.csv());
    };
    const auto before = shown();
    // A file the parser reads but the checks refuse (the reader's refusals: the world file test).
    std::string text = testing::slurp(path.toStdString());
    const QString bad = dir.filePath("bad.zibs");
    ASSERT_TRUE(std::ofstream(bad.toStdString())
                << text.replace(text.find("\"day\": 1"), 8, "\"day\": 2"));
    messages.clear();
    EXPECT_FALSE(fmain.openWorld(bad));
    EXPECT_EQ(messages, QStringList('"' + bad + "\" cannot be opened as a world: the history has " +
                                    "2 rows, but day 2 needs one for every day from 0 to 2"));
    EXPECT_TRUE(shown() == before);

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
    EXPECT_TRUE(!fmain.cmdstop->isEnabled() && w.Command4->isEnabled());
}

}  // namespace zibs

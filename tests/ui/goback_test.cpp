// Going back to an earlier day: a click on the graph, Ctrl+Left and Ctrl+Right, "Go to day...".

#include "app_fixture.h"
#include "files/worldfile.h"

namespace zibs {

// The seed-31 world run 300 days with the graph open, and the same run computed headless.
struct GoBack : AppTest {
    GoBack() {
        window<Fvariables>().txtseed->setText("31");
        w.Command1->click();
        initialPicture = w.pic->image().copy();
        for (int i = 0; i < 3; ++i) w.Command3->click();
        Rnd r(31);
        NullPresentation none;
        World s;
        initworld(s, Parameters{}, r, none);
        for (straight = {s}; s.day < 400; straight.push_back(s)) daystep(s, r, none);
        QApplication::setActiveWindow(&fmain);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&fmain));
    }
    void key(Qt::Key k) { QTest::keyClick(&fmain, k, Qt::ControlModifier); }
    // "Go to day..." answered with `day`; the days it offers kept in `asked`.
    void answerDay(std::optional<int> day) {
        fmain.daySource = [this, day](int current, int first, int last) {
            asked = {current, first, last};
            return day;
        };
    }

    Fworld& w = window<Fworld>();
    graph& g = window<graph>();
    QImage initialPicture;
    std::vector<World> straight;
    std::vector<int> asked;
};

// A visit shows the day's world, figures and inspector, marks the day over the graph and leaves
// the graph's picture as it was; stepping on from there gives the straight run's days.
TEST_F(GoBack, ShowsTheDayAndCarriesOn) {
    ASSERT_EQ(world.day, 300);
    const QImage curve = g.graphpic->image().copy();
    Integer pick = straight[300].popstart;  // a zib whose age the inspector shows changed
    while (straight[150].zibs[pick].age == straight[300].zibs[pick].age) --pick;
    w.pic_MouseDown(Qt::LeftButton, {}, straight[300].zibs[pick].x, straight[300].zibs[pick].y);
    zibfile& inspector = window<zibfile>();
    const Integer sel = world.selzib;
    ASSERT_NE(sel, 1);  // not the zib a new world selects

    const int border = g.graphpic->borderWidth();
    const QPoint at(g.graphpic->toPixel(150, 0).x(), 40);
    const int day = nearestInt(g.graphpic->toUser(at).x());
    ASSERT_NE(straight[day].zibs[sel].age, straight[300].zibs[sel].age);
    QTest::mouseClick(g.graphpic, Qt::LeftButton, {}, at + QPoint(border, border));
    EXPECT_EQ(std::tuple(trace(world), world.selzib), std::tuple(trace(straight[day]), sel));
    EXPECT_EQ(std::tuple(g.daylbl->text(), g.Poplbl->text(), inspector.agelbl->text()),
              std::tuple(QString::number(day), QString::number(straight[day].population),
                         QString::number(straight[day].zibs[sel].age)));
    ASSERT_TRUE(g.dayMark() && g.dayMark()->isVisible() &&
                g.dayMark()->x() == border + g.graphpic->toPixel(day, 0).x());
    const QImage shown = w.pic->image().copy();

    key(Qt::Key_Left);
    EXPECT_EQ(trace(world), trace(straight[day - 1]));
    key(Qt::Key_Right);
    EXPECT_EQ(w.pic->image(), shown);
    w.Command3->click();
    EXPECT_EQ(trace(world), trace(straight[day + 100]));
    EXPECT_TRUE(g.dayMark()->x() == border + g.graphpic->toPixel(day + 100, 0).x() &&
                g.graphpic->image() == curve);

    // At the run's last day the mark goes and Ctrl+Right does nothing; the run carries on.
    EXPECT_TRUE(fmain.showDay(300) && !g.dayMark()->isVisible());
    key(Qt::Key_Right);
    EXPECT_EQ(world.day, 300);
    w.Command2->click();
    EXPECT_EQ(trace(world), trace(straight[301]));
    const QImage longer = g.graphpic->image().copy();

    // Day 0 is drawn as Initialize drew it, and Ctrl+Left there does nothing.
    EXPECT_TRUE(fmain.showDay(0));
    key(Qt::Key_Left);
    EXPECT_EQ(std::tuple(world.day, w.pic->image(), g.graphpic->image()),
              std::tuple(0, initialPicture, longer));
    EXPECT_FALSE(fmain.showDay(302) || fmain.showDay(-1));
}

// Going back while "Go to end" runs stops the run at the day shown; "Go to day..." asks for a
// day of the run.
TEST_F(GoBack, StopsARunAndAsksForADay) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (world.day < 350) return;
        poll.stop();
        key(Qt::Key_Left);
    });
    poll.start(0);
    w.Command4->click();
    EXPECT_TRUE(trace(world) == trace(straight[349]) && !fmain.cmdstop->isEnabled()) << world.day;

    answerDay(123);
    fmain.mnuday->trigger();
    EXPECT_EQ(asked, (std::vector<int>{349, 0, 350}));
    EXPECT_EQ(trace(world), trace(straight[123]));
    answerDay(std::nullopt);  // cancelled
    fmain.mnuday->trigger();
    EXPECT_EQ(world.day, 123);
}

// A world opened at day 700 goes back to any day from 0, as the straight run had it, and runs on
// from there as it did; "Go to day..." offers those days and refuses others.
TEST_F(GoBack, OpenedWorldGoesBackToDayZero) {
    for (int i = 0; i < 4; ++i) w.Command3->click();
    QTemporaryDir dir;
    const QString path = dir.filePath("a.zibs");
    ASSERT_TRUE(world.day == 700 && fmain.saveWorld(path));
    start("5");
    ASSERT_TRUE(fmain.openWorld(path));
    EXPECT_TRUE(fmain.showDay(250));
    EXPECT_EQ(trace(world), trace(straight[250]));
    EXPECT_TRUE(fmain.showDay(0));
    EXPECT_EQ(std::tuple(trace(world), w.pic->image()),
              std::tuple(trace(straight[0]), initialPicture));
    w.Command3->click();
    EXPECT_EQ(trace(world), trace(straight[100]));

    answerDay(40000);
    fmain.mnuday->trigger();
    EXPECT_EQ(asked, (std::vector<int>{100, 0, 700}));
    EXPECT_EQ(
        std::tuple(world.day, messages),
        std::tuple(100, QStringList("There is no day 40000 in this run: the days are 0 to 700.")));
}

// An edited file does not come out of its seed and parameters again: going back stops at its
// day, and a message says why.
TEST_F(GoBack, EditedFileStopsAtItsDay) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.zibs");
    ASSERT_TRUE(fmain.saveWorld(path));
    std::string text = testing::slurp(path.toStdString());
    const std::size_t at = text.find_first_of("0123456789", text.find("\"generator\""));
    const std::size_t end = text.find_first_not_of("0123456789", at);
    text.replace(at, end - at, std::to_string(std::stoul(text.substr(at, end - at)) ^ 1));
    ASSERT_TRUE(std::ofstream(path.toStdString(), std::ios::trunc) << text);
    ASSERT_TRUE(fmain.openWorld(path));
    EXPECT_FALSE(fmain.showDay(120));
    EXPECT_EQ(world.day, 300);
    EXPECT_EQ(messages,
              QStringList("The days before day 300 cannot be shown: its seed and parameters do "
                          "not give this world again (its generator differs from the "
                          "rebuilt day 300); the file may have been edited. The world "
                          "goes back to day 300 at most."));
    w.Command2->click();
    EXPECT_TRUE(fmain.showDay(300) && world.day == 300 && messages.size() == 1);
}

// After going back, Save world and the exports hold the days up to the day shown, as pinned
// (tests/data/pin_outputs.sh), and the saved world opens at that day.
TEST_F(GoBack, SaveAndExportHoldTheDaysUpToTheDayShown) {
    ASSERT_TRUE(fmain.showDay(5));
    QTemporaryDir dir;
    const auto file = [&](const char* name) { return dir.filePath(name); };
    ASSERT_TRUE(fmain.exportStatistics(file("s.csv")) && fmain.exportPopulation(file("p.csv")) &&
                fmain.saveWorld(file("w.zibs")));
    const auto text = [](const QString& path) { return testing::slurp(path.toStdString()); };
    EXPECT_EQ(std::tuple(text(file("s.csv")), text(file("p.csv"))),
              std::tuple(text(ZIBS_TEST_DATA "/stats_seed31.csv"),
                         text(ZIBS_TEST_DATA "/population_seed31.csv")));
    const WorldRead read = loadWorld(file("w.zibs").toStdString());
    ASSERT_TRUE(read.saved) << read.error;
    EXPECT_EQ(std::tuple(read.saved->history.size(), trace(read.saved->world)),
              std::tuple(6u, trace(straight[5])));
}

}  // namespace zibs

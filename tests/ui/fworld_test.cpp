// The world window: Initialize, the step buttons, Stop and picking; its picture holds its dots back
// until it is shown or read, and must then hold exactly the pixels of a picture painted dot by dot
// as the days ran.

#include "../core/testsupport.h"
#include "app_fixture.h"

namespace zibs {

using Initialize = AppTest;
using StepButtons = AppTest;
using Picking = AppTest;

TEST_F(Initialize, BuildsTheWorldFromTheTexts) {
    Fvariables& v = window<Fvariables>();
    v.startpop->setText("2.5");
    v.repro->setText("12abc");
    v.txtrad->setText("abc");
    window<graph>().graphpic->PSet(250, 50);
    world.selzib = 7;
    window<Fworld>().Command1->click();
    EXPECT_EQ(std::tuple(world.popstart, world.population, world.reprorate, world.maxgrass,
                         world.growrate, world.radiation, world.mutations, world.day, world.selzib,
                         messages.size()),
              std::tuple(2, 2, 12, 15, 2, 0, 1, 0, 7, 0));
    EXPECT_EQ(pixelAt(*window<graph>().graphpic, 250, 50), white);  // the graph cleared

    // Each grass point is a 3 x 3 block of its amount's green (black without grass) with black
    // around it, cut off at the edges; the zibs stand on two of them.
    const PictureBox& pic = *window<Fworld>().pic;
    for (int x = 0; x <= 20; ++x)
        for (int y = 0; y <= 20; ++y) {
            const auto on = [&](const Zib& z) { return z.x == x && z.y == y; };
            if (on(world.zibs[1]) || on(world.zibs[2])) continue;
            const int amount = world.grassAt(x, y).amount;
            const Rgb green = amount > 0 ? RGB(0, nearestInt(amount * 5.1), 0) : black;
            for (int dx = -2; dx <= 2; ++dx)
                for (int dy = -2; dy <= 2; ++dy) {
                    const QPoint p = pic.toPixel(x, y) + QPoint(dx, dy);
                    if (!pic.image().rect().contains(p)) continue;
                    const bool dot = std::abs(dx) <= 1 && std::abs(dy) <= 1;
                    ASSERT_EQ(pic.pixelAt(p.x(), p.y()), dot ? green : black)
                        << x << "," << y << " " << dx << "," << dy;
                }
        }
}

// After Initialize the graph's figures and an open inspector show the new world at day 0, not
// the old world's last day.
TEST_F(Initialize, FiguresAndInspectorShowTheNewWorld) {
    Fworld& w = start("31", 3);
    w.pic_MouseDown(Qt::LeftButton, {}, world.zibs[3].x, world.zibs[3].y);
    zibfile& inspector = window<zibfile>();
    const Integer sel = world.selzib;
    ASSERT_NE(inspector.agelbl->text(), "0");
    window<Fvariables>().startpop->setText("12");
    start("5");
    graph& g = window<graph>();
    EXPECT_EQ((QStringList{g.daylbl->text(), g.Poplbl->text(), inspector.agelbl->text(),
                           inspector.Reprolbl->text()}),
              (QStringList{"0", "12", "0", QString::number(world.zibs[sel].reproage)}));
    // The portrait is the new zib's, as picking it draws it.
    const QImage shown = inspector.filepic->image().copy();
    w.pic_MouseDown(Qt::LeftButton, {}, world.zibs[sel].x, world.zibs[sel].y);
    EXPECT_TRUE(world.selzib != sel || inspector.filepic->image() == shown);
}

// Initialize during a slow-motion "Go 100" ends the run: the new world stays at day 0.
TEST_F(Initialize, EndsARunningRun) {
    Fworld& w = start("31");
    fmain.mnuslow->setChecked(true);
    QTimer::singleShot(200, &fmain, [&] { start("5"); });
    w.Command3->click();
    Rnd r(5);
    NullPresentation none;
    World fresh;
    fresh.selzib = 1;
    initworld(fresh, Parameters{}, r, none);
    EXPECT_EQ(trace(world), trace(fresh));
    EXPECT_TRUE(!fmain.cmdstop->isEnabled() && w.Command3->isEnabled());
}

// A parameter or a seed that cannot be used is named in a message, and nothing changes.
TEST_F(Initialize, RefusesWhatItCannotBuildAndChangesNothing) {
    Fworld& w = start("1");
    w.Command2->click();
    const auto shown = [&] {  // the world, the seed shown, the picture and the graph
        return std::tuple(QByteArray(reinterpret_cast<const char*>(&world), sizeof world),
                          fmain.seedlbl->text(), w.pic->image().copy(),
                          window<graph>().graphpic->image().copy());
    };
    const auto before = shown();
    Fvariables& v = window<Fvariables>();
    const std::tuple<QLineEdit*, const char*, const char*> cases[] = {
        {v.startpop, "101", "Start population"},
        {v.txtGrass, "0", "Max grass"},
        {v.txtseed, "4294967296", "Seed"}};
    for (const auto& [box, text, label] : cases) {
        const QString old = box->text();
        box->setText(text);
        messages.clear();
        w.Command1_Click();
        EXPECT_TRUE(messages.size() == 1 && messages[0].contains(label) &&
                    messages[0].contains(text))
            << text;
        EXPECT_TRUE(shown() == before) << text;
        box->setText(old);
    }
}

TEST_F(StepButtons, GoOneGoHundredGoToEndAndTheDayLimit) {
    Fworld& w = window<Fworld>();
    w.Command1->click();
    w.Command2->click();
    EXPECT_EQ(std::tuple(world.day, window<graph>().daylbl->text()), std::tuple(1, QString("1")));
    w.Command3->click();
    EXPECT_TRUE(world.day == 101 && w.Command2->isEnabled()) << world.day;

    window<Fvariables>().startpop->setText("0");
    w.Command1->click();
    w.Command4->click();
    EXPECT_EQ(world.day, 1);

    // A living world runs to its end.
    window<Fvariables>().startpop->setText("10");
    start("3").Command4->click();  // a world known to die out in a few dozen days
    EXPECT_EQ(std::tuple(world.population, window<graph>().daylbl->text(), messages),
              std::tuple(0, QString::number(world.day), QStringList()));

    // The day limit stops every button, each with a message.
    makeEndless(world);
    world.day = 32760;
    w.Command4->click();
    EXPECT_TRUE(world.day == 32767 && messages.size() == 1 && messages[0].contains("32767"));
    w.Command2->click();
    w.Command3->click();
    EXPECT_EQ(std::tuple(world.day, messages.size()), std::tuple(32767, qsizetype(3)));
}

// Stop, closing the world window and closing the main window each end a run after its day.
TEST_F(StepButtons, StopOrClosingEndsARunAfterTheCurrentDay) {
    Fworld& w = window<Fworld>();
    makeEndless(world);
    bool duringRun = false;
    QTimer::singleShot(0, &fmain, [&] {
        duringRun = fmain.cmdstop->isEnabled() && !w.Command2->isEnabled() &&
                    !w.Command3->isEnabled() && !w.Command4->isEnabled() && w.Command1->isEnabled();
        fmain.cmdstop->click();
    });
    w.Command4->click();
    EXPECT_TRUE(world.day == 1 && duringRun && !fmain.cmdstop->isEnabled() &&
                w.Command4->isEnabled());

    QTimer::singleShot(0, &fmain, [&] { w.parentWidget()->close(); });
    w.Command4->click();
    EXPECT_TRUE(world.day == 2 && !existing<Fworld>());
    Fworld& again = window<Fworld>();  // created afresh

    QTimer::singleShot(0, &fmain, [&] { fmain.close(); });
    again.Command4->click();
    EXPECT_TRUE(world.day == 3 && fmain.closing());
}

TEST_F(Picking, HitBoxTieBreakCaptionAndBorder) {
    Fworld& w = window<Fworld>();
    world.popstart = 3;
    world.zibs[1] = zibAt(5, 5, {1});
    world.zibs[2] = zibAt(5, 5, {3});
    world.zibs[3] = zibAt(8, 8, {2});
    world.zibs[3].alive = 0;
    world.zibs[4] = zibAt(12, 12, {1});  // above popstart: never a candidate

    // The open 0.6 box: 0.3 off the centre on any side misses, 0.299 picks.
    const std::pair<double, double> misses[] = {{5.3, 5}, {4.7, 5}, {5, 5.3}, {5, 4.7}, {12, 12}};
    for (auto [x, y] : misses) w.pic_MouseDown(Qt::LeftButton, Qt::NoModifier, x, y);
    EXPECT_TRUE(world.selzib == 1 && !existing<zibfile>());  // a miss creates no window
    const std::pair<double, double> hits[] = {{5.299, 5}, {4.701, 5}, {5, 5.299}, {5, 4.701}};
    for (auto [x, y] : hits) {
        world.selzib = 1;
        w.pic_MouseDown(Qt::RightButton, Qt::ShiftModifier, x, y);
        EXPECT_EQ(world.selzib, 2) << x << "," << y;
    }
    ASSERT_NE(existing<zibfile>(), nullptr);
    EXPECT_EQ(existing<zibfile>()->Caption(), "Zib number 2");

    w.pic_MouseDown(Qt::MiddleButton, Qt::NoModifier, 8, 8);
    EXPECT_EQ(world.selzib, 3);  // a dead zib is picked too

    // Zibs on the right and bottom edges are picked on the last pixels of the drawing area,
    // never through the border around it.
    world.zibs[1] = zibAt(20, 10, {1});
    world.zibs[2] = zibAt(10, 20, {1});
    const std::pair<QPoint, Integer> clicks[] = {{{279, 140}, 0}, {{280, 140}, 0}, {{140, 279}, 0},
                                                 {{140, 280}, 0}, {{278, 140}, 1}, {{140, 278}, 2}};
    for (auto [at, picked] : clicks) {
        world.selzib = 0;
        QTest::mouseClick(w.pic, Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_EQ(world.selzib, picked) << at.x() << "," << at.y();
    }
}

TEST_F(Picking, ClickOpensTheInspectorWhichFollowsTurnsAndDays) {
    Fworld& w = window<Fworld>();
    w.Command1->click();
    world.zibs[1].x = 10;
    world.zibs[1].y = 4;
    const QPoint p = w.pic->toPixel(10, 4) + QPoint(2, 2);  // inside the 2-pixel border
    QTest::mouseClick(w.pic, Qt::LeftButton, Qt::NoModifier, p);
    zibfile* inspector = existing<zibfile>();
    ASSERT_NE(inspector, nullptr);
    const Integer picked = world.selzib;
    EXPECT_EQ(pixelAt(*inspector->filepic, 1.5, 1.5), white);  // the body ball's centre

    w.Command2->click();  // "Auto Zib update" is on: the figures follow the day
    EXPECT_EQ(inspector->agelbl->text(), QString::number(world.zibs[picked].age));
    fmain.mnuopt_Click(0);  // off: the figures stay, the portrait still follows turns
    inspector->agelbl->setText("stale");
    inspector->filepic->Cls();
    turnzib(world, 0, picked, w);
    EXPECT_EQ(pixelAt(*inspector->filepic, 1.5, 1.5), white);
    w.Command2->click();
    EXPECT_EQ(inspector->agelbl->text(), "stale");
}

// A world of its own painted on a picture of its own, every dot at once, as the world picture
// always looked; the calls that do not paint are only recorded.
struct DotByDot final : testing::RecordingView {
    PictureBox pic;
    World world;
    Rnd rnd{31};

    explicit DotByDot(QSize size) {
        pic.setBorder(true);
        pic.setBackColor(black);
        pic.resize(size);
        pic.setScaleWidth(20);
        pic.setScaleHeight(20);
    }
    void drawzib(Integer i) override { paint(i, false); }
    void erasezib(Integer i) override { paint(i, true); }
    void drawdeadzib(Integer i) override { paint(i, true); }
    void plotgrass(Integer x, Integer y, int width, Rgb colour) override {
        pic.setDrawWidth(width);
        pic.PSet(x, y, colour);
    }
    void clearworld() override { pic.Cls(); }
    void paint(Integer i, bool erase) {
        static constexpr Rgb kinds[] = {black, RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 0, 255)};
        const Zib& z = world.zibs[i];
        pic.setDrawWidth(2);
        pic.PSet(z.x, z.y, erase ? black : RGB(127, 127, 127));
        for (int j = 1; j <= 8; ++j) {
            const Integer k = z.cells[j].kind;
            if (k > 0 && (erase || k <= eye))
                pic.PSet(static_cast<float>(z.x + 0.3 * ring[j].dx),
                         static_cast<float>(z.y + 0.3 * ring[j].dy), erase ? black : kinds[k]);
        }
    }
};

using WorldDotsTest = AppTest;

// A world of some 30 to 60 zibs crossing each other's points, at the usual size and at sizes where
// the dots of neighbouring points overlap, compared after single days and after long stretches.
TEST_F(WorldDotsTest, PictureEqualsOnePaintedDotByDot) {
    Fworld& w = window<Fworld>();
    for (const QSize size : {w.pic->size(), QSize(34, 30), QSize(64, 64)}) {
        w.pic->resize(size);
        DotByDot ref(size);
        rnd = Rnd(31);
        const Parameters params;  // seed 31 with these lives to the day limit
        initworld(world, params, rnd, w);
        initworld(ref.world, params, ref.rnd, ref);
        for (int day = 1; day <= 300; ++day) {
            daystep(world, rnd, w);
            daystep(ref.world, ref.rnd, ref);
            if (day % 37 != 0 && day > 3) continue;
            ASSERT_EQ(w.pic->image(), ref.pic.image())
                << "day " << day << ", size " << size.width();
        }
    }
}

}  // namespace zibs

// The world window: painting zibs and grass, Initialize, the step buttons, Stop and picking.
#include <QTest>
#include <QTimer>
#include <cstring>

#include "app_fixture.h"
#include "runtime/convert.h"
#include "sim/sim.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"
#include "ui/zibfile.h"

namespace zibs {
namespace {

using Painters = AppTest;
using Initialize = AppTest;
using StepButtons = AppTest;
using Picking = AppTest;

constexpr Rgb grey = RGB(127, 127, 127), red = RGB(255, 0, 0), yellow = RGB(255, 255, 0),
              blue = RGB(0, 0, 255);

Zib zibAt(int x, int y, std::initializer_list<Integer> kinds) {
    Zib z;
    z.x = static_cast<Integer>(x);
    z.y = static_cast<Integer>(y);
    z.alive = 1;
    int j = 1;
    for (Integer k : kinds) z.cells[j++].kind = k;
    return z;
}

bool sameWorld(const World& a, const World& b) {
    return std::memcmp(&a, &b, sizeof(World)) == 0;
}

// Colours of the pixels of the picture that differ from `background`, by position.
std::map<std::pair<int, int>, Rgb> marks(const PictureBox& pic, Rgb background) {
    std::map<std::pair<int, int>, Rgb> m;
    for (int y = 0; y < pic.image().height(); ++y)
        for (int x = 0; x < pic.image().width(); ++x)
            if (!(pic.pixelAt(x, y) == background)) m[{x, y}] = pic.pixelAt(x, y);
    return m;
}

TEST_F(Painters, DrawEraseAndDeadPaintTheRingPoints) {
    Fworld& w = window<Fworld>();
    const Rgb ground = RGB(0, 80, 0);
    w.pic->setBackColor(ground);
    w.pic->Cls();
    // Cells 1 store, 2 motor, 3 eye, 4 of an unknown kind 5, the rest empty.
    world.zibs[3] = zibAt(10, 10, {1, 2, 3, 5});
    w.drawzib(3);
    auto at = [&](double dx, double dy) {
        const QPoint p = w.pic->toPixel(10 + 0.3 * dx, 10 + 0.3 * dy);
        return w.pic->pixelAt(p.x(), p.y());
    };
    EXPECT_EQ(at(0, 0), grey);
    EXPECT_EQ(at(-1, -1), red);
    EXPECT_EQ(at(0, -1), yellow);
    EXPECT_EQ(at(1, -1), blue);
    EXPECT_EQ(at(1, 0), ground);                   // kind 5 is not painted
    EXPECT_EQ(marks(*w.pic, ground).size(), 16u);  // four 2 x 2 points

    w.erasezib(3);
    EXPECT_EQ(at(1, 0), black);  // but it is blackened
    const auto erased = marks(*w.pic, ground);
    EXPECT_EQ(erased.size(), 20u);
    for (const auto& [pos, colour] : erased) EXPECT_EQ(colour, black);

    w.pic->Cls();
    w.drawdeadzib(3);
    EXPECT_EQ(marks(*w.pic, ground), erased);
}

TEST_F(Painters, ZibOnTheEdgeLosesTheOuterPoints) {
    Fworld& w = window<Fworld>();
    world.zibs[1] = zibAt(0, 20, {1, 2, 3, 3, 1, 1, 1, 1});
    w.drawzib(1);
    const auto m = marks(*w.pic, black);
    // Centre quarter-cut to one pixel column and row; top (2), top right (3), right (4) visible.
    EXPECT_EQ(w.pic->pixelAt(0, 276), grey);
    for (const auto& [pos, colour] : m) {
        EXPECT_LE(pos.first, 5);
        EXPECT_GE(pos.second, 270);
    }
    const QPoint top = w.pic->toPixel(0, 19.7);
    EXPECT_EQ(w.pic->pixelAt(top.x(), top.y()), yellow);
    const QPoint right = w.pic->toPixel(0.3, 20);
    EXPECT_EQ(w.pic->pixelAt(right.x(), right.y()), blue);
    // Nothing red shows: every store lies off the picture.
    for (const auto& [pos, colour] : m) EXPECT_NE(colour, red);
}

TEST_F(Initialize, BuildsTheWorldFromTheTexts) {
    Fvariables& v = window<Fvariables>();
    v.startpop->setText("2.5");
    v.repro->setText("12abc");
    v.txtrad->setText("abc");
    window<graph>().graphpic->PSet(250, 50);
    world.selzib = 7;
    window<Fworld>().Command1->click();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(world.popstart, 2);
    EXPECT_EQ(world.population, 2);
    EXPECT_EQ(world.reprorate, 12);
    EXPECT_EQ(world.maxgrass, 15);
    EXPECT_EQ(world.growrate, 2);
    EXPECT_EQ(world.radiation, 0);
    EXPECT_EQ(world.mutations, 1);
    EXPECT_EQ(world.day, 0);
    EXPECT_EQ(world.selzib, 7);
    EXPECT_TRUE(marks(*window<graph>().graphpic, white).empty());

    // Grass points far from any zib show their amount's green.
    const PictureBox& pic = *window<Fworld>().pic;
    int checked = 0;
    for (int x = 0; x <= 20; ++x)
        for (int y = 0; y <= 20; ++y) {
            bool nearZib = false;
            for (int i = 1; i <= 2; ++i)
                nearZib |= std::abs(world.zibs[i].x - x) <= 1 && std::abs(world.zibs[i].y - y) <= 1;
            if (nearZib) continue;
            const int amount = world.grassAt(x, y).amount;
            const QPoint p = pic.toPixel(x, y);
            const Rgb expected = amount > 0 ? RGB(0, nearestInt(amount * 5.1), 0) : black;
            EXPECT_EQ(pic.pixelAt(p.x(), p.y()), expected) << x << "," << y;
            ++checked;
        }
    EXPECT_GT(checked, 400);
}

TEST_F(Initialize, RefusesWhatItCannotBuildAndChangesNothing) {
    window<Fworld>().Command1->click();
    window<Fworld>().Command2->click();
    ASSERT_EQ(world.day, 1);
    const World before = world;
    const QImage picture = window<Fworld>().pic->image().copy();
    const QImage plot = window<graph>().graphpic->image().copy();

    Fvariables& v = window<Fvariables>();
    struct Case {
        QLineEdit* box;
        const char* text;
        const char* label;
    };
    const Case cases[] = {{v.startpop, "101", "Start population"},
                          {v.startpop, "-1", "Start population"},
                          {v.txtGrass, "0", "Max grass"},
                          {v.txtgrow, "1e9", "Grass growth rate"},
                          {v.txtmute, "40000", "Cell mutations"}};
    for (const Case& c : cases) {
        const QString old = c.box->text();
        c.box->setText(c.text);
        messages.clear();
        window<Fworld>().Command1_Click();
        ASSERT_EQ(messages.size(), 1) << c.text;
        EXPECT_TRUE(messages[0].contains(c.label)) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(c.text)) << messages[0].toStdString();
        EXPECT_TRUE(sameWorld(world, before)) << c.text;
        EXPECT_EQ(window<Fworld>().pic->image(), picture);
        EXPECT_EQ(window<graph>().graphpic->image(), plot);
        c.box->setText(old);
    }
}

TEST_F(StepButtons, GoOneGoHundredAndGoToEnd) {
    Fworld& w = window<Fworld>();
    w.Command1->click();
    w.Command2->click();
    EXPECT_EQ(world.day, 1);
    EXPECT_EQ(window<graph>().daylbl->text(), "1");
    w.Command3->click();
    EXPECT_EQ(world.day, 101);
    EXPECT_TRUE(w.Command2->isEnabled());

    window<Fvariables>().startpop->setText("0");
    w.Command1->click();
    w.Command4->click();
    EXPECT_EQ(world.day, 1);
    EXPECT_EQ(window<graph>().Poplbl->text(), "0");

    // A living world runs to its end: the population is 0 and the figures say so.
    window<Fvariables>().startpop->setText("10");
    window<Fvariables>().txtseed->setText("3");  // a world known to die out in a few dozen days
    w.Command1->click();
    w.Command4->click();
    EXPECT_EQ(world.population, 0);
    EXPECT_EQ(window<graph>().daylbl->text(), QString::number(world.day));
    EXPECT_TRUE(messages.isEmpty());
}

// A world whose population can never reach 0: no records, but a population figure.
void makeEndless(World& world) {
    world.popstart = 0;
    world.population = 5;
}

TEST_F(StepButtons, StopEndsARunAfterTheCurrentDay) {
    Fworld& w = window<Fworld>();
    makeEndless(world);
    bool stopEnabledDuringRun = false, stepsDisabledDuringRun = false;
    QTimer::singleShot(0, &fmain, [&] {
        stopEnabledDuringRun = fmain.cmdstop->isEnabled();
        stepsDisabledDuringRun = !w.Command2->isEnabled() && !w.Command3->isEnabled() &&
                                 !w.Command4->isEnabled() && w.Command1->isEnabled();
        fmain.cmdstop->click();
    });
    w.Command4->click();
    EXPECT_EQ(world.day, 1);
    EXPECT_TRUE(stopEnabledDuringRun);
    EXPECT_TRUE(stepsDisabledDuringRun);
    EXPECT_FALSE(fmain.cmdstop->isEnabled());
    EXPECT_TRUE(w.Command4->isEnabled());

    // Escape stops too.
    QTimer::singleShot(0, &fmain, [&] { QTest::keyClick(&fmain, Qt::Key_Escape); });
    w.Command3->click();
    EXPECT_EQ(world.day, 2);
}

TEST_F(StepButtons, DayLimitStopsEveryButton) {
    Fworld& w = window<Fworld>();
    makeEndless(world);
    world.day = 32760;
    w.Command4->click();
    EXPECT_EQ(world.day, 32767);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("32767"));
    w.Command2->click();
    w.Command3->click();
    EXPECT_EQ(world.day, 32767);
    EXPECT_EQ(messages.size(), 3);
}

TEST_F(StepButtons, ClosingTheMainWindowEndsARun) {
    Fworld& w = window<Fworld>();
    makeEndless(world);
    QTimer::singleShot(0, &fmain, [&] { fmain.close(); });
    w.Command4->click();
    EXPECT_EQ(world.day, 1);
    EXPECT_TRUE(fmain.closing());
}

TEST_F(StepButtons, ClosingTheWorldWindowEndsARunAndItComesBackAfresh) {
    Fworld& w = window<Fworld>();
    w.Command1->click();
    makeEndless(world);
    QTimer::singleShot(0, &fmain, [&] { w.parentWidget()->close(); });
    w.Command4->click();
    EXPECT_EQ(world.day, 1);
    EXPECT_EQ(existing<Fworld>(), nullptr);
    Fworld& again = window<Fworld>();
    EXPECT_EQ(again.pic->ScaleWidth(), 20);
    // The new picture is black until the next painting.
    EXPECT_TRUE(marks(*again.pic, black).empty());
}

TEST_F(Picking, HitBoxTieBreakAndCaption) {
    Fworld& w = window<Fworld>();
    world.popstart = 3;
    world.zibs[1] = zibAt(5, 5, {1});
    world.zibs[2] = zibAt(5, 5, {3});
    world.zibs[3] = zibAt(8, 8, {2});
    world.zibs[3].alive = 0;

    w.pic_MouseDown(Qt::LeftButton, Qt::NoModifier, 5.3, 5);
    w.pic_MouseDown(Qt::LeftButton, Qt::NoModifier, 5, 4.7);
    EXPECT_EQ(existing<zibfile>(), nullptr);  // a miss creates no window
    EXPECT_EQ(world.selzib, 1);

    w.pic_MouseDown(Qt::RightButton, Qt::ShiftModifier, 5.29, 4.71);
    ASSERT_NE(existing<zibfile>(), nullptr);
    EXPECT_EQ(world.selzib, 2);
    EXPECT_EQ(existing<zibfile>()->Caption(), "Zib number 2");
    EXPECT_EQ(existing<zibfile>()->lbl[1]->text(), "    0");  // the eye of record 2

    w.pic_MouseDown(Qt::MiddleButton, Qt::NoModifier, 8, 8);
    EXPECT_EQ(world.selzib, 3);
    EXPECT_EQ(existing<zibfile>()->alivelbl->text(), "Dead");
    EXPECT_EQ(existing<zibfile>()->Caption(), "Zib number 3");

    // A record above popstart is never a candidate.
    world.zibs[4] = zibAt(12, 12, {1});
    w.pic_MouseDown(Qt::LeftButton, Qt::NoModifier, 12, 12);
    EXPECT_EQ(world.selzib, 3);
}

TEST_F(Picking, ClickOnThePictureOpensTheInspectorPlacedRightOfTheWorld) {
    Fworld& w = window<Fworld>();
    world.popstart = 1;
    world.zibs[1] = zibAt(10, 4, {1, 2, 3});
    const QPoint p = w.pic->toPixel(10, 4) + QPoint(w.pic->borderWidth(), w.pic->borderWidth());
    QTest::mouseClick(w.pic, Qt::LeftButton, Qt::NoModifier, p);
    zibfile* inspector = existing<zibfile>();
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->Caption(), "Zib number 1");
    EXPECT_EQ(frameOf(inspector).topLeft(), QPoint(frameOf(&w).right() + 1, 0));
    EXPECT_EQ(frameOf(inspector).height(), frameOf(&w).height());
    // The portrait was painted: the body's centre is light.
    const QPoint centre = inspector->filepic->toPixel(1.5, 1.5);
    EXPECT_EQ(inspector->filepic->pixelAt(centre.x(), centre.y()), RGB(255, 255, 255));
}

TEST_F(Picking, PortraitFollowsTurnsAndFiguresFollowDays) {
    Fworld& w = window<Fworld>();
    w.Command1->click();
    // Pick the first living zib.
    w.pic_MouseDown(Qt::LeftButton, Qt::NoModifier, world.zibs[1].x, world.zibs[1].y);
    const Integer picked = world.selzib;
    ASSERT_GE(picked, 1);
    zibfile& inspector = *existing<zibfile>();
    w.Command2->click();
    EXPECT_EQ(inspector.agelbl->text(), QString::number(world.zibs[picked].age));

    fmain.mnuopt_Click(0);  // off: figures stay, the portrait still follows turns
    inspector.agelbl->setText("stale");
    inspector.filepic->Cls();
    turnzib(world, 0, picked, w);
    EXPECT_FALSE(marks(*inspector.filepic, black).empty());
    w.Command2->click();
    EXPECT_EQ(inspector.agelbl->text(), "stale");
}

}  // namespace
}  // namespace zibs

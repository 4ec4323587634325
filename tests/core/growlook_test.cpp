#include <gtest/gtest.h>

#include "sim/sim.h"
#include "testsupport.h"

namespace zibs {
namespace {

using namespace zibs::testing;

World bareWorld(Integer amount) {
    World w;
    for (GrassCell& g : w.grass) g.amount = amount;
    return w;
}

TEST(Grow, GrowthPastCeilingAndGreenScale) {
    World w = bareWorld(-100);
    w.maxgrass = 20;
    w.growrate = 2;
    const Integer before[] = {19, 20, -1, 0, 8, 18, 30, -50, 23};
    for (int x = 0; x < 9; ++x) w.grassAt(x, 3).amount = before[x];
    RecordingView view;
    growgrass(w, view);

    const Integer after[] = {21, 20, 1, 2, 10, 20, 30, -48, 23};
    for (int x = 0; x < 9; ++x) EXPECT_EQ(w.grassAt(x, 3).amount, after[x]) << x;
    EXPECT_EQ(w.grassAt(4, 4).amount, -98);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"grass 0 3 3 0 255 0", "grass 1 3 3 0 255 0",
                                                    "grass 2 3 3 0 13 0", "grass 3 3 3 0 26 0",
                                                    "grass 4 3 3 0 128 0", "grass 5 3 3 0 255 0",
                                                    "grass 6 3 3 0 255 0", "grass 8 3 3 0 255 0"}));

    // Columns first: (0, 1) is plotted before (1, 0).
    World order = bareWorld(-100);
    order.maxgrass = 15;
    order.grassAt(1, 0).amount = 5;
    order.grassAt(0, 1).amount = 1;
    RecordingView seen;
    growgrass(order, seen);
    EXPECT_EQ(seen.calls, (std::vector<std::string>{"grass 0 1 3 0 17 0", "grass 1 0 3 0 85 0"}));
}

TEST(Grow, ExtremeRatesSaturate) {
    World w = bareWorld(0);
    w.maxgrass = 32767;
    w.growrate = 32767;
    w.grassAt(0, 0).amount = 100;
    NullPresentation view;
    growgrass(w, view);
    EXPECT_EQ(w.grassAt(0, 0).amount, 32767);
    EXPECT_EQ(w.grassAt(1, 0).amount, 32767);
    growgrass(w, view);  // at the ceiling: no more growth
    EXPECT_EQ(w.grassAt(1, 0).amount, 32767);

    w.growrate = -32768;
    w.grassAt(2, 2).amount = -100;
    growgrass(w, view);
    EXPECT_EQ(w.grassAt(2, 2).amount, -32768);
    growgrass(w, view);
    EXPECT_EQ(w.grassAt(2, 2).amount, -32768);

    World tiny = bareWorld(32767);  // far above a ceiling of 1: full green, no overflow
    tiny.maxgrass = 1;
    tiny.growrate = 5;
    RecordingView seen;
    growgrass(tiny, seen);
    EXPECT_EQ(tiny.grassAt(7, 7).amount, 32767);
    EXPECT_EQ(seen.calls.front(), "grass 0 0 3 0 255 0");
}

TEST(Look, BoundsTieBreakAndKeptTargets) {
    World w = bareWorld(5);
    w.grassAt(6, 6).amount = 0;
    w.grassAt(4, 5).amount = -3;
    w.popstart = 5;
    // Zib 1 at (5, 5), mode 1: eye 1 inactive, eye 6 sees bare, eye 8 sees -3, eyes 4 and 5 grass.
    w.zibs[1] = zibAt(5, 5);
    w.zibs[1].mode = 1;
    w.zibs[1].cells[1] = cell(eye, 1, 2, 0, 0);
    w.zibs[1].cells[2] = cell(motor, 25, 3, 0, 1);
    w.zibs[1].cells[5] = cell(eye, 1, 2, 0, 1);
    w.zibs[1].cells[4] = cell(eye, 1, 2, 0, 1);
    w.zibs[1].cells[6] = cell(eye, 1, 2, 0, 1);
    w.zibs[1].cells[8] = cell(eye, 1, 2, 0, 1);
    w.grassAt(6, 5).amount = 1;
    w.grassAt(6, 6).amount = 40;
    // Zib 2 at (1, 1): eyes 1, 2, 3, 7, 8 look at row or column 0 and never see.
    w.zibs[2] = zibAt(1, 1);
    for (int j : {1, 2, 3, 7, 8}) w.zibs[2].cells[j] = cell(eye);
    // Zib 3 at (20, 19): eye 4 looks off the grid; eye 6 sees (20, 20).
    w.zibs[3] = zibAt(20, 19);
    w.zibs[3].cells[4] = cell(eye);
    w.zibs[3].cells[6] = cell(eye);
    // Zib 4 keeps its target; zib 5 is dead and still gets one.
    w.zibs[4] = zibAt(9, 9);
    w.zibs[4].goalx = 0;
    w.zibs[4].goaly = 3;
    w.zibs[4].cells[2] = cell(eye);
    w.zibs[5] = zibAt(9, 9);
    w.zibs[5].alive = 0;
    w.zibs[5].cells[2] = cell(eye);
    w.zibs[6] = zibAt(9, 9);  // above popstart
    w.zibs[6].cells[2] = cell(eye);

    lookzib(w);
    EXPECT_EQ(goal(w.zibs[1]), "(6, 5)");
    EXPECT_EQ(goal(w.zibs[2]), "(0, 0)");
    EXPECT_EQ(goal(w.zibs[3]), "(20, 20)");
    EXPECT_EQ(goal(w.zibs[4]), "(0, 3)");
    EXPECT_EQ(goal(w.zibs[5]), "(9, 8)");
    EXPECT_EQ(w.zibs[6].goaly, 0);

    w.zibs[2].cells[5] = cell(eye);  // (2, 2) lies inside 1..20
    lookzib(w);
    EXPECT_EQ(goal(w.zibs[2]), "(2, 2)");
}

}  // namespace
}  // namespace zibs

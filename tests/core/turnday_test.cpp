#include <gtest/gtest.h>

#include "sim/sim.h"
#include "testsupport.h"

namespace zibs {
namespace {

using namespace zibs::testing;

// A zib whose ring cell j carries capacity j, so positions can be followed.
Zib marked() {
    Zib z = zibAt(3, 4);
    z.goalx = 7;
    z.age = 2;
    z.spare1 = 11;
    for (int j = 1; j <= 8; ++j) z.cells[j] = cell(j % 4, static_cast<Integer>(j), 2, 1, j % 3);
    return z;
}

TEST(Turn, PermutesTheRingOnly) {
    World w;
    w.selzib = 5;
    w.zibs[1] = marked();
    RecordingView view;
    turnzib(w, 2, 1, view);
    // The cell of position j now stands at j - 2: 4 to 2, 2 to 8, 7 to 5.
    const Integer now[] = {0, 3, 4, 5, 6, 7, 8, 1, 2};
    for (int j = 1; j <= 8; ++j) EXPECT_EQ(w.zibs[1].cells[j], marked().cells[now[j]]) << j;
    Zib scalars = w.zibs[1];
    scalars.cells = marked().cells;
    EXPECT_EQ(scalars, marked());
    EXPECT_TRUE(view.calls.empty());

    for (int a = 0; a <= 8; ++a) {
        for (int b = 0; b <= 8; ++b) {
            World x, y;
            x.zibs[1] = y.zibs[1] = marked();
            turnzib(x, static_cast<Integer>(a), 1, view);
            turnzib(x, static_cast<Integer>(b), 1, view);
            turnzib(y, static_cast<Integer>((a + b) % 8), 1, view);
            ASSERT_EQ(x.zibs[1], y.zibs[1]) << a << " " << b;
        }
    }
    World id;
    id.zibs[1] = marked();
    turnzib(id, 0, 1, view);
    EXPECT_EQ(id.zibs[1], marked());
    turnzib(id, 8, 1, view);
    EXPECT_EQ(id.zibs[1], marked());
    for (int k = 0; k < 8; ++k) turnzib(id, 1, 1, view);
    EXPECT_EQ(id.zibs[1], marked());
    turnzib(id, 1, 1, view);  // the right-hand cell (4) now pushes up and right (3)
    EXPECT_EQ(id.zibs[1].cells[3].capacity, 4);

    // The inspected zib's portrait is redrawn on every turn, turn 0 included.
    w.selzib = 1;
    turnzib(w, 0, 1, view);
    turnzib(w, 8, 1, view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"portrait", "portrait"}));
    EXPECT_DEBUG_DEATH(turnzib(w, 9, 1, view), "");
}

TEST(Day, RunsTheProceduresInOrderUntilTheLimit) {
    // Grass grown today is seen before the move and eaten after it: the zib walks onto the
    // target its eye picked, so it clears the target and draws no new mode.
    World w;
    for (GrassCell& g : w.grass) g.amount = -100;
    w.grassAt(6, 5).amount = 0;
    w.maxgrass = 20;
    w.growrate = 1;
    w.popstart = w.population = 1;
    w.zibs[1] = zibAt(5, 5);
    w.zibs[1].cells[3] = cell(motor);  // with cell 6, a step to the right
    w.zibs[1].cells[6] = cell(motor);
    w.zibs[1].cells[4] = cell(eye);
    w.zibs[1].cells[1] = cell(store, 30, 0, 5, 0);
    ScriptedRandom rnd{0.0, 0.0};
    RecordingView view;
    ASSERT_TRUE(daystep(w, rnd, view));
    EXPECT_EQ(rnd.left(), 0u);
    EXPECT_EQ(w.day, 1);
    EXPECT_EQ(w.zibs[1].cells[1].food, 6);
    EXPECT_EQ(w.zibs[1].goalx, 0);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"grass 6 5 3 0 13 0", "erase 1",
                                                    "grass 6 5 3 0 0 0", "draw 1", "updategraph"}));

    w.day = 32766;
    ScriptedRandom more{0.0, 0.0, 0.0};
    EXPECT_TRUE(daystep(w, more, view));
    EXPECT_EQ(w.day, 32767);
    const World frozen = w;
    view.calls.clear();
    EXPECT_FALSE(daystep(w, more, view));
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(more.left(), 0u);
    EXPECT_EQ(w.zibs, frozen.zibs);
    EXPECT_EQ(w.day, 32767);
}

}  // namespace
}  // namespace zibs

#include <cstring>

#include "testsupport.h"

namespace zibs::testing {

TEST(Turn, RingPermutationsComposeAndRedrawTheSelectedZib) {
    World w;
    w.zibs[1] = ringed();
    RecordingView view;
    turnzib(w, 2, 1, view);
    EXPECT_EQ(ringOf(w.zibs[1], &ZibCell::capacity), "3 4 5 6 7 8 1 2");  // cell 4 to 2, 2 to 8

    for (int a = 0; a <= 8; ++a)
        for (int b = 0; b <= 8; ++b) {
            World x, y;
            x.zibs[1] = y.zibs[1] = ringed();
            turnzib(x, a, 1, view);
            turnzib(x, b, 1, view);
            turnzib(y, (a + b) % 8, 1, view);
            ASSERT_EQ(x.zibs[1], y.zibs[1]) << a << " " << b;
        }

    // 0 and 8 leave the ring as it is; only the selected zib's portrait is redrawn, every turn.
    w.selzib = 1;
    turnzib(w, 0, 1, view);
    turnzib(w, 8, 1, view);
    EXPECT_EQ(ringOf(w.zibs[1], &ZibCell::capacity) + ": " + view.log,
              "3 4 5 6 7 8 1 2: portrait, portrait");
    for (int t : {-1, 0, 8, 9}) EXPECT_EQ(validTurn(t), t == 0 || t == 8) << t;
    EXPECT_DEBUG_DEATH(turnzib(w, 9, 1, view), "");  // refused where asserts run
}

TEST(Day, RunsTheProceduresInOrderUntilTheLimit) {
    // Grass grown today is seen before the move and eaten after it: the zib walks onto the
    // target its eye picked, so it clears the target and draws no new mode.
    World w = worldOf(-100, {zibAt(5, 5, {{1, food(30, 5)}, {3, cell(motor)}, {4, cell(eye)}})});
    w.zibs[1].cells[6] = cell(motor);  // with cell 3, a step to the right
    w.grassAt(6, 5).amount = 0;
    w.growrate = 1;
    ScriptedRandom rnd{0.0, 0.0, 0.0, 0.0, 0.0};
    RecordingView view;
    ASSERT_TRUE(daystep(w, rnd, view));
    EXPECT_EQ(where(w.zibs[1]) + ": " + view.log,
              "(6, 5) to (0, 0): grass 6 5 13, erase 1, grass 6 5 0, draw 1, updategraph");

    // Only the step from 32766 to the limit 32767 runs; then daystep changes nothing.
    w.day = 32766;
    EXPECT_TRUE(daystep(w, rnd, view));
    const World frozen = w;
    view.log.clear();
    EXPECT_TRUE(!daystep(w, rnd, view) && view.log.empty() && w.day == 32767);
    EXPECT_EQ(std::memcmp(&w, &frozen, sizeof(World)), 0);
}

}  // namespace zibs::testing

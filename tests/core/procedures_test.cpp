// The day's procedures: turning a zib, growing the grass, looking, and the day that runs them.
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

TEST(Grow, GrowthPastCeilingAndGreenScaleColumnsFirst) {
    // Points (k, 8 - k) on a diagonal: columns first lists them by rising k, rows first by falling.
    // Green is 12.75 per unit, halves to even: 25.5 to 26, 76.5 to 76, 127.5 to 128.
    World w = worldOf(-100);
    w.growrate = 2;
    const Integer before[] = {19, 20, -1, 0, 8, 18, 30, -50, 4};
    const Integer after[] = {21, 20, 1, 2, 10, 20, 30, -48, 6};
    for (int k = 0; k < 9; ++k) w.grassAt(k, 8 - k).amount = before[k];
    RecordingView view;
    growgrass(w, view);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(w.grassAt(k, 8 - k).amount, after[k]) << k;
    EXPECT_EQ(view.log,
              "grass 0 8 255, grass 1 7 255, grass 2 6 13, grass 3 5 26, grass 4 4 128, "
              "grass 5 3 255, grass 6 2 255, grass 8 0 76");

    // Extreme rates saturate instead of overflowing, also just past the top: rate, amount before
    // and after.
    w.maxgrass = 32767;
    const std::array<Integer, 3> extremes[] = {{1, 32766, 32767},
                                               {2, 32766, 32767},
                                               {32767, 21, 32767},
                                               {-32768, -100, -32768},
                                               {-1, -32768, -32768}};
    for (const auto& [rate, from, to] : extremes) {
        w.growrate = rate;
        w.grassAt(9, 9).amount = from;
        growgrass(w, view);
        EXPECT_EQ(w.grassAt(9, 9).amount, to) << rate;
    }
}

TEST(Look, BoundsTieBreakAndKeptTargets) {
    // Zib 1, mode 1: eye 1 is inactive, eyes 2 and 3 see no grass, eye 4 sees some before eye 5.
    Zib one = zibAt(5, 5, {{1, cell(eye)}});
    for (int j = 2; j <= 5; ++j) one.cells[j] = cell(eye, 1, 2, 0, 1);
    one.mode = 1;
    // Zib 2: eyes 1, 2, 3, 7 and 8 look at row or column 0, which is never seen.
    Zib two = zibAt(1, 1);
    for (int j : {1, 2, 3, 7, 8}) two.cells[j] = cell(eye);
    // Zib 3: eye 4 looks off the grid, eye 6 sees (20, 20). Zib 4 keeps its target (0, 3);
    // zib 5 is dead and still gets one; zib 6 sees (1, 1) past column 0; 7 lies above popstart.
    Zib kept = zibAt(9, 9, {{2, cell(eye)}});
    kept.goaly = 3;
    Zib dead = zibAt(9, 9, {{2, cell(eye)}});
    dead.alive = 0;
    World w = worldOf(5, {one, two, zibAt(20, 19, {{4, cell(eye)}, {6, cell(eye)}}), kept, dead,
                          zibAt(1, 2, {{1, cell(eye)}, {2, cell(eye)}})});
    w.zibs[7] = zibAt(9, 9, {{2, cell(eye)}});
    for (auto [x, y, amount] : {std::array{5, 4, 0}, {6, 4, -3}, {6, 5, 1}, {6, 6, 40}})
        w.grassAt(x, y).amount = static_cast<Integer>(amount);

    lookzib(w);
    const char* goals[] = {"(5, 5) to (6, 5)", "(1, 1) to (0, 0)", "(20, 19) to (20, 20)",
                           "(9, 9) to (0, 3)", "(9, 9) to (9, 8)", "(1, 2) to (1, 1)",
                           "(9, 9) to (0, 0)"};
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(where(w.zibs[i]), goals[i - 1]) << i;
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

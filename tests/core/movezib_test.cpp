#include <vector>

#include "testsupport.h"

namespace zibs::testing {

TEST(Move, MotorSumsEdgeTurnsAndModeRedrawnOnRoundedDistances) {
    const ZibCell full = food(40, 20);
    auto aimed = [&](Integer x, Integer y, Integer gx, Integer gy, std::vector<int> motors) {
        Zib z = zibAt(x, y, {{2, full}});
        for (int j : motors) z.cells[j] = cell(motor);
        std::tie(z.goalx, z.goaly) = std::tuple(gx, gy);
        return z;
    };
    // 1: motors 3, 4 and 5 pull three to the right; motor 1 is in another mode.
    Zib one = aimed(10, 10, 0, 0, {3, 4, 5});
    one.cells[1] = cell(motor, 0, 0, 0, 1);
    // 2: motors 4 and 8 cancel. 3: steps off the right edge; turned by 1 it still does, turned by
    // 2 more it goes up-left. 4: to (6, 9), rounded distances to (5, 5) of 4 and 4. 5: onto its
    // target. 6 and 7: no target, towards the corner (0, 0) and away from it. 8: closer, 2 then 1.
    World w =
        worldOf(-100, {one, aimed(10, 10, 0, 0, {4, 8}), aimed(20, 10, 0, 0, {4}),
                       aimed(8, 8, 5, 5, {7, 8}), aimed(8, 10, 9, 10, {4}), aimed(3, 3, 0, 0, {1}),
                       aimed(3, 3, 0, 0, {5}), aimed(10, 10, 12, 10, {4})});
    w.selzib = 3;
    // Old age draws two each; a new mode is drawn unless the zib came closer or reached its target.
    ScriptedRandom rnd{0, 0, pick(2, 3), 0, 0, pick(1, 3), pick(0, 7), pick(1, 7), 0, 0};
    rnd.add({0, 0, pick(2, 3), 0, 0, 0, 0, 0, 0, pick(1, 3), 0, 0});
    RecordingView view;
    view.autoUpdate = true;
    movezib(w, rnd, view);
    const char* wants[] = {"(13, 10) to (0, 0) mode 2", "(10, 10) to (0, 0) mode 1",
                           "(19, 9) to (0, 0) mode 0",  "(6, 9) to (5, 5) mode 2",
                           "(9, 10) to (0, 0) mode 0",  "(2, 2) to (0, 0) mode 0",
                           "(4, 4) to (0, 0) mode 1",   "(11, 10) to (12, 10) mode 0"};
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(where(w.zibs[i]) + " mode " + std::to_string(w.zibs[i].mode), wants[i - 1]) << i;
    EXPECT_EQ(w.zibs[3].cells[7], full);  // the store went round with the motor
    EXPECT_EQ(
        view.log,
        "erase 1, draw 1, erase 2, draw 2, erase 3, portrait, portrait, draw 3, erase 4, "
        "draw 4, erase 5, draw 5, erase 6, draw 6, erase 7, draw 7, erase 8, draw 8, zibdata");
}

TEST(Move, GrazingSheddingUpkeepAndHunger) {
    // Grass 10 fills room 4 and 3 of two stores and leaves 3.
    const Zib room = zibAt(5, 5, {{2, food(30, 26)}, {5, food(30, 27)}});
    // Grazed bare: the grass starts again from -10.
    const Zib bare = zibAt(6, 6, {{1, food(49, 0)}});
    // A store left above its capacity by a mutation sheds into grass the first one used up.
    const Zib shed = zibAt(7, 7, {{1, food(10, 0)}, {3, food(25, 40)}});
    // Daily use 10 (empty cells and the eye pay too): 3 and 4 taken, 3 of 10 from the last.
    Zib upkeep = zibAt(1, 1, {{1, food(40, 3, 1)}, {2, cell(empty, 0, 5)}, {3, food(40, 4, 1)}});
    upkeep.cells[4] = food(40, 10, 1);
    upkeep.cells[6] = cell(eye, 1, 2);
    // On grass 0 nothing is grazed; food 6 equals the daily use: all eaten, the zib starves.
    const Zib hungry = zibAt(8, 8, {{5, food(40, 4, 2)}, {7, food(40, 2, 4)}});
    // Grass 32767 and two uses of 32767 saturate: the store fills to 49, then pays all of it.
    Zib huge = zibAt(9, 9, {{1, cell(eye, 1, 32767)}, {2, cell(empty, 0, 32767)}});
    huge.cells[8] = food(49, 10);
    World w = worldOf(-100, {room, bare, shed, upkeep, hungry, huge});
    const Integer grass[] = {10, 10, 5, 0, 32767};
    for (int k = 5; k <= 9; ++k) w.grassAt(k, k).amount = grass[k - 5];
    ScriptedRandom rnd(6 * 3);
    RecordingView view;
    movezib(w, rnd, view);

    std::string left = std::to_string(w.population);
    for (int k = 5; k <= 9; ++k) left += " " + std::to_string(w.grassAt(k, k).amount);
    EXPECT_EQ(left, "4 3 -10 15 0 32718");  // population, grass left
    const char* foods[] = {"0 30 0 0 30 0 0 0", "10 0 0 0 0 0 0 0", "5 0 25 0 0 0 0 0",
                           "0 0 0 7 0 0 0 0",   "0 0 0 0 0 0 0 0",  "0 0 0 0 0 0 0 0"};
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(ringOf(w.zibs[i], &ZibCell::food), foods[i - 1]) << i;
    EXPECT_EQ(view.log,
              "erase 1, grass 5 5 153, draw 1, erase 2, grass 6 6 0, draw 2, erase 3, "
              "grass 7 7 255, draw 3, erase 4, draw 4, erase 5, draw 5, dead 5, erase 6, "
              "grass 9 9 255, draw 6, dead 6");
}

TEST(Move, ReproductionThresholdOldAgeAndNewbornsVisitedOnlyAboveTheParent) {
    auto fed = [](Integer age, Integer reproage, Integer a, Integer b) {
        Zib z = zibAt(5, 5, {{1, food(50, a)}, {4, food(50, b)}});
        z.age = age;
        z.reproage = reproage;
        return z;
    };
    Zib vacant = zibAt(0, 0);
    vacant.alive = 0;
    // Zib 2 holds 31 of 100 and reproduces into records 1 (below it), 4 (above) and 7; zib 3
    // holds 30 and does not.
    World w = worldOf(-100, {vacant, fed(3, 3, 16, 15), fed(3, 3, 15, 15), vacant,
                             fed(4, 5, 50, 50), fed(24, 30, 50, 50)});
    w.population = 4;
    w.reprorate = 3;
    // Zib 2: two draws per newborn, then at age 0 it cannot die. Then zib 3 and the newborn in
    // record 4; zib 5: age 5 is not above 5, a = round(2.5) = 2, h = 2; zib 6: a = round(12.5)
    // = 12, h = 11: it dies.
    ScriptedRandom rnd{0, 0, 0, 0, 0, 0, 0.99, 0, 0};
    rnd.add({0, 0, 0, 0, 0, 0, 0.5, 0.02, 0, 0.5, 0.11, 0});
    RecordingView view;
    movezib(w, rnd, view);
    std::string ages;
    for (int i = 1; i <= 7; ++i) ages += std::to_string(w.zibs[i].age) + " ";
    EXPECT_EQ(ages + std::to_string(w.popstart) + " " + std::to_string(w.population),
              "0 0 4 1 5 25 0 7 6");
    EXPECT_EQ(view.log,
              "erase 2, erase 2, erase 1, draw 2, draw 1, erase 2, erase 4, draw 2, draw 4, "
              "erase 2, erase 7, draw 2, draw 7, draw 2, erase 3, draw 3, erase 4, draw 4, "
              "erase 5, draw 5, erase 6, draw 6, dead 6");
}

}  // namespace zibs::testing

#include <gtest/gtest.h>

#include "sim/sim.h"
#include "testsupport.h"

namespace zibs {
namespace {

using namespace zibs::testing;

// A bare world with the given zibs alive in records 1 to n.
World worldOf(std::initializer_list<Zib> zibs) {
    World w;
    for (GrassCell& g : w.grass) g.amount = -100;
    w.maxgrass = 20;
    for (const Zib& z : zibs) w.zibs[++w.popstart] = z;
    w.population = w.popstart;
    return w;
}

Zib withCells(Zib z, std::initializer_list<std::pair<int, ZibCell>> cells) {
    for (const auto& [j, c] : cells) z.cells[j] = c;
    return z;
}

TEST(Move, MotorSumsCancellingAndTurningAtTheEdge) {
    World w = worldOf({
        withCells(zibAt(10, 10), {{3, cell(motor)},
                                  {4, cell(motor)},
                                  {5, cell(motor)},
                                  {2, cell(motor, 0, 0, 0, 1)},
                                  {1, cell(store, 40, 0, 20)}}),
        withCells(zibAt(10, 10), {{4, cell(motor)}, {8, cell(motor)}, {1, cell(store, 40, 0, 20)}}),
        withCells(zibAt(20, 10), {{4, cell(motor)}, {6, cell(store, 40, 0, 20)}}),
    });
    w.selzib = 3;
    // Zib 3 steps off the right edge: turned by 1 it still does, turned by 2 more it goes up-left.
    ScriptedRandom rnd{0, 0, pick(2, 3), 0, 0, pick(1, 3), pick(0, 7), pick(1, 7), 0, 0};
    RecordingView view;
    view.autoUpdate = true;
    movezib(w, rnd, view);
    EXPECT_EQ(rnd.left(), 0u);

    EXPECT_EQ(pos(w.zibs[1]), "(13, 10)");
    EXPECT_EQ(w.zibs[1].mode, 2);  // farther from the corner (0, 0): a new mode
    EXPECT_EQ(pos(w.zibs[2]), "(10, 10)");
    EXPECT_EQ(w.zibs[2].mode, 1);  // no step: the distances are equal
    EXPECT_EQ(pos(w.zibs[3]), "(19, 9)");
    EXPECT_EQ(w.zibs[3].cells[1].kind, motor);
    EXPECT_EQ(w.zibs[3].cells[3], cell(store, 40, 0, 20));  // the store went round with it
    EXPECT_EQ(w.zibs[3].age, 1);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"erase 1", "draw 1", "erase 2", "draw 2", "erase 3",
                                        "portrait", "portrait", "draw 3", "zibdata"}));
}

TEST(Move, GrazingSheddingUpkeepAndHunger) {
    World w = worldOf({
        withCells(zibAt(5, 5), {{2, cell(store, 30, 0, 26)}, {5, cell(store, 30, 0, 27)}}),
        withCells(zibAt(6, 6), {{1, cell(store, 49, 0, 0)}}),
        // A store left above its capacity by a mutation sheds into the grass the first stores
        // used up.
        withCells(zibAt(7, 7), {{1, cell(store, 10, 0, 0)}, {3, cell(store, 25, 0, 40)}}),
        withCells(zibAt(8, 8), {{1, cell(store, 30, 0, 1)}}),
        withCells(zibAt(9, 9), {{8, cell(store, 49, 0, 10)}}),
        // Daily use 10 (empty cells and the eye pay too): 3 and 4 taken, 3 of 10 from the last.
        withCells(zibAt(1, 1), {{1, cell(store, 40, 1, 3)},
                                {2, cell(empty, 0, 5)},
                                {3, cell(store, 40, 1, 4)},
                                {4, cell(store, 40, 1, 10)},
                                {6, cell(eye, 1, 2)}}),
        // Total food 6 equals the daily use: all eaten, the zib starves.
        withCells(zibAt(2, 2), {{5, cell(store, 40, 2, 4)}, {7, cell(store, 40, 4, 2)}}),
        // No store: starves on its first day; huge uses do not overflow the sum.
        withCells(zibAt(3, 3), {{1, cell(eye, 1, 32767)}, {2, cell(empty, 0, 32767)}}),
    });
    w.grassAt(5, 5).amount = 10;
    w.grassAt(6, 6).amount = 10;
    w.grassAt(7, 7).amount = 5;
    w.grassAt(8, 8).amount = 0;
    w.grassAt(9, 9).amount = 32767;
    ScriptedRandom rnd;
    for (int i = 0; i < 8 * 3; ++i) rnd.add({0.0});
    RecordingView view;
    movezib(w, rnd, view);
    EXPECT_EQ(rnd.left(), 0u);

    EXPECT_EQ(w.zibs[1].cells[2].food, 30);
    EXPECT_EQ(w.zibs[1].cells[5].food, 30);
    EXPECT_EQ(w.grassAt(5, 5).amount, 3);
    EXPECT_EQ(w.zibs[2].cells[1].food, 10);
    EXPECT_EQ(w.grassAt(6, 6).amount, -10);
    EXPECT_EQ(w.zibs[3].cells[1].food, 5);
    EXPECT_EQ(w.zibs[3].cells[3].food, 25);
    EXPECT_EQ(w.grassAt(7, 7).amount, 15);
    EXPECT_EQ(w.zibs[4].cells[1].food, 1);
    EXPECT_EQ(w.grassAt(8, 8).amount, 0);
    EXPECT_EQ(w.zibs[5].cells[8].food, 49);
    EXPECT_EQ(w.grassAt(9, 9).amount, 32767 - 49);
    EXPECT_EQ(w.zibs[6].cells[1].food, 0);
    EXPECT_EQ(w.zibs[6].cells[3].food, 0);
    EXPECT_EQ(w.zibs[6].cells[4].food, 7);
    EXPECT_EQ(w.zibs[6].alive, 1);
    EXPECT_EQ(w.zibs[7].cells[5].food, 0);
    EXPECT_EQ(w.zibs[7].cells[7].food, 0);
    EXPECT_EQ(w.zibs[7].alive, 0);
    EXPECT_EQ(w.zibs[8].alive, 0);
    EXPECT_EQ(w.population, 6);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"erase 1",
                                                    "grass 5 5 3 0 153 0",
                                                    "draw 1",
                                                    "erase 2",
                                                    "grass 6 6 3 0 0 0",
                                                    "draw 2",
                                                    "erase 3",
                                                    "grass 7 7 3 0 255 0",
                                                    "draw 3",
                                                    "erase 4",
                                                    "draw 4",
                                                    "erase 5",
                                                    "grass 9 9 3 0 255 0",
                                                    "draw 5",
                                                    "erase 6",
                                                    "draw 6",
                                                    "erase 7",
                                                    "draw 7",
                                                    "dead 7",
                                                    "erase 8",
                                                    "draw 8",
                                                    "dead 8"}));

    // The dead are skipped: no call, no draw.
    view.calls.clear();
    w.zibs[1].alive = w.zibs[2].alive = w.zibs[3].alive = w.zibs[4].alive = 0;
    w.zibs[5].alive = w.zibs[6].alive = 0;
    movezib(w, rnd, view);
    EXPECT_TRUE(view.calls.empty());
}

TEST(Move, ReproductionThresholdAndOldAge) {
    auto fed = [](Integer age, Integer reproage, Integer a, Integer b) {
        Zib z = withCells(zibAt(5, 5), {{1, cell(store, 50, 0, a)}, {4, cell(store, 50, 0, b)}});
        z.age = age;
        z.reproage = reproage;
        return z;
    };
    World w =
        worldOf({fed(3, 3, 15, 15), fed(3, 3, 16, 15), fed(4, 5, 50, 50), fed(24, 30, 50, 50)});
    w.reprorate = 1;
    ScriptedRandom rnd{0,   0,    0,           // zib 1: 30 of 100 is not enough
                       0,   0,    0.99, 0, 0,  // zib 2: 31 is; its age is then 0 and it cannot die
                       0.5, 0.02, 0,   // zib 3: age 5 is not above 5; a = round(2.5) = 2, h = 2
                       0.5, 0.11, 0};  // zib 4: a = round(12.5) = 12, h = 11: dies
    RecordingView view;
    movezib(w, rnd, view);
    EXPECT_EQ(rnd.left(), 0u);
    EXPECT_EQ(w.zibs[1].age, 4);
    EXPECT_EQ(w.zibs[2].age, 0);
    EXPECT_EQ(w.zibs[3].alive, 1);
    EXPECT_EQ(w.zibs[4].alive, 0);
    EXPECT_EQ(w.popstart, 5);
    EXPECT_EQ(w.population, 4);
    EXPECT_EQ(w.zibs[5].age, 0);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"erase 1", "draw 1", "erase 2", "erase 2", "erase 5",
                                        "draw 2", "draw 5", "draw 2", "erase 3", "draw 3",
                                        "erase 4", "draw 4", "dead 4"}));
}

TEST(Move, TargetReachedOrModeRedrawnOnRoundedDistances) {
    auto toward = [](Integer x, Integer y, Integer gx, Integer gy,
                     std::initializer_list<int> motors) {
        Zib z = zibAt(x, y);
        z.goalx = gx;
        z.goaly = gy;
        for (int j : motors) z.cells[j] = cell(motor);
        z.cells[2] = cell(store, 40, 0, 20);
        return z;
    };
    World w = worldOf({toward(8, 8, 5, 5, {7, 8}),     // to (6, 9): 4 and 4, not closer
                       toward(8, 10, 9, 10, {4}),      // onto the target
                       toward(3, 3, 0, 0, {1}),        // no target, towards the corner
                       toward(3, 3, 0, 0, {5}),        // no target, away from it
                       toward(10, 10, 12, 10, {4})});  // closer: 2 then 1
    ScriptedRandom rnd{0, 0, pick(2, 3), 0, 0, 0, 0, 0, 0, pick(1, 3), 0, 0};
    RecordingView view;
    movezib(w, rnd, view);
    EXPECT_EQ(rnd.left(), 0u);
    EXPECT_EQ(pos(w.zibs[1]), "(6, 9)");
    EXPECT_EQ(w.zibs[1].mode, 2);
    EXPECT_EQ(w.zibs[1].goalx, 5);
    EXPECT_EQ(goal(w.zibs[2]), "(0, 0)");
    EXPECT_EQ(w.zibs[3].mode, 0);
    EXPECT_EQ(w.zibs[4].mode, 1);
    EXPECT_EQ(w.zibs[5].goalx, 12);
}

}  // namespace
}  // namespace zibs

#include <gtest/gtest.h>

#include "sim/sim.h"
#include "testsupport.h"

namespace zibs {
namespace {

using namespace zibs::testing;

// A parent whose ring cell j carries capacity j, so turns can be followed.
Zib parentZib() {
    Zib z = zibAt(6, 7);
    z.age = 9;
    z.goalx = 2;
    z.goaly = 3;
    for (int j = 1; j <= 8; ++j) z.cells[j] = cell(store, static_cast<Integer>(j), 1, 1, 0);
    return z;
}

World worldWith(Integer popstart, Integer parent, Integer reprorate) {
    World w;
    w.popstart = w.population = popstart;
    for (int i = 1; i <= popstart; ++i) w.zibs[i] = zibAt(1, 1);
    w.zibs[parent] = parentZib();
    w.reprorate = reprorate;
    return w;
}

ScriptedRandom zeros(int n) {
    ScriptedRandom r;
    for (int i = 0; i < n; ++i) r.add({0.0});
    return r;
}

TEST(Repro, LitterOfNineIsTurnedOneToSevenThenZeroAndOne) {
    World w = worldWith(1, 1, 9);
    w.mutations = 3;  // radiation 0: the threshold is 0 and nothing mutates
    w.selzib = 9;
    ScriptedRandom rnd = zeros(18);
    RecordingView view;
    reproduce(w, 1, rnd, view);
    EXPECT_EQ(rnd.left(), 0u);
    EXPECT_EQ(w.popstart, 10);
    EXPECT_EQ(w.population, 10);
    EXPECT_EQ(w.zibs[1], [] {
        Zib z = parentZib();
        z.age = 0;
        return z;
    }());
    // Where the parent's cell 4 stands in newborn k (record k + 1).
    const int position[] = {0, 3, 2, 1, 8, 7, 6, 5, 4, 3};
    for (int k = 1; k <= 9; ++k) {
        const Zib& n = w.zibs[k + 1];
        EXPECT_EQ(n.cells[position[k]].capacity, 4) << k;
        EXPECT_TRUE(n.x == 6 && n.y == 7 && n.goalx == 2 && n.goaly == 3 && n.age == 0 &&
                    n.alive == 1)
            << k;
    }
    const std::vector<std::string> first(view.calls.begin(), view.calls.begin() + 4);
    EXPECT_EQ(first, (std::vector<std::string>{"erase 1", "erase 2", "draw 1", "draw 2"}));
    // The eighth newborn is turned by 0 and, being inspected, has its portrait redrawn.
    const std::vector<std::string> eighth(view.calls.begin() + 28, view.calls.begin() + 33);
    EXPECT_EQ(eighth,
              (std::vector<std::string>{"erase 1", "erase 9", "portrait", "draw 1", "draw 9"}));
    EXPECT_EQ(view.calls.size(), 9u * 4 + 1);
}

TEST(Repro, SlotsAndRoomTest) {
    // Dead slots are reused lowest first, then popstart grows.
    World w = worldWith(5, 3, 3);
    w.zibs[2].alive = w.zibs[4].alive = 0;
    w.population = 3;
    ScriptedRandom rnd = zeros(6);
    NullPresentation view;
    reproduce(w, 3, rnd, view);
    EXPECT_EQ(w.popstart, 6);
    EXPECT_EQ(w.population, 6);
    // Turned by 1, 2 and 3: cell 4 holds the parent's cell 5, 6 and 7.
    EXPECT_EQ(w.zibs[2].cells[4].capacity, 5);
    EXPECT_EQ(w.zibs[4].cells[4].capacity, 6);
    EXPECT_EQ(w.zibs[6].cells[4].capacity, 7);

    // popstart 99 - reprorate: the whole litter fits, the last one in record 99.
    World fits = worldWith(96, 5, 3);
    ScriptedRandom six = zeros(6);
    reproduce(fits, 5, six, view);
    EXPECT_EQ(fits.popstart, 99);
    EXPECT_EQ(fits.zibs[99].x, 6);

    // popstart 100 - reprorate: nothing at all, dead slots or not.
    for (Integer reprorate : {Integer{3}, Integer{100}, Integer{0}, Integer{-32768}}) {
        World full = worldWith(static_cast<Integer>(reprorate == 3 ? 97 : 10), 5, reprorate);
        full.zibs[1].alive = 0;
        const World before = full;
        ScriptedRandom none;
        RecordingView silent;
        reproduce(full, 5, none, silent);
        EXPECT_EQ(full.zibs, before.zibs) << reprorate;
        EXPECT_EQ(full.popstart, before.popstart);
        EXPECT_EQ(full.population, before.population);
        EXPECT_TRUE(silent.calls.empty());
    }
}

TEST(Repro, MutationChainActsOnTheParentAfterEachCopy) {
    World w = worldWith(1, 1, 2);
    w.radiation = 100;
    w.mutations = 4;
    Zib& p = w.zibs[1];
    p.cells[1] = cell(store, 40, 1, 40, 0);
    p.cells[3] = cell(empty, 30, 7, 0, 0);
    p.cells[5] = cell(motor, 25, 3, 0, 0);
    const Zib original = [&] {
        Zib z = p;
        z.age = 0;
        return z;
    }();
    ScriptedRandom rnd{0.1, 0.25,                            // chance 10 < threshold 25
                       pick(0, 3), pick(2, 8), pick(1, 4),   // cell 3 becomes a full store
                       pick(1, 3), pick(4, 8), pick(2, 3),   // 0 < 3: cell 5 gets mode 2
                       pick(2, 3), pick(0, 8), pick(0, 25),  // 1 < 5: cell 1 gets capacity 25
                       // 2 < 1 fails: the fourth attempt draws nothing.
                       0.5, 0.5};  // second newborn: 50 < 50 fails
    RecordingView view;
    reproduce(w, 1, rnd, view);
    EXPECT_EQ(rnd.left(), 0u);

    EXPECT_EQ(p.cells[1], cell(store, 25, 1, 40, 0));  // food left above the new capacity
    EXPECT_EQ(p.cells[3], cell(store, 30, 7, 30, 0));  // use kept
    EXPECT_EQ(p.cells[5], cell(motor, 25, 3, 0, 2));
    // Newborn 1 is the parent as it was, turned by 1; newborn 2 the mutated one, turned by 2.
    EXPECT_EQ(w.zibs[2].cells[8], original.cells[1]);
    EXPECT_EQ(w.zibs[2].cells[2], original.cells[3]);
    EXPECT_EQ(w.zibs[2].cells[4], original.cells[5]);
    EXPECT_EQ(w.zibs[3].cells[7], p.cells[1]);
    EXPECT_EQ(w.zibs[3].cells[1], p.cells[3]);
    EXPECT_EQ(w.zibs[3].cells[3], p.cells[5]);
}

TEST(Repro, NewbornsVisitedOnTheirDayOfBirthOnlyAboveTheParent) {
    World w = worldWith(5, 2, 3);
    for (Integer i = 1; i <= 5; ++i) w.zibs[i].cells[1] = cell(store, 40, 0, i == 2 ? 40 : 20);
    w.zibs[1].alive = w.zibs[4].alive = 0;
    w.population = 3;
    for (GrassCell& g : w.grass) g.amount = -100;
    // The parent: 6 draws for three newborns, then old age at age 0 (cannot die) and its mode.
    ScriptedRandom rnd{0, 0, 0, 0, 0, 0, 0.99, 0, 0};
    rnd.add({0, 0, 0, 0, 0, 0, 0, 0, 0});  // zibs 3, 4 (born today in a free slot above) and 5
    NullPresentation view;
    movezib(w, rnd, view);
    EXPECT_EQ(rnd.left(), 0u);
    EXPECT_EQ(w.popstart, 6);
    EXPECT_EQ(w.population, 6);
    EXPECT_EQ(w.zibs[1].age, 0);  // below the parent: first visited tomorrow
    EXPECT_EQ(w.zibs[4].age, 1);
    EXPECT_EQ(w.zibs[6].age, 0);  // beyond the bound read at the start
    EXPECT_EQ(w.zibs[2].age, 0);
    EXPECT_EQ(w.zibs[2].alive, 1);
}

}  // namespace
}  // namespace zibs

#include <cstring>

#include "testsupport.h"

namespace zibs::testing {

// Records 1 to popstart alive, the parent (ringed, age 9) at `parent`.
World worldWith(Integer popstart, Integer parent, Integer reprorate) {
    World w;
    w.popstart = w.population = popstart;
    for (int i = 1; i <= popstart; ++i) w.zibs[i] = zibAt(1, 1);
    w.zibs[parent] = ringed();
    w.zibs[parent].age = 9;
    w.reprorate = reprorate;
    return w;
}

TEST(Repro, LitterOfNineTurnedOneToSevenThenZeroAndOneInTheLowestFreeSlots) {
    // popstart 99 - reprorate leaves room for the litter; the dead records 2 and 90 (the last in
    // use) are taken first.
    World w = worldWith(90, 3, 9);
    w.zibs[2].alive = w.zibs[90].alive = 0;
    w.population = 88;
    w.mutations = 3;  // radiation 0: the threshold is 0 and nothing mutates
    ScriptedRandom rnd(18);
    NullPresentation view;
    reproduce(w, 3, rnd, view);
    EXPECT_EQ(w.popstart, 97);
    // Newborn k: its record, and where the parent's cell 4 stands in it.
    const int record[] = {0, 2, 90, 91, 92, 93, 94, 95, 96, 97};
    const int position[] = {0, 3, 2, 1, 8, 7, 6, 5, 4, 3};
    for (int k = 1; k <= 9; ++k) {
        Zib n = w.zibs[record[k]];
        EXPECT_EQ(n.cells[position[k]].capacity, 4) << k;
        n.cells = ringed().cells;
        EXPECT_EQ(n, ringed()) << k;
    }

    // popstart 100 - reprorate: nothing at all (no draw either), even with a dead slot free.
    World full = worldWith(91, 3, 9);
    full.zibs[1].alive = 0;
    const World before = full;
    reproduce(full, 3, rnd, view);
    EXPECT_EQ(std::memcmp(&full, &before, sizeof(World)), 0);
}

TEST(Repro, MutationChainActsOnTheParentAfterEachCopy) {
    World w = worldWith(1, 1, 2);
    w.radiation = 100;
    w.mutations = 4;
    Zib& p = w.zibs[1];
    p.cells[1] = cell(store, 40, 1, 40, 0);
    p.cells[3] = cell(empty, 30, 7, 0, 0);
    p.cells[5] = cell(motor, 25, 3, 0, 0);
    const Zib original = p;
    ScriptedRandom rnd{0.1, 0.25,                            // chance 10 < threshold 25
                       pick(0, 3), pick(2, 8), pick(1, 4),   // cell 3 becomes a full store
                       pick(1, 3), pick(4, 8), pick(2, 3),   // 0 < 3: cell 5 gets mode 2
                       pick(2, 3), pick(0, 8), pick(0, 25),  // 1 < 5: cell 1 gets capacity 25
                       // 2 < 1 fails: the fourth attempt draws nothing.
                       0.5, 0.5};  // second newborn: 50 < 50 fails
    NullPresentation view;
    reproduce(w, 1, rnd, view);

    // Cell 1 keeps food above its new capacity, cell 3 its use.
    EXPECT_EQ((std::array{p.cells[1], p.cells[3], p.cells[5]}),
              (std::array{cell(store, 25, 1, 40, 0), cell(store, 30, 7, 30, 0),
                          cell(motor, 25, 3, 0, 2)}));
    // Newborn 1 is the parent as it was, turned by 1; newborn 2 the mutated one, turned by 2.
    for (int j = 1; j <= 8; ++j)
        EXPECT_EQ(std::tuple(w.zibs[2].cells[j], w.zibs[3].cells[j]),
                  std::tuple(original.cells[j % 8 + 1], p.cells[(j + 1) % 8 + 1]))
            << j;
}

}  // namespace zibs::testing

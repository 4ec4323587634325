#include <vector>

#include "sim/daystats.h"
#include "testsupport.h"

namespace zibs::testing {

TEST(Counts, BirthsAndDeathsByCauseOfOneDay) {
    // One zib at (5, 5) without motors on bare ground; draws after the litter: old age r1 and r2,
    // then the new mode (it came no closer to (0, 0)).
    auto zib = [](Integer age, ZibCell store) {
        Zib z = zibAt(5, 5, {{1, store}});
        z.age = age;
        return z;
    };
    const std::tuple<const char*, Zib, std::vector<double>, DayCounts> cases[] = {
        // 40 of 50 at age 4: a litter of two (two draws each), then at age 0 it cannot die.
        {"birth", zib(3, food(50, 40)), {0, 0, 0, 0, 0, 0, 0}, {2, 0, 0}},
        // a = round(0.99 * 51) = 50 > h = 0; food 40 of 200 is too little for a litter.
        {"old age", zib(50, food(200, 40)), {0.99, 0, 0}, {0, 1, 0}},
        // The upkeep of 2 takes the last 2 of food; h = 99 spares it from old age.
        {"hunger", zib(0, food(40, 2, 2)), {0, 0.99, 0}, {0, 0, 1}},
        {"old age and hunger", zib(50, food(40, 2, 2)), {0.99, 0, 0}, {0, 0, 1}},
    };
    for (const auto& [what, start, draws, want] : cases) {
        World w = worldOf(-100, {start});
        w.reprorate = 2;
        w.counts = {7, 7, 7};  // the day before's
        ScriptedRandom rnd;
        rnd.draws.assign(draws.begin(), draws.end());
        NullPresentation view;
        ASSERT_TRUE(daystep(w, rnd, view)) << what;
        EXPECT_EQ(w.counts, want) << what;
        EXPECT_EQ(w.population, 1 + want.births - want.deathsAge - want.deathsHunger);
    }
}

TEST(Counts, TallyOfLivingZibsAndGrass) {
    Zib one = zibAt(1, 1, {{1, food(40, 7)}, {2, cell(motor)}, {3, cell(eye)}, {5, food(30, 5)}});
    one.cells[4] = cell(eye);
    one.cells[8] = cell(empty, 30, 1, 9);  // a store made empty keeps food that no longer counts
    Zib dead = zibAt(2, 2, {{1, food(40, 40)}, {2, cell(eye)}});
    dead.alive = 0;
    const Zib two = zibAt(3, 3, {{1, cell(motor)}, {6, cell(motor)}, {7, food(25, 25)}});
    World w = worldOf(2, {one, dead, two});
    w.zibs[4] = zibAt(4, 4, {{1, food(40, 40)}});  // above popstart
    w.population = 2;
    w.day = 12;
    w.counts = {1, 2, 3};
    w.grassAt(0, 0).amount = -10;
    w.grassAt(20, 20).amount = -32768;
    w.grassAt(3, 4).amount = 7;
    const DayStats s = tally(w);
    EXPECT_EQ((std::array{s.day, s.population, s.births, s.deathsAge, s.deathsHunger, s.stores,
                          s.motors, s.eyes, s.food, s.grass}),
              (std::array{12, 2, 1, 2, 3, 3, 3, 2, 37, 441 * 2 - 2 - 2 + 5}));
}

TEST(Soak, InvariantsAndBalanceOfBirthsAndDeathsToExtinctionOrTwoThousandDays) {
    // Defaults, every value at its top, grass dying back, a ceiling of 1, negative radiation, none,
    // a full start on grass that never grows, litters of five under the strongest radiation.
    const Parameters sets[] = {{10, 1, 15, 2, 50, 1},         {100, 99, 32767, 32767, 32767, 32767},
                               {40, 5, 20, -32768, 100, 10},  {30, 2, 1, 1, 0, 0},
                               {20, 10, 642, 100, -5, 32767}, {0, 1, 15, 2, 50, 1},
                               {100, 5, 15, 0, 1000, 20},     {20, 5, 30, 3, 32767, 100}};
    NullPresentation view;
    DayCounts total;
    for (const Parameters& p : sets) {
        for (std::uint32_t seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE(::testing::Message() << p.popstart << " " << p.reprorate << " " << seed);
            World w;
            w.counts = {1, 1, 1};
            Rnd rnd(seed);
            initworld(w, p, rnd, view);
            ASSERT_TRUE(w.counts == DayCounts{} && soundWorld(w));
            for (int d = 0; d < 2000 && (d == 0 || w.population > 0); ++d) {
                const int before = w.population;
                ASSERT_TRUE(daystep(w, rnd, view));
                ASSERT_TRUE(soundWorld(w));
                const DayCounts& c = w.counts;
                ASSERT_EQ(before + c.births - c.deathsAge - c.deathsHunger, w.population) << d;
                total = {total.births + c.births, total.deathsAge + c.deathsAge,
                         total.deathsHunger + c.deathsHunger};
            }
        }
    }
    EXPECT_TRUE(total.births > 0 && total.deathsAge > 0 && total.deathsHunger > 0);
}

}  // namespace zibs::testing

#include "testsupport.h"

namespace zibs::testing {

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

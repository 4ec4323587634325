#include "testsupport.h"

namespace zibs::testing {

// The world-state invariants that must hold after every day, whatever the parameters.
void checkInvariants(const World& w) {
    auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    ASSERT_TRUE(in(w.popstart, 0, lastRecord)) << w.popstart;
    int living = 0;
    for (int i = 1; i <= w.popstart; ++i) {
        const Zib& z = w.zibs[i];
        const bool noGoal = z.goalx == 0 && z.goaly == 0;
        ASSERT_TRUE(in(z.x, 0, 20) && in(z.y, 0, 20) && in(z.alive, 0, 1) && in(z.mode, 0, 2) &&
                    z.age >= 0 && (noGoal || (in(z.goalx, 1, 20) && in(z.goaly, 1, 20))))
            << i << " " << where(z);
        living += z.alive;
        for (int j : {0, 9, 10}) ASSERT_EQ(z.cells[j], ZibCell{}) << i << " " << j;
        for (int j = 1; j <= 8; ++j) {
            const ZibCell& c = z.cells[j];
            ASSERT_TRUE(in(c.kind, 0, 3) && in(c.mode, 0, 2) && c.food >= 0) << i << " " << j;
        }
    }
    ASSERT_EQ(w.population, living);
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
            SCOPED_TRACE(::testing::Message() << "popstart " << p.popstart << " reprorate "
                                              << p.reprorate << " seed " << seed);
            World w;
            w.counts = {1, 1, 1};
            Rnd rnd(seed);
            initworld(w, p, rnd, view);
            ASSERT_EQ(w.counts, DayCounts{});
            checkInvariants(w);
            for (int d = 0; d < 2000 && (d == 0 || w.population > 0) && !HasFatalFailure(); ++d) {
                const int before = w.population;
                ASSERT_TRUE(daystep(w, rnd, view));
                checkInvariants(w);
                const DayCounts& c = w.counts;
                ASSERT_EQ(before + c.births - c.deathsAge - c.deathsHunger, w.population) << d;
                total.births += c.births;
                total.deathsAge += c.deathsAge;
                total.deathsHunger += c.deathsHunger;
            }
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_TRUE(total.births > 0 && total.deathsAge > 0 && total.deathsHunger > 0);
}

}  // namespace zibs::testing

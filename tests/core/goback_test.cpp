// Going back to an earlier day of a run: the day computed again, and the log's current day.
#include <map>

#include "sim/runlog.h"
#include "sim/trace.h"
#include "testsupport.h"

namespace zibs::testing {
namespace {

// A day's world, as a trace, and generator.
using Day = std::pair<std::string, Rnd::State>;
Day dayOf(const World& w, const Rnd::State& g) {
    Day d{"", g};
    appendTrace(d.first, w);
    return d;
}

// One straight run, as the program runs one: every day recorded in the log, the world and the
// generator of the given days noted.
struct StraightRun {
    World world;
    Rnd rnd;
    NullPresentation view;
    std::map<int, Day> noted;

    StraightRun(std::uint32_t seed, const Parameters& params) : rnd(seed) {
        initworld(world, params, rnd, view);
    }
    void go(RunLog& log, int days, bool snapshots, const std::vector<int>& note) {
        for (int d = 0; d < days; ++d) {
            daystep(world, rnd, view);
            snapshots ? log.record(world, rnd) : log.record(world);
            if (std::ranges::find(note, world.day) != note.end()) noted[world.day] = now();
        }
    }
    Day now() const { return dayOf(world, rnd.state()); }
};

// A visit to any day gives the world and generator of the straight run, whether the log kept
// snapshots as the run went or builds them on the way, from an Initialize or from an opened
// world; the same log serves each start in turn, so one start's snapshots must not leak into
// the next. Going on from a visited day gives the straight run's later days.
TEST(GoBack, AnyDayComesBackAsTheStraightRunHadIt) {
    const Parameters full{100, 3, 40, 5, 32767, 32767};
    // Seed, parameters, days run before the log starts (as an opened world brings them), snapshots.
    const std::tuple<std::uint32_t, Parameters, int, bool> cases[] = {{31, {}, 0, true},
                                                                      {31, {}, 0, false},
                                                                      {5, full, 0, true},
                                                                      {31, {}, 300, true},
                                                                      {9, {}, 700, false}};
    RunLog log;
    for (const auto& [seed, params, opened, snapshots] : cases) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed << " opened at " << opened);
        StraightRun run(seed, params);
        StatsHistory history{tally(run.world)};
        for (int d = 0; d < opened; ++d, history.push_back(tally(run.world)))
            daystep(run.world, run.rnd, run.view);
        log.restore(seed, {}, params, history, run.world, run.rnd.state());
        const int first = opened, last = opened + 1100;
        const std::vector<int> days = {last, first + 1, 511, 1024, 512, first, 1023, 513, last - 1};
        run.noted[first] = run.now();
        run.go(log, last - first, snapshots, days);
        EXPECT_EQ(std::tuple(log.firstDay(), log.lastDay()), std::tuple(first, last));
        EXPECT_FALSE(log.holds(first - 1) || log.holds(last + 1));
        for (int day : days) {
            if (day < first) continue;
            const RunStart s = log.dayState(day);
            EXPECT_EQ(dayOf(s.world, s.generator), run.noted.at(day)) << day;
        }

        // Back to a day, then on: the days come out as before and the log keeps the whole run.
        const StatsHistory whole = log.rows();
        const int back = first + 200;
        RunStart s = log.dayState(back);
        log.moveTo(back);
        Rnd rnd;
        ASSERT_TRUE(rnd.restore(seed, s.generator));
        while (s.world.day < last - 1) {
            daystep(s.world, rnd, run.view);
            log.record(s.world, rnd);
        }
        EXPECT_EQ(dayOf(s.world, rnd.state()), run.noted.at(last - 1));
        EXPECT_EQ(log.lastDay(), last);
        log.moveTo(last);
        EXPECT_EQ(log.rows(), whole);
    }
}

// The log's current day: the rows up to it are the world's history (what a save or an export
// takes), the later ones wait for their days to run again, and a day that comes out otherwise
// ends the old run there.
TEST(GoBack, RowsFollowTheCurrentDay) {
    StraightRun run(31, {});
    RunLog log;
    log.begin(31, {}, {}, run.world, run.rnd.state());
    run.go(log, 600, true, {});
    const StatsHistory whole = log.rows();
    log.moveTo(10);
    EXPECT_EQ(std::tuple(log.rows(), std::ranges::count(log.csv(), '\n'), log.lastDay()),
              std::tuple(StatsHistory(whole.begin(), whole.begin() + 11), 12, 600));
    log.moveTo(20);
    EXPECT_EQ(log.rows().size(), 21u);
    log.moveTo(10);

    RunStart s = log.dayState(10);
    Rnd rnd;
    rnd.restore(31, s.generator);
    daystep(s.world, rnd, run.view);
    log.record(s.world, rnd);
    EXPECT_EQ(std::tuple(log.rows(), log.lastDay()),
              std::tuple(StatsHistory(whole.begin(), whole.begin() + 12), 600));

    s.world.grassAt(3, 3).amount += 1;  // another day 12 than the run had
    daystep(s.world, rnd, run.view);
    log.record(s.world, rnd);
    EXPECT_TRUE(log.lastDay() == 12 && log.rows().back() != whole[12]);
    log.record(s.world);  // the same day again replaces its row
    EXPECT_EQ(log.rows().size(), 13u);
    // On past the next kept day (512): the new run's days come back, not the old run's.
    while (s.world.day < 520) {
        daystep(s.world, rnd, run.view);
        log.record(s.world, rnd);
    }
    const RunStart day520 = log.dayState(520);
    EXPECT_EQ(dayOf(day520.world, day520.generator), dayOf(s.world, rnd.state()));

    // A new world's rows start again at day 0; an opened world brings its own rows.
    log.restore(8, {}, {}, {tally(s.world)}, s.world, {});
    EXPECT_EQ(log.rows(), StatsHistory{tally(s.world)});
    log.begin(9, {}, {}, World{}, {});
    EXPECT_EQ(log.rows().size(), 1u);
}

}  // namespace
}  // namespace zibs::testing

// Going back to an earlier day of a run: the day computed again, and the log's current day.
#include <map>

#include "sim/runlog.h"
#include "sim/trace.h"
#include "testsupport.h"

namespace zibs::testing {
namespace {

// A day's world, as a trace, and generator.
struct Day {
    std::string trace;
    Rnd::State generator;
    static Day of(const World& w, const Rnd::State& g) {
        Day d{"", g};
        appendTrace(d.trace, w);
        return d;
    }
    friend bool operator==(const Day&, const Day&) = default;
};

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
    Day now() const { return Day::of(world, rnd.state()); }
};

// A visit to any day gives the world and generator of the straight run, whether the log kept
// snapshots as the run went or builds them on the way, from an Initialize or from an opened
// world; the same log serves each start in turn, so one start's snapshots must not leak into
// the next. Going on from a visited day gives the straight run's later days.
TEST(GoBack, AnyDayComesBackAsTheStraightRunHadIt) {
    struct Case {
        std::uint32_t seed;
        Parameters params;
        int opened;  // days run before the log starts, as an opened world brings them
        bool snapshots;
    };
    const Parameters full{100, 3, 40, 5, 32767, 32767};
    const Case cases[] = {{31, {}, 0, true},
                          {31, {}, 0, false},
                          {5, full, 0, true},
                          {31, {}, 300, true},
                          {9, {}, 700, false}};
    RunLog log;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "seed " << c.seed << " opened at " << c.opened);
        StraightRun run(c.seed, c.params);
        StatsHistory history{tally(run.world)};
        for (int d = 0; d < c.opened; ++d) {
            daystep(run.world, run.rnd, run.view);
            history.push_back(tally(run.world));
        }
        log.restore(c.seed, {}, c.params, history, run.world, run.rnd.state());
        const int first = c.opened, last = c.opened + 1100;
        const std::vector<int> days = {last, first + 1, 511, 1024, 512, first, 1023, 513, last - 1};
        run.noted[first] = run.now();
        run.go(log, last - first, c.snapshots, days);
        EXPECT_EQ(std::pair(log.firstDay(), log.lastDay()), std::pair(first, last));
        EXPECT_FALSE(log.holds(first - 1) || log.holds(last + 1));
        for (int day : days) {
            if (day < first) continue;
            SCOPED_TRACE(day);
            const RunStart s = log.dayState(day);
            EXPECT_EQ(Day::of(s.world, s.generator), run.noted.at(day));
        }

        // Back to a day, then on: the days come out as before and the log keeps the whole run.
        const StatsHistory whole = log.rows();
        const int back = first + 200;
        RunStart s = log.dayState(back);
        log.moveTo(back);
        Rnd rnd;
        ASSERT_TRUE(rnd.restore(c.seed, s.generator));
        while (s.world.day < last - 1) {
            daystep(s.world, rnd, run.view);
            log.record(s.world, rnd);
        }
        EXPECT_EQ(Day::of(s.world, rnd.state()), run.noted.at(last - 1));
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
    run.go(log, 30, true, {});
    const StatsHistory whole = log.rows();
    log.moveTo(10);
    EXPECT_EQ(log.rows(), StatsHistory(whole.begin(), whole.begin() + 11));
    EXPECT_EQ(std::ranges::count(log.csv(), '\n'), 12);
    EXPECT_EQ(log.lastDay(), 30);
    log.moveTo(20);
    EXPECT_EQ(log.rows().size(), 21u);
    log.moveTo(10);

    RunStart s = log.dayState(10);
    Rnd rnd;
    rnd.restore(31, s.generator);
    daystep(s.world, rnd, run.view);
    log.record(s.world, rnd);
    EXPECT_EQ(log.rows(), StatsHistory(whole.begin(), whole.begin() + 12));
    EXPECT_EQ(log.lastDay(), 30);

    s.world.grassAt(3, 3).amount += 1;  // another day 12 than the run had
    daystep(s.world, rnd, run.view);
    log.record(s.world, rnd);
    EXPECT_EQ(log.lastDay(), 12);
    EXPECT_NE(log.rows().back(), whole[12]);
    log.record(s.world);  // the same day again replaces its row
    EXPECT_EQ(log.rows().size(), 13u);

    // A new world's rows start again at day 0; an opened world brings its own rows.
    log.restore(8, {}, {}, {tally(s.world)}, s.world, {});
    EXPECT_EQ(log.rows(), StatsHistory{tally(s.world)});
    log.begin(9, {}, {}, World{}, {});
    EXPECT_EQ(log.rows().size(), 1u);
}

}  // namespace
}  // namespace zibs::testing

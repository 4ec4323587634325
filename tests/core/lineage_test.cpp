// The lineage: identities, parents, days, founders, generations and bodies, against a world worked
// out by hand and against files pinned from zibs-run; going back, continuing a saved world and
// opening an older file.

#include "files/lineagefile.h"
#include "savedworlds.h"
#include "shell.h"
#include "sim/runlog.h"

namespace zibs::testing {
namespace {

TEST(Lineage, HandWorkedWorldLitterDeathAndReusedRecord) {
    Zib a = zibAt(5, 5, {{1, food(40, 40, 1)}, {3, cell(motor, 25, 3, 0, 1)}});
    a.age = 9;
    Zib c = zibAt(5, 5, {{2, food(40, 40, 1)}});
    c.age = 2;
    World w = worldOf(10, {a, zibAt(5, 5), c});
    w.reprorate = 3;
    Lineage lineage;
    lineage.begin(w);
    NullPresentation view(&lineage);
    // A: 3 x 2 for the litter, 2 for death, 1 for the mode; B and C: 3 each. The day visits only
    // the records in use when it began: not the newborns.
    ScriptedRandom rnd(15);
    ASSERT_TRUE(daystep(w, rnd, view));
    rnd.draws.resize(21);  // A, C (9 with its litter), 4, 5, 6 (3 each)
    ASSERT_TRUE(daystep(w, rnd, view));
    ASSERT_EQ(w.zibs[2].alive, 1);  // record 2 holds C's first newborn

    std::string pinned;  // the CSV, then the Newick line
    for (const auto& c : cases("lineage_small.txt")) pinned += c[0] + "\n";
    EXPECT_EQ(phylogenyCsv(lineage) + newickText(lineage), pinned);
    EXPECT_EQ(lineage.identity(2, 1), 2);  // record 2 on day 1: B, dead
    EXPECT_EQ(lineage.identity(2, 2), 7);
    const LineageSummary s = summarise(lineage);
    EXPECT_EQ(std::tuple(s.familiesLeft, s.maxGeneration), std::tuple(2, 1));
}

// A run whose days go through a run log, as the windows run them.
struct LoggedRun {
    RunLog log;
    World world;
    Rnd rnd{31};

    LoggedRun() {
        NullPresentation none;
        initworld(world, Parameters{}, rnd, none);
        log.begin(31, {}, {}, world, rnd.state());
    }
    void go(int days) {
        NullPresentation view(&log.lineage());
        for (int d = 0; d < days; ++d) {
            daystep(world, rnd, view);
            log.record(world, rnd);
        }
    }
    void back(int day) {
        const RunStart s = log.dayState(day);
        world = s.world;
        rnd.restore(31, s.generator);
        log.moveTo(day);
    }
};

TEST(Lineage, GoingBackShowsTheDayAndRunningAgainAddsNothingTwice) {
    LoggedRun straight;
    straight.go(700);
    LoggedRun run;
    run.go(400);
    const Lineage at400 = run.log.lineage();
    run.go(300);
    run.back(250);
    // As it was on day 250, whatever the run did after it.
    LoggedRun short250;
    short250.go(250);
    EXPECT_EQ(run.log.lineage().at(250), short250.log.lineage());
    EXPECT_EQ(straight.log.lineage().at(400), at400);
    // Days run again, and past the old end: each zib once.
    run.go(600);
    straight.go(150);
    EXPECT_EQ(run.log.lineage(), straight.log.lineage());
    EXPECT_GT(straight.log.lineage().size(), 1500);
}

// zibs-run's files for a few seeds, as pinned (tests/data/phylogeny/README); a saved world goes on
// with the straight run's identities.
TEST(LineageFiles, RunnerWritesThePinnedPhylogenyAndTreeAndASavedWorldContinuesIt) {
    const TempFolder folder{"zibs-lineage"};
    const std::string dir = folder.dir.string();
    for (const auto& c : cases("phylogeny/runs.txt")) {
        SCOPED_TRACE(c[0]);
        const Ran r = zibsRun(c[1] + " --phylogeny " + dir + "/p.csv --newick " + dir + "/p.nwk");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(slurp(dir + "/p.csv"), slurp(ZIBS_TEST_DATA "/phylogeny/" + c[0] + ".csv"));
        EXPECT_EQ(slurp(dir + "/p.nwk"), slurp(ZIBS_TEST_DATA "/phylogeny/" + c[0] + ".nwk"));
    }
    ASSERT_EQ(zibsRun("--seed 31 --days 300 --phylogeny " + dir + "/straight.csv").status, 0);
    ASSERT_EQ(zibsRun("--seed 31 --days 120 --save " + dir + "/w.zibs").status, 0);
    const Ran r =
        zibsRun("--load " + dir + "/w.zibs --days 180 --phylogeny " + dir + "/loaded.csv");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(dir + "/loaded.csv"), slurp(dir + "/straight.csv"));
}

TEST(Lineage, AnOlderFileMakesItsZibsFirstZibsOfItsDayAndALongListIsRefused) {
    LiveWorld run({}, 5);
    run.go(30);
    std::string text = worldText(run.save());
    text.replace(text.find("\"version\": 2"), 12, "\"version\": 1");
    text.erase(text.find("  \"lineage\""), text.find("  \"history\"") - text.find("  \"lineage\""));
    const WorldRead read = readWorld(text);
    ASSERT_TRUE(read.saved) << read.error;
    const Lineage& l = read.saved->lineage;
    ASSERT_EQ(l.size(), run.saved.world.population);
    for (ZibId id = 1; id <= l.size(); ++id) {
        EXPECT_EQ(std::tuple(l[id].parent, l[id].origin, l[id].destruction, l[id].generation),
                  std::tuple(0, 30, Lineage::alive, 0));
        EXPECT_EQ(run.saved.world.zibs[l[id].record].alive, 1);
    }

    // A list longer than a world keeps is refused unread.
    std::string zeros, longer = worldText(run.save());
    for (std::size_t k = 0; k <= Lineage::mostZibs; ++k) zeros += "0,";
    longer.replace(longer.find("\"parent\": [") + 11, 0, zeros);
    const WorldRead refused = readWorld(longer);
    EXPECT_FALSE(refused.saved);
    EXPECT_THAT(refused.error, HasSubstr("\"parent\" has more than 1000000 entries"));
}

}  // namespace
}  // namespace zibs::testing

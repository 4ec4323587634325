#include <algorithm>

#include "savedworlds.h"
#include "shell.h"

namespace zibs::testing {

TEST(WorldFile, ContinuesExactlyAsARunThatNeverStopped) {
    for (const auto& c : cases("world_runs.txt")) {
        const ParameterTexts texts = textsOf(c[0]);
        const std::uint32_t seed = std::stoul(c[1]);
        SCOPED_TRACE("seed " + c[1]);
        LiveWorld straight(texts, seed);
        straight.go(std::stoi(c[2]));
        const std::string text = worldText(straight.save());
        const WorldRead read = readWorld(text);
        ASSERT_TRUE(read.saved) << read.error;
        EXPECT_EQ(worldText(*read.saved), text);  // every field, spares included
        LiveWorld loaded(texts, 0);
        loaded.saved = *read.saved;
        ASSERT_TRUE(loaded.rnd.restore(read.saved->seed, read.saved->generator) &&
                    loaded.rnd.currentSeed() == seed);
        // The state a save takes after more days: world, history and generator.
        straight.go(std::stoi(c[3]));
        loaded.go(std::stoi(c[3]));
        EXPECT_EQ(worldText(loaded.save()), worldText(straight.save()));
    }

    // A generator that has not drawn yet, and one in the middle of its words.
    for (int draws : {0, 1, 623, 624, 625}) {
        Rnd a(5), b(99);
        for (int k = 0; k < draws; ++k) a.next();
        ASSERT_TRUE(b.restore(5, a.state()));
        for (int k = 0; k < 1000; ++k) ASSERT_EQ(a.next(), b.next()) << draws << " " << k;
    }
    // A state of zeros draws zeros for ever and no seed leads to it; one set bit anywhere the
    // draws come from gives a generator. The low bits of word 0 never reach a draw.
    for (std::size_t k = 0; k < 624; ++k) {
        Rnd::State one{};
        one[k] = k == 0 ? 0x80000000u : 1u;
        Rnd r;
        ASSERT_TRUE(r.restore(1, one)) << k;
        double sum = 0;
        for (int d = 0; d < 1300; ++d) sum += r.next();
        ASSERT_GT(sum, 0) << k;
    }
    Rnd::State low{};
    low[0] = 0x7fffffffu;
    EXPECT_FALSE(Rnd(1).restore(1, low));
}

TEST(WorldFile, KeepsEarlierZibsAboveTheRecordsInUseAndTheLastDaysCounts) {
    // Initialize leaves records above the new start population as the last world left them,
    // living ones too; the inspector can still show them, so a save keeps them.
    LiveWorld run({"60", "2", "15", "2", "50", "1"}, 3);
    run.go(5);
    run.initialize({"10"});
    run.go(3);
    ASSERT_EQ(run.saved.world.zibs[40].alive, 1);
    const WorldRead read = readWorld(worldText(run.save()));
    ASSERT_TRUE(read.saved) << read.error;
    EXPECT_EQ(read.saved->world.zibs[40], run.saved.world.zibs[40]);

    // Every field comes back, non-zero: the spares no rule writes, the births and deaths of the
    // last day (from the last history row).
    SavedWorld counted = run.save();
    counted.world.selzib = 40;
    for (std::size_t k = 0; k < counted.world.grass.size(); ++k)
        counted.world.grass[k].spare = static_cast<Integer>(k + 1);
    for (Zib& z : counted.world.zibs)
        if (z != Zib{}) std::tie(z.spare1, z.spare2, z.spare3) = std::tuple(1, -2, 3);
    DayStats& last = counted.history.back();
    last.births += 4;  // and as many more deaths: the day's balance holds
    last.deathsAge += 1;
    last.deathsHunger += 3;
    counted.world.counts = {last.births, last.deathsAge, last.deathsHunger};
    const WorldRead again = readWorld(worldText(counted));
    ASSERT_TRUE(again.saved) << again.error;
    const World& w = again.saved->world;
    EXPECT_TRUE(w.counts == counted.world.counts && w.zibs == counted.world.zibs &&
                std::ranges::equal(w.grass, counted.world.grass, [](auto& a, auto& b) {
                    return a.amount == b.amount && a.spare == b.spare;
                }));
    EXPECT_EQ(worldText(*again.saved), worldText(counted));
}

TEST(WorldFile, RefusesWhatAWorldCannotBeNamingTheFirstProblem) {
    LiveWorld run({}, 3);
    run.go(20);
    const SavedWorld good = run.save();
    const std::string text = worldText(good);
    ASSERT_EQ(good.world.zibs[1].alive, 1);

    // Edits of the state, written out as the writer writes them.
    const auto edited = [&](auto edit) {
        SavedWorld s = good;
        edit(s);
        return worldText(s);
    };
    std::vector<std::pair<std::string, std::string>> files = {
        {"", "the file is empty"},
        {text.substr(0, text.size() / 2), "the file ends too early: it is cut short"},
        {text + "}", "the file is damaged at line"},
        {text + std::string("\0{}", 3), "it holds a NUL byte"},
        {text + std::string(worldFileLimit, ' '), "the file is larger than 16 MiB"},
        {"\x89PNG\r\n\x1a\n", "this is not a Zibs world file"},
        {edited([](SavedWorld& s) { s.generator.fill(0); }),
         "the generator's state is all zero, which no seed leads to"},
        {edited([](SavedWorld& s) { s.history.pop_back(); }),
         "the history has 20 rows, but day 20 needs one for every day from 0 to 20"},
    };
    for (const auto& c : cases("world_refusals.txt")) {  // edits of the text
        std::string t = text;
        files.emplace_back(t.replace(t.find(c[0]), c[0].size(), c[1]), c[2]);
    }
    for (const auto& [file, problem] : files) {
        const WorldRead read = readWorld(file);
        EXPECT_FALSE(read.saved) << problem;
        EXPECT_THAT(read.error, HasSubstr(problem));
        EXPECT_EQ(std::ranges::count_if(read.error, [](unsigned char c) { return c < 32; }), 0);
    }
    SavedWorld zib0 = good;
    zib0.world.zibs[0].spare1 = 1;  // record 0 is never used
    EXPECT_EQ(worldProblem(zib0), "zib 0, which is never used, is not zero");
}

// Saved and opened again whatever the texts hold; a world that could not be opened again is not
// written; a file that cannot be read is named with the reason.
TEST(WorldFile, SavesAtomicallyAndOpensWhatItSavesWhateverItsTextsHold) {
    const TempFolder folder("worldfile");
    const std::string path = folder.path("a.zibs");
    std::string utf8;
    for (int k = 0; k < 5000; ++k) utf8 += "\u00e9\u6f22\U0001f642";
    const std::vector<ParameterTexts> texts = {
        {"10", "1\"[[[[", "15\\", "2]]}}{{", "50\x01\x1b[2J\x7f\t\n", "1 \"\\\"\\\\\""},
        {"3" + utf8, "-4e0 [\"{", "15\xc2\x9b", "2\"\\u0000", "50", "1" + std::string(3000, '[')},
    };
    for (const ParameterTexts& t : texts) {
        LiveWorld run(t, 4);
        run.go(5);
        ASSERT_EQ(saveWorld(path, run.save()), std::nullopt);
        const WorldRead read = loadWorld(path);
        ASSERT_TRUE(read.saved) << read.error;
        EXPECT_EQ(worldText(*read.saved), worldText(run.save()));
        EXPECT_TRUE(read.saved->texts.repro == t.repro && read.saved->texts.mute == t.mute);
        // A byte order mark in front changes nothing.
        std::ofstream(path) << "\xEF\xBB\xBF" << worldText(run.save());
        EXPECT_TRUE(loadWorld(path).saved);

        SavedWorld bad = run.save();
        bad.world.population = 99;
        EXPECT_THAT(saveWorld(path, bad).value_or(""),
                    HasSubstr("\"" + path +
                              "\" could not be written: the world cannot be saved: "
                              "population is 99"));
        EXPECT_TRUE(loadWorld(path).saved);
    }
    const std::string dir = folder.dir.string();
    EXPECT_EQ(loadWorld(dir + "/none.zibs").error,
              "\"" + dir + "/none.zibs\" cannot be opened as a world: No such file or directory");
    EXPECT_EQ(loadWorld(dir).error, "\"" + dir + "\" cannot be opened as a world: Is a directory");
    ASSERT_EQ(::truncate(path.c_str(), worldFileLimit + 1), 0);
    EXPECT_THAT(loadWorld(path).error, HasSubstr("the file is larger than 16 MiB"));
}

}  // namespace zibs::testing

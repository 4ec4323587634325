#include <gtest/gtest.h>

#include "sweep/plan.h"

namespace zibs::sweep {

std::string joined(const std::vector<std::string>& values) {
    std::string s;
    for (const std::string& v : values) s += (s.empty() ? "" : "|") + v;
    return s;
}

// What a reader gives for a text, or "refused: " and its message.
template <typename Read>
std::string readOrRefusal(Read read, const std::string& text) {
    try {
        return read(text);
    } catch (const BadInput& e) {
        return std::string("refused: ") + e.what();
    }
}

TEST(SweepLists, ListsRangesSeedsAndShards) {
    auto list = [](const std::string& t) { return joined(parseList(t)); };
    auto seeds = [](const std::string& t) {
        const Seeds s = parseSeeds(t);
        return std::to_string(s.first) + ".." + std::to_string(s.last);
    };
    auto shard = [](const std::string& t) {
        const Shard s = parseShard(t);
        return std::to_string(s.k) + "/" + std::to_string(s.n);
    };
    struct Case {
        std::string (*read)(const std::string&);
        std::string text, want;
    };
    const Case cases[] = {
        {+list, "1,2,5:25:5", "1|2|5|10|15|20|25"},
        // Values are kept as written, for the parameter check to read as the window does.
        {+list, "2.5, 3 ,1e2,-7,.5", "2.5| 3 |1e2|-7|.5"},
        {+list, "1:10:4, -5:-1:2 ,7:7:1", "1|5|9|-5|-3|-1|7"},
        // A range ends after its first value that no parameter accepts.
        {+list, "32760:99999999999:5", "32760|32765|32770"},
        {+list, "-9223372036854775808:9223372036854775807:9223372036854775807",
         "-9223372036854775808"},
        {+list, "", "refused: the list \"\" has an empty item"},
        {+list, "1,,2", "refused: the list \"1,,2\" has an empty item"},
        {+list, "1, ", "refused: the list \"1, \" has an empty item"},
        {+list, "1,x", "refused: \"x\" is not a number"},
        {+list, "12abc", "refused: \"12abc\" is not a number"},
        {+list, "5:1:1", "refused: the range \"5:1:1\" runs backwards"},
        {+list, "1:5:0", "refused: the range \"1:5:0\" needs a step of 1 or more"},
        {+list, "1:5:-1", "refused: the range \"1:5:-1\" needs a step of 1 or more"},
        {+list, "1:x:1", "refused: the range \"1:x:1\" needs whole numbers"},
        {+list, "1.5:3:1", "refused: the range \"1.5:3:1\" needs whole numbers"},
        {+list, "1:5", "refused: \"1:5\" is not a range from:to:step"},
        {+list, "1:5:1:2", "refused: \"1:5:1:2\" is not a range from:to:step"},
        {+seeds, "1..5", "1..5"},
        {+seeds, "7", "7..7"},
        {+seeds, "0..4294967295", "0..4294967295"},
        {+seeds, "5..1", "refused: \"5..1\" is not a seed range A..B"},
        {+seeds, "1..4294967296", "refused: \"1..4294967296\" is not a seed range"},
        {+seeds, "-1..3", "refused: \"-1..3\" is not a seed range"},
        {+seeds, "x..3", "refused: \"x..3\" is not a seed range"},
        {+seeds, "1..", "refused: \"1..\" is not a seed range"},
        {+shard, "2/3", "2/3"},
        {+shard, "3/3", "3/3"},
        {+shard, "0/3", "refused: \"0/3\" is not a shard K/N with whole numbers 1 <= K <= N."},
        {+shard, "4/3", "refused: \"4/3\" is not a shard"},
        {+shard, "3/0", "refused: \"3/0\" is not a shard"},
        {+shard, "-1/3", "refused: \"-1/3\" is not a shard"},
        {+shard, "3", "refused: \"3\" is not a shard"},
    };
    for (const Case& c : cases) {
        const std::string got = readOrRefusal(c.read, c.text);
        EXPECT_EQ(got.substr(0, c.want.size()), c.want) << c.text;
        if (c.want.rfind("refused", 0) != 0) {
            EXPECT_EQ(got, c.want) << c.text;
        }
    }
}

TEST(SweepPlan, RunOrderAndEveryValueCheckedAsInitializeDoes) {
    SweepTexts texts;
    texts.lists[0] = "20,2.5";  // start population, slowest
    texts.lists[3] = "-1:1:2";  // growth rate
    texts.seeds = "6..8";       // fastest
    const Plan plan(texts);
    ASSERT_EQ(plan.runs(), 12u);
    std::string order;
    for (std::uint64_t i = 0; i < plan.runs(); ++i) {
        const sweep::Run r = plan.run(i);
        const Parameters& p = r.params;
        EXPECT_EQ(std::vector<int>({p.reprorate, p.maxgrass, p.radiation, p.mutations}),
                  std::vector<int>({1, 15, 50, 1}));
        order += std::to_string(p.popstart) + " " + std::to_string(p.growrate) + " " +
                 std::to_string(r.seed) + (i % 3 == 2 ? "\n" : ", ");
    }
    EXPECT_EQ(order,
              "20 -1 6, 20 -1 7, 20 -1 8\n20 1 6, 20 1 7, 20 1 8\n"
              "2 -1 6, 2 -1 7, 2 -1 8\n2 1 6, 2 1 7, 2 1 8\n");

    const std::pair<int, std::string> refusals[] = {
        {0,
         "--start-population: \"Start population\" must be a number from 0 to 100 after "
         "rounding to a whole number; \"101\" is not accepted."},
        {2, "--max-grass: \"Max grass\" must be a number from 1 to 32767"},
        {4,
         "--radiation: \"Radiation\" must be a number from -32768 to 32767 after rounding to a "
         "whole number; \"32768\" is not accepted."},
        {5, "--mutations: the range \"1:0:1\" runs backwards"},
    };
    const char* lists[] = {"0,101", "", "1:5:1,0.4", "", "32700:40000:68", "1:0:1"};
    for (const auto& [p, want] : refusals) {
        SweepTexts bad;
        bad.lists[p] = lists[p];
        bad.seeds = "1";
        try {
            Plan{bad};
            ADD_FAILURE() << lists[p] << " accepted";
        } catch (const BadInput& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, want.size()), want);
        }
    }
}

}  // namespace zibs::sweep

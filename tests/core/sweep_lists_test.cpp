#include <gtest/gtest.h>

#include "sweep/plan.h"

namespace zibs::sweep {

std::string joined(const std::vector<std::string>& values) {
    std::string s;
    for (const std::string& v : values) s += (s.empty() ? "" : "|") + v;
    return s;
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
        // Values are kept as written, for the parameter check to read as the window does.
        {+list, "2.5, 3 ,1e2,-7,.5", "2.5| 3 |1e2|-7|.5"},
        {+list, "1:10:4, -5:-1:2 ,7:7:1", "1|5|9|-5|-3|-1|7"},
        // A range ends after its first value that no parameter accepts.
        {+list, "32760:99999999999:5", "32760|32765|32770"},
        {+list, "1, ", "refused: the list \"1, \" has an empty item"},
        {+list, "12abc", "refused: \"12abc\" is not a number"},
        {+list, "-9223372036854775808:9223372036854775807:9223372036854775807",
         "-9223372036854775808"},
        {+list, "5:1:1", "refused: the range \"5:1:1\" runs backwards"},
        {+list, "1:5:0", "refused: the range \"1:5:0\" needs a step of 1 or more"},
        {+list, "1.5:3:1", "refused: the range \"1.5:3:1\" needs whole numbers"},
        {+list, "1:5", "refused: \"1:5\" is not a range from:to:step"},
        {+seeds, "7", "7..7"},
        {+seeds, "0..4294967295", "0..4294967295"},
        {+seeds, "5..1", "refused: \"5..1\" is not a seed range A..B"},
        {+seeds, "1..4294967296", "refused: \"1..4294967296\" is not a seed range"},
        {+shard, "3/3", "3/3"},
        {+shard, "0/3", "refused: \"0/3\" is not a shard K/N with whole numbers 1 <= K <= N."},
        {+shard, "4/3", "refused: \"4/3\" is not a shard"},
    };
    // A refusal's message is compared as far as the case gives it.
    for (const Case& c : cases) {
        std::string got;
        try {
            got = c.read(c.text);
        } catch (const BadInput& e) {
            got = std::string("refused: ") + e.what();
        }
        EXPECT_EQ(c.want.starts_with("refused") ? got.substr(0, c.want.size()) : got, c.want);
    }
}

TEST(SweepPlan, RunOrder) {
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
}

}  // namespace zibs::sweep

#include "shell.h"
#include "sweep/plan.h"

namespace zibs::sweep {

// The cases: tests/data/sweep_lists.txt.
TEST(SweepLists, ListsRangesSeedsAndShards) {
    for (const auto& c : testing::cases("sweep_lists.txt")) {
        std::string got;
        try {
            if (c[0] == "seeds") {
                const Seeds s = parseSeeds(c[1]);
                got = std::to_string(s.first) + ".." + std::to_string(s.last);
            } else if (c[0] == "shard") {
                const Shard s = parseShard(c[1]);
                got = std::to_string(s.k) + "/" + std::to_string(s.n);
            } else {
                for (const std::string& v : parseList(c[1])) got += (got.empty() ? "" : "|") + v;
            }
        } catch (const BadInput& e) {
            got = std::string("refused: ") + e.what();
        }
        EXPECT_EQ(c[2].starts_with("refused") ? got.substr(0, c[2].size()) : got, c[2]) << c[1];
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

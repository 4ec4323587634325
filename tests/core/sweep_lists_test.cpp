#include "shell.h"
#include "sweep/lists.h"

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

}  // namespace zibs::sweep

#include "sim/runlog.h"

#include "testsupport.h"

namespace zibs::testing {

// A new world's rows start again at day 0; a day run again replaces its row and those after it;
// an opened world brings its own rows.
TEST(RunLog, RowsOfTheCurrentWorldOnly) {
    RunLog log;
    World w;
    auto days = [&] {
        std::string s;
        for (const DayStats& row : log.rows()) s += std::to_string(row.day) + " ";
        return s;
    };
    log.begin(7, {}, {}, w, {});
    for (w.day = 1; w.day <= 3; ++w.day) log.record(w);
    EXPECT_EQ(days(), "0 1 2 3 ");
    w.day = 2;
    log.record(w);
    EXPECT_EQ(days(), "0 1 2 ");
    log.restore(8, {}, {}, {tally(w)}, w, {});
    EXPECT_EQ(days(), "2 ");
    w.day = 0;
    log.begin(9, {}, {}, w, {});
    EXPECT_EQ(days(), "0 ");
}

}  // namespace zibs::testing

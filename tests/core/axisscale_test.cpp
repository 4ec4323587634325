#include "runtime/axisscale.h"

#include "shell.h"

namespace zibs::testing {

// The cases: tests/data/axis_scales.txt.
TEST(AxisScale, DaysEndJustPastTheLastAndFiguresAtRoundSteps) {
    for (const auto& c : cases("axis_scales.txt")) {
        ASSERT_EQ(c.size(), 5u);
        const double a = std::stod(c[1]), b = std::stod(c[2]);
        const int most = std::stoi(c[3]);
        const AxisScale s = c[0] == "day" ? dayScale(a, b, most) : figureScale(a, b, most);
        std::ostringstream got;
        got << s.low << ' ' << s.high << ' ' << s.interval;
        EXPECT_EQ(got.str(), c[4]) << c[0] << ' ' << c[1] << ' ' << c[2] << ' ' << c[3];
    }
}

}  // namespace zibs::testing

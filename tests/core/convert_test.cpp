// The runtime's conversions (texts to whole numbers, rounding, seeds, quoted texts) and the
// charts' axis scales.
#include "runtime/axisscale.h"
#include "shell.h"
#include "testsupport.h"

namespace zibs::testing {

// The cases: tests/data/convert_texts.txt and convert_rounding.txt.
TEST(Convert, TextsToIntegersAsInitializeReadsThemRoundingSeedsAndQuotedTexts) {
    for (const auto& c : cases("convert_texts.txt")) {
        const auto got = toInteger(textValue(c[0]));
        EXPECT_EQ(got ? std::to_string(*got) : "none", c[1]) << c[0].substr(0, 20) << c[0].size();
    }
    for (const auto& c : cases("convert_rounding.txt")) {
        const double v = std::stod(c[0]);
        EXPECT_EQ(std::to_string(floorInt(v)) + " " + std::to_string(nearestInt(v)),
                  c[1] + " " + c[2])
            << c[0];
    }
    // Seeds; messages quote at most 40 characters (not bytes) of a text.
    EXPECT_EQ(seedValue(" 4294967295 "), 4294967295u);
    for (const char* bad : {"", "-1", "4294967296", "1x", "12.5"}) EXPECT_FALSE(seedValue(bad));
    std::string e40;
    for (int i = 0; i < 40; ++i) e40 += "\u00e9";
    EXPECT_EQ(quotedText(e40), "\"" + e40 + "\"");
    EXPECT_EQ(quotedText(e40 + "\u00e9"), "\"" + e40 + "...\"");
}

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

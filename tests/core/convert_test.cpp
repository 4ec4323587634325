#include "shell.h"
#include "testsupport.h"

namespace zibs::testing {

// The cases: tests/data/convert_texts.txt and convert_rounding.txt.
TEST(Convert, TextToIntegerAsInitializeReadsIt) {
    for (const auto& c : cases("convert_texts.txt")) {
        const auto got = toInteger(textValue(c[0]));
        EXPECT_EQ(got ? std::to_string(*got) : "none", c[1]) << c[0].substr(0, 20) << c[0].size();
    }
}

TEST(Convert, FloorAndNearestToInteger) {
    for (const auto& c : cases("convert_rounding.txt")) {
        const double v = std::stod(c[0]);
        EXPECT_EQ(std::to_string(floorInt(v)) + " " + std::to_string(nearestInt(v)),
                  c[1] + " " + c[2])
            << c[0];
    }
}

TEST(Convert, SeedsAndQuotedTexts) {
    EXPECT_EQ(seedValue(" 4294967295 "), 4294967295u);
    for (const char* bad : {"", "-1", "4294967296", "1x", "12.5"}) EXPECT_FALSE(seedValue(bad));
    // Messages quote at most 40 characters (not bytes) of a text.
    std::string e40;
    for (int i = 0; i < 40; ++i) e40 += "\u00e9";
    EXPECT_EQ(quotedText(e40), "\"" + e40 + "\"");
    EXPECT_EQ(quotedText(e40 + "\u00e9"), "\"" + e40 + "...\"");
}

}  // namespace zibs::testing

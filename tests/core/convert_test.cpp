#include "testsupport.h"

namespace zibs::testing {

TEST(Convert, TextToIntegerAsInitializeReadsIt) {
    const std::optional<std::int16_t> none;
    const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
        {"2.5", 2},         {"3.5", 4},    {"12abc", 12},     {"", 0},        {"abc", 0},
        {" -7", -7},        {"+.5", 0},    {"1e3", 1000},     {"4.5e1x", 45}, {"7e", 7},
        {"-32768", -32768}, {"1e-400", 0}, {"32767.5", none}, {"1e9", none},  {"-1e400", none},
        {"-2.5", -2},       {"2.5001", 3}};
    for (const auto& [text, want] : cases) EXPECT_EQ(toInteger(textValue(text)), want) << text;

    // Out of range is decided by the value, whatever the sign of the exponent: 1e309 is too large
    // for a double, 1e-324 too small to represent and reads as 0.
    const std::string zeros(310, '0');
    const std::pair<std::string, std::optional<std::int16_t>> extremes[] = {
        {"1" + zeros + "e-1", none},
        {"-0." + zeros + "00000000000001", 0},
        {"1" + zeros + "e-308", 100},
        {"1e-99999999999999999999", 0},
        {"1e99999999999999999999", none}};
    for (const auto& [text, want] : extremes) {
        EXPECT_EQ(toInteger(textValue(text)), want) << text.substr(0, 20) << "... " << text.size();
    }
}

// Floor goes down for negative values too; both saturate at the 16-bit limits.
TEST(Convert, FloorAndNearestToInteger) {
    const double values[] = {0.5,      1.5,  2.5,  -0.5,    -1,    -1.5,    -2.5, -32767.5,
                             -32768.5, -1e9, -0.0, 32766.5, 32767, 32767.5, 1e9,  std::nan("")};
    const int floors[] = {0,      1,      2, -1,    -1,    -2,    -3,    -32768,
                          -32768, -32768, 0, 32766, 32767, 32767, 32767, 0};
    const int nearest[] = {0,      2,      2, 0,     -1,    -2,    -2,    -32768,
                           -32768, -32768, 0, 32766, 32767, 32767, 32767, 0};
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(floorInt(values[k]), floors[k]) << values[k];
        EXPECT_EQ(nearestInt(values[k]), nearest[k]) << values[k];
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

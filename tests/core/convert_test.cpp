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
}

TEST(Convert, SeedsAndColumns) {
    EXPECT_EQ(seedValue(" 4294967295 "), 4294967295u);
    for (const char* bad : {"", "-1", "4294967296", "1x"}) EXPECT_FALSE(seedValue(bad)) << bad;
    EXPECT_EQ(signedColumn(2) + signedColumn(-1) + signedColumn(0), " 2-1 0");
    EXPECT_EQ(plainDecimal(-7), "-7");
}

}  // namespace zibs::testing

#include <gtest/gtest.h>

#include <optional>

#include "runtime/convert.h"
#include "runtime/random.h"

namespace zibs {
namespace {

std::optional<std::int16_t> convert(const char* text) {
    return toInteger(textValue(text));
}

TEST(Convert, TextToIntegerAsInitializeReadsIt) {
    EXPECT_EQ(convert("2.5"), 2);
    EXPECT_EQ(convert("3.5"), 4);
    EXPECT_EQ(convert("12abc"), 12);
    EXPECT_EQ(convert(""), 0);
    EXPECT_EQ(convert("abc"), 0);
    EXPECT_EQ(convert(" -7"), -7);
    EXPECT_EQ(convert("+.5"), 0);
    EXPECT_EQ(convert("1e3"), 1000);
    EXPECT_EQ(convert("4.5e1x"), 45);
    EXPECT_EQ(convert("7e"), 7);
    EXPECT_EQ(convert("32767.4"), 32767);
    EXPECT_EQ(convert("-32768"), -32768);
    EXPECT_EQ(convert("32767.5"), std::nullopt);
    EXPECT_EQ(convert("1e9"), std::nullopt);
    EXPECT_EQ(convert("-1e400"), std::nullopt);
    EXPECT_EQ(convert("1e-400"), 0);
}

TEST(Convert, RoundingFloorAndSaturation) {
    for (auto [v, r] : {std::pair{0.5, 0.0},
                        {1.5, 2.0},
                        {2.5, 2.0},
                        {-1.5, -2.0},
                        {-2.5, -2.0},
                        {2.4999, 2.0},
                        {2.5001, 3.0}}) {
        EXPECT_EQ(roundEven(v), r) << v;
    }
    EXPECT_EQ(nearestInt(127.5), 128);
    EXPECT_EQ(nearestInt(1e9), 32767);
    EXPECT_EQ(floorInt(-0.5), -1);
    EXPECT_EQ(floorInt(6.999), 6);
    EXPECT_EQ(floorInt(-1e9), -32768);
    EXPECT_EQ(saturate(40000), 32767);
    EXPECT_EQ(saturate(-40000), -32768);
    EXPECT_EQ(saturate(-32768), -32768);
}

TEST(Convert, NumberFormats) {
    EXPECT_EQ(plainDecimal(-7), "-7");
    EXPECT_EQ(plainDecimal(12), "12");
    EXPECT_EQ(signedColumn(2), " 2");
    EXPECT_EQ(signedColumn(-1), "-1");
    EXPECT_EQ(signedColumn(0), " 0");
}

TEST(Random, SameSeedSameDrawsInUnitInterval) {
    Rnd a(12345), b(7);
    b.seed(12345);
    EXPECT_EQ(b.currentSeed(), 12345u);
    for (int i = 0; i < 10000; ++i) {
        const double r = a.next();
        ASSERT_EQ(r, b.next());
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
    Rnd c;
    const auto seed = c.seedFromTimer();
    Rnd d(seed);
    EXPECT_EQ(c.next(), d.next());
}

}  // namespace
}  // namespace zibs

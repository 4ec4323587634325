#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zibs {

// The numeric value of the number at the start of a text: leading blanks, an optional sign,
// digits with an optional decimal fraction and an optional exponent. Reading stops at the first
// character that cannot continue the number; a text with no number in front gives 0.
double textValue(std::string_view text);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundEven(double v);

// Rounds to a 16-bit integer, halves to even. Empty when the result lies outside -32768..32767.
std::optional<std::int16_t> toInteger(double v);

// Floor and nearest-even to a 16-bit integer for values known to be in range.
std::int16_t floorInt(double v);
std::int16_t nearestInt(double v);

// A seed as the user types it: a whole number 0..4294967295, blanks around it allowed.
std::optional<std::uint32_t> seedValue(std::string_view text);

// Saturates a wide result at the 16-bit limits.
std::int16_t saturate(long long v);

// Plain decimal: digits with a leading minus sign when negative ("-7", "12").
std::string plainDecimal(long long v);
// Signed column: a space before zero and positive values, a minus before negative ones (" 2",
// "-1").
std::string signedColumn(long long v);

}  // namespace zibs

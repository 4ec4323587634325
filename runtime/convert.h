#pragma once

#include <cmath>
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
inline double roundEven(double v) {
    // Adding and taking away 1.5 * 2^52 rounds to an integer in the default rounding mode, which
    // is to nearest with halves to even; exact for |v| < 2^51.
    if (std::fabs(v) < 0x1p51) return std::copysign((v + 0x1.8p52) - 0x1.8p52, v);
    return std::rint(v);
}

// Rounds to a 16-bit integer, halves to even. Empty when the result lies outside -32768..32767.
std::optional<std::int16_t> toInteger(double v);

// Saturates a wide result at the 16-bit limits.
inline std::int16_t saturate(long long v) {
    if (v < -32768) return -32768;
    if (v > 32767) return 32767;
    return static_cast<std::int16_t>(v);
}

// Floor and nearest-even to a 16-bit integer, saturated at the limits; NaN gives 0.
inline std::int16_t floorInt(double v) {
    if (v > -32768.0 && v < 32767.0) {
        const int i = static_cast<int>(v);
        return static_cast<std::int16_t>(i - (i > v));
    }
    if (v >= 32767.0) return 32767;
    if (v <= -32768.0) return -32768;
    return 0;
}
inline std::int16_t nearestInt(double v) {
    if (v > -32768.0 && v < 32767.0) return static_cast<std::int16_t>(roundEven(v));
    if (v >= 32767.0) return 32767;
    if (v <= -32768.0) return -32768;
    return 0;
}

// A seed as the user types it: a whole number 0..4294967295, blanks around it allowed.
std::optional<std::uint32_t> seedValue(std::string_view text);

// A text from outside (a file, a command line) as a message may show it: control characters,
// C1 controls and bytes that are not UTF-8 become \xNN, so that no text can steer a terminal.
std::string escapedText(std::string_view text);

// A text as a message quotes it: in double quotes, cut after 40 characters with "..." when longer,
// escaped as escapedText does.
std::string quotedText(std::string_view text);

// Plain decimal: digits with a leading minus sign when negative ("-7", "12").
std::string plainDecimal(long long v);
// Signed column: a space before zero and positive values, a minus before negative ones (" 2",
// "-1").
std::string signedColumn(long long v);

}  // namespace zibs

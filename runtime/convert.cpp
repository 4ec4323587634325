#include "runtime/convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zibs {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the run of digits starting at pos.
std::size_t digitsAt(std::string_view s, std::size_t pos) {
    std::size_t n = 0;
    while (pos + n < s.size() && isDigit(s[pos + n])) ++n;
    return n;
}

// Whether a number that from_chars finds out of range (digits with an optional point and
// exponent, no sign) lies above the largest double rather than below the smallest: whether the
// power p with 10^(p-1) <= value < 10^p is positive. The exponent saturates far beyond the
// range of a double.
bool beyondLargest(std::string_view number) {
    const auto letter = std::min(number.find_first_of("eE"), number.size());
    const auto digits = number.substr(0, letter);
    const auto lead = digits.find_first_of("123456789");
    if (lead == std::string_view::npos) return false;
    const auto point = std::min(digits.find('.'), digits.size());
    long long power = static_cast<long long>(point) - static_cast<long long>(lead);
    if (lead > point) ++power;  // "12.5" gives 2, "0.001" gives -2

    auto exponent = number.substr(std::min(letter + 1, number.size()));
    const bool negative = !exponent.empty() && exponent.front() == '-';
    if (!exponent.empty() && (exponent.front() == '+' || negative)) exponent.remove_prefix(1);
    long long e = 0;
    for (const char c : exponent) e = std::min(e * 10 + (c - '0'), 1'000'000LL);
    return power + (negative ? -e : e) > 0;
}

}  // namespace

double textValue(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    const std::size_t start = pos;
    const std::size_t intDigits = digitsAt(text, pos);
    pos += intDigits;
    std::size_t fracDigits = 0;
    if (pos < text.size() && text[pos] == '.') {
        fracDigits = digitsAt(text, pos + 1);
        if (intDigits > 0 || fracDigits > 0) pos += 1 + fracDigits;
    }
    if (intDigits == 0 && fracDigits == 0) return 0.0;

    // An exponent counts only when digits follow its letter (and optional sign).
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t e = pos + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const std::size_t expDigits = digitsAt(text, e);
        if (expDigits > 0) pos = e + expDigits;
    }

    double value = 0.0;
    const auto number = text.substr(start, pos - start);
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves value alone then. The value is either beyond the largest double
        // (about 1.8e308) and out of range, or below the smallest (about 4.9e-324) and reads as 0.
        value = beyondLargest(number) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::optional<std::int16_t> toInteger(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    const double r = roundEven(v);
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::optional<std::uint32_t> seedValue(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const auto last = text.find_last_not_of(" \t");
    const auto digits = text.substr(first, last - first + 1);
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

namespace {

// The length of the well-formed UTF-8 character at the start of `s`, or 0 when it is none.
std::size_t utf8Length(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = byte(0);
    const std::size_t n = b < 0x80                 ? 1
                          : b >= 0xC2 && b <= 0xDF ? 2
                          : b >= 0xE0 && b <= 0xEF ? 3
                          : b >= 0xF0 && b <= 0xF4 ? 4
                                                   : 0;
    if (n == 0 || n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
    }
    // No overlong forms, no surrogates, nothing beyond U+10FFFF.
    if (n == 3 && ((b == 0xE0 && byte(1) < 0xA0) || (b == 0xED && byte(1) > 0x9F))) return 0;
    if (n == 4 && ((b == 0xF0 && byte(1) < 0x90) || (b == 0xF4 && byte(1) > 0x8F))) return 0;
    return n;
}

void appendEscaped(std::string& out, unsigned char byte) {
    constexpr char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

}  // namespace

std::string escapedText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text.substr(i));
        const auto b = static_cast<unsigned char>(text[i]);
        const bool control = n == 1 && (b < 0x20 || b == 0x7F);
        const bool c1 = n == 2 && b == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (n == 0 || control || c1) {
            for (std::size_t k = 0; k < std::max<std::size_t>(n, 1); ++k) {
                appendEscaped(out, static_cast<unsigned char>(text[i + k]));
            }
            i += std::max<std::size_t>(n, 1);
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string quotedText(std::string_view text) {
    constexpr std::size_t shown = 40;
    // Count characters, not bytes: a UTF-8 character is one lead byte and its continuation bytes.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++characters > shown) return "\"" + escapedText(text.substr(0, i)) + "...\"";
    }
    return "\"" + escapedText(text) + "\"";
}

std::string plainDecimal(long long v) {
    return std::to_string(v);
}

std::string signedColumn(long long v) {
    return v < 0 ? std::to_string(v) : " " + std::to_string(v);
}

}  // namespace zibs

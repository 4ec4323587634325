#include "sweep/lists.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "runtime/convert.h"

namespace zibs::sweep {

namespace {

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A whole number with nothing around it; an optional minus sign, no plus, no blanks.
template <typename T>
bool wholeNumber(std::string_view s, T& value) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && ec == std::errc{} && end == s.data() + s.size();
}

// How many decimal digits `s` starts with.
std::size_t digitsAt(std::string_view s) {
    std::size_t n = 0;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
    return n;
}

// A number in the syntax the "Variables" window reads, blanks around it allowed: a sign, digits
// with a decimal fraction, an exponent. Read in one pass, however long the text.
bool isNumber(std::string_view s) {
    s = trimmed(s);
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.remove_prefix(1);
    std::size_t digits = digitsAt(s);
    s.remove_prefix(digits);
    if (!s.empty() && s[0] == '.') {
        s.remove_prefix(1);
        const std::size_t fraction = digitsAt(s);
        s.remove_prefix(fraction);
        digits += fraction;
    }
    if (digits == 0) return false;
    if (!s.empty() && (s[0] == 'e' || s[0] == 'E')) {
        s.remove_prefix(1);
        if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.remove_prefix(1);
        const std::size_t exponent = digitsAt(s);
        if (exponent == 0) return false;
        s.remove_prefix(exponent);
    }
    return s.empty();
}

void appendRange(std::vector<std::string>& values, std::string_view item) {
    const auto colon1 = item.find(':');
    const auto colon2 = item.find(':', colon1 + 1);
    if (colon2 == std::string_view::npos || item.find(':', colon2 + 1) != std::string_view::npos) {
        throw BadInput(quotedText(item) + " is not a range from:to:step.");
    }
    long long from = 0, to = 0, step = 0;
    if (!wholeNumber(item.substr(0, colon1), from) ||
        !wholeNumber(item.substr(colon1 + 1, colon2 - colon1 - 1), to) ||
        !wholeNumber(item.substr(colon2 + 1), step)) {
        throw BadInput("the range " + quotedText(item) +
                       " needs whole numbers for from, to and step.");
    }
    if (step < 1) throw BadInput("the range " + quotedText(item) + " needs a step of 1 or more.");
    if (from > to) {
        throw BadInput("the range " + quotedText(item) + " runs backwards: from is above to.");
    }
    for (long long v = from;; v += step) {
        values.push_back(std::to_string(v));
        // Past the 16-bit range the check refuses the value; no need to go on.
        if (v < -32768 || v > 32767) break;
        // The difference of to and v, which may exceed the range of long long, as unsigned.
        if (static_cast<unsigned long long>(step) >
            static_cast<unsigned long long>(to) - static_cast<unsigned long long>(v)) {
            break;
        }
    }
}

}  // namespace

std::vector<std::string> parseList(std::string_view text) {
    std::vector<std::string> values;
    std::size_t start = 0;
    while (true) {
        const auto comma = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, comma - start);
        if (trimmed(item).empty()) {
            throw BadInput("the list " + quotedText(text) +
                           " has an empty item; give values and ranges from:to:step separated "
                           "by commas.");
        }
        if (item.find(':') != std::string_view::npos) {
            appendRange(values, trimmed(item));
        } else if (isNumber(item)) {
            values.emplace_back(item);
        } else {
            throw BadInput(quotedText(item) + " is not a number.");
        }
        if (comma == text.size()) return values;
        start = comma + 1;
    }
}

Seeds parseSeeds(std::string_view text) {
    const auto dots = text.find("..");
    const auto first = seedValue(text.substr(0, dots));
    const auto last = dots == std::string_view::npos ? first : seedValue(text.substr(dots + 2));
    if (!first || !last || *last < *first) {
        throw BadInput(quotedText(text) +
                       " is not a seed range A..B with whole numbers 0 <= A <= B <= 4294967295.");
    }
    return {*first, *last};
}

Shard parseShard(std::string_view text) {
    const auto slash = text.find('/');
    Shard s;
    if (slash == std::string_view::npos || !wholeNumber(text.substr(0, slash), s.k) ||
        !wholeNumber(text.substr(slash + 1), s.n) || s.k < 1 || s.k > s.n) {
        throw BadInput(quotedText(text) + " is not a shard K/N with whole numbers 1 <= K <= N.");
    }
    return s;
}

}  // namespace zibs::sweep

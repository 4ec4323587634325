#include "sim/statscsv.h"

#include <charconv>

namespace zibs {

void appendNumber(std::string& out, long long v) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v);
    out.append(digits, end);
}

void appendStatsRow(std::string& out, const DayStats& s) {
    for (const std::int32_t v : {s.day, s.population, s.births, s.deathsAge, s.deathsHunger,
                                 s.stores, s.motors, s.eyes, s.food, s.grass}) {
        appendNumber(out, v);
        out += ',';
    }
    out.back() = '\n';
}

std::string statsCsv(const StatsHistory& rows) {
    std::string out(statsHeader);
    out += '\n';
    for (const DayStats& row : rows) appendStatsRow(out, row);
    return out;
}

}  // namespace zibs

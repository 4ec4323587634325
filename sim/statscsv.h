#pragma once

#include <string>
#include <string_view>

#include "sim/daystats.h"

namespace zibs {

// The names of the day statistics' columns, in the order of their CSV rows.
inline constexpr std::string_view statsHeader =
    "day,population,births,deaths_age,deaths_hunger,stores,motors,eyes,food,grass";

// Appends a day's figures as a CSV row in the order of statsHeader, ending the line.
void appendStatsRow(std::string& out, const DayStats& s);

// The header, then one row a day.
std::string statsCsv(const StatsHistory& rows);

// Appends a whole number in plain decimal ("-7", "12").
void appendNumber(std::string& out, long long v);

}  // namespace zibs

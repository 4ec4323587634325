#pragma once

// The order and names in which a world file holds the parameters, the globals, a zib record and
// a history row: shared by the writer and the reader.

#include <array>
#include <cstdint>
#include <string>

#include "sim/daystats.h"
#include "sim/params.h"
#include "sim/world.h"

namespace zibs {

struct ParameterField {
    const char* key;
    std::string ParameterTexts::*text;
    Integer Parameters::*value;
};
inline constexpr std::array<ParameterField, 6> parameterFields = {{
    {"start-population", &ParameterTexts::startpop, &Parameters::popstart},
    {"repro-rate", &ParameterTexts::repro, &Parameters::reprorate},
    {"max-grass", &ParameterTexts::grass, &Parameters::maxgrass},
    {"growth-rate", &ParameterTexts::grow, &Parameters::growrate},
    {"radiation", &ParameterTexts::rad, &Parameters::radiation},
    {"mutations", &ParameterTexts::mute, &Parameters::mutations},
}};

struct GlobalField {
    const char* key;
    Integer World::*member;
};
inline constexpr std::array<GlobalField, 9> globalFields = {{
    {"selzib", &World::selzib},
    {"popstart", &World::popstart},
    {"population", &World::population},
    {"day", &World::day},
    {"reprorate", &World::reprorate},
    {"maxgrass", &World::maxgrass},
    {"growrate", &World::growrate},
    {"radiation", &World::radiation},
    {"mutations", &World::mutations},
}};

// A zib record as 66 numbers: its eleven fields, then kind, capacity, use, food and mode of
// cells 0 to 10.
struct ZibField {
    const char* name;
    Integer Zib::*member;
};
inline constexpr std::array<ZibField, 11> zibFields = {{
    {"x", &Zib::x},
    {"y", &Zib::y},
    {"goalx", &Zib::goalx},
    {"goaly", &Zib::goaly},
    {"mode", &Zib::mode},
    {"age", &Zib::age},
    {"reproage", &Zib::reproage},
    {"alive", &Zib::alive},
    {"spare1", &Zib::spare1},
    {"spare2", &Zib::spare2},
    {"spare3", &Zib::spare3},
}};
struct CellField {
    const char* name;
    Integer ZibCell::*member;
};
inline constexpr std::array<CellField, 5> cellFields = {{
    {"kind", &ZibCell::kind},
    {"capacity", &ZibCell::capacity},
    {"use", &ZibCell::use},
    {"food", &ZibCell::food},
    {"mode", &ZibCell::mode},
}};
inline constexpr std::size_t zibNumberCount = zibFields.size() + cellFields.size() * 11;

inline std::array<Integer, zibNumberCount> zibNumbers(const Zib& z) {
    std::array<Integer, zibNumberCount> n{};
    std::size_t k = 0;
    for (const ZibField& f : zibFields) n[k++] = z.*f.member;
    for (const ZibCell& c : z.cells) {
        for (const CellField& f : cellFields) n[k++] = c.*f.member;
    }
    return n;
}

inline Zib zibFromNumbers(const std::array<Integer, zibNumberCount>& n) {
    Zib z;
    std::size_t k = 0;
    for (const ZibField& f : zibFields) z.*f.member = n[k++];
    for (ZibCell& c : z.cells) {
        for (const CellField& f : cellFields) c.*f.member = n[k++];
    }
    return z;
}

// A history row as ten numbers, in the order and with the names of the statistics' columns.
struct StatsField {
    const char* name;
    std::int32_t DayStats::*member;
};
inline constexpr std::array<StatsField, 10> statsFields = {{
    {"day", &DayStats::day},
    {"population", &DayStats::population},
    {"births", &DayStats::births},
    {"deaths_age", &DayStats::deathsAge},
    {"deaths_hunger", &DayStats::deathsHunger},
    {"stores", &DayStats::stores},
    {"motors", &DayStats::motors},
    {"eyes", &DayStats::eyes},
    {"food", &DayStats::food},
    {"grass", &DayStats::grass},
}};
inline constexpr std::size_t statsNumberCount = statsFields.size();

inline std::array<std::int32_t, statsNumberCount> statsNumbers(const DayStats& s) {
    std::array<std::int32_t, statsNumberCount> n{};
    for (std::size_t k = 0; k < statsFields.size(); ++k) n[k] = s.*statsFields[k].member;
    return n;
}

}  // namespace zibs

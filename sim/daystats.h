#pragma once

#include <cstdint>
#include <vector>

#include "sim/world.h"

namespace zibs {

// The figures of a world at the end of a day (day 0: just after Initialize).
struct DayStats {
    std::int32_t day = 0;
    std::int32_t population = 0;
    std::int32_t births = 0;        // newborns created during the day
    std::int32_t deathsAge = 0;     // died with food in their stores (the old-age draw)
    std::int32_t deathsHunger = 0;  // died with empty stores
    std::int32_t stores = 0;        // ring cells of each kind, over the living zibs
    std::int32_t motors = 0;
    std::int32_t eyes = 0;
    std::int32_t food = 0;   // food in the stores of the living zibs
    std::int32_t grass = 0;  // grass amounts of the 441 points, a negative amount counting as 0
    friend bool operator==(const DayStats&, const DayStats&) = default;
};

// One row per day since Initialize (or since the loaded day of an opened world).
using StatsHistory = std::vector<DayStats>;

// The figures of the world as it stands, with the births and deaths of world.counts.
DayStats tally(const World& world);

}  // namespace zibs

#pragma once

#include <array>
#include <cstdint>

namespace zibs {

// Every number of the world state is a 16-bit signed integer.
using Integer = std::int16_t;

// What a ring cell is.
enum CellKind : Integer { empty = 0, store = 1, motor = 2, eye = 3 };

struct ZibCell {
    Integer kind = 0;
    Integer capacity = 0;
    Integer use = 0;
    Integer food = 0;
    Integer mode = 0;
    friend bool operator==(const ZibCell&, const ZibCell&) = default;
};

// One creature record. Cells 1 to 8 form the ring about the centre; 0, 9 and 10 stay zero.
struct Zib {
    Integer x = 0;
    Integer y = 0;
    Integer goalx = 0;
    Integer goaly = 0;
    Integer mode = 0;
    Integer age = 0;
    Integer reproage = 0;
    Integer alive = 0;
    Integer spare1 = 0;
    Integer spare2 = 0;
    Integer spare3 = 0;
    std::array<ZibCell, 11> cells{};
    friend bool operator==(const Zib&, const Zib&) = default;
};

struct GrassCell {
    Integer amount = 0;
    Integer spare = 0;
    friend bool operator==(const GrassCell&, const GrassCell&) = default;
};

// Offset of ring cell j (1 to 8) from the centre, clockwise from the top left, y downwards.
struct RingOffset {
    int dx;
    int dy;
};
inline constexpr std::array<RingOffset, 9> ring = {{
    {0, 0},  // unused: cells are numbered from 1
    {-1, -1},
    {0, -1},
    {1, -1},
    {1, 0},
    {1, 1},
    {0, 1},
    {-1, 1},
    {-1, 0},
}};

inline constexpr int gridSize = 21;     // grid points 0..20 in each direction
inline constexpr int lastRecord = 100;  // zibs holds records 0..100; 0 is never used
inline constexpr Integer dayLimit = 32767;

// What happened during the day being run: newborns, and deaths by cause (a zib that dies with
// empty stores died of hunger, whatever the old-age draw said). Not part of the world's state:
// the simulation never reads them.
struct DayCounts {
    std::int32_t births = 0;
    std::int32_t deathsAge = 0;
    std::int32_t deathsHunger = 0;
    friend bool operator==(const DayCounts&, const DayCounts&) = default;
};

// The whole state of a world. One instance lives for the whole program, outside every window.
struct World {
    Integer selzib = 0;
    Integer popstart = 0;
    Integer population = 0;
    Integer day = 0;
    Integer reprorate = 0;
    Integer maxgrass = 0;
    Integer growrate = 0;
    Integer radiation = 0;
    Integer mutations = 0;
    std::array<GrassCell, gridSize * gridSize> grass{};
    std::array<Zib, lastRecord + 1> zibs{};
    DayCounts counts;  // of the last day run (all 0 after Initialize)

    GrassCell& grassAt(int x, int y) { return grass[x + gridSize * y]; }
    const GrassCell& grassAt(int x, int y) const { return grass[x + gridSize * y]; }
};

}  // namespace zibs

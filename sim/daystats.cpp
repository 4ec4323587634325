#include "sim/daystats.h"

#include <algorithm>

namespace zibs {

DayStats tally(const World& world) {
    DayStats s;
    s.day = world.day;
    s.population = world.population;
    s.births = world.counts.births;
    s.deathsAge = world.counts.deathsAge;
    s.deathsHunger = world.counts.deathsHunger;
    const int last = std::clamp<int>(world.popstart, 0, lastRecord);
    // Every record up to popstart is counted, the dead ones with a weight of 0: whether a record
    // lives is a coin toss to the processor, and a branch on it costs more than counting it.
    std::int32_t stores = 0, motors = 0, eyes = 0, food = 0;
    for (int i = 1; i <= last; ++i) {
        const Zib& z = world.zibs[i];
        const std::int32_t living = z.alive == 1;
        std::int32_t st = 0, mo = 0, ey = 0, fo = 0;
        for (int j = 1; j <= 8; ++j) {
            const ZibCell& c = z.cells[j];
            const std::int32_t isStore = c.kind == store;
            st += isStore;
            mo += c.kind == motor;
            ey += c.kind == eye;
            fo += isStore * c.food;
        }
        stores += living * st;
        motors += living * mo;
        eyes += living * ey;
        food += living * fo;
    }
    s.stores = stores;
    s.motors = motors;
    s.eyes = eyes;
    s.food = food;
    for (const GrassCell& g : world.grass) s.grass += std::max<int>(g.amount, 0);
    return s;
}

}  // namespace zibs

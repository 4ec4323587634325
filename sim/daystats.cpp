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
    for (int i = 1; i <= last; ++i) {
        const Zib& z = world.zibs[i];
        if (z.alive != 1) continue;
        for (int j = 1; j <= 8; ++j) {
            const ZibCell& c = z.cells[j];
            s.stores += c.kind == store;
            s.motors += c.kind == motor;
            s.eyes += c.kind == eye;
            if (c.kind == store) s.food += c.food;
        }
    }
    for (const GrassCell& g : world.grass) s.grass += std::max<int>(g.amount, 0);
    return s;
}

}  // namespace zibs

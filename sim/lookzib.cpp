#include <bit>

#include "sim/sim.h"

namespace zibs {

void lookzib(World& world) {
    const Integer last = world.popstart;
    for (int i = 1; i <= last; ++i) {
        Zib& z = world.zibs[i];
        if (z.goalx != 0 || z.goaly != 0) continue;  // keeps its target until it stands on it
        // The active eyes as a bit mask, found without a branch per cell, visited in ring order.
        unsigned active = 0;
#pragma GCC unroll 8
        for (int j = 1; j <= 8; ++j) {
            const ZibCell& c = z.cells[j];
            active |= static_cast<unsigned>((c.kind == eye) & (c.mode == z.mode)) << j;
        }
        for (; active != 0; active &= active - 1) {
            const int j = std::countr_zero(active);
            const int sx = z.x + ring[j].dx;
            const int sy = z.y + ring[j].dy;
            // Row and column 0 are never seen.
            if (sx < 1 || sx > 20 || sy < 1 || sy > 20) continue;
            if (world.grassAt(sx, sy).amount > 0) {
                z.goalx = static_cast<Integer>(sx);
                z.goaly = static_cast<Integer>(sy);
                break;
            }
        }
    }
}

}  // namespace zibs

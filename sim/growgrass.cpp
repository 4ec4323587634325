#include <algorithm>

#include "runtime/convert.h"
#include "sim/sim.h"

namespace zibs {

namespace {

// Green of a grass point: 255 / maxgrass per unit, rounded half to even, at most 255.
long long grassGreen(Integer amount, Integer maxgrass) {
    const double g = roundEven((255.0 / maxgrass) * amount);
    return static_cast<long long>(std::clamp(g, 0.0, 255.0));
}

}  // namespace

void growgrass(World& world, Presentation& view) {
    for (int x = 0; x < gridSize; ++x) {
        for (int y = 0; y < gridSize; ++y) {
            GrassCell& cell = world.grassAt(x, y);
            // Tested before the addition only, so one day's growth may pass the ceiling.
            if (cell.amount < world.maxgrass) cell.amount = saturate(cell.amount + world.growrate);
            if (cell.amount > 0) {
                view.plotgrass(static_cast<Integer>(x), static_cast<Integer>(y), 3,
                               RGB(0, grassGreen(cell.amount, world.maxgrass), 0));
            }
        }
    }
}

}  // namespace zibs

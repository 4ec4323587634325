#include <algorithm>

#include "runtime/convert.h"
#include "sim/sim.h"

namespace zibs {

namespace {

// Green of a grass point: 255 / maxgrass per unit, rounded half to even, at most 255.
long long grassGreen(Integer amount, double perUnit) {
    const double g = roundEven(perUnit * amount);
    return static_cast<long long>(std::min(std::max(g, 0.0), 255.0));
}

}  // namespace

void growgrass(World& world, Presentation& view) {
    // Read once: the stores into the grid could otherwise be taken to change them.
    const Integer maxgrass = world.maxgrass;
    const Integer growrate = world.growrate;
    const double perUnit = 255.0 / maxgrass;
    for (int x = 0; x < gridSize; ++x) {
        for (int y = 0; y < gridSize; ++y) {
            GrassCell& cell = world.grassAt(x, y);
            // Tested before the addition only, so one day's growth may pass the ceiling.
            const Integer grown = saturate(cell.amount + growrate);
            cell.amount = cell.amount < maxgrass ? grown : cell.amount;
            if (cell.amount > 0) {
                view.plotgrass(static_cast<Integer>(x), static_cast<Integer>(y), 3,
                               RGB(0, grassGreen(cell.amount, perUnit), 0));
            }
        }
    }
}

}  // namespace zibs

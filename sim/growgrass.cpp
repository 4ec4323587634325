#include "runtime/convert.h"
#include "sim/grasscolour.h"
#include "sim/sim.h"

namespace zibs {

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
                               grownGrassColour(cell.amount, perUnit));
            }
        }
    }
}

void showgrass(const World& world, Presentation& view) {
    const double perUnit = 255.0 / world.maxgrass;
    for (int x = 0; x < gridSize; ++x) {
        for (int y = 0; y < gridSize; ++y) {
            const Integer amount = world.grassAt(x, y).amount;
            if (amount <= 0) continue;
            view.plotgrass(
                static_cast<Integer>(x), static_cast<Integer>(y), 3,
                world.day == 0 ? newGrassColour(amount) : grownGrassColour(amount, perUnit));
        }
    }
}

}  // namespace zibs

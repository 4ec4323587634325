#include <algorithm>
#include <array>

#include "runtime/convert.h"
#include "sim/grasscolour.h"
#include "sim/procedures.h"
#include "sim/sim.h"

namespace zibs {

template <class View>
void generic::growgrass(World& world, View& view) {
    // Read once: the stores into the grid could otherwise be taken to change them.
    const Integer maxgrass = world.maxgrass;
    const Integer growrate = world.growrate;
    // Every point grows on its own, so the growth runs first and in memory order; tested before
    // the addition only, so one day's growth may pass the ceiling. It saturates at the 16-bit
    // limits, which only extreme parameters can reach: others take the plain addition.
    if (growrate >= 0 && maxgrass + growrate <= 32768) {
        for (GrassCell& cell : world.grass) {
            cell.amount =
                static_cast<Integer>(cell.amount < maxgrass ? cell.amount + growrate : cell.amount);
        }
    } else {
        for (GrassCell& cell : world.grass) {
            const Integer grown = saturate(cell.amount + growrate);
            cell.amount = cell.amount < maxgrass ? grown : cell.amount;
        }
    }
    // Then the points with grass are plotted column by column. With a presentation that draws
    // nothing this does nothing, and the compiler leaves it out.
    const double perUnit = 255.0 / maxgrass;
    // The shades of the small amounts, which nearly every point has, are worked out once.
    constexpr int shadesKept = 64;
    std::array<Rgb, shadesKept> shades;
    for (int a = 0; a < shadesKept; ++a)
        shades[a] = grownGrassColour(static_cast<Integer>(a), perUnit);
    GrassShades grown;
    for (std::size_t i = 0; i < grown.size(); ++i) {
        const Integer amount = world.grass[i].amount;
        grown[i] = {amount < shadesKept ? shades[std::max<Integer>(amount, 0)]
                                        : grownGrassColour(amount, perUnit),
                    amount > 0};
    }
    view.plotgrowngrass(grown);
}

template void generic::growgrass(World&, Presentation&);
template void generic::growgrass(World&, NullPresentation&);

void growgrass(World& world, Presentation& view) {
    generic::growgrass(world, view);
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

#include "sim/sim.h"

namespace zibs {

bool daystep(World& world, RandomSource& rnd, Presentation& view) {
    if (world.day >= dayLimit) return false;
    world.counts = {};
    growgrass(world, view);
    lookzib(world);
    movezib(world, rnd, view);
    ++world.day;
    view.updategraph();
    return true;
}

}  // namespace zibs

#include "sim/procedures.h"
#include "sim/sim.h"

namespace zibs {

namespace {

template <class Random, class View>
bool runDay(World& world, Random& rnd, View& view) {
    if (world.day >= dayLimit) return false;
    world.counts = {};
    generic::growgrass(world, view);
    lookzib(world);
    generic::movezib(world, rnd, view);
    ++world.day;
    view.updategraph();
    return true;
}

}  // namespace

bool daystep(World& world, RandomSource& rnd, Presentation& view) {
    return runDay(world, rnd, view);
}
bool daystep(World& world, Rnd& rnd, Presentation& view) {
    return runDay(world, rnd, view);
}
bool daystep(World& world, Rnd& rnd, NullPresentation& view) {
    return runDay(world, rnd, view);
}

}  // namespace zibs

#include "runtime/convert.h"
#include "sim/procedures.h"
#include "sim/sim.h"

namespace zibs {

namespace {

// The mutation attempts on a parent after one copy. Each attempt that mutates leaves its
// category and cell number as the next attempt's chance and threshold; the first attempt that
// does not mutate ends the chain, since nothing after it can change those two values.
template <class Random>
void mutate(Zib& parent, Integer radiation, Integer mutations, Random& rnd) {
    Integer chance = nearestInt(rnd.next() * 100);
    Integer threshold = nearestInt(rnd.next() * radiation);
    for (int attempt = 0; attempt < mutations && chance < threshold; ++attempt) {
        const Integer category = floorInt(rnd.next() * 3);
        const Integer j = floorInt(rnd.next() * 8 + 1);
        chance = category;
        threshold = j;
        ZibCell& c = parent.cells[j];
        switch (category) {
            case 0:
                c.kind = floorInt(rnd.next() * 4);
                if (c.kind == store) c.food = c.capacity;
                break;
            case 1:
                c.mode = floorInt(rnd.next() * 3);
                break;
            default:
                c.capacity = floorInt(rnd.next() * 25 + 25);
                break;
        }
    }
}

}  // namespace

template <class Random, class View>
void generic::reproduce(World& world, Integer index, Random& rnd, View& view) {
    // Room test on the slots in use, not on the dead ones: every newborn lands in 99 or below.
    if (world.popstart >= lastRecord - static_cast<int>(world.reprorate)) return;

    Zib& parent = world.zibs[index];
    const Integer litter = world.reprorate;
    for (int k = 1; k <= litter; ++k) {
        Integer n = 0;
        for (Integer s = 1; s <= world.popstart; ++s) {
            if (world.zibs[s].alive == 0) {
                n = s;
                break;
            }
        }
        if (n == 0) n = ++world.popstart;

        parent.age = 0;
        world.zibs[n] = parent;
        mutate(parent, world.radiation, world.mutations, rnd);

        view.erasezib(index);
        view.erasezib(n);
        generic::turnzib(world, static_cast<Integer>(k % 8), n, view);
        view.drawzib(index);
        view.drawzib(n);
        world.population = saturate(world.population + 1);
        ++world.counts.births;
        view.zibborn(world, index, n);
    }
}

template void generic::reproduce(World&, Integer, RandomSource&, Presentation&);
template void generic::reproduce(World&, Integer, Rnd&, Presentation&);
template void generic::reproduce(World&, Integer, Rnd&, NullPresentation&);

void reproduce(World& world, Integer index, RandomSource& rnd, Presentation& view) {
    generic::reproduce(world, index, rnd, view);
}

}  // namespace zibs

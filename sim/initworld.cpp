#include <cassert>

#include "runtime/convert.h"
#include "sim/grasscolour.h"
#include "sim/sim.h"

namespace zibs {

void initworld(World& world, const Parameters& params, RandomSource& rnd, Presentation& view) {
    assert(params.popstart <= lastRecord);

    world.popstart = params.popstart;
    world.reprorate = params.reprorate;
    world.maxgrass = params.maxgrass;
    world.growrate = params.growrate;
    world.radiation = params.radiation;
    world.mutations = params.mutations;
    world.population = world.popstart;
    world.day = 0;
    world.counts = {};

    view.cleargraph();
    view.clearworld();

    // Grass column by column: -50..49, points with grass drawn in a green that grows with it.
    for (int x = 0; x < gridSize; ++x) {
        for (int y = 0; y < gridSize; ++y) {
            GrassCell& cell = world.grassAt(x, y);
            cell.amount = static_cast<Integer>(floorInt(rnd.next() * 100) - 50);
            if (cell.amount > 0) {
                view.plotgrass(static_cast<Integer>(x), static_cast<Integer>(y), 3,
                               newGrassColour(cell.amount));
            }
        }
    }

    for (Integer w = 1; w <= world.popstart; ++w) {
        // A slot may hold an earlier world's zib: start from a clean record, every cell zero.
        Zib& z = world.zibs[w];
        z = Zib{};
        z.x = floorInt(rnd.next() * 20);
        z.y = floorInt(rnd.next() * 20);
        z.mode = floorInt(rnd.next() * 3);
        z.reproage = floorInt(rnd.next() * 4 + 3);
        z.alive = 1;
        for (int j = 1; j <= 8; ++j) {
            ZibCell& c = z.cells[j];
            c.kind = floorInt(rnd.next() * 4);
            switch (c.kind) {
                case store:
                    c.capacity = floorInt(rnd.next() * 25 + 25);
                    c.food = c.capacity;
                    c.use = 1;
                    break;
                case motor:
                    c.capacity = floorInt(rnd.next() * 25 + 25);
                    c.use = 3;
                    break;
                case eye:
                    c.capacity = floorInt(rnd.next() * 3 + 1);
                    c.use = 2;
                    break;
                default:
                    break;
            }
            c.mode = floorInt(rnd.next() * 3);
        }
        view.drawzib(w);
    }
}

}  // namespace zibs

#include <cassert>

#include "sim/procedures.h"
#include "sim/sim.h"

namespace zibs {

template <class View>
void generic::turnzib(World& world, Integer turn, Integer index, View& view) {
    assert(validTurn(turn));
    assert(index >= 0 && index <= lastRecord);

    // Cells are read from a copy, so the rotation is a true permutation. Reducing the turn
    // modulo 8 gives the same result for 0..8 and keeps every other value inside the ring.
    const int steps = ((turn % 8) + 8) % 8;
    Zib& z = world.zibs[index];
    const std::array<ZibCell, 11> before = z.cells;
    for (int i = 1; i <= 8; ++i) {
        int s = i + steps;
        if (s > 8) s -= 8;
        z.cells[i] = before[s];
    }
    if (index == world.selzib) view.zibupdate();
}

template void generic::turnzib(World&, Integer, Integer, Presentation&);
template void generic::turnzib(World&, Integer, Integer, NullPresentation&);

void turnzib(World& world, Integer turn, Integer index, Presentation& view) {
    generic::turnzib(world, turn, index, view);
}

}  // namespace zibs

#pragma once

#include "runtime/random.h"
#include "sim/presentation.h"
#include "sim/world.h"

// The procedures of a day, written once for any generator and presentation. Each file of a
// procedure instantiates it for the pairs below; the functions of sim.h are the first pair.
//   RandomSource, Presentation      scripted draws and any presentation (tests)
//   Rnd, Presentation               the program's generator, the windows
//   Rnd, NullPresentation           the program's generator, nothing drawn (zibs-run, benchmarks)
// With the last two, the compiler sees the generator and, for the last, that nothing is drawn:
// no call per draw or per drawing goes through a virtual function.
namespace zibs::generic {

template <class View>
void growgrass(World& world, View& view);
template <class View>
void turnzib(World& world, Integer turn, Integer index, View& view);
template <class Random, class View>
void reproduce(World& world, Integer index, Random& rnd, View& view);
template <class Random, class View>
void movezib(World& world, Random& rnd, View& view);

}  // namespace zibs::generic

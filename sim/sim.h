#pragma once

#include "runtime/random.h"
#include "sim/params.h"
#include "sim/presentation.h"
#include "sim/world.h"

namespace zibs {

// Builds a new world from checked parameters: counters, cleared graph and picture, random grass,
// the start population. The caller seeds the generator first.
void initworld(World& world, const Parameters& params, RandomSource& rnd, Presentation& view);

// Plots every grass point that has grass as the world picture shows it at the end of the world's
// day: in Initialize's shades on day 0, in the daily growth's after it. For a picture drawn
// afresh from the state.
void showgrass(const World& world, Presentation& view);

// The procedures of a day, in the order daystep runs them.
void growgrass(World& world, Presentation& view);
void lookzib(World& world);
void movezib(World& world, RandomSource& rnd, Presentation& view);
void turnzib(World& world, Integer turn, Integer index, Presentation& view);
// The turns turnzib takes: the ring moves on by 0 to 8 cells.
constexpr bool validTurn(int turn) {
    return turn >= 0 && turn <= 8;
}
void reproduce(World& world, Integer index, RandomSource& rnd, Presentation& view);

// One day: growgrass, lookzib, movezib, day + 1, updategraph; world.counts holds the day's births
// and deaths. Returns false, changing nothing, when day already stands at its limit of 32767.
bool daystep(World& world, RandomSource& rnd, Presentation& view);
// The same day with the program's generator, the same draws and results, only faster.
bool daystep(World& world, Rnd& rnd, Presentation& view);
bool daystep(World& world, Rnd& rnd, NullPresentation& view);

}  // namespace zibs

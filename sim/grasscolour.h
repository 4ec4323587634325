#pragma once

#include <algorithm>

#include "runtime/colour.h"
#include "runtime/convert.h"
#include "sim/world.h"

namespace zibs {

// The colour of a grass point with grass as Initialize paints it: 5.1 green per unit, rounded
// half to even.
inline Rgb newGrassColour(Integer amount) {
    return RGB(0, nearestInt(amount * 5.1), 0);
}

// As the daily growth paints it: 255 / maxgrass green per unit (perUnit), rounded half to even,
// at most 255.
inline Rgb grownGrassColour(Integer amount, double perUnit) {
    const double g = roundEven(perUnit * amount);
    return RGB(0, static_cast<long long>(std::min(std::max(g, 0.0), 255.0)), 0);
}

}  // namespace zibs

#pragma once

#include <string>

#include "sim/world.h"

namespace zibs {

// Appends one snapshot of the world state, as the headless runner's --trace prints it:
//   day D population P popstart S
//   grass A0 ... A440
//   zib I X Y GOALX GOALY MODE AGE REPROAGE ALIVE, then kind capacity use food mode of cells 1..8
//   end
void appendTrace(std::string& out, const World& world);

}  // namespace zibs

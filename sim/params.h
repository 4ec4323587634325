#pragma once

#include <optional>
#include <string>

#include "sim/world.h"

namespace zibs {

// The six parameters of a new world, converted.
struct Parameters {
    Integer popstart = 10;
    Integer reprorate = 1;
    Integer maxgrass = 15;
    Integer growrate = 2;
    Integer radiation = 50;
    Integer mutations = 1;
};

// The six texts of the parameters window, in window order. Defaults are its initial texts.
struct ParameterTexts {
    std::string startpop = "10";
    std::string repro = "1";
    std::string grass = "15";
    std::string grow = "2";
    std::string rad = "50";
    std::string mute = "1";
};

// Either the converted parameters, or a message naming the refused one and which text it was.
struct ParameterCheck {
    std::optional<Parameters> values;
    std::string error;
    std::string ParameterTexts::*refused = nullptr;
};

// Converts the texts as Initialize does and refuses what a world cannot be built from: a start
// population outside 0..100, a value outside -32768..32767, a "Max grass" of 0 or less.
ParameterCheck checkParameters(const ParameterTexts& texts);

}  // namespace zibs

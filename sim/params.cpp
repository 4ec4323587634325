#include "sim/params.h"

#include "runtime/convert.h"

namespace zibs {

namespace {

struct Field {
    const char* label;
    const std::string& text;
    Integer Parameters::*member;
    int lowest;
    int highest;
};

std::string refusal(const Field& f) {
    return "\"" + std::string(f.label) + "\" must be a whole number from " +
           std::to_string(f.lowest) + " to " + std::to_string(f.highest) + "; \"" + f.text +
           "\" is not accepted.";
}

}  // namespace

ParameterCheck checkParameters(const ParameterTexts& texts) {
    // In the order Initialize reads them; the first refused one is reported.
    const Field fields[] = {
        {"Start population", texts.startpop, &Parameters::popstart, 0, lastRecord},
        {"Repro rate", texts.repro, &Parameters::reprorate, -32768, 32767},
        {"Max grass", texts.grass, &Parameters::maxgrass, 1, 32767},
        {"Grass growth rate", texts.grow, &Parameters::growrate, -32768, 32767},
        {"Radiation", texts.rad, &Parameters::radiation, -32768, 32767},
        {"Cell mutations", texts.mute, &Parameters::mutations, -32768, 32767},
    };

    Parameters values;
    for (const Field& f : fields) {
        const auto v = toInteger(textValue(f.text));
        if (!v || *v < f.lowest || *v > f.highest) return {std::nullopt, refusal(f)};
        values.*f.member = *v;
    }
    return {values, {}};
}

}  // namespace zibs

#include "sim/params.h"

#include "runtime/convert.h"

namespace zibs {

namespace {

struct Field {
    const char* label;
    std::string ParameterTexts::*text;
    Integer Parameters::*member;
    int lowest;
    int highest;
};

// The value is rounded first, so "2.5" stands for 2: the range is that of the rounded value.
std::string refusal(const Field& f, const std::string& text) {
    return "\"" + std::string(f.label) + "\" must be a number from " + std::to_string(f.lowest) +
           " to " + std::to_string(f.highest) + " after rounding to a whole number; " +
           quotedText(text) + " is not accepted.";
}

}  // namespace

ParameterCheck checkParameters(const ParameterTexts& texts) {
    // In the order Initialize reads them; the first refused one is reported.
    const Field fields[] = {
        {"Start population", &ParameterTexts::startpop, &Parameters::popstart, 0, lastRecord},
        {"Repro rate", &ParameterTexts::repro, &Parameters::reprorate, -32768, 32767},
        {"Max grass", &ParameterTexts::grass, &Parameters::maxgrass, 1, 32767},
        {"Grass growth rate", &ParameterTexts::grow, &Parameters::growrate, -32768, 32767},
        {"Radiation", &ParameterTexts::rad, &Parameters::radiation, -32768, 32767},
        {"Cell mutations", &ParameterTexts::mute, &Parameters::mutations, -32768, 32767},
    };

    Parameters values;
    for (const Field& f : fields) {
        const std::string& text = texts.*f.text;
        const auto v = toInteger(textValue(text));
        if (!v || *v < f.lowest || *v > f.highest) {
            return {std::nullopt, refusal(f, text), f.text};
        }
        values.*f.member = *v;
    }
    return {values, {}};
}

}  // namespace zibs

#pragma once

#include <gmock/gmock.h>

#include <string>

#include "files/worldfile.h"
#include "sim/daystats.h"
#include "testsupport.h"

namespace zibs::testing {

using ::testing::HasSubstr;

// A world run as the program runs one: Initialize from the texts, then `days` days, with the
// generator and the history a save takes.
struct LiveWorld {
    SavedWorld saved;
    Rnd rnd;
    NullPresentation view{&saved.lineage};

    LiveWorld(const ParameterTexts& texts, std::uint32_t seed) : rnd(seed) {
        saved.seed = seed;
        initialize(texts);
    }
    void initialize(const ParameterTexts& texts) {
        saved.texts = texts;
        saved.params = *checkParameters(texts).values;
        initworld(saved.world, saved.params, rnd, view);
        saved.history = {tally(saved.world)};
        saved.lineage.begin(saved.world);
    }
    void go(int days) {
        for (int d = 0; d < days; ++d) {
            daystep(saved.world, rnd, view);
            saved.history.push_back(tally(saved.world));
        }
    }
    // The state a save takes now.
    SavedWorld save() {
        saved.generator = rnd.state();
        return saved;
    }
};

}  // namespace zibs::testing

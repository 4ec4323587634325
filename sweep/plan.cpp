#include "sweep/plan.h"

namespace zibs::sweep {

namespace {

BadInput refusal(const char* option, const std::string& why) {
    return BadInput(std::string(option) + ": " + why);
}

}  // namespace

Plan::Plan(const SweepTexts& texts) {
    for (std::size_t p = 0; p < parameterColumns.size(); ++p) {
        const ParameterColumn& column = parameterColumns[p];
        std::vector<std::string> list{ParameterTexts{}.*column.text};
        if (texts.lists[p]) {
            try {
                list = parseList(*texts.lists[p]);
            } catch (const BadInput& e) {
                throw refusal(column.option, e.what());
            }
        }
        for (const std::string& value : list) {
            ParameterTexts one;
            one.*column.text = value;
            const ParameterCheck check = checkParameters(one);
            if (!check.values) throw refusal(column.option, check.error);
            values_[p].push_back((*check.values).*column.value);
        }
    }
    try {
        seeds_ = parseSeeds(texts.seeds);
    } catch (const BadInput& e) {
        throw refusal("--seeds", e.what());
    }

    runs_ = seeds_.count();
    for (const auto& values : values_) {
        if (__builtin_mul_overflow(runs_, values.size(), &runs_)) {
            throw BadInput("the sweep has more runs than can be counted (2^64).");
        }
    }
}

Run Plan::run(std::uint64_t index) const {
    Run r;
    r.seed = static_cast<std::uint32_t>(seeds_.first + index % seeds_.count());
    index /= seeds_.count();
    for (std::size_t p = values_.size(); p-- > 0;) {
        r.params.*parameterColumns[p].value = values_[p][index % values_[p].size()];
        index /= values_[p].size();
    }
    return r;
}

}  // namespace zibs::sweep

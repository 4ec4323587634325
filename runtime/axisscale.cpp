#include "runtime/axisscale.h"

#include <algorithm>
#include <cmath>

namespace zibs {

namespace {
// A hair's tolerance for the floating-point error of divisions by powers of ten.
constexpr double slack = 1e-9;
}  // namespace

double roundStep(double v) {
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * power >= v * (1 - slack)) return m * power;
    }
    return 10 * power;
}

AxisScale dayScale(double first, double last, int most) {
    const double fine = roundStep(std::max(last - first, 100.0) / 20);
    const double low = fine * std::floor(first / fine + slack);
    const double past = fine * (std::floor(last / fine + slack) + 1);
    const double high = std::max(past, low + 100);
    return {low, high, roundStep((high - low) / std::max(most, 1))};
}

AxisScale figureScale(double highest, double minStep, int most) {
    const double step = roundStep(std::max(highest / std::max(most, 1), minStep));
    return {0, step * std::max(1.0, std::ceil(highest / step - slack)), step};
}

}  // namespace zibs

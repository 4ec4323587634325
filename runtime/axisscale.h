#pragma once

namespace zibs {

// What a chart axis shows: the values from `low` to `high`, with a mark and a label at every
// multiple of `interval` between them.
struct AxisScale {
    double low = 0;
    double high = 0;
    double interval = 0;
    friend bool operator==(const AxisScale&, const AxisScale&) = default;
};

// The smallest of 1, 2 or 5 times a power of ten that is at least `v` (v > 0).
double roundStep(double v);

// The days from `first` to `last` of a run: from a round day at or before the first to the
// first round day past the last, about a twentieth of the span later at most, and at least 100
// days in all. Marks at a round interval, at most `most` intervals over the axis (at least one):
// during a long run the axis widens every twentieth of the days or so, not every day.
AxisScale dayScale(double first, double last, int most);

// A figure from 0 up to `highest`: from 0 to the first multiple of the interval at or above the
// highest, with at most `most` intervals (at least one) of 1, 2 or 5 times a power of ten, none
// below `minStep`.
AxisScale figureScale(double highest, double minStep, int most);

}  // namespace zibs

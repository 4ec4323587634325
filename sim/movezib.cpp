#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "runtime/convert.h"
#include "sim/procedures.h"
#include "sim/sim.h"

namespace zibs {

namespace {

struct Step {
    int dx = 0;
    int dy = 0;
};

// The day's step, the summed pull of every set of active motors (opposite motors cancel): bit j - 1
// of the index stands for ring cell j.
constexpr std::array<Step, 256> pulls = [] {
    std::array<Step, 256> table{};
    for (unsigned set = 0; set < 256; ++set) {
        for (int j = 1; j <= 8; ++j) {
            if ((set >> (j - 1)) & 1) {
                table[set].dx += ring[j].dx;
                table[set].dy += ring[j].dy;
            }
        }
    }
    return table;
}();

// What a zib's ring means for its day, found in one pass without a branch per cell (kinds and
// modes are random, so such branches would mostly be mispredicted): its active motors and its
// stores as sets (bit j - 1 for ring cell j) and its daily use, the use of every ring cell.
struct RingSurvey {
    unsigned motors = 0;
    unsigned stores = 0;
    int use = 0;
};
RingSurvey survey(const Zib& z) {
    RingSurvey s;
#pragma GCC unroll 8
    for (int j = 1; j <= 8; ++j) {
        const ZibCell& c = z.cells[j];
        s.motors |= static_cast<unsigned>((c.kind == motor) & (c.mode == z.mode)) << (j - 1);
        s.stores |= static_cast<unsigned>(c.kind == store) << (j - 1);
        s.use += c.use;
    }
    return s;
}

bool onGrid(int v) {
    return v >= 0 && v < gridSize;
}

// Rounded Euclidean distances, halves to even, by the squared distance of two grid points. The
// square root of a whole number d never lies at a half, so it rounds to k exactly when
// (k - 1/2)^2 < d < (k + 1/2)^2, that is when k * (k - 1) < d <= k * (k + 1).
constexpr int farthest = 2 * 20 * 20;
constexpr std::array<std::uint8_t, farthest + 1> roundedRoots = [] {
    std::array<std::uint8_t, farthest + 1> table{};
    int k = 0;
    for (int d = 0; d <= farthest; ++d) {
        while (d > k * (k + 1)) ++k;
        table[d] = static_cast<std::uint8_t>(k);
    }
    return table;
}();
static_assert(roundedRoots[2] == 1 && roundedRoots[3] == 2 && roundedRoots[6] == 2 &&
              roundedRoots[7] == 3 && roundedRoots[farthest] == 28);

// Euclidean distance rounded to the nearest integer, halves to even.
Integer roundedDistance(int x, int y, int toX, int toY) {
    const long long dx = x - toX;
    const long long dy = y - toY;
    const long long square = dx * dx + dy * dy;
    if (square <= farthest) return roundedRoots[square];
    return nearestInt(std::sqrt(static_cast<double>(square)));  // off the grid
}

// The day's meal and upkeep, store by store in ring order. Each store first takes what it can
// of the grass under the zib (only when that point has grass: then it also sheds what it holds
// above its capacity, even once the grass is used up), then pays what is still owed of the daily
// use. The stores after it never touch its food again, so its food is then final. An unpaid rest
// is dropped. A point grazed bare starts again from -10. Whether the point has grass is a template
// argument, so that it is tested once per zib rather than once per store.
struct Larder {
    Integer food = 0;      // over the stores, after the upkeep
    Integer capacity = 0;  // over the stores
};
template <bool grazing, class View>
Larder eatAndPay(World& world, Zib& z, unsigned stores, int use, View& view) {
    GrassCell& grass = world.grassAt(z.x, z.y);
    Integer owed = saturate(use);
    bool paid = false;
    long long food = 0;
    long long capacity = 0;
    for (; stores != 0; stores &= stores - 1) {
        ZibCell& c = z.cells[std::countr_zero(stores) + 1];
        if constexpr (grazing) {
            c.food = saturate(c.food + grass.amount);
            if (c.food > c.capacity) {
                grass.amount = saturate(c.food - c.capacity);
                c.food = c.capacity;
            } else {
                grass.amount = 0;
            }
        }
        if (!paid) {
            c.food = saturate(c.food - owed);
            paid = c.food >= 0;
            if (!paid) {
                owed = saturate(-static_cast<long long>(c.food));
                c.food = 0;
            }
        }
        food += c.food;
        capacity += c.capacity;
    }
    if constexpr (grazing) {
        if (grass.amount == 0) grass.amount = -10;
        const Rgb colour = grass.amount > 0 ? RGB(0, 51LL * grass.amount, 0) : black;
        view.plotgrass(z.x, z.y, 3, colour);
    }
    return {saturate(food), saturate(capacity)};
}

}  // namespace

// Flattened: the generator, the survey and the meal are inlined into the loop over the zibs.
template <class Random, class View>
[[gnu::flatten]] void generic::movezib(World& world, Random& rnd, View& view) {
    const Integer last = world.popstart;
    for (Integer i = 1; i <= last; ++i) {
        Zib& z = world.zibs[i];
        if (z.alive != 1) continue;
        view.erasezib(i);

        // Turn at random until the motors keep the zib on the grid.
        RingSurvey found = survey(z);
        Step step = pulls[found.motors];
        while (!onGrid(z.x + step.dx) || !onGrid(z.y + step.dy)) {
            generic::turnzib(world, floorInt(rnd.next() * 7 + 1), i, view);
            found = survey(z);
            step = pulls[found.motors];
        }
        z.x = static_cast<Integer>(z.x + step.dx);
        z.y = static_cast<Integer>(z.y + step.dy);
        z.age = saturate(z.age + 1);

        const Larder larder = world.grassAt(z.x, z.y).amount > 0
                                  ? eatAndPay<true>(world, z, found.stores, found.use, view)
                                  : eatAndPay<false>(world, z, found.stores, found.use, view);
        const Integer totalFood = larder.food;
        const Integer totalCapacity = larder.capacity;

        if (totalFood > 0.3 * totalCapacity && z.age > z.reproage) {
            generic::reproduce(world, i, rnd, view);
        }
        view.drawzib(i);

        // Old age, then hunger.
        const Integer a = nearestInt(rnd.next() * z.age);
        const Integer h = nearestInt(rnd.next() * 100);
        if (h < a) z.alive = 0;
        if (totalFood == 0) z.alive = 0;
        if (z.alive == 0) {
            world.population = saturate(world.population - 1);
            // Empty stores make it hunger, whatever the old-age draw said.
            ++(totalFood == 0 ? world.counts.deathsHunger : world.counts.deathsAge);
            view.drawdeadzib(i);
            view.zibdied(world, i);
        }

        // On the target: clear it. Otherwise a new mode unless the rounded distance fell; this
        // also runs without a target (the corner (0, 0)) and for a zib that has just died.
        if (z.x == z.goalx && z.y == z.goaly) {
            z.goalx = 0;
            z.goaly = 0;
            continue;
        }
        const Integer now = roundedDistance(z.x, z.y, z.goalx, z.goaly);
        const Integer before = roundedDistance(z.x - step.dx, z.y - step.dy, z.goalx, z.goaly);
        if (now >= before) z.mode = floorInt(rnd.next() * 3);
    }
    if (view.autozibupdate()) view.zibdataupdate();
}

template void generic::movezib(World&, RandomSource&, Presentation&);
template void generic::movezib(World&, Rnd&, Presentation&);
template void generic::movezib(World&, Rnd&, NullPresentation&);

void movezib(World& world, RandomSource& rnd, Presentation& view) {
    generic::movezib(world, rnd, view);
}

}  // namespace zibs

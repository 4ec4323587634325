#include <cmath>

#include "runtime/convert.h"
#include "sim/sim.h"

namespace zibs {

namespace {

struct Step {
    int dx = 0;
    int dy = 0;
};

// The day's step: the pulls of the active motors added up; opposite motors cancel.
Step motorstep(const Zib& z) {
    Step s;
    for (int j = 1; j <= 8; ++j) {
        const ZibCell& c = z.cells[j];
        // Without a branch: kinds and modes are random, so a branch here is mostly mispredicted.
        const int active = (c.kind == motor) & (c.mode == z.mode);
        s.dx += active * ring[j].dx;
        s.dy += active * ring[j].dy;
    }
    return s;
}

bool onGrid(int v) {
    return v >= 0 && v < gridSize;
}

// Euclidean distance rounded to the nearest integer, halves to even.
Integer roundedDistance(int x, int y, int toX, int toY) {
    const double dx = x - toX;
    const double dy = y - toY;
    return nearestInt(std::sqrt(dx * dx + dy * dy));
}

// The ring numbers of a zib's stores in ring order, found without a branch per cell: the store
// loops below then branch only on how many there are.
struct Stores {
    int count = 0;
    int cell[8];
};
Stores storesOf(const Zib& z) {
    Stores s;
    for (int j = 1; j <= 8; ++j) {
        s.cell[s.count] = j;
        s.count += z.cells[j].kind == store;
    }
    return s;
}

// The stores fill in ring order up to their capacity; each also sheds what it holds above its
// capacity, even when the grass is used up. A point grazed bare starts again from -10.
void graze(World& world, Zib& z, const Stores& stores, Presentation& view) {
    GrassCell& grass = world.grassAt(z.x, z.y);
    if (grass.amount <= 0) return;
    for (int k = 0; k < stores.count; ++k) {
        ZibCell& c = z.cells[stores.cell[k]];
        c.food = saturate(c.food + grass.amount);
        if (c.food > c.capacity) {
            grass.amount = saturate(c.food - c.capacity);
            c.food = c.capacity;
        } else {
            grass.amount = 0;
        }
    }
    if (grass.amount == 0) grass.amount = -10;
    const Rgb colour = grass.amount > 0 ? RGB(0, 51LL * grass.amount, 0) : black;
    view.plotgrass(z.x, z.y, 3, colour);
}

// Every ring cell costs its use; the stores pay in ring order and an unpaid rest is dropped.
void payUpkeep(Zib& z, const Stores& stores) {
    long long sum = 0;
    for (int j = 1; j <= 8; ++j) sum += z.cells[j].use;
    Integer owed = saturate(sum);
    for (int k = 0; k < stores.count; ++k) {
        ZibCell& c = z.cells[stores.cell[k]];
        c.food = saturate(c.food - owed);
        if (c.food >= 0) return;
        owed = saturate(-static_cast<long long>(c.food));
        c.food = 0;
    }
}

}  // namespace

void movezib(World& world, RandomSource& rnd, Presentation& view) {
    const Integer last = world.popstart;
    for (Integer i = 1; i <= last; ++i) {
        Zib& z = world.zibs[i];
        if (z.alive != 1) continue;
        view.erasezib(i);

        // Turn at random until the motors keep the zib on the grid.
        Step step = motorstep(z);
        while (!onGrid(z.x + step.dx) || !onGrid(z.y + step.dy)) {
            turnzib(world, floorInt(rnd.next() * 7 + 1), i, view);
            step = motorstep(z);
        }
        z.x = static_cast<Integer>(z.x + step.dx);
        z.y = static_cast<Integer>(z.y + step.dy);
        z.age = saturate(z.age + 1);

        const Stores stores = storesOf(z);
        graze(world, z, stores, view);
        payUpkeep(z, stores);

        long long food = 0;
        long long capacity = 0;
        for (int k = 0; k < stores.count; ++k) {
            food += z.cells[stores.cell[k]].food;
            capacity += z.cells[stores.cell[k]].capacity;
        }
        const Integer totalFood = saturate(food);
        const Integer totalCapacity = saturate(capacity);

        if (totalFood > 0.3 * totalCapacity && z.age > z.reproage) reproduce(world, i, rnd, view);
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

}  // namespace zibs

#include "sim/trace.h"

namespace zibs {

namespace {

void appendNumber(std::string& out, long long v) {
    out += ' ';
    out += std::to_string(v);
}

}  // namespace

void appendTrace(std::string& out, const World& world) {
    out += "day " + std::to_string(world.day) + " population " + std::to_string(world.population) +
           " popstart " + std::to_string(world.popstart) + "\ngrass";
    for (const GrassCell& g : world.grass) appendNumber(out, g.amount);
    out += '\n';
    for (int i = 1; i <= world.popstart && i <= lastRecord; ++i) {
        const Zib& z = world.zibs[i];
        out += "zib " + std::to_string(i);
        for (Integer v : {z.x, z.y, z.goalx, z.goaly, z.mode, z.age, z.reproage, z.alive}) {
            appendNumber(out, v);
        }
        for (int j = 1; j <= 8; ++j) {
            const ZibCell& c = z.cells[j];
            for (Integer v : {c.kind, c.capacity, c.use, c.food, c.mode}) appendNumber(out, v);
        }
        out += '\n';
    }
    out += "end\n";
}

}  // namespace zibs

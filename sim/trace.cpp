#include "sim/trace.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace zibs {

void appendTrace(std::string& out, const World& world) {
    // Written through a pointer into room made for the longest snapshot, then cut to its length:
    // a snapshot is thousands of short numbers, and appending them one by one costs more than
    // the numbers themselves.
    constexpr std::size_t widest = 7;  // a blank and "-32768"
    const int records = std::clamp<int>(world.popstart, 0, lastRecord);
    const std::size_t start = out.size();
    out.resize(start + 64 + widest * world.grass.size() + records * (4 + widest * (1 + 8 + 8 * 5)));
    char* p = out.data() + start;
    const auto text = [&p](std::string_view s) { p = std::copy(s.begin(), s.end(), p); };
    const auto number = [&p](long long v) {
        *p++ = ' ';
        p = std::to_chars(p, p + widest - 1, v).ptr;
    };

    text("day");
    number(world.day);
    text(" population");
    number(world.population);
    text(" popstart");
    number(world.popstart);
    text("\ngrass");
    for (const GrassCell& g : world.grass) number(g.amount);
    text("\n");
    for (int i = 1; i <= records; ++i) {
        const Zib& z = world.zibs[i];
        text("zib");
        number(i);
        for (Integer v : {z.x, z.y, z.goalx, z.goaly, z.mode, z.age, z.reproage, z.alive})
            number(v);
        for (int j = 1; j <= 8; ++j) {
            const ZibCell& c = z.cells[j];
            for (Integer v : {c.kind, c.capacity, c.use, c.food, c.mode}) number(v);
        }
        text("\n");
    }
    text("end\n");
    out.resize(static_cast<std::size_t>(p - out.data()));
}

}  // namespace zibs

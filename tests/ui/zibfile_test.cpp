#include "ui/zibfile.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "ui/Fmain.h"

namespace zibs {
namespace {

// The inspector's totals beyond the 16-bit range, and a selected record outside the array, which
// changes nothing. A body seen lately is shown again as kept, and that must be what drawing it
// afresh gives: a body, another one differing in cell 8 only, the first again, one with an unknown
// kind (drawn as an empty cell), a turn.
TEST(Inspector, WideTotalsNoSuchRecordAndPortraitsSeenBefore) {
    World world;
    Rnd rnd;
    Fmain main{world, rnd};
    zibfile form{main.forms()};
    world.selzib = 7;
    std::fill(world.zibs[7].cells.begin() + 1, world.zibs[7].cells.begin() + 9,
              ZibCell{store, 32767, 32767, 30000, 0});
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text() + " " + form.uselbl->text(), "240000/262136 262136");
    world.selzib = 101;
    form.zibdataupdate(world);
    EXPECT_EQ(form.uselbl->text(), "262136");

    world.selzib = 7;
    Zib& z7 = world.zibs[7];
    z7.alive = 1;
    const ZibCell ring[8] = {{store, 40, 1, 17, 0}, {motor, 31, 3, 0, 2},  {eye, 2, 2, 0, 0},
                             {empty, 0, 5, 0, 0},   {store, 80, 1, 28, 1}, {motor, 44, 3, 0, 0},
                             {eye, 1, 2, 0, 1},     {empty, 0, 0, 0, 0}};
    std::copy(ring, ring + 8, z7.cells.begin() + 1);
    const std::function<void(Zib&)> steps[] = {
        [](Zib&) {},
        [](Zib& z) { z.cells[8].kind = store; },
        [](Zib& z) { z.cells[8].kind = empty; },
        [](Zib& z) { z.cells[4].kind = 5; },
        [](Zib& z) { std::rotate(z.cells.begin() + 1, z.cells.begin() + 7, z.cells.begin() + 9); },
        [](Zib& z) { std::rotate(z.cells.begin() + 1, z.cells.begin() + 3, z.cells.begin() + 9); },
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i](z7);
        form.filepic->setDrawWidth(1);
        form.zibupdate(world);
        zibfile fresh{main.forms()};
        fresh.zibupdate(world);
        EXPECT_EQ(std::tuple(form.filepic->image(), form.filepic->DrawWidth()),
                  std::tuple(fresh.filepic->image(), fresh.filepic->DrawWidth()))
            << i;
    }
}

}  // namespace
}  // namespace zibs

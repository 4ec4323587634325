#include "ui/zibfile.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "ui/Fmain.h"

namespace zibs {
namespace {

// The inspector's figures in states the looks test does not show: a dead zib without stores,
// totals beyond the 16-bit range, and a selected record outside the array, which changes nothing.
TEST(ZibFigures, DeadWithoutStoresWideTotalsAndNoSuchRecord) {
    World world;
    Rnd rnd;
    Fmain main{world, rnd};
    zibfile form{main.forms()};
    world.selzib = 7;
    world.zibs[7].cells[2] = ZibCell{motor, 31, 3, 0, 2};
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text(), "0/0");
    EXPECT_EQ(form.alivelbl->text(), "Dead");
    EXPECT_EQ(form.alivelbl->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    std::fill(world.zibs[7].cells.begin() + 1, world.zibs[7].cells.begin() + 9,
              ZibCell{store, 32767, 32767, 30000, 0});
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text(), "240000/262136");
    EXPECT_EQ(form.uselbl->text(), "262136");
    world.selzib = 101;
    form.zibdataupdate(world);
    EXPECT_EQ(form.uselbl->text(), "262136");
}

}  // namespace
}  // namespace zibs

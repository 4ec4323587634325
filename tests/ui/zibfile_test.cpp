#include "ui/zibfile.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "ui/Fmain.h"

namespace zibs {
namespace {

// An inspector on its own, unframed and without its load handler: here it is the figures (the
// portrait and the places are looked at with the whole program). Zib 7 is selected; its ring
// cells 1..8 are a store, a motor in mode 2, an eye in mode 0, an empty cell with a use left over
// from an earlier kind, a second store, a motor, an eye, an empty cell.
class ZibfileTest : public ::testing::Test {
  protected:
    World world;
    Rnd rnd;
    Fmain main{world, rnd};
    zibfile form{main.forms()};

    ZibfileTest() {
        world.selzib = 7;
        zib().age = 9;
        zib().reproage = 4;
        zib().alive = 1;
        const ZibCell ring[8] = {{store, 40, 1, 17, 0}, {motor, 31, 3, 0, 2},  {eye, 2, 2, 0, 0},
                                 {empty, 0, 5, 0, 0},   {store, 80, 1, 28, 1}, {motor, 44, 3, 0, 0},
                                 {eye, 1, 2, 0, 1},     {empty, 0, 0, 0, 0}};
        std::copy(ring, ring + 8, zib().cells.begin() + 1);
    }

    Zib& zib() { return world.zibs[7]; }
};

TEST_F(ZibfileTest, FiguresOfAZib) {
    form.zibdataupdate(world);
    const char* cells[9] = {"", "17/40", "    2", "    0", "", "28/80", "    0", "    1", ""};
    for (int j = 1; j <= 8; ++j) EXPECT_EQ(form.lbl[j]->text(), cells[j]) << j;
    EXPECT_EQ(form.agelbl->text(), "9");
    EXPECT_EQ(form.foodlbl->text(), "45/120");
    EXPECT_EQ(form.uselbl->text(), "17");  // the empty cell's 5 counts
    EXPECT_EQ(form.Reprolbl->text(), "4");
    EXPECT_EQ(form.alivelbl->text(), "Alive");
    EXPECT_EQ(form.alivelbl->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    zib().alive = 0;
    form.zibdataupdate(world);
    EXPECT_EQ(form.alivelbl->text(), "Dead");
    EXPECT_EQ(form.alivelbl->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    for (int j : {1, 5}) zib().cells[j].kind = empty;  // no stores at all
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text(), "0/0");

    // Totals beyond the 16-bit range are shown exactly.
    std::fill(zib().cells.begin() + 1, zib().cells.begin() + 9,
              ZibCell{store, 32767, 32767, 30000, 0});
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text(), "240000/262136");
    EXPECT_EQ(form.uselbl->text(), "262136");

    // A record outside the array changes nothing.
    world.selzib = 101;
    form.zibdataupdate(world);
    EXPECT_EQ(form.uselbl->text(), "262136");
}

}  // namespace
}  // namespace zibs

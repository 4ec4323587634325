#include "ui/zibfile.h"

#include <QTest>
#include <algorithm>
#include <map>
#include <tuple>

#include <gtest/gtest.h>

#include "runtime/twips.h"
#include "ui/Fmain.h"

namespace zibs {
namespace {

ZibCell cell(Integer kind, Integer capacity, Integer use, Integer food, Integer mode) {
    return ZibCell{kind, capacity, use, food, mode};
}

// An inspector on its own, unframed and without its load handler: placement is the windows'
// business, here it is the figures and the portrait.
class ZibfileTest : public ::testing::Test {
  protected:
    World world;
    Rnd rnd;
    Fmain main{world, rnd};
    zibfile form{main.forms()};

    ZibfileTest() {
        world.selzib = 7;
        Zib& z = world.zibs[7];
        z.age = 9;
        z.reproage = 4;
        z.alive = 1;
        z.cells[1] = cell(store, 40, 1, 17, 0);
        z.cells[2] = cell(motor, 31, 3, 0, 2);
        z.cells[3] = cell(eye, 2, 2, 0, 0);
        z.cells[4] = cell(empty, 0, 5, 0, 0);  // left over from an earlier kind
        z.cells[5] = cell(store, 80, 1, 28, 1);
        z.cells[6] = cell(motor, 44, 3, 0, 0);
        z.cells[7] = cell(eye, 1, 2, 0, 1);
        z.cells[8] = cell(empty, 0, 0, 0, 0);
    }

    Zib& zib() { return world.zibs[7]; }
    Rgb at(int x, int y) const { return form.filepic->pixelAt(x, y); }
    QString cellText(int j) const { return form.lbl[j]->text(); }
};

// Drawing-area pixels of the 3 x 3 portrait (263 pixels across): a square's centre (c + 0.5)
// falls on pixel 44, 131 or 218 for odd pen widths; even widths centre on the pixel corners 44,
// 132 and 219.

TEST_F(ZibfileTest, LayoutAndInitialTexts) {
    EXPECT_EQ(form.windowTitle(), "");
    EXPECT_EQ(form.size(), QSize(314, 375));
    EXPECT_EQ(form.filepic->geometry(), QRect(30, 0, 267, 267));
    EXPECT_EQ(form.filepic->image().size(), QSize(263, 263));
    EXPECT_EQ(form.filepic->ScaleWidth(), 3);
    EXPECT_EQ(form.filepic->ScaleHeight(), 3);
    EXPECT_EQ(form.filepic->BackColor(), black);
    EXPECT_EQ(form.filepic->ForeColor(), white);
    EXPECT_EQ(at(131, 131), black);  // empty until the first portrait

    const QRect cellRects[9] = {{131, 131, 41, 15}, {44, 44, 41, 15},   {131, 44, 41, 15},
                                {219, 44, 41, 15},  {219, 131, 41, 15}, {219, 219, 41, 15},
                                {131, 219, 41, 15}, {44, 219, 41, 15},  {44, 131, 41, 15}};
    for (int j = 0; j <= 8; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(form.lbl[j]->parentWidget(), form.filepic);
        EXPECT_EQ(form.lbl[j]->geometry(), cellRects[j]);
        EXPECT_EQ(form.lbl[j]->palette().color(QPalette::WindowText), QColor(255, 255, 255));
        EXPECT_FALSE(form.lbl[j]->autoFillBackground());
        EXPECT_EQ(cellText(j), j == 0 ? "000" : "Label4");
        EXPECT_EQ(form.lbl[j]->isHidden(), j == 0);
    }

    struct Figure {
        QLabel* label;
        const char* text;
        QRect rect;
    };
    const Figure figures[] = {
        {form.Label1, "Age", {22, 280, 51, 19}},        {form.agelbl, "0", {76, 280, 67, 19}},
        {form.Label3, "Food", {22, 302, 51, 19}},       {form.foodlbl, "0", {76, 302, 67, 19}},
        {form.Label2, "Use", {22, 324, 51, 19}},        {form.uselbl, "0", {76, 324, 67, 19}},
        {form.Label5, "Repro age", {148, 302, 51, 19}}, {form.Reprolbl, "0", {202, 302, 67, 19}},
    };
    for (const Figure& f : figures) {
        SCOPED_TRACE(f.text);
        EXPECT_EQ(f.label->text(), f.text);
        EXPECT_EQ(f.label->geometry(), f.rect);
        EXPECT_TRUE(f.label->font().family() == "Times New Roman" ||
                    f.label->font().family() == "Liberation Serif");
        EXPECT_EQ(f.label->font().pointSizeF(), 12);
        EXPECT_FALSE(f.label->font().bold());
    }

    EXPECT_EQ(form.alivelbl->text(), "Alive");
    EXPECT_EQ(form.alivelbl->geometry(), QRect(154, 276, 99, 23));
    const QFont aliveFont = form.alivelbl->font();
    EXPECT_TRUE(aliveFont.family() == "Tahoma" || aliveFont.family() == "DejaVu Sans");
    EXPECT_EQ(aliveFont.pointSizeF(), 14.25);
    EXPECT_TRUE(aliveFont.bold());
    EXPECT_TRUE(aliveFont.underline());
    EXPECT_TRUE(form.alivelbl->autoFillBackground());
    EXPECT_EQ(form.alivelbl->palette().color(QPalette::Window), QColor(192, 192, 192));
}

TEST_F(ZibfileTest, FiguresOfAZib) {
    form.zibdataupdate(world);
    EXPECT_EQ(form.agelbl->text(), "9");
    EXPECT_EQ(cellText(1), "17/40");
    EXPECT_EQ(cellText(2), "    2");
    EXPECT_EQ(cellText(3), "    0");
    EXPECT_EQ(cellText(4), "");
    EXPECT_EQ(cellText(5), "28/80");
    EXPECT_EQ(cellText(6), "    0");
    EXPECT_EQ(cellText(7), "    1");
    EXPECT_EQ(cellText(8), "");
    EXPECT_EQ(cellText(0), "000");
    EXPECT_TRUE(form.lbl[0]->isHidden());
    EXPECT_EQ(form.foodlbl->text(), "45/120");
    EXPECT_EQ(form.uselbl->text(), "17");  // the empty cell's 5 counts
    EXPECT_EQ(form.alivelbl->text(), "Alive");
    EXPECT_EQ(form.alivelbl->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(form.Reprolbl->text(), "4");

    // Twice without a change: the same texts.
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text(), "45/120");
    EXPECT_EQ(cellText(2), "    2");
}

TEST_F(ZibfileTest, FiguresShowFieldsUnchanged) {
    // Kinds other than store count as motor or eye; modes and values as they stand.
    zib().cells[1] = cell(store, 40, -2, 0, 0);  // an empty store
    zib().cells[2] = cell(7, 0, 3, 0, -1);
    zib().age = -3;
    form.zibdataupdate(world);
    EXPECT_EQ(cellText(1), "0/40");
    EXPECT_EQ(cellText(2), "   -1");
    EXPECT_EQ(form.agelbl->text(), "-3");
    EXPECT_EQ(form.foodlbl->text(), "28/120");
    EXPECT_EQ(form.uselbl->text(), "14");

    // No stores at all.
    for (int j = 1; j <= 8; ++j)
        if (zib().cells[j].kind == store) zib().cells[j].kind = empty;
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text(), "0/0");
    EXPECT_EQ(cellText(1), "");

    // Totals beyond the 16-bit range are shown exactly.
    for (int j = 1; j <= 8; ++j) zib().cells[j] = cell(store, 32767, 32767, 30000, 0);
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text(), "240000/262136");
    EXPECT_EQ(form.uselbl->text(), "262136");
}

TEST_F(ZibfileTest, AliveAndDead) {
    form.resize(314, 375);
    auto redPixels = [&] {
        const QImage shot = form.alivelbl->grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) n += shot.pixel(x, y) == qRgb(255, 0, 0);
        return n;
    };

    zib().alive = 0;
    form.zibdataupdate(world);
    EXPECT_EQ(form.alivelbl->text(), "Dead");
    EXPECT_EQ(form.alivelbl->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(redPixels(), 0);
    EXPECT_EQ(form.agelbl->text(), "9");  // a dead zib's figures are still shown

    zib().alive = 1;
    form.zibdataupdate(world);
    EXPECT_EQ(form.alivelbl->text(), "Alive");
    EXPECT_GT(redPixels(), 20);
    EXPECT_EQ(form.alivelbl->grab().toImage().pixel(97, 1), qRgb(192, 192, 192));
}

TEST_F(ZibfileTest, RecordOutsideTheArrayChangesNothing) {
    world.selzib = 101;
    form.zibdataupdate(world);
    form.zibupdate(world);
    EXPECT_EQ(form.agelbl->text(), "0");
    EXPECT_EQ(cellText(1), "Label4");
    EXPECT_EQ(at(131, 131), black);
}

TEST_F(ZibfileTest, PortraitBallsByKind) {
    form.zibupdate(world);
    // Body: white in the middle (the last nine discs clip at 255), dark grey at the rim.
    EXPECT_EQ(at(131, 131), RGB(255, 255, 255));
    EXPECT_EQ(at(120, 131), RGB(255, 255, 255));
    EXPECT_EQ(at(175, 132), RGB(13, 13, 13));  // only in the first disc, 88 across
    EXPECT_EQ(at(176, 132), black);
    // Store (square 1): the last of 20 red levels.
    EXPECT_EQ(at(44, 44), RGB(241, 0, 0));
    EXPECT_EQ(at(44 + 42, 44), RGB(13, 0, 0));  // rim of the first disc, 86 across
    // Motor (square 2).
    EXPECT_EQ(at(132, 44), RGB(241, 241, 0));
    // Eye (square 3): black pupil 20 across, blue-green iris, shaded white.
    EXPECT_EQ(at(218, 44), black);
    EXPECT_EQ(at(228, 44), black);
    EXPECT_EQ(at(234, 44), RGB(0, 75, 172));  // inside the iris disc 32 across, not 30
    EXPECT_EQ(at(258, 44), RGB(92, 92, 92));  // inside the white disc 81 across, not 79
    // Empty squares stay black.
    EXPECT_EQ(at(218, 131), black);
    EXPECT_EQ(at(44, 131), black);
    // Squares 5, 6 and 7: a second store, a motor, an eye.
    EXPECT_EQ(at(218, 218), RGB(241, 0, 0));
    EXPECT_EQ(at(132, 218), RGB(241, 241, 0));
    EXPECT_EQ(at(44, 218), black);
    EXPECT_EQ(at(44 + 15, 219), RGB(0, 75, 172));
}

// The colour levels along the middle row of the body and the ring squares 4 and 8 give each
// disc's diameter: every disc leaves a ring of its own colour that spans the row from edge to
// edge (for even widths too, the row lying half a pixel off their centre).
TEST_F(ZibfileTest, PortraitDiscDiameters) {
    auto extents = [&](int x0, int x1) {
        std::map<std::tuple<int, int, int>, int> width;
        std::map<std::tuple<int, int, int>, int> first;
        for (int x = x0; x <= x1; ++x) {
            const Rgb c = at(x, 131);
            const auto key = std::make_tuple(int{c.r}, int{c.g}, int{c.b});
            if (!first.count(key)) first[key] = x;
            width[key] = x - first[key] + 1;
        }
        return width;
    };
    using Key = std::tuple<int, int, int>;
    auto expectDiscs = [&](const std::map<Key, int>& seen, int discs, int firstWidth, int step,
                           auto colour) {
        for (int n = discs - 1; n >= 0; --n) {
            const Rgb c = colour(n);
            const Key key{c.r, c.g, c.b};
            // Where the last levels clip at 255, the widest of those discs shows.
            if (n > 0 && colour(n - 1) == c) continue;
            ASSERT_TRUE(seen.count(key)) << n;
            EXPECT_EQ(seen.at(key), firstWidth + step * n) << n;
        }
    };
    auto level = [](int start, int step) {
        return [=](int n) { return std::min(255, start + step * n); };
    };

    for (int j = 1; j <= 8; ++j) zib().cells[j] = ZibCell{};
    form.zibupdate(world);
    const auto body = extents(0, 262);
    expectDiscs(body, 30, 88, -3, [&](int n) {
        const int g = level(13, 12)(n);
        return RGB(g, g, g);
    });
    EXPECT_EQ(body.at({255, 255, 255}), 25);

    zib().cells[8] = cell(store, 40, 1, 0, 0);
    zib().cells[4] = cell(eye, 1, 2, 0, 0);
    form.zibupdate(world);
    expectDiscs(extents(0, 87), 20, 86, -4, [&](int n) { return RGB(level(13, 12)(n), 0, 0); });
    const auto eyeball = extents(174, 262);
    expectDiscs(eyeball, 20, 89, -2, [&](int n) {
        const int v = level(12, 20)(n);
        return RGB(v, v, v);
    });
    expectDiscs(eyeball, 20, 48, -2, [&](int n) { return RGB(0, 75, level(12, 20)(n)); });
    EXPECT_EQ(eyeball.at({0, 0, 0}), 20);  // the pupil

    zib().cells[8] = cell(motor, 40, 1, 0, 0);
    form.zibupdate(world);
    expectDiscs(extents(0, 87), 20, 86, -4, [&](int n) {
        const int g = level(13, 12)(n);
        return RGB(g, g, 0);
    });
}

TEST_F(ZibfileTest, PortraitOfAnEyeOnTheRight) {
    for (int j = 1; j <= 8; ++j) zib().cells[j] = ZibCell{};
    zib().cells[4] = cell(eye, 1, 2, 0, 0);
    zib().cells[8] = cell(9, 0, 0, 0, 0);  // no kind the portrait knows: left black
    form.zibupdate(world);
    // Pupil: exactly 20 pixels across, centred on the corner at (219, 132).
    for (int x = 209; x <= 228; ++x) EXPECT_EQ(at(x, 131), black) << x;
    EXPECT_NE(at(208, 131), black);
    EXPECT_NE(at(229, 131), black);
    const Rgb iris = at(229, 131);
    EXPECT_EQ(iris.r, 0);
    EXPECT_EQ(iris.g, 75);
    EXPECT_EQ(at(219 + 23, 132), RGB(0, 75, 12));  // outermost iris disc, 48 across
    EXPECT_EQ(at(44, 131), black);
    EXPECT_EQ(at(218, 44), black);
}

TEST_F(ZibfileTest, PortraitIsRepaintedWhole) {
    form.zibupdate(world);
    const QImage first = form.filepic->image().copy();
    form.zibupdate(world);
    EXPECT_EQ(form.filepic->image(), first);

    // Another zib in between leaves nothing behind.
    Zib other{};
    for (int j = 1; j <= 8; ++j) other.cells[j] = cell(eye, 0, 0, 0, 0);
    world.zibs[3] = other;
    world.selzib = 3;
    form.zibupdate(world);
    EXPECT_NE(form.filepic->image(), first);
    world.selzib = 7;
    form.zibupdate(world);
    EXPECT_EQ(form.filepic->image(), first);
}

TEST_F(ZibfileTest, PortraitFollowsATurn) {
    for (int j = 1; j <= 8; ++j) zib().cells[j] = ZibCell{};
    zib().cells[1] = cell(store, 40, 1, 17, 0);
    zib().cells[2] = cell(eye, 1, 2, 0, 0);
    form.zibupdate(world);
    EXPECT_EQ(at(44, 44), RGB(241, 0, 0));
    EXPECT_EQ(at(131, 44), black);  // the eye's pupil
    EXPECT_EQ(at(151, 44).g, 75);   // and its iris
    const Rgb body = at(150, 131);

    // A quarter turn: every cell two ring positions on, clockwise.
    std::array<ZibCell, 11> turned{};
    for (int j = 1; j <= 8; ++j) turned[(j + 1) % 8 + 1] = zib().cells[j];
    zib().cells = turned;
    form.zibupdate(world);
    EXPECT_EQ(at(44, 44), black);
    EXPECT_EQ(at(219, 44), RGB(241, 0, 0));
    EXPECT_EQ(at(218, 131), black);  // the eye's pupil, now on the right
    EXPECT_EQ(at(218 + 20, 131).g, 75);
    EXPECT_EQ(at(151, 44), black);
    EXPECT_EQ(at(150, 131), body);
    EXPECT_EQ(at(131, 131), RGB(255, 255, 255));
}

TEST_F(ZibfileTest, CellFiguresLetThePortraitShowThrough) {
    form.zibupdate(world);
    form.zibdataupdate(world);  // cell 4 is empty: its label shows no text
    const QImage shot = form.grab().toImage();
    // Label 4 lies over the empty, black square 4 (the portrait starts at (30, 0)).
    EXPECT_EQ(shot.pixel(30 + 219 + 10, 131 + 7), qRgb(0, 0, 0));
    // Label 5 over the store ball: the ball around the text, white text on it.
    bool white = false, red = false;
    for (int y = 219; y < 219 + 15; ++y) {
        for (int x = 30 + 219; x < 30 + 219 + 41; ++x) {
            const QRgb p = shot.pixel(x, y);
            white = white || (qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200);
            red = red || (qRed(p) > 0 && qGreen(p) == 0 && qBlue(p) == 0);
        }
    }
    EXPECT_TRUE(white);
    EXPECT_TRUE(red);
}

}  // namespace
}  // namespace zibs

#include "ui/zibfile.h"

#include <QTest>
#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "ui/Fmain.h"

namespace zibs {
namespace {

using Key = std::tuple<int, int, int>;

const auto grey = [](int v) { return RGB(v, v, v); };
const auto level = [](int start, int step, int n) { return std::min(255, start + step * n); };

// An inspector on its own, unframed and without its load handler: placement is the windows'
// business, here it is the figures and the portrait. Zib 7 is selected; its ring cells 1..8 are
// a store, a motor in mode 2, an eye in mode 0, an empty cell with a use left over from an
// earlier kind, a second store, a motor, an eye, an empty cell.
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
    Rgb at(int x, int y) const { return form.filepic->pixelAt(x, y); }

    // For each colour along the middle row of the portrait from x0 to x1, the span from its first
    // to its last pixel. Every disc leaves a ring of its own colour that spans the row from edge
    // to edge (even widths too, the row lying half a pixel off their centre): its diameter.
    std::map<Key, int> spans(int x0, int x1) const {
        std::map<Key, int> first, width;
        for (int x = x0; x <= x1; ++x) {
            const Rgb c = at(x, 131);
            const Key key{c.r, c.g, c.b};
            first.try_emplace(key, x);
            width[key] = x - first[key] + 1;
        }
        return width;
    }
};

// Disc n of a ball is widest + step * n across in colour(n); where the last levels clip at 255,
// the widest of the discs sharing that colour shows.
template <class Colour>
void expectDiscs(const std::map<Key, int>& seen, int discs, int widest, int step, Colour colour) {
    for (int n = 0; n < discs; ++n) {
        const Rgb c = colour(n);
        if (n > 0 && colour(n - 1) == c) continue;
        ASSERT_TRUE(seen.count({c.r, c.g, c.b})) << n;
        EXPECT_EQ(seen.at({c.r, c.g, c.b}), widest + step * n) << n;
    }
}

// The portrait is 263 drawing-area pixels across at scale 3: a square's centre (c + 0.5) falls
// on pixel 44, 131 or 218 for odd pen widths; even widths centre on the corners 44, 132 and 219.

// A record outside the array changes nothing.
TEST_F(ZibfileTest, InitialTextsAndPlacement) {
    world.selzib = 101;
    form.zibdataupdate(world);
    form.zibupdate(world);
    for (int j = 0; j <= 8; ++j) EXPECT_EQ(form.lbl[j]->text(), j == 0 ? "000" : "Label4") << j;
    EXPECT_TRUE(form.lbl[0]->isHidden());
    const std::pair<QLabel*, const char*> figures[] = {
        {form.Label1, "Age"},       {form.agelbl, "0"},   {form.Label3, "Food"},
        {form.foodlbl, "0"},        {form.Label2, "Use"}, {form.uselbl, "0"},
        {form.Label5, "Repro age"}, {form.Reprolbl, "0"}, {form.alivelbl, "Alive"}};
    for (auto [label, text] : figures) EXPECT_EQ(label->text(), text);
    // Twips to pixels, on a few representatives.
    EXPECT_EQ(form.filepic->geometry(), QRect(30, 0, 267, 267));
    EXPECT_EQ(form.filepic->image().size(), QSize(263, 263));
    EXPECT_EQ(form.Label5->geometry(), QRect(148, 302, 51, 19));
    EXPECT_EQ(at(131, 131), black);  // empty until the first portrait
}

// Each cell figure has its top left at the centre of its square of the portrait's drawing area,
// inside the border; "Repro age" shows whole in its box, in the figures' font.
TEST_F(ZibfileTest, FiguresFitTheirPlaces) {
    const int border = form.filepic->borderWidth();
    for (int j = 1; j <= 8; ++j) {
        const QPoint centre = form.filepic->toPixel(1.5 + ring[j].dx, 1.5 + ring[j].dy);
        const QPoint off = form.lbl[j]->pos() - QPoint(border, border) - centre;
        EXPECT_TRUE(std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1) << j;
    }
    // Its words stand on the same line as "Food" and the figure beside it.
    const QLabel* repro = form.Label5;
    const QFontMetrics metrics(repro->font());
    EXPECT_LE(metrics.horizontalAdvance(repro->text()), repro->contentsRect().width());
    EXPECT_LE(metrics.height(), repro->contentsRect().height());
    EXPECT_EQ(QFontInfo(repro->font()).family(), QFontInfo(form.Label3->font()).family());
    const auto baseline = [](const QLabel* l) {
        return l->y() + l->contentsRect().top() + QFontMetrics(l->font()).ascent();
    };
    EXPECT_EQ(baseline(repro), baseline(form.Label3));
    EXPECT_EQ(baseline(repro), baseline(form.Reprolbl));
}

TEST_F(ZibfileTest, FiguresOfAZib) {
    form.zibdataupdate(world);
    const char* cells[9] = {"000", "17/40", "    2", "    0", "", "28/80", "    0", "    1", ""};
    for (int j = 0; j <= 8; ++j) EXPECT_EQ(form.lbl[j]->text(), cells[j]) << j;
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
}

TEST_F(ZibfileTest, PortraitBallsByKind) {
    form.zibupdate(world);
    EXPECT_EQ(at(131, 131), white);            // body: the last discs clip at 255
    EXPECT_EQ(at(44, 44), RGB(241, 0, 0));     // store: the last of 20 red levels
    EXPECT_EQ(at(132, 44), RGB(241, 241, 0));  // motor
    EXPECT_EQ(at(218, 44), black);             // eye: the pupil
    EXPECT_EQ(at(234, 44), RGB(0, 75, 172));   // and its iris
    EXPECT_EQ(at(218, 131), black);            // an empty square stays black

    // The cell labels let the portrait show through: empty label 4 over the black square.
    form.zibdataupdate(world);
    EXPECT_EQ(form.grab().toImage().pixel(30 + 219 + 10, 131 + 7), qRgb(0, 0, 0));
}

// Measured along the middle row: the body alone, then a store on the left and an eye on the
// right, then a motor on the left.
TEST_F(ZibfileTest, PortraitDiscSequences) {
    std::fill(zib().cells.begin() + 1, zib().cells.begin() + 9, ZibCell{});
    form.zibupdate(world);
    expectDiscs(spans(0, 262), 30, 88, -3, [](int n) { return grey(level(13, 12, n)); });

    zib().cells[8] = ZibCell{store, 40, 1, 0, 0};
    zib().cells[4] = ZibCell{eye, 1, 2, 0, 0};
    form.zibupdate(world);
    expectDiscs(spans(0, 87), 20, 86, -4, [](int n) { return RGB(level(13, 12, n), 0, 0); });
    const auto eyeball = spans(174, 262);
    expectDiscs(eyeball, 20, 89, -2, [](int n) { return grey(level(12, 20, n)); });
    expectDiscs(eyeball, 20, 48, -2, [](int n) { return RGB(0, 75, level(12, 20, n)); });
    EXPECT_EQ(eyeball.at({0, 0, 0}), 20);  // the pupil

    zib().cells[8] = ZibCell{motor, 40, 1, 0, 0};
    form.zibupdate(world);
    expectDiscs(spans(0, 87), 20, 86, -4,
                [](int n) { return RGB(level(13, 12, n), level(13, 12, n), 0); });
}

// Twice the same portrait; then a quarter turn moves every cell two ring positions on, clockwise,
// and nothing stays behind.
TEST_F(ZibfileTest, PortraitIsRepaintedWholeAndFollowsATurn) {
    form.zibupdate(world);
    const QImage first = form.filepic->image().copy();
    form.zibupdate(world);
    EXPECT_EQ(form.filepic->image(), first);
    std::rotate(zib().cells.begin() + 1, zib().cells.begin() + 7, zib().cells.begin() + 9);
    form.zibupdate(world);
    EXPECT_EQ(at(219, 44), RGB(241, 0, 0));     // the store from square 1
    EXPECT_EQ(at(219, 131), RGB(241, 241, 0));  // the motor from square 2
    EXPECT_EQ(at(218, 218), black);             // the eye from square 3: its pupil
    EXPECT_EQ(at(234, 218), RGB(0, 75, 172));   // and its iris
    EXPECT_EQ(at(132, 44), black);              // square 2 is empty now
}

// A body seen lately is shown again as kept, and that must be what drawing it afresh gives: a
// body, another one differing in cell 8 only, the first again, one with an unknown kind (drawn as
// an empty cell), a turn.
TEST_F(ZibfileTest, PortraitSeenBeforeIsAsDrawnAfresh) {
    const std::function<void(Zib&)> steps[] = {
        [](Zib&) {},
        [](Zib& z) { z.cells[8].kind = store; },
        [](Zib& z) { z.cells[8].kind = empty; },
        [](Zib& z) { z.cells[4].kind = 5; },
        [](Zib& z) { std::rotate(z.cells.begin() + 1, z.cells.begin() + 7, z.cells.begin() + 9); },
        [](Zib& z) { std::rotate(z.cells.begin() + 1, z.cells.begin() + 3, z.cells.begin() + 9); },
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i](zib());
        form.filepic->setDrawWidth(1);
        form.zibupdate(world);
        zibfile fresh{main.forms()};
        fresh.zibupdate(world);
        EXPECT_EQ(form.filepic->image(), fresh.filepic->image()) << i;
        EXPECT_EQ(form.filepic->DrawWidth(), fresh.filepic->DrawWidth()) << i;
    }
}

}  // namespace
}  // namespace zibs

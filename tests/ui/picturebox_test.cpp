#include "runtime/picturebox.h"

#include <set>

#include "app_fixture.h"

namespace zibs {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of the drawing area that differ from the background colour.
PixelSet painted(const PictureBox& box) {
    PixelSet out;
    const QImage& img = box.image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!(box.pixelAt(x, y) == box.BackColor())) out.insert({x, y});
    return out;
}

PixelSet block(int x0, int x1, int y0, int y1) {
    PixelSet out;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) out.insert({x, y});
    return out;
}

// A cleared black box of size x size pixels at one unit per pixel.
void setUp(PictureBox& box, int size) {
    box.resize(size, size);
    box.setBackColor(black);
    box.Cls();
}

// The cases: tests/data/picturebox_dots.txt.
TEST(PictureBoxCanvas, DotsExactAtEveryWidthForeColorClsAndCopies) {
    PictureBox box;
    for (const auto& c : testing::cases("picturebox_dots.txt")) {
        setUp(box, 41);
        box.setDrawWidth(std::stoi(c[0]));
        box.PSet(std::stod(c[1]), std::stod(c[2]), white);
        int x0 = 0, x1 = -1, y0 = 0, y1 = -1;
        if (c.size() > 3) std::istringstream(c[3]) >> x0 >> x1 >> y0 >> y1;
        EXPECT_EQ(painted(box), block(x0, x1, y0, y1)) << c[0] << " at " << c[1] << "," << c[2];
    }

    // Every width from 1 to 91 is exactly the round disc of the pixels whose centres lie within
    // w / 2 of the dot's centre: the middle of pixel 60 for odd widths, the corner at 61 for even
    // ones. That makes each dot w pixels across and symmetric about its centre lines and diagonals.
    for (int w = 1; w <= 91; ++w) {
        setUp(box, 121);
        box.setDrawWidth(w);
        box.PSet(60, 60, white);
        const double c = w % 2 ? 60 : 60.5;
        PixelSet disc;
        for (auto [x, y] : block(0, 120, 0, 120))
            if ((x - c) * (x - c) + (y - c) * (y - c) <= w * w / 4.0) disc.insert({x, y});
        ASSERT_EQ(painted(box), disc) << w;
    }

    // A pen chosen before the canvas changes size keeps its shape on the new canvas.
    box.setDrawWidth(3);
    setUp(box, 61);
    box.PSet(30, 30, white);
    EXPECT_EQ(painted(box), block(29, 31, 29, 31));

    // PSet without a colour draws in the ForeColor; Cls paints all in the BackColor; a copy keeps
    // its pixels and can be put back, but not one of another size.
    setUp(box, 41);
    box.setForeColor(RGB(10, 200, 30));
    box.PSet(5, 6);
    EXPECT_EQ(box.pixelAt(5, 6), RGB(10, 200, 30));
    const QImage drawn = box.image();
    box.setBackColor(RGB(0, 0, 200));
    box.Cls();
    EXPECT_TRUE(painted(box).empty());
    EXPECT_TRUE(box.restore(drawn) && box.image() == drawn);
    box.PSet(7, 7);
    EXPECT_EQ(drawn.pixel(7, 7), qRgb(0, 0, 0));
    EXPECT_TRUE(!box.restore(QImage(40, 41, QImage::Format_RGB32)) &&
                box.pixelAt(7, 7) == RGB(10, 200, 30));
}

// A 281 box with a border, drawn on while hidden and then shown: the 277 x 277 drawing area inside
// the 2-pixel frame at scale 20 with the pixels drawn before. (Clicks through the frame: the
// world window's picking tests; the frame's colours: the looks test's picture.)
TEST(PictureBoxWidget, BorderScaleAndCanvas) {
    PictureBox box;
    box.resize(281, 281);
    box.setBackColor(black);
    box.setBorder(true);
    box.setScaleWidth(20);
    box.setScaleHeight(20);
    box.PSet(0, 0, white);
    box.PSet(20, 20, RGB(255, 0, 0));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(std::tuple(box.image().size(), box.toPixel(20, 20), box.toUser(QPointF(138, 69))),
              std::tuple(QSize(277, 277), QPoint(276, 276), QPointF(10, 5)));
    const QImage shot = box.grab().toImage();
    EXPECT_EQ(std::tuple(shot.pixel(2, 2), shot.pixel(278, 278)),
              std::tuple(qRgb(255, 255, 255), qRgb(255, 0, 0)));

    // Different scales on the two axes; without the border the area is the whole widget.
    box.setScaleWidth(500);
    EXPECT_EQ(box.toPixel(500, 10), QPoint(276, 138));
    box.setBorder(false);
    EXPECT_EQ(box.image().size(), QSize(281, 281));
}

}  // namespace
}  // namespace zibs

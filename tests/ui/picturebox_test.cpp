#include "runtime/picturebox.h"

#include <QTest>
#include <cmath>
#include <set>
#include <utility>

#include <gtest/gtest.h>

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

// A borderless black box whose scale is left at one unit per pixel.
struct PixelBox {
    PictureBox box;
    explicit PixelBox(int size = 41) {
        box.resize(size, size);
        box.setBackColor(black);
        box.Cls();
    }
};

TEST(PictureBoxDots, SmallWidthsCoverExactPixels) {
    PixelBox p;
    // Width 1 is the pixel holding the point.
    p.box.setDrawWidth(1);
    p.box.PSet(10, 10, white);
    EXPECT_EQ(painted(p.box), block(10, 10, 10, 10));

    // Width 2 is centred on the pixel corner nearest the point: user (10, 10) is the middle of
    // pixel 10, and the tie goes to the corner at its lower right.
    p.box.Cls();
    p.box.setDrawWidth(2);
    p.box.PSet(10, 10, white);
    EXPECT_EQ(painted(p.box), block(10, 11, 10, 11));
    p.box.Cls();
    p.box.PSet(10.3, 9.6, white);  // nearest corner (11, 10)
    EXPECT_EQ(painted(p.box), block(10, 11, 9, 10));

    p.box.Cls();
    p.box.setDrawWidth(3);
    p.box.PSet(10, 10, white);
    EXPECT_EQ(painted(p.box), block(9, 11, 9, 11));

    // Width 4 loses its corners.
    p.box.Cls();
    p.box.setDrawWidth(4);
    p.box.PSet(10, 10, white);
    PixelSet four = block(9, 12, 9, 12);
    for (auto corner : PixelSet{{9, 9}, {12, 9}, {9, 12}, {12, 12}}) four.erase(corner);
    EXPECT_EQ(painted(p.box), four);
}

TEST(PictureBoxDots, WidthBelowOneCountsAsOne) {
    PixelBox p;
    p.box.setDrawWidth(0);
    EXPECT_EQ(p.box.DrawWidth(), 1);
    p.box.setDrawWidth(-5);
    p.box.PSet(3, 4, white);
    EXPECT_EQ(painted(p.box), block(3, 3, 4, 4));
}

TEST(PictureBoxDots, WidestDotIsARoundDiscOf91Pixels) {
    PixelBox p(201);
    p.box.setDrawWidth(91);
    p.box.PSet(100, 100, white);
    const PixelSet dot = painted(p.box);
    // Exactly the pixels whose centres lie within 45.5 of the centre of pixel 100.
    PixelSet expected;
    for (int y = 0; y < 201; ++y)
        for (int x = 0; x < 201; ++x)
            if ((x - 100) * (x - 100) + (y - 100) * (y - 100) <= 45.5 * 45.5)
                expected.insert({x, y});
    EXPECT_EQ(dot, expected);
    EXPECT_TRUE(dot.count({55, 100}) && dot.count({145, 100}));
    EXPECT_FALSE(dot.count({54, 100}) || dot.count({146, 100}));
    EXPECT_TRUE(dot.count({100, 55}) && dot.count({100, 145}));
}

// For every width the inspector and the world view use: the dot is w pixels across in both
// directions, symmetric about its centre lines and its diagonal, and close to a disc in area.
TEST(PictureBoxDots, EveryWidthIsSymmetricAndRound) {
    for (int w = 1; w <= 91; ++w) {
        SCOPED_TRACE(w);
        PixelBox p(121);
        p.box.setDrawWidth(w);
        p.box.PSet(60, 60, white);
        const PixelSet dot = painted(p.box);
        int x0 = 1000, x1 = -1, y0 = 1000, y1 = -1;
        for (auto [x, y] : dot) {
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
        ASSERT_EQ(x1 - x0 + 1, w);
        ASSERT_EQ(y1 - y0 + 1, w);
        // Odd widths sit on pixel 60, even ones on the corner at 61.
        EXPECT_EQ(x0, w % 2 ? 60 - w / 2 : 61 - w / 2);
        EXPECT_EQ(y0, x0);
        bool symmetric = true;
        for (auto [x, y] : dot) {
            symmetric = symmetric && dot.count({x0 + x1 - x, y}) && dot.count({x, y0 + y1 - y}) &&
                        dot.count({y, x});
        }
        EXPECT_TRUE(symmetric);
        if (w >= 4) {
            EXPECT_FALSE(dot.count({x0, y0}));  // no square corners
            const double disc = M_PI * w * w / 4;
            EXPECT_NEAR(static_cast<double>(dot.size()), disc, 0.08 * disc + 2);
        }
    }
}

TEST(PictureBoxDots, DotsOnTheEdgesAreCutOff) {
    PictureBox box;
    box.resize(277, 277);
    box.setBackColor(black);
    box.setScaleWidth(20);
    box.setScaleHeight(20);
    box.Cls();
    box.setDrawWidth(3);
    box.PSet(0, 0, white);
    EXPECT_EQ(painted(box), block(0, 1, 0, 1));
    box.Cls();
    box.PSet(20, 20, white);
    EXPECT_EQ(painted(box), block(275, 276, 275, 276));
    box.Cls();
    box.setDrawWidth(91);
    box.PSet(-100, 5, white);  // wholly outside
    box.PSet(1e30, 5, white);
    box.PSet(std::nan(""), 5, white);
    EXPECT_TRUE(painted(box).empty());
}

TEST(PictureBoxDots, PSetWithoutColourUsesForeColor) {
    PixelBox p;
    p.box.setForeColor(RGB(10, 200, 30));
    p.box.PSet(5, 6);
    EXPECT_EQ(p.box.pixelAt(5, 6), RGB(10, 200, 30));
    EXPECT_EQ(p.box.pixelAt(6, 6), black);
}

TEST(PictureBoxCanvas, ClsFillsWithTheBackgroundColour) {
    PixelBox p;
    p.box.setDrawWidth(9);
    p.box.PSet(20, 20, white);
    p.box.setBackColor(RGB(0, 0, 200));
    p.box.Cls();
    const QImage& img = p.box.image();
    ASSERT_EQ(img.size(), QSize(41, 41));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ASSERT_EQ(p.box.pixelAt(x, y), RGB(0, 0, 200));
}

TEST(PictureBoxCanvas, CopiesOfTheImageKeepTheirPixels) {
    PixelBox p;
    const QImage before = p.box.image();
    p.box.PSet(3, 3, white);
    EXPECT_EQ(before.pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(p.box.pixelAt(3, 3), white);
    const QImage after = p.box.image();
    p.box.Cls();
    p.box.PSet(4, 4, white);
    EXPECT_EQ(after.pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_EQ(after.pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_EQ(painted(p.box), block(4, 4, 4, 4));
}

TEST(PictureBoxCanvas, KeepsItsPixelsWhenShownAfterDrawing) {
    PictureBox box;
    box.resize(60, 50);
    box.setBackColor(black);
    box.PSet(7, 8, white);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.image().size(), QSize(60, 50));
    EXPECT_EQ(box.pixelAt(7, 8), white);
    EXPECT_EQ(box.grab().toImage().pixel(7, 8), qRgb(255, 255, 255));
}

TEST(PictureBoxScale, UserUnitsSpanTheArea) {
    PictureBox box;
    box.resize(277, 277);
    // Unset, one unit is one pixel.
    EXPECT_EQ(box.ScaleWidth(), 276);
    EXPECT_EQ(box.toPixel(12, 34), QPoint(12, 34));

    box.setScaleWidth(20);
    box.setScaleHeight(20);
    EXPECT_EQ(box.toPixel(0, 0), QPoint(0, 0));
    EXPECT_EQ(box.toPixel(20, 20), QPoint(276, 276));
    EXPECT_EQ(box.toPixel(10, 10), QPoint(138, 138));
    EXPECT_EQ(box.toPixel(5, 15), QPoint(69, 207));
    EXPECT_EQ(box.toUser(QPointF(276, 276)), QPointF(20, 20));
    EXPECT_EQ(box.toUser(QPointF(138, 69)), QPointF(10, 5));

    box.setBackColor(black);
    box.Cls();
    box.PSet(10, 10, white);
    EXPECT_EQ(painted(box), block(138, 138, 138, 138));

    // Different scales on the two axes.
    box.setScaleWidth(500);
    box.setScaleHeight(100);
    EXPECT_EQ(box.toPixel(500, 50), QPoint(276, 138));
}

TEST(PictureBoxBorder, SunkenFrameAroundTheDrawingArea) {
    PictureBox box;
    box.resize(281, 281);
    box.setBackColor(RGB(0, 0, 255));
    box.setBorder(true);
    EXPECT_EQ(box.borderWidth(), 2);
    EXPECT_EQ(box.image().size(), QSize(277, 277));
    box.setScaleWidth(20);
    box.setScaleHeight(20);
    box.setDrawWidth(1);
    box.PSet(0, 0, white);
    box.PSet(20, 20, RGB(255, 0, 0));

    const QImage shot = box.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(281, 281));
    auto at = [&](int x, int y) { return QColor(shot.pixel(x, y)).rgb(); };
    const QRgb grey = qRgb(128, 128, 128), dark = qRgb(64, 64, 64);
    const QRgb light = qRgb(212, 208, 200), whiteLine = qRgb(255, 255, 255);
    // Outer line.
    EXPECT_EQ(at(0, 0), grey);
    EXPECT_EQ(at(140, 0), grey);
    EXPECT_EQ(at(0, 140), grey);
    EXPECT_EQ(at(280, 0), whiteLine);
    EXPECT_EQ(at(0, 280), whiteLine);
    EXPECT_EQ(at(140, 280), whiteLine);
    EXPECT_EQ(at(280, 140), whiteLine);
    EXPECT_EQ(at(280, 280), whiteLine);
    // Inner line.
    EXPECT_EQ(at(1, 1), dark);
    EXPECT_EQ(at(140, 1), dark);
    EXPECT_EQ(at(1, 140), dark);
    EXPECT_EQ(at(140, 279), light);
    EXPECT_EQ(at(279, 140), light);
    EXPECT_EQ(at(279, 279), light);
    EXPECT_EQ(at(1, 279), light);
    EXPECT_EQ(at(279, 1), light);
    // The drawing area starts inside the frame.
    EXPECT_EQ(at(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(at(278, 278), qRgb(255, 0, 0));
    EXPECT_EQ(at(3, 3), qRgb(0, 0, 255));

    box.setBorder(false);
    EXPECT_EQ(box.image().size(), QSize(281, 281));
}

TEST(PictureBoxMouse, MouseDownReportsUserUnits) {
    PictureBox box;
    box.resize(281, 281);
    box.setBorder(true);
    box.setScaleWidth(20);
    box.setScaleHeight(20);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    int calls = 0;
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers mods;
    double ux = -1, uy = -1;
    QObject::connect(&box, &PictureBox::MouseDown,
                     [&](Qt::MouseButton b, Qt::KeyboardModifiers m, double x, double y) {
                         ++calls, button = b, mods = m, ux = x, uy = y;
                     });

    // Widget (140, 71) is area pixel (138, 69).
    QTest::mouseClick(&box, Qt::RightButton, Qt::ShiftModifier, QPoint(140, 71));
    ASSERT_EQ(calls, 1);
    EXPECT_EQ(button, Qt::RightButton);
    EXPECT_EQ(mods, Qt::KeyboardModifiers(Qt::ShiftModifier));
    EXPECT_DOUBLE_EQ(ux, 10);
    EXPECT_DOUBLE_EQ(uy, 5);

    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(2, 278));
    ASSERT_EQ(calls, 2);
    EXPECT_DOUBLE_EQ(ux, 0);
    EXPECT_DOUBLE_EQ(uy, 20);

    // On the frame: nothing.
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(1, 100));
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(100, 279));
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace zibs

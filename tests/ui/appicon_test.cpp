// The program's icon: a zib on black as the world picture draws one, sharp at every size.
#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include "ui/appicon.h"

namespace zibs {
namespace {

TEST(AppIcon, AZibOnBlackAtEverySize) {
    // Points of the 48-unit drawing: the centre, ring cells 1, 2 and 4, a gap, the black around.
    const std::tuple<int, int, QRgb> points[] = {
        {24, 24, qRgb(127, 127, 127)}, {10, 10, qRgb(0, 0, 255)}, {24, 10, qRgb(255, 0, 0)},
        {38, 24, qRgb(255, 255, 0)},   {17, 24, qRgb(0, 0, 0)},   {2, 24, qRgb(0, 0, 0)}};
    for (const int size : {16, 48, 256}) {
        const QImage image = appIcon().pixmap(size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        for (const auto& [x, y, colour] : points)
            EXPECT_EQ(image.pixel(x * size / 48, y * size / 48), colour) << size << " " << x;
    }
}

}  // namespace
}  // namespace zibs

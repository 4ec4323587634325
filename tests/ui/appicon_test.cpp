// The program's icon: a zib on black as the world picture draws one, sharp at every size.
#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include "ui/appicon.h"

namespace zibs {
namespace {

TEST(AppIcon, AZibOnBlackAtEverySize) {
    const QColor grey(127, 127, 127), red(255, 0, 0), yellow(255, 255, 0), blue(0, 0, 255),
        black(0, 0, 0);
    // Points of the 48-unit drawing: the centre, ring cells 1 to 8 and the gaps between them.
    const struct {
        int x, y;
        QColor colour;
    } points[] = {
        {24, 24, grey},   {10, 10, blue},  {24, 10, red},    {38, 10, blue},
        {38, 24, yellow}, {38, 38, red},   {24, 38, yellow}, {10, 38, red},
        {10, 24, yellow}, {17, 24, black}, {24, 31, black},  {2, 24, black},
    };
    const QIcon icon = appIcon();
    for (const int size : {16, 32, 48, 256}) {
        const QImage image = icon.pixmap(size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        for (const auto& p : points) {
            EXPECT_EQ(image.pixelColor(p.x * size / 48, p.y * size / 48), p.colour)
                << "size " << size << " at (" << p.x << ", " << p.y << ")";
        }
    }
}

}  // namespace
}  // namespace zibs

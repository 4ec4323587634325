// The program as the user sees it, compared with a picture of it taken, with the fonts build.sh
// installs, when its looks were checked. To take the picture again after changing the looks on
// purpose, run
//     ZIBS_REFRESH_PICTURES=1 ./build/tests/ui_tests --gtest_filter='Looks.*'
// and look at tests/data/*.png before committing them. The program's icon: at a few points.
#include <QDir>

#include "app_fixture.h"
#include "ui/appicon.h"

namespace zibs {
namespace {

using Looks = AppTest;

// Compares a rendering of `shown` with tests/data/<name>, allowing 3 in each colour channel; on a
// difference, tells how many pixels differ and where the picture taken was put.
void expectPicture(QWidget* shown, const QString& name) {
    const QImage shot = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString path = QStringLiteral(ZIBS_TEST_DATA "/") + name;
    if (qEnvironmentVariableIsSet("ZIBS_REFRESH_PICTURES")) {
        ASSERT_TRUE(shot.save(path)) << path.toStdString();
        return;
    }
    const QImage want = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), want.size()) << path.toStdString();
    int differing = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb a = shot.pixel(x, y), b = want.pixel(x, y);
            differing += std::abs(qRed(a) - qRed(b)) > 3 || std::abs(qGreen(a) - qGreen(b)) > 3 ||
                         std::abs(qBlue(a) - qBlue(b)) > 3;
        }
    if (differing == 0) return;
    const QString taken = QDir::temp().filePath(name);
    shot.save(taken);
    ADD_FAILURE() << differing << " pixels differ from " << path.toStdString()
                  << "; the picture taken is " << taken.toStdString();
}

// The four windows in their places with their controls and texts, after a few zibs have been
// painted and one of them picked.
TEST_F(Looks, TheWholeProgram) {
    Fworld& w = window<Fworld>();
    // Grass from black to full green along a row, and a wide patch that shows what is erased.
    for (int x = 0; x <= 20; ++x) w.plotgrass(x, 16, 3, RGB(0, 13 * x, 0));
    w.plotgrass(6, 5, 70, RGB(0, 120, 0));
    // Zib 1 has every kind of cell and one of an unknown kind 5, which is not painted; zib 2 is
    // cut off in the corner; zibs 3 and 4, painted out on the patch, leave black points for
    // every cell that is not empty. Zib 1's figures: food and capacity of its stores, modes of its
    // motors and eyes, and a use of every cell, the empty one's left over from an earlier kind.
    world.popstart = 4;
    world.zibs[1] = zibAt(10, 10, {});
    const ZibCell ring[8] = {{store, 40, 1, 17, 0}, {motor, 31, 3, 0, 2},  {eye, 2, 2, 0, 0},
                             {5, 0, 5, 0, 1},       {store, 80, 1, 28, 1}, {motor, 44, 3, 0, 0},
                             {eye, 1, 2, 0, 1},     {empty, 0, 4, 0, 0}};
    std::copy(ring, ring + 8, world.zibs[1].cells.begin() + 1);
    world.zibs[1].age = 9;
    world.zibs[1].reproage = 4;
    world.zibs[2] = zibAt(0, 20, {store, motor, eye, eye, store, store, store, store});
    world.zibs[3] = world.zibs[4] = zibAt(5, 5, {store, 5, empty, eye});
    world.zibs[4].x = 7;
    for (Integer i = 1; i <= 4; ++i) w.drawzib(i);
    w.erasezib(3);
    w.drawdeadzib(4);
    // The graph's corners and middle; the last points lie beyond it, and their figures show.
    for (auto [day, population] : {std::pair{0, 100}, {250, 50}, {500, 0}, {501, -3}, {20, 140}}) {
        world.day = static_cast<Integer>(day);
        world.population = static_cast<Integer>(population);
        window<graph>().updategraph(world);
    }

    // Zib 1 picked, then turned by two cells: the portrait follows, the figures with the day.
    QTest::mouseClick(w.pic, Qt::LeftButton, Qt::NoModifier, w.pic->toPixel(10, 10) + QPoint(2, 2));
    turnzib(world, 2, 1, w);
    w.zibdataupdate();
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    expectPicture(&fmain, "program.png");
}

// The program's icon: a zib on black as the world picture draws one, sharp at every size.
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

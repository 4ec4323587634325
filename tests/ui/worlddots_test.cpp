// The world picture holds its dots back until it is shown or read: it must then hold exactly the
// pixels of a picture painted dot by dot as the days ran.

#include "../core/testsupport.h"
#include "sim/sim.h"
#include "tests/ui/app_fixture.h"

namespace zibs {
namespace {

// A world of its own painted on a picture of its own, every dot at once, as the world picture
// always looked; the calls that do not paint are only recorded.
struct DotByDot final : testing::RecordingView {
    PictureBox pic;
    World world;
    Rnd rnd{31};

    explicit DotByDot(QSize size) {
        pic.setBorder(true);
        pic.setBackColor(black);
        pic.resize(size);
        pic.setScaleWidth(20);
        pic.setScaleHeight(20);
    }
    void drawzib(Integer i) override { paint(i, false); }
    void erasezib(Integer i) override { paint(i, true); }
    void drawdeadzib(Integer i) override { paint(i, true); }
    void plotgrass(Integer x, Integer y, int width, Rgb colour) override {
        pic.setDrawWidth(width);
        pic.PSet(x, y, colour);
    }
    void clearworld() override { pic.Cls(); }
    void paint(Integer i, bool erase) {
        static constexpr Rgb kinds[] = {black, RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 0, 255)};
        const Zib& z = world.zibs[i];
        pic.setDrawWidth(2);
        pic.PSet(z.x, z.y, erase ? black : RGB(127, 127, 127));
        for (int j = 1; j <= 8; ++j) {
            const Integer k = z.cells[j].kind;
            if (k > 0 && (erase || k <= eye))
                pic.PSet(static_cast<float>(z.x + 0.3 * ring[j].dx),
                         static_cast<float>(z.y + 0.3 * ring[j].dy), erase ? black : kinds[k]);
        }
    }
};

using WorldDotsTest = AppTest;

// A world of some 30 to 60 zibs crossing each other's points, at the usual size and at sizes where
// the dots of neighbouring points overlap, compared after single days and after long stretches.
TEST_F(WorldDotsTest, PictureEqualsOnePaintedDotByDot) {
    Fworld& w = window<Fworld>();
    for (const QSize size : {w.pic->size(), QSize(34, 30), QSize(64, 64)}) {
        w.pic->resize(size);
        DotByDot ref(size);
        rnd = Rnd(31);
        const Parameters params;  // seed 31 with these lives to the day limit
        initworld(world, params, rnd, w);
        initworld(ref.world, params, ref.rnd, ref);
        for (int day = 1; day <= 300; ++day) {
            daystep(world, rnd, w);
            daystep(ref.world, ref.rnd, ref);
            if (day % 37 != 0 && day > 3) continue;
            ASSERT_EQ(w.pic->image(), ref.pic.image())
                << "day " << day << ", size " << size.width();
        }
    }
}

}  // namespace
}  // namespace zibs

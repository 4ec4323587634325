// The world picture holds its dots back until it is shown or read: it must then hold exactly the
// pixels of a picture painted dot by dot as the days ran.

#include "sim/sim.h"
#include "tests/ui/app_fixture.h"
#include "ui/Fworld.h"

namespace zibs {
namespace {

// Paints every dot at once, as the world picture always looked.
class DotByDot final : public Presentation {
  public:
    DotByDot(PictureBox& pic, const World& world) : pic_(pic), world_(world) {}
    void drawzib(Integer i) override { paint(i, false); }
    void erasezib(Integer i) override { paint(i, true); }
    void drawdeadzib(Integer i) override { paint(i, true); }
    void plotgrass(Integer x, Integer y, int width, Rgb colour) override {
        pic_.setDrawWidth(width);
        pic_.PSet(x, y, colour);
    }
    void clearworld() override {
        pic_.Cls();
        pic_.setScaleWidth(20);
        pic_.setScaleHeight(20);
    }
    void cleargraph() override {}
    void updategraph() override {}
    void zibdataupdate() override {}
    void zibupdate() override {}
    bool autozibupdate() const override { return false; }

  private:
    void paint(Integer i, bool erase) {
        static constexpr Rgb kinds[] = {black, RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 0, 255)};
        const Zib& z = world_.zibs[i];
        pic_.setDrawWidth(2);
        pic_.PSet(z.x, z.y, erase ? black : RGB(127, 127, 127));
        for (int j = 1; j <= 8; ++j) {
            const Integer k = z.cells[j].kind;
            if (k <= 0 || (!erase && k > eye)) continue;
            pic_.PSet(static_cast<float>(z.x + 0.3 * ring[j].dx),
                      static_cast<float>(z.y + 0.3 * ring[j].dy), erase ? black : kinds[k]);
        }
    }
    PictureBox& pic_;
    const World& world_;
};

using WorldDotsTest = AppTest;

// A world of some 30 to 60 zibs crossing each other's points, at the usual size and at sizes where
// the dots of neighbouring points overlap, compared after single days and after long stretches.
TEST_F(WorldDotsTest, PictureEqualsOnePaintedDotByDot) {
    Fworld& w = window<Fworld>();
    const QSize usual = w.pic->size();
    for (const QSize size : {usual, QSize(34, 30), QSize(64, 64)}) {
        w.pic->resize(size);
        PictureBox ref;
        ref.setBorder(true);
        ref.setBackColor(black);
        ref.resize(size);
        World refWorld;
        DotByDot painter(ref, refWorld);
        Rnd refRnd(31);
        rnd = Rnd(31);
        const Parameters params;  // seed 31 with these lives to the day limit
        initworld(world, params, rnd, w);
        initworld(refWorld, params, refRnd, painter);
        for (int day = 1; day <= 300; ++day) {
            daystep(world, rnd, w);
            daystep(refWorld, refRnd, painter);
            if (day % 37 != 0 && day > 3) continue;
            ASSERT_EQ(w.pic->image(), ref.image()) << "day " << day << ", size " << size.width();
        }
    }
}

}  // namespace
}  // namespace zibs

#pragma once

#include <array>

#include "runtime/colour.h"
#include "sim/lineage.h"
#include "sim/world.h"

namespace zibs {

// The colour of a grass point, and whether it has grass to show.
struct GrassShade {
    Rgb colour;
    bool shown = false;
};
using GrassShades = std::array<GrassShade, gridSize * gridSize>;

// What the simulation asks of the windows. The world window implements it; tests record the
// calls; the headless runner ignores them. The painters read the record from the world they show.
class Presentation {
  public:
    virtual ~Presentation() = default;

    // The world picture: paint a zib, paint its points black, paint it out when it died.
    virtual void drawzib(Integer index) = 0;
    virtual void erasezib(Integer index) = 0;
    virtual void drawdeadzib(Integer index) = 0;
    // Plots a grass point (x, y) of the world picture with the given pen width and colour.
    virtual void plotgrass(Integer x, Integer y, int drawWidth, Rgb colour) = 0;
    // The grass of a day's growth at once: every point with grass (shade[x + 21 * y] set),
    // column by column, 3 pixels wide. The same as plotting them one by one, as this does; a
    // picture may do it in one go.
    virtual void plotgrowngrass(const GrassShades& shades) {
        for (int x = 0; x < gridSize; ++x)
            for (int y = 0; y < gridSize; ++y)
                if (const GrassShade g = shades[x + gridSize * y]; g.shown)
                    plotgrass(static_cast<Integer>(x), static_cast<Integer>(y), 3, g.colour);
    }
    // Clears the world picture and gives it its 20 x 20 user scale.
    virtual void clearworld() = 0;
    // Clears the graph picture.
    virtual void cleargraph() = 0;

    virtual void updategraph() = 0;          // plot (day, population), set the figures
    virtual void zibdataupdate() = 0;        // the inspector's figures
    virtual void zibupdate() = 0;            // the inspector's portrait
    virtual bool autozibupdate() const = 0;  // the "Auto Zib update" option

    // A newborn in record `child`, copied from record `parent` and turned, during the day being
    // run; and the zib in record `index` has died. For keeping the lineage: nothing is drawn.
    virtual void zibborn(const World&, Integer /*parent*/, Integer /*child*/) {}
    virtual void zibdied(const World&, Integer /*index*/) {}
};

// A presentation that shows nothing (the headless runner, benchmarks of the core); given a
// lineage, it keeps it.
class NullPresentation final : public Presentation {
  public:
    NullPresentation() = default;
    explicit NullPresentation(Lineage* lineage) : lineage_(lineage) {}

    void drawzib(Integer) override {}
    void erasezib(Integer) override {}
    void drawdeadzib(Integer) override {}
    void plotgrass(Integer, Integer, int, Rgb) override {}
    void plotgrowngrass(const GrassShades&) override {}
    void clearworld() override {}
    void cleargraph() override {}
    void updategraph() override {}
    void zibdataupdate() override {}
    void zibupdate() override {}
    bool autozibupdate() const override { return false; }
    void zibborn(const World& world, Integer parent, Integer child) override {
        if (lineage_) lineage_->born(world, parent, child);
    }
    void zibdied(const World& world, Integer index) override {
        if (lineage_) lineage_->died(world, index);
    }

  private:
    Lineage* lineage_ = nullptr;
};

}  // namespace zibs

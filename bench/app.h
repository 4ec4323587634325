#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QString>
#include <cstdint>

#include "runtime/random.h"
#include "sim/sim.h"
#include "sim/world.h"
#include "ui/Fmain.h"
#include "ui/Fworld.h"
#include "ui/forms.h"
#include "ui/graph.h"
#include "ui/zibfile.h"

namespace zibs::bench {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QObject* watched) { watched->installEventFilter(this); }
    long long count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// The whole program as a user sees it after opening the world window, the graph and an
// inspector, on the offscreen platform: the main window shown, "Auto Zib update" on.
class Program {
  public:
    Program() {
        fmain.messageSink = [](const QString&) {};
        fmain.show();
        fmain.mnuopt[0]->setChecked(true);
        fworld = &fmain.forms().get<Fworld>();
        fmain.forms().get<graph>();
        fmain.forms().get<zibfile>();
        settle();
    }

    // A new world from the parameters and a fixed seed, as Initialize builds it, with the
    // inspector opened on zib 1 by clicking it; then every pending repaint is done.
    void initialize(const Parameters& params, std::uint32_t seed) {
        rnd.seed(seed);
        initworld(world, params, rnd, *fworld);
        fmain.forms().runlog.begin(seed, {}, params, world, rnd.state());
        if (world.popstart >= 1) {
            fworld->pic_MouseDown(Qt::LeftButton, Qt::NoModifier, world.zibs[1].x, world.zibs[1].y);
        }
        settle();
    }

    // One day as a run gives it: the daily step, kept in the run log, then one pass of the
    // window events in which the pictures and figures repaint. Kept out of line so that profiles
    // show the timed part of a benchmark apart from its set-up.
    [[gnu::noinline]] void day(bool events) {
        fworld->step();
        if (events) QCoreApplication::processEvents();
    }

    // Opens the Statistics window beside the others, as on a screen wide enough for all of them
    // (the offscreen screen is 800 pixels wide: there it would cover the inspector, which then
    // paints nothing).
    void openStatistics() {
        fmain.resize(fmain.width() + 520, fmain.height());
        fmain.cmd_Click(3);
        settle();
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    World world;
    Rnd rnd{1};
    Fmain fmain{world, rnd};
    Fworld* fworld = nullptr;
};

}  // namespace zibs::bench

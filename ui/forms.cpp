#include "ui/forms.h"

#include "ui/Fmain.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"
#include "ui/lineages.h"
#include "ui/statistics.h"
#include "ui/zibfile.h"

namespace zibs {

Forms::Forms(Fmain& mainWindow, QMdiArea* area, World& w, Rnd& r)
    : main(mainWindow),
      world(w),
      rnd(r),
      windows_(ChildWindow<Fworld>(area, [this] { return new Fworld(*this); }),
               ChildWindow<graph>(area, [this] { return new graph(*this); }),
               ChildWindow<zibfile>(area, [this] { return new zibfile(*this); }),
               ChildWindow<Fvariables>(area, [this] { return new Fvariables(*this); }),
               ChildWindow<statistics>(area,
                                       [this] {
                                           auto* charts = new statistics(*this);
                                           // A day picked on a chart is shown as a click on the
                                           // graph shows it.
                                           QObject::connect(charts, &statistics::dayPicked, charts,
                                                            [this](int day) { main.showDay(day); });
                                           return charts;
                                       }),
               ChildWindow<lineages>(area, [this] {
                   auto* window = new lineages(*this);
                   QObject::connect(window, &lineages::dayPicked, window,
                                    [this](int day) { main.showDay(day); });
                   return window;
               })) {}

}  // namespace zibs

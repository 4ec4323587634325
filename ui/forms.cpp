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
               ChildWindow<statistics>(area, [this] { return pickingDays(new statistics(*this)); }),
               ChildWindow<lineages>(area, [this] { return pickingDays(new lineages(*this)); })) {}

template <class Chart>
Chart* Forms::pickingDays(Chart* chart) {
    // A day picked on a chart is shown as a click on the graph shows it.
    QObject::connect(chart, &Chart::dayPicked, chart, [this](int day) { main.showDay(day); });
    return chart;
}

}  // namespace zibs

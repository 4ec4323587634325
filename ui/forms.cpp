#include "ui/forms.h"

#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"
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
               ChildWindow<statistics>(area, [this] { return new statistics(*this); })) {}

}  // namespace zibs

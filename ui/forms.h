#pragma once

#include <QMdiArea>
#include <tuple>

#include "runtime/childwindows.h"
#include "runtime/random.h"
#include "sim/runlog.h"
#include "sim/world.h"

namespace zibs {

class Fmain;
class Fworld;
class graph;
class zibfile;
class Fvariables;
class statistics;
class lineages;

// The child windows of the main window, each created on first reference, and what they
// all share: the world, the generator and the main window.
class Forms {
  public:
    Forms(Fmain& main, QMdiArea* area, World& world, Rnd& rnd);

    template <class Form>
    Form& get() {
        return std::get<ChildWindow<Form>>(windows_).get();
    }
    template <class Form>
    Form* existing() const {
        return std::get<ChildWindow<Form>>(windows_).existing();
    }

    Fmain& main;
    World& world;
    Rnd& rnd;
    RunLog runlog;  // the days of the current world, for export

  private:
    template <class Chart>
    Chart* pickingDays(Chart* chart);

    std::tuple<ChildWindow<Fworld>, ChildWindow<graph>, ChildWindow<zibfile>,
               ChildWindow<Fvariables>, ChildWindow<statistics>, ChildWindow<lineages>>
        windows_;
};

}  // namespace zibs

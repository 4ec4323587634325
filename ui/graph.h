#pragma once

#include <QLabel>

#include "runtime/childwindows.h"
#include "runtime/picturebox.h"
#include "sim/daystats.h"
#include "sim/world.h"

namespace zibs {

class Forms;

// The graph window "Graphs": one dot per day at (day, 100 - population), and both figures.
class graph : public ChildForm {
    Q_OBJECT
  public:
    explicit graph(Forms& forms);

    // Gives the plot its 500 x 100 scale and places the window under the world window; the
    // curve is that of the run, the figures those of the world's day.
    void Form_Load() override;
    void updategraph(const World& world);
    // Plots the curve afresh from the rows, one dot per day from day 1 as updategraph plots
    // them, and sets the figures to the last row's day and population.
    void drawhistory(const StatsHistory& rows);
    // The population and day figures of the world, without plotting.
    void showFigures(const World& world);
    // Marks `day` with a thin line over the plot, leaving the plot itself as it is; -1 removes
    // the mark.
    void markDay(int day);
    // The mark, or nullptr before the first.
    QWidget* dayMark() const { return dayMark_; }

    PictureBox* graphpic;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Poplbl;
    QLabel* daylbl;

  private:
    Forms& forms_;
    QWidget* dayMark_ = nullptr;
};

}  // namespace zibs

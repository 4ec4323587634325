#pragma once

#include <QChartView>
#include <QElapsedTimer>
#include <QLineSeries>
#include <QTimer>
#include <QValueAxis>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/childwindows.h"
#include "sim/daystats.h"

namespace zibs {

class Forms;

// The window "Statistics": the day's figures of the current world since its Initialize on four
// charts against the day, their plots one above the other on the same days: the population, the
// births and deaths, the mean cells of each kind per living zib, and the grass and food. During
// a run it catches up with the run log at most every 50 ms; when it does not exist, a run does
// nothing for it.
//
// Pointing within 8 pixels of a line shows the figure of its nearest day; a click in a plot goes
// to that day; a click on a legend entry hides or shows its line; each chart's context menu saves
// or copies its picture.
class statistics : public ChildForm {
    Q_OBJECT
  public:
    explicit statistics(Forms& forms);

    // Places the window to the right of the inspector, as tall as the world and graph windows
    // together, widening the main window for it when the screen has room.
    void Form_Load() override;

    // The run log has changed: a new world shows at once, new days within 50 ms or so.
    void follow();
    // Brings the charts up to the run log now (at the end of a run).
    void refresh();

    // Marks day D on every chart with a vertical line, the series unchanged; a negative day takes
    // the mark away.
    void markDay(int day);

    // One line of a chart and the figure of a day that it shows.
    struct Line {
        QLineSeries* series;
        double (*value)(const DayStats&);
        bool whole;  // a whole number (a count), or a mean shown with two decimals
    };
    struct Chart {
        QChartView* view;
        QValueAxis* x;
        QValueAxis* y;
        std::vector<Line> lines;
        QLineSeries* mark;  // the marked day, a vertical line over the whole height
        double highest = 0;
        double minStep = 1;  // the finest step of the figure axis
    };
    std::array<Chart, 4> charts;

    // What pointing at `at` (in the chart view's viewport) shows: the line within 8 pixels of it
    // and the figure of that line's nearest day, as "Population on day 150: 1234"; empty when no
    // shown line is that close.
    QString valueAt(const Chart& chart, QPointF at) const;

    // Writes the chart's picture as PNG, or as SVG for a name ending in ".svg". On failure the
    // user is told why and the result is false.
    bool savePicture(const Chart& chart, const QString& path);
    // Puts the chart's picture on the clipboard.
    void copyPicture(const Chart& chart);

  signals:
    // The user clicked a plot at this day (the nearest one that the charts hold).
    void dayPicked(int day);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    Chart makeChart(const char* title, const char* unit, double minStep);
    void addLine(Chart& chart, const char* name, QColor colour, double (*value)(const DayStats&),
                 bool whole = true);
    void addMenu(Chart& chart, const QString& name);
    void fitAxes();
    void alignPlots();
    void placeMark(Chart& chart);

    Forms& forms_;
    QTimer pending_;         // the next update during a run
    qint64 spentNs_ = 0;     // on the last update and the paints since
    qint64 lastCostNs_ = 0;  // on the update before, with its paints
    std::uint64_t rewrites_ = 0;
    StatsHistory rows_;     // the rows of the run log on the charts
    bool resized_ = false;  // the lines are to be drawn again for another width
    int firstDay_ = 0;
    int lastDay_ = 0;
    int markedDay_ = -1;
};

}  // namespace zibs

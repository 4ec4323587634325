#include "ui/statistics.h"

#include <QChart>
#include <QCursor>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPen>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/Fmain.h"
#include "ui/forms.h"
#include "ui/graph.h"
#include "ui/zibfile.h"

namespace zibs {

namespace {

// The charts catch up with a run at most this often, and less often when drawing them takes
// more than a tenth of that: whatever their cost, they take about a tenth of a run's time.
constexpr qint64 updateMs = 50;
constexpr qint64 costShare = 10;

// A chart view that adds the time its paints take to `spent`.
class TimedChartView : public QChartView {
  public:
    TimedChartView(QChart* chart, QWidget* parent, qint64& spent)
        : QChartView(chart, parent), spent_(spent) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        QElapsedTimer timer;
        timer.start();
        QChartView::paintEvent(event);
        spent_ += timer.nsecsElapsed();
    }

  private:
    qint64& spent_;
};

constexpr QMargins chartMargins(2, 2, 2, 2);

// Cells of a kind per living zib; 0 when none lives.
double perZib(std::int32_t cells, std::int32_t population) {
    return population > 0 ? static_cast<double>(cells) / population : 0.0;
}

// The smallest step of 1, 2 or 5 times a power of ten that is at least `v`.
double roundStep(double v) {
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= v * (1 - 1e-9)) return m * power;
    }
    return 10 * power;
}

// What an axis shows: from `low` to `high` with `ticks` marks.
struct Scale {
    double low, high;
    int ticks;
};

bool shows(const QValueAxis* axis, const Scale& s) {
    return axis->min() == s.low && axis->max() == s.high && axis->tickCount() == s.ticks;
}

void setScale(QValueAxis* axis, const Scale& s) {
    axis->setRange(s.low, s.high);
    axis->setTickCount(s.ticks);
}

// From 0 to the first round number at or above `high`, with marks at round steps of at least
// `minStep`.
Scale figureScale(double high, double minStep) {
    const double step = roundStep(std::max(high / 4, minStep));
    const double top = step * std::ceil(high / step - 1e-9);
    return {0, top, static_cast<int>(std::lround(top / step)) + 1};
}

// From `first` over the first span of 100, 150, 200, 300, 500, 700, 1000, 1500, ... days that
// reaches `last`, with a mark every 20, 50, 50, 100, 100, 100, 200, 500, ... days: during a run
// the days widen a few times, not every day.
Scale dayScale(double first, double last) {
    const double power = std::pow(10.0, std::floor(std::log10(std::max(last - first, 100.0))));
    const struct {
        double span;
        int marks;
    } steps[] = {{1, 5}, {1.5, 3}, {2, 4}, {3, 3}, {5, 5}, {7, 7}, {10, 5}};
    for (const auto& step : steps) {
        if (first + step.span * power >= last) {
            return {first, first + step.span * power, step.marks + 1};
        }
    }
    return {first, first + 10 * power, 6};
}

// The points of one figure over the rows for a plot `columns` pixels wide from day `first` to
// day `last`. Up to one row a column, every row is a point; beyond that each column keeps its
// lowest and highest row in the order of the days, which draws the same band of the line, and
// the line still starts on the first day and ends on the last.
QList<QPointF> linePoints(const StatsHistory& rows, double (*value)(const DayStats&), double first,
                          double last, int columns) {
    QList<QPointF> points;
    const std::size_t n = rows.size();
    auto add = [&](std::size_t i) { points.append(QPointF(rows[i].day, value(rows[i]))); };
    if (n <= static_cast<std::size_t>(columns)) {
        points.reserve(static_cast<qsizetype>(n));
        for (std::size_t i = 0; i < n; ++i) add(i);
        return points;
    }
    points.reserve(2 * columns + 2);
    const double perDay = columns / std::max(last - first, 1.0);
    auto column = [&](std::size_t i) { return std::floor((rows[i].day - first) * perDay); };
    for (std::size_t i = 0; i < n;) {
        const double here = column(i);
        std::size_t low = i, high = i, end = i + 1;
        double lowest = value(rows[i]), highest = lowest;
        for (; end < n && column(end) == here; ++end) {
            const double v = value(rows[end]);
            if (v < lowest) lowest = v, low = end;
            if (v > highest) highest = v, high = end;
        }
        // The line starts on the first day and ends on the last.
        std::size_t picks[] = {i == 0 ? 0 : low, std::min(low, high), std::max(low, high),
                               end == n ? n - 1 : high};
        std::sort(std::begin(picks), std::end(picks));
        for (std::size_t k = 0; k < 4; ++k) {
            if (k == 0 || picks[k] != picks[k - 1]) add(picks[k]);
        }
        i = end;
    }
    return points;
}

}  // namespace

statistics::statistics(Forms& forms) : ChildForm("Statistics", 7200, 8040), forms_(forms) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    charts[0] = makeChart("Population, births and deaths");
    addLine(charts[0], "Population", Qt::black,
            [](const DayStats& s) -> double { return s.population; });
    addLine(charts[0], "Births", QColor(0, 150, 0),
            [](const DayStats& s) -> double { return s.births; });
    addLine(charts[0], "Deaths (age)", QColor(128, 0, 160),
            [](const DayStats& s) -> double { return s.deathsAge; });
    addLine(charts[0], "Deaths (hunger)", QColor(230, 110, 0),
            [](const DayStats& s) -> double { return s.deathsHunger; });

    charts[1] = makeChart("Cells per living zib");
    addLine(
        charts[1], "Stores", QColor(230, 0, 0),
        [](const DayStats& s) { return perZib(s.stores, s.population); }, false);
    addLine(
        charts[1], "Motors", QColor(190, 150, 0),
        [](const DayStats& s) { return perZib(s.motors, s.population); }, false);
    addLine(
        charts[1], "Eyes", QColor(0, 0, 230),
        [](const DayStats& s) { return perZib(s.eyes, s.population); }, false);

    charts[2] = makeChart("Grass and food");
    addLine(charts[2], "Grass", QColor(0, 150, 0),
            [](const DayStats& s) -> double { return s.grass; });
    addLine(charts[2], "Food", QColor(150, 80, 0),
            [](const DayStats& s) -> double { return s.food; });

    for (Chart& chart : charts) {
        chart.mark = new QLineSeries(chart.view->chart());
        chart.mark->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        chart.view->chart()->addSeries(chart.mark);
        chart.mark->attachAxis(chart.x);
        chart.mark->attachAxis(chart.y);
        for (QLegendMarker* marker : chart.view->chart()->legend()->markers(chart.mark))
            marker->setVisible(false);
        layout->addWidget(chart.view);
    }
    // The charts are stacked on the same days: the bottom one names them.
    charts[0].x->setLabelsVisible(false);
    charts[1].x->setLabelsVisible(false);

    pending_.setSingleShot(true);
    connect(&pending_, &QTimer::timeout, this, &statistics::refresh);
    // The run log calls for the window only while it exists.
    forms_.runlog.setListener([self = QPointer<statistics>(this)] {
        if (self) self->follow();
    });
    connect(this, &ChildForm::closed, this, [this] { forms_.runlog.setListener(nullptr); });
    fitAxes();
    refresh();
}

statistics::Chart statistics::makeChart(const char* title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    QFont titleFont = font();
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->setBackgroundRoundness(0);
    chart->setMargins(chartMargins);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setFont(font());

    Chart c;
    c.x = new QValueAxis(chart);
    c.y = new QValueAxis(chart);
    c.x->setLabelFormat("%.0f");
    for (QValueAxis* axis : {c.x, c.y}) axis->setLabelsFont(font());
    chart->addAxis(c.x, Qt::AlignBottom);
    chart->addAxis(c.y, Qt::AlignLeft);
    c.view = new TimedChartView(chart, this, spentNs_);
    c.view->viewport()->installEventFilter(this);
    return c;
}

void statistics::addLine(Chart& chart, const char* name, QColor colour,
                         double (*value)(const DayStats&), bool whole) {
    auto* series = new QLineSeries(chart.view->chart());
    series->setName(name);
    series->setPen(QPen(colour, 1));
    chart.view->chart()->addSeries(series);
    series->attachAxis(chart.x);
    series->attachAxis(chart.y);
    chart.y->setLabelFormat(whole ? "%.0f" : "%.1f");
    const std::size_t c = static_cast<std::size_t>(&chart - charts.data());
    const std::size_t l = chart.lines.size();
    chart.lines.push_back({series, value, whole});
    connect(series, &QXYSeries::hovered, this, [this, c, l](const QPointF& at, bool hovering) {
        showValue(charts[c].lines[l], at, hovering);
    });
}

void statistics::Form_Load() {
    const zibfile& inspector = forms_.get<zibfile>();
    const graph& plot = forms_.get<graph>();
    setLeft(inspector.Left() + inspector.Width());
    setTop(0);
    setHeight(plot.Top() + plot.Height());

    // Room for it beside the other windows: the main window grows to the right as far as the
    // screen allows; what is still missing moves the window left, over the others.
    Fmain& main = forms_.main;
    QWidget* frame = parentWidget();
    QWidget* workspace = main.workspace()->viewport();
    const int missing = frame->geometry().right() + 1 - workspace->width();
    if (missing > 0 && !(main.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QRect screen = main.screen()->availableGeometry();
        const int room = std::max(0, screen.right() - main.frameGeometry().right());
        main.resize(main.width() + std::min(missing, room), main.height());
    }
    frame->move(std::clamp(frame->x(), 0, std::max(0, workspace->width() - frame->width())),
                frame->y());
    frame->resize(frame->width(), std::min(frame->height(), workspace->height()));
}

void statistics::follow() {
    // A new world (or one opened, or gone back in) shows at once; new days at the run's pace.
    if (forms_.runlog.rewrites() != rewrites_) {
        refresh();
        return;
    }
    if (!pending_.isActive())
        pending_.start(static_cast<int>(std::max(updateMs, costShare * lastCostNs_ / 1000000)));
}

void statistics::refresh() {
    pending_.stop();
    // A minimised window catches up when it is shown again.
    if (!isVisible()) return;
    const RunLog& log = forms_.runlog;
    // New days, or rows changed in place: a new world, an opened one, a day run again. While the
    // world is shown at an earlier day, the charts keep the whole run.
    if (log.runDays() == shown_ && log.rewrites() == rewrites_ && !resized_) return;
    const StatsHistory rows = log.runRows();
    // What the last update took, with the paints after it; this one is timed from here.
    QElapsedTimer timer;
    timer.start();
    lastCostNs_ = spentNs_;
    spentNs_ = 0;
    shown_ = rows.size();
    rewrites_ = log.rewrites();
    resized_ = false;
    for (Chart& chart : charts) {
        chart.highest = 0;
        for (const Line& line : chart.lines) {
            for (const DayStats& row : rows)
                chart.highest = std::max(chart.highest, line.value(row));
        }
    }
    firstDay_ = rows.empty() ? 0 : rows.front().day;
    lastDay_ = rows.empty() ? 0 : rows.back().day;
    fitAxes();
    // Each series takes its points at once: one change to draw, whatever their number. A long
    // history is drawn with about as many points as the plot has pixels across.
    for (Chart& chart : charts) {
        const int columns = std::max(1, static_cast<int>(chart.view->chart()->plotArea().width()));
        for (const Line& line : chart.lines) {
            line.series->replace(
                linePoints(rows, line.value, chart.x->min(), chart.x->max(), columns));
        }
    }
    spentNs_ += timer.nsecsElapsed();
}

void statistics::fitAxes() {
    std::array<std::pair<Scale, Scale>, 3> scales;
    bool moved = false;
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const Chart& chart = charts[i];
        scales[i] = {
            dayScale(firstDay_, lastDay_),
            figureScale(std::max(chart.highest, 1.0), chart.lines.front().whole ? 1 : 0.5)};
        moved |= !shows(chart.x, scales[i].first) || !shows(chart.y, scales[i].second);
    }
    if (!moved) return;
    // The lines go first, so that the charts are laid out anew without them and the lines are
    // placed once, on the new scales.
    for (Chart& chart : charts) {
        for (const Line& line : chart.lines) line.series->replace(QList<QPointF>());
    }
    for (std::size_t i = 0; i < charts.size(); ++i) {
        setScale(charts[i].x, scales[i].first);
        setScale(charts[i].y, scales[i].second);
        placeMark(charts[i]);
    }
    alignPlots();
}

void statistics::alignPlots() {
    // Each chart lays itself out for its labels and legend with the margins it has. Without the
    // margins added for the others, its plot would span from `own` to `ownRight`; the widest of
    // these lefts and the narrowest of the rights are then every chart's, so that a day stands at
    // the same place on all of them.
    std::array<qreal, 3> own{};
    std::array<qreal, 3> ownRight{};
    qreal left = 0;
    qreal right = width();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        QChart* c = charts[i].view->chart();
        c->layout()->activate();
        const QMargins added = c->margins() - chartMargins;
        own[i] = c->plotArea().left() - added.left();
        ownRight[i] = c->plotArea().right() + added.right();
        left = std::max(left, own[i]);
        right = std::min(right, ownRight[i]);
    }
    for (std::size_t i = 0; i < charts.size(); ++i) {
        QChart* c = charts[i].view->chart();
        const QMargins wanted =
            chartMargins + QMargins(qRound(left - own[i]), 0, qRound(ownRight[i] - right), 0);
        if (c->margins() == wanted) continue;
        c->setMargins(wanted);
        c->layout()->activate();
    }
}

void statistics::showEvent(QShowEvent* event) {
    ChildForm::showEvent(event);
    refresh();
}

void statistics::resizeEvent(QResizeEvent* event) {
    ChildForm::resizeEvent(event);
    alignPlots();
    resized_ = true;
    refresh();
}

void statistics::markDay(int day) {
    markedDay_ = day;
    for (Chart& chart : charts) placeMark(chart);
}

void statistics::placeMark(Chart& chart) {
    if (markedDay_ < 0) {
        chart.mark->clear();
        return;
    }
    chart.mark->replace({QPointF(markedDay_, chart.y->min()), QPointF(markedDay_, chart.y->max())});
}

void statistics::showValue(const Line& line, QPointF at, bool hovering) {
    if (!hovering) {
        QToolTip::hideText();
        return;
    }
    // The day's own figure, also where a long history is drawn with fewer points than days.
    const StatsHistory& rows = forms_.runlog.rows();
    const auto row = std::lower_bound(rows.begin(), rows.end(), std::lround(at.x()),
                                      [](const DayStats& s, long day) { return s.day < day; });
    if (row == rows.end()) return;
    const QString value = QString::number(line.value(*row), 'f', line.whole ? 0 : 2);
    QToolTip::showText(
        QCursor::pos(),
        QStringLiteral("%1 on day %2: %3").arg(line.series->name()).arg(row->day).arg(value), this);
}

bool statistics::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && shown_ > 0) {
        const auto* press = static_cast<QMouseEvent*>(event);
        for (const Chart& chart : charts) {
            if (watched != chart.view->viewport() || press->button() != Qt::LeftButton) continue;
            QChart* c = chart.view->chart();
            const QPointF at = c->mapFromScene(chart.view->mapToScene(press->position().toPoint()));
            const double day = c->mapToValue(at, chart.lines.front().series).x();
            emit dayPicked(
                static_cast<int>(std::clamp(std::round(day), double(firstDay_), double(lastDay_))));
        }
    }
    return ChildForm::eventFilter(watched, event);
}

}  // namespace zibs

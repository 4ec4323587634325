#include "ui/statistics.h"

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QClipboard>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGuiApplication>
#include <QLegendMarker>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <QSvgGenerator>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "files/filewriter.h"
#include "runtime/axisscale.h"
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

// How near a line the pointer shows its figure, in pixels.
constexpr double reach = 8;

// Cells of a kind per living zib; 0 when none lives.
double perZib(std::int32_t cells, std::int32_t population) {
    return population > 0 ? static_cast<double>(cells) / population : 0.0;
}

bool shows(const QValueAxis* axis, const AxisScale& s) {
    return axis->min() == s.low && axis->max() == s.high && axis->tickInterval() == s.interval &&
           (axis->tickType() == QValueAxis::TicksDynamic ||
            axis->tickCount() == std::lround((s.high - s.low) / s.interval) + 1);
}

// The marks never come closer than the old or the new interval in between: not thousands of them
// for a moment.
void setScale(QValueAxis* axis, const AxisScale& s) {
    axis->setTickInterval(std::max(axis->tickInterval(), s.interval));
    axis->setRange(s.low, s.high);
    axis->setTickInterval(s.interval);
    if (axis->tickType() == QValueAxis::TicksFixed)
        axis->setTickCount(static_cast<int>(std::lround((s.high - s.low) / s.interval)) + 1);
}

// The distance from `p` to the segment from `a` to `b`, and whether `b` is the nearer end.
std::pair<double, bool> segmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return {std::hypot(d.x(), d.y()), t > 0.5};
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

    charts[0] = makeChart("Population", "Zibs", 1);
    addLine(charts[0], "Population", Qt::black,
            [](const DayStats& s) -> double { return s.population; });

    charts[1] = makeChart("Births and deaths", "Zibs a day", 1);
    addLine(charts[1], "Births", QColor(0, 150, 0),
            [](const DayStats& s) -> double { return s.births; });
    addLine(charts[1], "Deaths (age)", QColor(128, 0, 160),
            [](const DayStats& s) -> double { return s.deathsAge; });
    addLine(charts[1], "Deaths (hunger)", QColor(230, 110, 0),
            [](const DayStats& s) -> double { return s.deathsHunger; });

    charts[2] = makeChart("Cells per living zib", "Cells", 0.5);
    addLine(
        charts[2], "Stores", QColor(230, 0, 0),
        [](const DayStats& s) { return perZib(s.stores, s.population); }, false);
    addLine(
        charts[2], "Motors", QColor(190, 150, 0),
        [](const DayStats& s) { return perZib(s.motors, s.population); }, false);
    addLine(
        charts[2], "Eyes", QColor(0, 0, 230),
        [](const DayStats& s) { return perZib(s.eyes, s.population); }, false);

    charts[3] = makeChart("Grass and food", "Units", 1);
    addLine(charts[3], "Grass", QColor(0, 150, 0),
            [](const DayStats& s) -> double { return s.grass; });
    addLine(charts[3], "Food", QColor(150, 80, 0),
            [](const DayStats& s) -> double { return s.food; });

    const char* names[] = {"population", "births-and-deaths", "cells", "grass-and-food"};
    for (std::size_t i = 0; i < charts.size(); ++i) {
        Chart& chart = charts[i];
        chart.mark = new QLineSeries(chart.view->chart());
        chart.mark->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        chart.view->chart()->addSeries(chart.mark);
        chart.mark->attachAxis(chart.x);
        chart.mark->attachAxis(chart.y);
        for (QLegendMarker* marker : chart.view->chart()->legend()->markers(chart.mark))
            marker->setVisible(false);
        addMenu(chart, names[i]);
        layout->addWidget(chart.view);
    }
    // The charts are stacked on the same days: the bottom one names them.
    for (std::size_t i = 0; i + 1 < charts.size(); ++i) charts[i].x->setLabelsVisible(false);
    charts.back().x->setTitleText("Day");
    // Down to this size every label, title and legend entry shows whole.
    setMinimumSize(420, 470);

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

statistics::Chart statistics::makeChart(const char* title, const char* unit, double minStep) {
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
    c.minStep = minStep;
    c.x = new QValueAxis(chart);
    c.y = new QValueAxis(chart);
    c.x->setLabelFormat("%.0f");
    c.y->setLabelFormat(minStep < 1 ? "%.1f" : "%.0f");
    c.y->setTitleText(unit);
    for (QValueAxis* axis : {c.x, c.y}) {
        axis->setLabelsFont(font());
        axis->setTitleFont(font());
        axis->setTickInterval(1);
        axis->setTickAnchor(0);
    }
    // The days end between two marks; a figure axis ends on one.
    c.x->setTickType(QValueAxis::TicksDynamic);
    chart->addAxis(c.x, Qt::AlignBottom);
    chart->addAxis(c.y, Qt::AlignLeft);
    c.view = new TimedChartView(chart, this, spentNs_);
    c.view->viewport()->installEventFilter(this);
    c.view->viewport()->setMouseTracking(true);
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
    chart.lines.push_back({series, value, whole});
    // A click on the legend entry hides the line or shows it again; the entry stays, paler
    // while its line is hidden.
    QLegendMarker* marker = chart.view->chart()->legend()->markers(series).value(0);
    connect(marker, &QLegendMarker::clicked, this, [series, marker] {
        series->setVisible(!series->isVisible());
        marker->setVisible(true);
        const qreal alpha = series->isVisible() ? 1.0 : 0.35;
        for (auto set : {&QLegendMarker::labelBrush, &QLegendMarker::brush}) {
            QBrush brush = (marker->*set)();
            QColor c = brush.color();
            c.setAlphaF(alpha);
            brush.setColor(c);
            if (set == &QLegendMarker::labelBrush)
                marker->setLabelBrush(brush);
            else
                marker->setBrush(brush);
        }
    });
}

void statistics::addMenu(Chart& chart, const QString& name) {
    QChartView* view = chart.view;
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    const std::size_t c = static_cast<std::size_t>(&chart - charts.data());
    auto* save = new QAction("Save picture...", view);
    connect(save, &QAction::triggered, this, [this, c, name] {
        QString path = forms_.main.savePathSource(
            "Save picture", "PNG pictures (*.png);;SVG pictures (*.svg)", name + ".png");
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += ".png";
        savePicture(charts[c], path);
    });
    auto* copy = new QAction("Copy", view);
    connect(copy, &QAction::triggered, this, [this, c] { copyPicture(charts[c]); });
    view->addActions({save, copy});
}

bool statistics::savePicture(const Chart& chart, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QFileInfo(path).suffix().compare("svg", Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(chart.view->size());
        svg.setViewBox(chart.view->rect());
        svg.setTitle(chart.view->chart()->title());
        QPainter painter(&svg);
        chart.view->render(&painter);
    } else {
        chart.view->grab().save(&buffer, "PNG");
    }
    const std::optional<std::string> failure =
        bytes.isEmpty()
            ? "the picture could not be made"
            : writeWholeFile(QFile::encodeName(path).toStdString(), bytes.toStdString());
    if (failure) {
        forms_.main.message(QStringLiteral("The picture could not be saved: %1")
                                .arg(QString::fromStdString(*failure)));
        return false;
    }
    return true;
}

void statistics::copyPicture(const Chart& chart) {
    QGuiApplication::clipboard()->setImage(chart.view->grab().toImage());
}

void statistics::Form_Load() {
    const zibfile& inspector = forms_.get<zibfile>();
    const graph& plot = forms_.get<graph>();
    setLeft(inspector.Left() + inspector.Width());
    setTop(0);
    setHeight(plot.Top() + plot.Height());

    Fmain& main = forms_.main;
    QWidget* frame = parentWidget();
    main.makeRoomFor(frame);
    QWidget* workspace = main.workspace()->viewport();
    frame->resize(frame->width(), std::max(frame->minimumSizeHint().height(),
                                           std::min(frame->height(), workspace->height())));
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
    if (log.runDays() == rows_.size() && log.rewrites() == rewrites_ && !resized_) return;
    // What the last update took, with the paints after it; this one is timed from here.
    QElapsedTimer timer;
    timer.start();
    lastCostNs_ = spentNs_;
    spentNs_ = 0;
    rows_ = log.runRows();
    rewrites_ = log.rewrites();
    resized_ = false;
    for (Chart& chart : charts) {
        chart.highest = 0;
        for (const Line& line : chart.lines) {
            for (const DayStats& row : rows_)
                chart.highest = std::max(chart.highest, line.value(row));
        }
    }
    firstDay_ = rows_.empty() ? 0 : rows_.front().day;
    lastDay_ = rows_.empty() ? 0 : rows_.back().day;
    fitAxes();
    // Each series takes its points at once: one change to draw, whatever their number. A long
    // history is drawn with about as many points as the plot has pixels across.
    for (Chart& chart : charts) {
        const int columns = std::max(1, static_cast<int>(chart.view->chart()->plotArea().width()));
        for (const Line& line : chart.lines) {
            line.series->replace(
                linePoints(rows_, line.value, chart.x->min(), chart.x->max(), columns));
        }
    }
    spentNs_ += timer.nsecsElapsed();
}

void statistics::fitAxes() {
    std::array<std::pair<AxisScale, AxisScale>, 4> scales;
    bool moved = false;
    for (std::size_t i = 0; i < charts.size(); ++i) {
        const Chart& chart = charts[i];
        // As many marks as have room for their labels: a label's height and a half apart up
        // the plot, a wide day's label and a half across it.
        const QRectF plot = chart.view->chart()->plotArea();
        const QFontMetricsF metrics(chart.y->labelsFont());
        const int across =
            static_cast<int>(plot.width() / (1.5 * metrics.horizontalAdvance("00000")));
        const int up = static_cast<int>(plot.height() / (1.5 * metrics.height()));
        scales[i] = {dayScale(firstDay_, lastDay_, across),
                     figureScale(chart.highest, chart.minStep, up)};
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
    std::array<qreal, 4> own{};
    std::array<qreal, 4> ownRight{};
    qreal left = 0;
    qreal right = width();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        QChart* c = charts[i].view->chart();
        c->layout()->invalidate();
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

QString statistics::valueAt(const Chart& chart, QPointF at) const {
    const QChart* c = chart.view->chart();
    const QPointF p = c->mapFromScene(chart.view->mapToScene(at.toPoint()));
    const QRectF plot = c->plotArea();
    if (rows_.empty() || !plot.adjusted(-reach, -reach, reach, reach).contains(p)) return {};
    // Pixels of the plot for a day and a figure.
    const double dayWidth = plot.width() / (chart.x->max() - chart.x->min());
    const double unitHeight = plot.height() / (chart.y->max() - chart.y->min());
    auto position = [&](const DayStats& row, const Line& line) {
        return QPointF(plot.left() + (row.day - chart.x->min()) * dayWidth,
                       plot.bottom() - (line.value(row) - chart.y->min()) * unitHeight);
    };
    // The days within reach, with one more on either side for the segments that come in.
    const double day = chart.x->min() + (p.x() - plot.left()) / dayWidth;
    const double span = reach / dayWidth + 1;
    auto from = std::lower_bound(rows_.begin(), rows_.end(), day - span,
                                 [](const DayStats& s, double d) { return s.day < d; });
    auto to = std::upper_bound(rows_.begin(), rows_.end(), day + span,
                               [](double d, const DayStats& s) { return d < s.day; });
    if (from != rows_.begin()) --from;
    if (to != rows_.end()) ++to;
    if (from == to) return {};
    double nearest = reach;
    const Line* found = nullptr;
    const DayStats* foundRow = nullptr;
    for (const Line& line : chart.lines) {
        if (!line.series->isVisible()) continue;
        for (auto row = from; row != to; ++row) {
            const auto next = row + 1 == to ? row : row + 1;
            const auto [distance, nextNearer] =
                segmentDistance(p, position(*row, line), position(*next, line));
            if (distance > nearest) continue;
            nearest = distance;
            found = &line;
            foundRow = nextNearer ? &*next : &*row;
        }
    }
    if (!found) return {};
    const QString value = QString::number(found->value(*foundRow), 'f', found->whole ? 0 : 2);
    return QStringLiteral("%1 on day %2: %3")
        .arg(found->series->name())
        .arg(foundRow->day)
        .arg(value);
}

bool statistics::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    const auto chart = std::find_if(charts.begin(), charts.end(), [watched](const Chart& c) {
        return watched == c.view->viewport();
    });
    if (chart == charts.end()) return ChildForm::eventFilter(watched, event);
    // The pointed figure shows as the tooltip at once; the view's own tooltip, which would take
    // it away when the pointer rests, is left out.
    if (type == QEvent::ToolTip || type == QEvent::MouseMove) {
        const QPointF at = type == QEvent::ToolTip ? QPointF(static_cast<QHelpEvent*>(event)->pos())
                                                   : static_cast<QMouseEvent*>(event)->position();
        const QString text = valueAt(*chart, at);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(chart->view->viewport()->mapToGlobal(at.toPoint()), text,
                               chart->view->viewport());
        if (type == QEvent::ToolTip) return true;
    }
    if (type == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Only a click in the plot goes to a day: the legend, the title and the labels around
        // the plot are no days.
        QChart* c = chart->view->chart();
        const QPointF at = c->mapFromScene(chart->view->mapToScene(mouse->position().toPoint()));
        if (mouse->button() == Qt::LeftButton && !rows_.empty() && c->plotArea().contains(at)) {
            const double day = c->mapToValue(at, chart->lines.front().series).x();
            emit dayPicked(
                static_cast<int>(std::clamp(std::round(day), double(firstDay_), double(lastDay_))));
        }
    }
    return ChildForm::eventFilter(watched, event);
}

}  // namespace zibs

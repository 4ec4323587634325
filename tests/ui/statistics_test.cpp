// The Statistics window: its charts follow the run log, mark a day and report a picked one, and
// a closed window costs a run nothing.
#include <QSignalSpy>

#include "app_fixture.h"
#include "ui/graph.h"
#include "ui/statistics.h"
#include "ui/zibfile.h"

namespace zibs {
namespace {

using Statistics = AppTest;

QList<QPointF> pointsOf(const statistics& s, int chart, int line) {
    return s.charts[chart].lines[line].series->points();
}

// The points each line should hold for the rows: the day and the line's figure.
void expectRows(const statistics& s, const StatsHistory& rows) {
    for (const statistics::Chart& chart : s.charts)
        for (const statistics::Line& line : chart.lines) {
            QList<QPointF> want;
            for (const DayStats& row : rows) want.append(QPointF(row.day, line.value(row)));
            EXPECT_EQ(line.series->points(), want) << line.series->name().toStdString();
        }
}

TEST_F(Statistics, ChartsFollowTheRunLogAndStartAgainWithANewWorld) {
    QTest::mouseClick(fmain.cmd[3], Qt::LeftButton);
    statistics& s = window<statistics>();

    Fworld& w = start("31", 1);  // the end of the run brings the charts up to date
    const StatsHistory& rows = fmain.forms().runlog.rows();
    ASSERT_EQ(rows.size(), 101u);
    expectRows(s, rows);
    // Means per living zib, 0 when none lives.
    const DayStats& last = rows.back();
    EXPECT_DOUBLE_EQ(pointsOf(s, 1, 2).back().y(), double(last.eyes) / last.population);
    EXPECT_EQ(s.charts[1].lines[0].value(DayStats{}), 0.0);

    // A day of Go 1 reaches the charts by their timer; a new world starts them again, also when
    // it has as many days as the old one had.
    w.Command2->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pointsOf(s, 0, 0).size() == 102; }));
    w.Command1->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pointsOf(s, 0, 0).size() == 1; }));
    expectRows(s, rows);
    start("32");
    s.refresh();
    expectRows(s, rows);

    // A long run keeps its whole history, drawn with about two points a pixel across that reach
    // every day's figure: the line runs from the first day to the last, and near any day it
    // passes that day's figure.
    for (int i = 0; i < 8; ++i) w.Command3->click();
    EXPECT_EQ(s.charts[0].x->max(), 1000);
    const QList<QPointF> drawn = pointsOf(s, 0, 0);
    const double columns = s.charts[0].view->chart()->plotArea().width();
    EXPECT_LE(drawn.size(), 2 * columns + 2);
    EXPECT_EQ(std::tuple(drawn.front(), drawn.back()),
              std::tuple(QPointF(0, rows.front().population),
                         QPointF(rows.back().day, rows.back().population)));
    const double pixel = 1000 / columns;  // days
    for (const DayStats& row : rows) {
        double low = 1e9, high = -1e9;
        for (const QPointF& p : drawn) {
            if (std::abs(p.x() - row.day) > pixel) continue;
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
        ASSERT_TRUE(low <= row.population && row.population <= high) << row.day;
    }
}

TEST_F(Statistics, MarkedDayAndPickedDay) {
    statistics& s = window<statistics>();
    QSignalSpy picked(&s, &statistics::dayPicked);
    QTest::mouseClick(s.charts[0].view->viewport(), Qt::LeftButton);
    EXPECT_EQ(picked.count(), 0);  // no world, no days

    start("1", 1);
    const QList<QPointF> before = pointsOf(s, 2, 0);
    s.markDay(40);
    EXPECT_EQ(s.charts[2].mark->points(),
              QList<QPointF>({QPointF(40, 0), QPointF(40, s.charts[2].y->max())}));
    EXPECT_EQ(pointsOf(s, 2, 0), before);
    s.markDay(-1);
    EXPECT_TRUE(s.charts[1].mark->points().isEmpty());

    // A click on a chart gives the nearest day, within the days run: left of the plot day 0, on
    // the legend the last day.
    const statistics::Chart& chart = s.charts[1];
    auto clickAt = [&](QPoint at) {
        QTest::mouseClick(chart.view->viewport(), Qt::LeftButton, {}, at);
        return picked.isEmpty() ? -1 : picked.takeLast().at(0).toInt();
    };
    const QPointF day40 =
        chart.view->chart()->mapToPosition(QPointF(40.3, 1), chart.lines[0].series);
    EXPECT_EQ(clickAt(chart.view->mapFromScene(chart.view->chart()->mapToScene(day40))), 40);
    EXPECT_EQ(clickAt(QPoint(1, 50)), 0);
    EXPECT_EQ(clickAt(QPoint(chart.view->viewport()->width() - 2, 50)), 100);
}

TEST_F(Statistics, AClosedWindowIsNotCreatedByARun) {
    start("1", 1);
    EXPECT_EQ(existing<statistics>(), nullptr);
    window<statistics>().parentWidget()->close();
    start("1", 1).Command2->click();
    EXPECT_EQ(existing<statistics>(), nullptr);
}

}  // namespace
}  // namespace zibs

// The Statistics window: its charts follow the run log, mark a day and report a picked one, show
// a pointed figure, hide a line from its legend, save and copy their pictures, and a closed
// window costs a run nothing.
#include <QClipboard>
#include <QGraphicsTextItem>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QToolTip>

#include "app_fixture.h"
#include "ui/statistics.h"

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

// Where a chart draws a value, in its view's viewport, to the pixel.
QPoint pixelOf(const statistics::Chart& chart, QPointF value) {
    QChart* c = chart.view->chart();
    return chart.view->mapFromScene(
        c->mapToScene(c->mapToPosition(value, chart.lines.front().series)));
}

// The texts a chart shows: title, axis labels and titles, legend entries; with where they are.
std::map<QString, QPoint> textsOf(const statistics::Chart& chart) {
    std::map<QString, QPoint> texts;
    for (QGraphicsItem* item : chart.view->scene()->items()) {
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            texts[text->toPlainText()] =
                chart.view->mapFromScene(text->sceneBoundingRect().center());
    }
    return texts;
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
    EXPECT_DOUBLE_EQ(pointsOf(s, 2, 2).back().y(), double(last.eyes) / last.population);
    EXPECT_EQ(s.charts[2].lines[0].value(DayStats{}), 0.0);

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
    // passes that day's figure. The days end at a round day just past the last: 850 for 800 (a
    // twentieth of 800 is 40, the round step 50).
    for (int i = 0; i < 8; ++i) w.Command3->click();
    for (const statistics::Chart& chart : s.charts)
        EXPECT_EQ(std::pair(chart.x->min(), chart.x->max()), std::pair(0.0, 850.0));
    const QList<QPointF> drawn = pointsOf(s, 0, 0);
    const double columns = s.charts[0].view->chart()->plotArea().width();
    EXPECT_LE(drawn.size(), 2 * columns + 2);
    EXPECT_EQ(std::tuple(drawn.front(), drawn.back()),
              std::tuple(QPointF(0, rows.front().population),
                         QPointF(rows.back().day, rows.back().population)));
    const double pixel = 850 / columns;  // days
    for (const DayStats& row : rows) {
        double low = 1e9, high = -1e9;
        for (const QPointF& p : drawn) {
            if (std::abs(p.x() - row.day) > pixel) continue;
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
        ASSERT_TRUE(low <= row.population && row.population <= high) << row.day;
    }
    // The plots stand one above the other, each with a title on its figure axis.
    const QRectF first = s.charts[0].view->chart()->plotArea();
    for (const statistics::Chart& chart : s.charts) {
        const QRectF plot = chart.view->chart()->plotArea();
        EXPECT_TRUE(std::abs(plot.left() - first.left()) < 1 &&
                    std::abs(plot.right() - first.right()) < 1 && !chart.y->titleText().isEmpty());
    }
}

TEST_F(Statistics, MarkedDayPickedDayAndSavedPictures) {
    statistics& s = window<statistics>();
    QSignalSpy picked(&s, &statistics::dayPicked);
    QTest::mouseClick(s.charts[0].view->viewport(), Qt::LeftButton);  // no world, no days
    EXPECT_EQ(picked.count(), 0);

    start("1", 1);
    const QList<QPointF> before = pointsOf(s, 3, 0);
    s.markDay(40);
    EXPECT_EQ(s.charts[3].mark->points(),
              QList<QPointF>({QPointF(40, 0), QPointF(40, s.charts[3].y->max())}));
    EXPECT_EQ(pointsOf(s, 3, 0), before);
    s.markDay(-1);
    EXPECT_TRUE(s.charts[2].mark->points().isEmpty());

    // A click in a plot gives the nearest day; a click beside it (the labels, the legend, the
    // title) none.
    const statistics::Chart& chart = s.charts[2];
    auto clickAt = [&](QPoint at) {
        QTest::mouseClick(chart.view->viewport(), Qt::LeftButton, {}, at);
        return picked.isEmpty() ? -1 : picked.takeLast().at(0).toInt();
    };
    EXPECT_EQ(clickAt(pixelOf(chart, QPointF(40.3, 1))), 40);
    EXPECT_EQ(clickAt(pixelOf(chart, QPointF(0.2, 0.1))), 0);
    EXPECT_EQ(clickAt(QPoint(1, 50)), -1);
    EXPECT_EQ(clickAt(QPoint(chart.view->viewport()->width() - 2, 50)), -1);
    EXPECT_EQ(clickAt(QPoint(chart.view->viewport()->width() / 2, 2)), -1);

    // A click on a legend entry hides its line, the entry staying; another shows it again.
    const QPoint entry = textsOf(chart).at("Motors");
    EXPECT_EQ(clickAt(entry), -1);
    EXPECT_TRUE(!chart.lines[1].series->isVisible() && chart.lines[0].series->isVisible() &&
                textsOf(chart).contains("Motors"));
    EXPECT_EQ(clickAt(entry), -1);
    EXPECT_TRUE(chart.lines[1].series->isVisible());

    // Each chart's picture saved (PNG or SVG) and copied.
    const statistics::Chart& grass = s.charts[3];
    QTemporaryDir dir;
    QString asked = dir.filePath("grass");
    fmain.savePathSource = [&](const QString&, const QString&, const QString&) { return asked; };
    const QList<QAction*> menu = grass.view->actions();
    ASSERT_EQ(menu.size(), 2);
    EXPECT_EQ(menu[0]->text() + "|" + menu[1]->text(), "Save picture...|Copy");
    menu[0]->trigger();  // no suffix: a PNG
    EXPECT_EQ(QImage(dir.filePath("grass.png"), "PNG").size(), grass.view->size());
    asked = dir.filePath("grass.svg");
    menu[0]->trigger();
    QFile svg(asked);
    const QByteArray text = svg.open(QIODevice::ReadOnly) ? svg.readAll() : QByteArray();
    EXPECT_TRUE(text.contains("<svg") && text.contains("Grass and food"));
    menu[1]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), grass.view->size());

    EXPECT_FALSE(s.savePicture(grass, dir.filePath("no/such/folder/x.png")));
    EXPECT_TRUE(messages.value(0).startsWith("The picture could not be saved: \""));
}

TEST_F(Statistics, APointedLineShowsItsNearestDayAlsoAfterGoingBack) {
    statistics& s = window<statistics>();
    start("31", 10);
    // The highest population of the run, and the world shown at day 0: the later days stay drawn
    // and pointed at.
    const StatsHistory rows = fmain.forms().runlog.rows();
    const DayStats peak = std::ranges::max(rows, {}, &DayStats::population);
    ASSERT_TRUE(peak.day > 0 && fmain.showDay(0));
    // The charts drawn again for another size still show the whole run.
    s.parentWidget()->resize(s.parentWidget()->size() + QSize(10, 10));
    QApplication::processEvents();

    // Nothing of the line is higher: 7 pixels above it shows it (or a day beside it of the same
    // figure), 9 pixels nothing.
    const statistics::Chart& chart = s.charts[0];
    const QPoint top = pixelOf(chart, QPointF(peak.day, peak.population));
    const QString shown = s.valueAt(chart, top - QPoint(0, 7));
    const auto day = QRegularExpression("^Population on day (\\d+): (\\d+)$").match(shown);
    EXPECT_TRUE(day.hasMatch() && day.captured(2).toInt() == peak.population &&
                rows.at(day.captured(1).toUInt()).population == peak.population);
    EXPECT_EQ(s.valueAt(chart, top - QPoint(0, 9)), "");
    // The pointer shows it as a tooltip.
    QTest::mouseMove(chart.view->viewport(), top - QPoint(0, 7));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == shown; }));
    // It stays while the pointer rests there.
    QHelpEvent rest(QEvent::ToolTip, top - QPoint(0, 7),
                    chart.view->viewport()->mapToGlobal(top - QPoint(0, 7)));
    QApplication::sendEvent(chart.view->viewport(), &rest);
    QTest::qWait(600);
    EXPECT_TRUE(QToolTip::isVisible() && QToolTip::text() == shown);

    // Means with two decimals, the day a whole one, here the day gone back to.
    const statistics::Chart& cells = s.charts[2];
    const double eyes = double(rows[0].eyes) / rows[0].population;
    EXPECT_EQ(s.valueAt(cells, pixelOf(cells, QPointF(0, eyes))),
              QStringLiteral("Eyes on day 0: %1").arg(eyes, 0, 'f', 2));

    // On the line between two days, the nearer day: seven tenths of the way from one day to the
    // next is the next.
    const auto d = std::adjacent_find(
        rows.begin(), rows.end(), [](auto& a, auto& b) { return a.population != b.population; });
    ASSERT_NE(d, rows.end());
    const QPointF between(d->day + 0.7, d->population + 0.7 * (d[1].population - d->population));
    QChart* c = chart.view->chart();
    const QPointF at = chart.view->viewportTransform().map(
        c->mapToScene(c->mapToPosition(between, chart.lines.front().series)));
    EXPECT_EQ(s.valueAt(chart, at),
              QStringLiteral("Population on day %1: %2").arg(d[1].day).arg(d[1].population));
}

TEST_F(Statistics, AtItsSmallestSizeNoTextIsCutShort) {
    statistics& s = window<statistics>();
    start("31", 30);
    s.parentWidget()->resize(1, 1);
    QApplication::processEvents();
    EXPECT_EQ(s.size(), s.minimumSize());
    for (const statistics::Chart& chart : s.charts) {
        for (const auto& [text, at] : textsOf(chart))
            EXPECT_FALSE(text.contains("...") || text.contains(QChar(0x2026)))
                << text.toStdString();
    }
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

// The Lineages window: its Muller plot against the population, its line of descent and its
// exports against the runner's pinned files (tests/data/phylogeny), the family marks on a layer
// of their own, a click that goes to a day.
#include <map>
#include <set>

#include "app_fixture.h"
#include "ui/lineages.h"

namespace zibs {
namespace {

using Lineages = AppTest;

// Rows of seed 31's 300 days as zibs-run wrote them: id -> parent, birth day, death day (-1).
struct Row {
    int parent, origin, death, founder;
};
std::map<int, Row> pinnedRows() {
    std::map<int, Row> rows;
    for (const std::string& line :
         testing::split(testing::slurp(ZIBS_TEST_DATA "/phylogeny/seed31.csv"), '\n')) {
        const std::vector<std::string> f = testing::split(line, ',');
        if (f.at(0) == "id") continue;
        const std::string parent = f[1].substr(1, f[1].size() - 2);
        rows[std::stoi(f[0])] = {parent == "none" ? 0 : std::stoi(parent), std::stoi(f[2]),
                                 f[3] == "none" ? -1 : std::stoi(f[3]), std::stoi(f[4])};
    }
    return rows;
}

// The runs of one colour in a column of the plot, bottom up, black left out.
std::vector<std::pair<QRgb, int>> runsAt(const QImage& plot, int x) {
    std::vector<std::pair<QRgb, int>> runs;
    for (int y = plot.height() - 17; y >= 4; --y) {
        const QRgb c = plot.pixel(x, y);
        if (qGray(c) < 8) continue;
        if (runs.empty() || runs.back().first != c) runs.push_back({c, 0});
        ++runs.back().second;
    }
    return runs;
}

TEST_F(Lineages, PlotStacksTheFamiliesAndExportsEqualTheRunnersFiles) {
    QApplication::setActiveWindow(&fmain);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fmain));
    QTest::keyClick(&fmain, Qt::Key_L, Qt::ControlModifier);
    ASSERT_NE(existing<lineages>(), nullptr);
    start("31", 3);
    lineages& l = window<lineages>();
    l.refresh();
    const auto rows = pinnedRows();
    ASSERT_EQ(rows.size(), 558u);

    // Day 0: the ten families one zib each, ten bands; day 300: seed 31's families have died
    // out but for first zib 5's, one band as high as the population.
    const QImage plot = l.muller->grab().toImage();
    const int left = 4, right = plot.width() - 5;
    EXPECT_EQ(runsAt(plot, left).size(), 10u);
    const auto last = runsAt(plot, right);
    ASSERT_EQ(last.size(), 1u);
    const int highest =
        std::ranges::max(fmain.forms().runlog.rows(), {}, &DayStats::population).population;
    const double perZib = (plot.height() - 20.0) / highest;
    EXPECT_NEAR(last[0].second, world.population * perZib, 2.0);
    std::set<int> living;
    for (const auto& [id, r] : rows)
        if (r.death < 0) living.insert(r.founder);
    EXPECT_EQ(living, std::set<int>({5}));

    // Exports for the day shown: the runner's files.
    const testing::TempFolder folder("lineages");
    const std::string dir = folder.dir.string();
    ASSERT_TRUE(fmain.exportPhylogeny(QString::fromStdString(dir + "/p.csv")));
    ASSERT_TRUE(fmain.exportTree(QString::fromStdString(dir + "/p.nwk")));
    EXPECT_EQ(testing::slurp(dir + "/p.csv"),
              testing::slurp(ZIBS_TEST_DATA "/phylogeny/seed31.csv"));
    EXPECT_EQ(testing::slurp(dir + "/p.nwk"),
              testing::slurp(ZIBS_TEST_DATA "/phylogeny/seed31.nwk"));

    // A click on the plot goes to its day; the window and the exports show that day.
    const int x = left + static_cast<int>(std::lround(100 * (right - left) / 300.0));
    QTest::mouseClick(l.muller, Qt::LeftButton, {}, QPoint(x, 40));
    ASSERT_EQ(world.day, 100);
    l.refresh();
    ASSERT_TRUE(fmain.exportPhylogeny(QString::fromStdString(dir + "/p100.csv")));
    const testing::Ran day100 =
        testing::zibsRun("--seed 31 --days 100 --phylogeny " + dir + "/r100.csv > /dev/null");
    ASSERT_EQ(day100.status, 0);
    EXPECT_EQ(testing::slurp(dir + "/p100.csv"), testing::slurp(dir + "/r100.csv"));
}

// Opened after the run: each living zib's line of descent; the family marks over the picture.
TEST_F(Lineages, LineOfDescentAndFamilyMarksOverThePictureWhichStaysAsDrawn) {
    Fworld& w = start("31", 3);
    lineages& l = window<lineages>();
    const auto rows = pinnedRows();
    for (Integer i = 1; i <= world.popstart; ++i) {
        if (world.zibs[i].alive != 1) continue;
        world.selzib = i;
        l.refresh();
        // "Zib N, born on day D, generation G", from the zib to its first ancestor.
        int expected = -1;
        for (int k = 0; k < l.descent->count(); ++k) {
            int id = 0, day = 0, generation = 0;
            ASSERT_EQ(std::sscanf(l.descent->item(k)->text().toUtf8().constData(),
                                  "Zib %d, born on day %d, generation %d", &id, &day, &generation),
                      3);
            EXPECT_TRUE(expected < 0 || id == expected) << id << " " << expected;
            const Row& r = rows.at(id);
            EXPECT_EQ(std::tuple(day, r.death), std::tuple(r.origin, k == 0 ? -1 : r.death));
            EXPECT_EQ(generation, l.descent->count() - 1 - k);
            expected = r.parent;
        }
        EXPECT_EQ(expected, 0);  // the last one is a first zib
        EXPECT_TRUE(l.zibidlbl->text().startsWith(QStringLiteral("Zib number %1 is zib ").arg(i)));
    }

    const QImage picture = w.pic->image();
    const QRgb ring = qRgb(255, 0, 255);
    auto marked = [&] {
        const QImage shown = w.pic->grab().toImage();
        int n = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) n += shown.pixel(x, y) == ring;
        return n;
    };
    EXPECT_EQ(marked(), 0);
    l.showFamily(5);
    EXPECT_GT(marked(), 10 * world.population);
    EXPECT_EQ(w.pic->image(), picture);
    EXPECT_TRUE(l.familylbl->text().contains(
        QStringLiteral("%1 living on day 300: zibs ").arg(world.population)));
    l.showFamily(0);
    EXPECT_EQ(marked(), 0);
}

}  // namespace
}  // namespace zibs

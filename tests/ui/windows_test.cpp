// The main window, the child-window registry, the child windows' frames, and the inspector.
#include <QMenuBar>
#include <algorithm>
#include <functional>

#include "app_fixture.h"

namespace zibs {

using ChildWindows = AppTest;

// The strip, the menus, the status bar and the child windows share one font, whatever the
// desktop's font was when the program started.
TEST(OneFont, EveryWindowAndMenu) {
    QApplication::setFont(QFont("DejaVu Serif", 13));
    World world;
    Rnd rnd;
    Fmain fmain(world, rnd);
    Fvariables& v = fmain.forms().get<Fvariables>();
    const QFontInfo font(v.Label1->font());
    QWidget* widgets[] = {
        fmain.cmd[0], fmain.cmdstop, fmain.menuBar(), fmain.mmu,
        fmain.mnu,    fmain.seedlbl, v.startpop,      fmain.forms().get<Fworld>().Command1};
    for (QWidget* w : widgets) {
        const QFontInfo info(w->font());
        EXPECT_EQ(std::tuple(info.family(), info.pointSizeF()),
                  std::tuple(font.family(), font.pointSizeF()))
            << w->metaObject()->className();
    }
}

// World and Graph windows closed at day 300 are gone at once (Qt deletes them later), and come
// back afresh with the world drawn from its state, the curve of the run and the day's figures;
// the world picture then saved is the one shown.
TEST_F(ChildWindows, WorldAndGraphComeBackWhole) {
    Fworld* w = &start("31", 3);
    const QImage picture = w->pic->image().copy(), curve = window<graph>().graphpic->image().copy();
    w->parentWidget()->close();
    existing<graph>()->parentWidget()->close();
    ASSERT_TRUE(!existing<Fworld>() && !existing<graph>());
    QTest::mouseClick(fmain.cmd[1], Qt::LeftButton);  // the graph brings the world window too
    w = existing<Fworld>();
    const graph* g = existing<graph>();
    ASSERT_TRUE(w && g);
    QTest::mouseClick(fmain.cmd[1], Qt::LeftButton);  // pressed again: the same windows
    EXPECT_TRUE(existing<graph>() == g && existing<Fworld>() == w);
    EXPECT_EQ(std::tuple(g->daylbl->text(), g->Poplbl->text()),
              std::tuple(QString("300"), QString::number(world.population)));
    EXPECT_EQ(g->graphpic->image(), curve);
    EXPECT_EQ(w->pic->image(), picture);
    QTemporaryDir dir;
    ASSERT_TRUE(fmain.saveWorldPicture(dir.filePath("w.png")));
    EXPECT_EQ(QImage(dir.filePath("w.png")).convertToFormat(picture.format()), picture);
}

// Closing the parameters window only hides it: Initialize and the next "Variables" press find
// the texts the user typed, in the same place.
TEST_F(ChildWindows, ParametersWindowKeepsItsTexts) {
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    Fvariables* v = existing<Fvariables>();
    ASSERT_NE(v, nullptr);
    const QRect place = v->parentWidget()->geometry();
    v->startpop->setText("20");
    v->txtseed->setText("5");
    v->parentWidget()->close();
    ASSERT_EQ(existing<Fvariables>(), v);
    window<Fworld>().Command1->click();
    EXPECT_TRUE(world.popstart == 20 && fmain.seedlbl->text() == "Seed 5");
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    EXPECT_TRUE(v->isVisible() && v->parentWidget()->geometry() == place);
}

// "World", "Graph" and "Variables" bring a minimised window back as it was, in front.
TEST_F(ChildWindows, MinimisedWindowComesBackInFront) {
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    QMdiArea* area = fmain.workspace();
    QWidget* forms[] = {existing<Fworld>(), existing<graph>(), existing<Fvariables>()};
    for (int i = 0; i < 3; ++i) {
        auto* sub = qobject_cast<QMdiSubWindow*>(forms[i]->parentWidget());
        const QRect place = sub->geometry();
        sub->showMinimized();
        area->setActiveSubWindow(area->subWindowList().at(i == 0 ? 1 : 0));
        QTest::mouseClick(fmain.cmd[i], Qt::LeftButton);
        EXPECT_TRUE(!(sub->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) &&
                    sub->geometry() == place && area->activeSubWindow() == sub &&
                    area->subWindowList(QMdiArea::StackingOrder).last() == sub)
            << i;
    }
}

// The inspector's totals beyond the 16-bit range, and a selected record outside the array, which
// changes nothing. A body seen lately is shown again as kept, and that must be what drawing it
// afresh gives: a body, another one differing in cell 8 only, the first again, one with an unknown
// kind (drawn as an empty cell), a turn.
TEST(Inspector, WideTotalsNoSuchRecordAndPortraitsSeenBefore) {
    World world;
    Rnd rnd;
    Fmain main{world, rnd};
    zibfile form{main.forms()};
    world.selzib = 7;
    std::fill(world.zibs[7].cells.begin() + 1, world.zibs[7].cells.begin() + 9,
              ZibCell{store, 32767, 32767, 30000, 0});
    form.zibdataupdate(world);
    EXPECT_EQ(form.foodlbl->text() + " " + form.uselbl->text(), "240000/262136 262136");
    world.selzib = 101;
    form.zibdataupdate(world);
    EXPECT_EQ(form.uselbl->text(), "262136");

    world.selzib = 7;
    Zib& z7 = world.zibs[7];
    z7.alive = 1;
    const ZibCell ring[8] = {{store, 40, 1, 17, 0}, {motor, 31, 3, 0, 2},  {eye, 2, 2, 0, 0},
                             {empty, 0, 5, 0, 0},   {store, 80, 1, 28, 1}, {motor, 44, 3, 0, 0},
                             {eye, 1, 2, 0, 1},     {empty, 0, 0, 0, 0}};
    std::copy(ring, ring + 8, z7.cells.begin() + 1);
    const std::function<void(Zib&)> steps[] = {
        [](Zib&) {},
        [](Zib& z) { z.cells[8].kind = store; },
        [](Zib& z) { z.cells[8].kind = empty; },
        [](Zib& z) { z.cells[4].kind = 5; },
        [](Zib& z) { std::rotate(z.cells.begin() + 1, z.cells.begin() + 7, z.cells.begin() + 9); },
        [](Zib& z) { std::rotate(z.cells.begin() + 1, z.cells.begin() + 3, z.cells.begin() + 9); },
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i](z7);
        form.filepic->setDrawWidth(1);
        form.zibupdate(world);
        zibfile fresh{main.forms()};
        fresh.zibupdate(world);
        EXPECT_EQ(std::tuple(form.filepic->image(), form.filepic->DrawWidth()),
                  std::tuple(fresh.filepic->image(), fresh.filepic->DrawWidth()))
            << i;
    }
}

}  // namespace zibs

// The main window, the child-window registry, and the child windows' frames.
#include <QMenuBar>

#include "app_fixture.h"

namespace zibs {
namespace {

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
// the world picture then saved is the one shown. (One pressed again while open: the minimised
// window test.)
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

}  // namespace
}  // namespace zibs

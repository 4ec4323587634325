// The main window, the child-window registry, and the child windows' frames.
#include <QMenuBar>
#include <QTest>

#include "app_fixture.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"

namespace zibs {
namespace {

using MainWindow = AppTest;
using ChildWindows = AppTest;

// The next widget after `w` that the Tab key reaches.
QWidget* nextTabStop(QWidget* w) {
    do w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

// No child window at start; Tab goes along the strip, the world window's buttons and the
// parameter boxes in order; "Auto Zib update" starts checked and both its handler and its menu
// item toggle it.
TEST_F(MainWindow, StartTabOrderAndOptions) {
    EXPECT_EQ(world.selzib, 1);
    EXPECT_TRUE(fmain.workspace()->subWindowList().isEmpty());
    Fworld& w = window<Fworld>();
    Fvariables& v = window<Fvariables>();
    const std::vector<std::vector<QWidget*>> chains = {
        {fmain.cmd[0], fmain.cmd[1], fmain.cmd[2], fmain.cmd[3], fmain.cmdstop},
        {w.Command1, w.Command2, w.Command3, w.Command4},
        {v.startpop, v.repro, v.txtGrass, v.txtgrow, v.txtrad, v.txtmute}};
    for (const auto& chain : chains)
        for (std::size_t i = 0; i + 1 < chain.size(); ++i)
            EXPECT_EQ(nextTabStop(chain[i]), chain[i + 1]) << i;

    EXPECT_TRUE(fmain.autoZibUpdate());
    fmain.mnuopt_Click(0);
    EXPECT_FALSE(fmain.autoZibUpdate());
    fmain.mnuopt[0]->trigger();
    EXPECT_TRUE(fmain.autoZibUpdate());
}

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
        EXPECT_EQ(info.family(), font.family()) << w->metaObject()->className();
        EXPECT_EQ(info.pointSizeF(), font.pointSizeF()) << w->metaObject()->className();
    }
}

TEST_F(ChildWindows, CreatedOnFirstReferenceAndAfreshAfterClosing) {
    QTest::mouseClick(fmain.cmd[1], Qt::LeftButton);
    graph* first = existing<graph>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_NE(existing<Fworld>(), nullptr);  // the graph window measured it
    QTest::mouseClick(fmain.cmd[1], Qt::LeftButton);
    fmain.cmd_Click(7);  // no such button
    EXPECT_EQ(existing<graph>(), first);
    EXPECT_EQ(fmain.workspace()->subWindowList().size(), 2);

    first->Poplbl->setText("42");
    first->parentWidget()->close();
    // Gone at once, although Qt deletes it only when control returns to the event loop.
    EXPECT_EQ(existing<graph>(), nullptr);
    graph& second = window<graph>();
    EXPECT_EQ(second.Poplbl->text(), "0");
    EXPECT_EQ(second.graphpic->ScaleWidth(), 500);
}

// Closing the parameters window only hides it: Initialize and the next "Variables" press find
// the texts the user typed, in the same place.
TEST_F(ChildWindows, ParametersWindowKeepsItsTexts) {
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    Fvariables* v = existing<Fvariables>();
    ASSERT_NE(v, nullptr);
    const QRect place = frameOf(v);
    v->startpop->setText("20");
    v->txtseed->setText("5");
    v->parentWidget()->close();
    ASSERT_EQ(existing<Fvariables>(), v);
    EXPECT_FALSE(v->isVisible());
    window<Fworld>().Command1->click();
    EXPECT_EQ(world.popstart, 20);
    EXPECT_EQ(fmain.seedlbl->text(), "Seed 5");
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(frameOf(v), place);
    EXPECT_EQ(v->startpop->text(), "20");
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
        EXPECT_FALSE(sub->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) << i;
        EXPECT_EQ(sub->geometry(), place) << i;
        EXPECT_EQ(area->activeSubWindow(), sub) << i;
        EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder).last(), sub) << i;
    }
}

}  // namespace
}  // namespace zibs

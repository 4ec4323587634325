// The main window, the child-window registry, and the layout and placement of the child windows.
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "app_fixture.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"
#include "ui/zibfile.h"

namespace zibs {
namespace {

using MainWindow = AppTest;
using ChildWindows = AppTest;
using Layout = AppTest;

// The next widget after `w` that the Tab key reaches.
QWidget* nextTabStop(QWidget* w) {
    do w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

TEST_F(MainWindow, DefaultsStripAndMenus) {
    EXPECT_EQ(fmain.windowTitle(), "Zibs");
    EXPECT_EQ(std::tuple(world.popstart, world.reprorate, world.maxgrass, world.selzib),
              std::tuple(10, 1, 20, 1));
    EXPECT_EQ(fmain.centralWidget()->size(), QSize(766, 585));
    EXPECT_EQ(fmain.Picture1->geometry(), QRect(0, 0, 766, 31));
    QPushButton* strip[] = {fmain.cmd[0], fmain.cmd[1], fmain.cmd[2], fmain.cmd[3], fmain.cmdstop};
    const char* captions[] = {"World", "Graph", "Variables", "Statistics", "Stop"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(strip[i]->text(), captions[i]);
        EXPECT_EQ(strip[i]->geometry(), QRect(8 + 94 * i, 4, 87, 21)) << i;
        if (i < 4) {
            EXPECT_EQ(nextTabStop(strip[i]), strip[i + 1]);
        }
    }
    EXPECT_FALSE(fmain.cmdstop->isEnabled());
    const auto menus = fmain.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_EQ(menus[1]->text(), "Options");
    EXPECT_EQ(fmain.mnuopt[0]->text(), "Auto Zib update");
    EXPECT_TRUE(fmain.workspace()->subWindowList().isEmpty());

    // "Auto Zib update" starts checked; the handler and the menu each toggle it.
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

TEST_F(ChildWindows, VariablesBringsAllFourInTheirPlaces) {
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    ASSERT_EQ(fmain.workspace()->subWindowList().size(), 4);
    const QRect world = frameOf(existing<Fworld>());
    const QRect plot = frameOf(existing<graph>());
    const QRect inspector = frameOf(existing<zibfile>());
    const QRect variables = frameOf(existing<Fvariables>());
    EXPECT_EQ(world.topLeft(), QPoint(0, 0));
    EXPECT_EQ(plot.topLeft(), QPoint(0, world.bottom() + 1));
    EXPECT_EQ(inspector.topLeft(), QPoint(world.right() + 1, 0));
    EXPECT_EQ(inspector.height(), world.height());
    EXPECT_EQ(inspector.width() - world.width(), 314 - 435);  // like frames, clients 4710, 6525
    EXPECT_EQ(variables.topLeft(), QPoint(inspector.left(), inspector.bottom() + 1));
    EXPECT_EQ(variables.size(), QSize(inspector.width(), plot.height()));
    EXPECT_EQ(existing<Fworld>()->Caption(), "Dovizura");
    EXPECT_EQ(existing<graph>()->Top(), existing<Fworld>()->Height());  // in twips
}

TEST_F(Layout, WorldAndGraphWindows) {
    Fworld& w = window<Fworld>();
    EXPECT_EQ(w.size(), QSize(435, 351));
    EXPECT_EQ(w.pic->geometry(), QRect(68, 8, 281, 281));
    EXPECT_EQ(w.pic->image().size(), QSize(277, 277));
    EXPECT_EQ(w.pic->ScaleWidth(), 20);
    QPushButton* buttons[] = {w.Command1, w.Command2, w.Command3, w.Command4};
    const char* captions[] = {"Initialize", "Go 1", "Go 100", "Go to end"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->text(), captions[i]);
        EXPECT_EQ(buttons[i]->geometry(), QRect(18 + 102 * i, 294, 101, 49));
        if (i < 3) {
            EXPECT_EQ(nextTabStop(buttons[i]), buttons[i + 1]);
        }
    }

    graph& g = window<graph>();
    EXPECT_EQ(g.Caption(), "Graphs");
    EXPECT_EQ(g.size(), QSize(435, 123));
    EXPECT_EQ(g.graphpic->geometry(), QRect(14, 4, 309, 87));
    EXPECT_EQ(g.Label1->text(), "Population");
    EXPECT_EQ(g.Label2->text(), "Day");
    EXPECT_EQ(g.Label1->geometry(), QRect(324, 36, 51, 15));
    EXPECT_EQ(g.daylbl->geometry(), QRect(378, 54, 51, 15));
}

TEST_F(Layout, ParametersWindow) {
    Fvariables& v = window<Fvariables>();
    EXPECT_EQ(v.Caption(), "Variables");
    QLineEdit* boxes[] = {v.startpop, v.repro, v.txtGrass, v.txtgrow, v.txtrad, v.txtmute};
    QLabel* labels[] = {v.Label1, v.Label2, v.Label3, v.Label4, v.Label5, v.Label6};
    const char* captions[] = {"Start population", "Repro rate", "Radiation"};
    const char* texts[] = {"10", "1", "15", "2", "50", "1"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(boxes[i]->text(), texts[i]);
        const QPoint at = i < 5 ? QPoint(94, 2 + 22 * i) : QPoint(216, 2);
        EXPECT_EQ(boxes[i]->geometry(), QRect(at, QSize(33, 19))) << i;
        EXPECT_EQ(labels[i]->geometry(), QRect(i < 5 ? 6 : 128, at.y(), 87, 19)) << i;
        if (i < 5) {
            EXPECT_EQ(nextTabStop(boxes[i]), boxes[i + 1]);
        }
    }
    EXPECT_EQ(v.Label1->text(), captions[0]);
    EXPECT_EQ(v.Label2->text(), captions[1]);
    EXPECT_EQ(v.Label5->text(), captions[2]);
    EXPECT_EQ(v.Label3->text(), "Max grass");
    EXPECT_EQ(v.Label4->text(), "Grass growth rate");
    EXPECT_EQ(v.Label6->text(), "Cell mutations");
}

TEST_F(Layout, GraphPlotsOneDotPerDay) {
    graph& g = window<graph>();
    PictureBox& pic = *g.graphpic;
    const Rgb ink = pic.ForeColor();
    auto inked = [&] {
        int n = 0;
        for (int y = 0; y < pic.image().height(); ++y)
            for (int x = 0; x < pic.image().width(); ++x) n += pic.pixelAt(x, y) == ink;
        return n;
    };
    auto plot = [&](int day, int population) {
        world.day = static_cast<Integer>(day);
        world.population = static_cast<Integer>(population);
        g.updategraph(world);
    };
    plot(500, 0);  // day 500 on the right edge, population 0 on the bottom edge
    EXPECT_EQ(pic.pixelAt(304, 82), ink);
    plot(0, 100);
    EXPECT_EQ(pic.pixelAt(0, 0), ink);
    EXPECT_EQ(inked(), 2);
    // Beyond the area nothing shows, while the figures tell the truth.
    pic.Cls();
    plot(501, -3);
    plot(20, 140);
    EXPECT_EQ(inked(), 0);
    EXPECT_EQ(g.Poplbl->text(), "140");
    EXPECT_EQ(g.daylbl->text(), "20");
}

}  // namespace
}  // namespace zibs

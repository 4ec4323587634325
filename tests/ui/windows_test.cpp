// The main window, the child-window registry and the layout and placement of the child windows.
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "app_fixture.h"
#include "runtime/twips.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/graph.h"
#include "ui/zibfile.h"

namespace zibs {
namespace {

using MainWindow = AppTest;
using ChildWindows = AppTest;
using Layout = AppTest;

TEST_F(MainWindow, StartsWithDefaultsStripAndMenus) {
    EXPECT_EQ(fmain.windowTitle(), "Zibs");
    EXPECT_EQ(world.popstart, 10);
    EXPECT_EQ(world.reprorate, 1);
    EXPECT_EQ(world.maxgrass, 20);
    EXPECT_EQ(world.selzib, 1);
    EXPECT_EQ(world.growrate, 0);
    EXPECT_EQ(fmain.centralWidget()->size(), QSize(766, 585));
    EXPECT_EQ(fmain.Picture1->height(), 31);
    EXPECT_EQ(fmain.Picture1->width(), 766);

    const char* captions[] = {"World", "Graph", "Variables"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fmain.cmd[i]->text(), captions[i]);
        EXPECT_EQ(fmain.cmd[i]->geometry(), QRect(px(120 + 1410 * i), 4, 87, 21)) << i;
    }
    EXPECT_EQ(fmain.cmdstop->text(), "Stop");
    EXPECT_EQ(fmain.cmdstop->geometry(), QRect(290, 4, 87, 21));
    EXPECT_FALSE(fmain.cmdstop->isEnabled());
    EXPECT_EQ(fmain.cmd[0]->nextInFocusChain(), fmain.cmd[1]);
    EXPECT_EQ(fmain.cmd[1]->nextInFocusChain(), fmain.cmd[2]);
    EXPECT_EQ(fmain.cmd[2]->nextInFocusChain(), fmain.cmdstop);

    const auto menus = fmain.menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_EQ(menus[1]->text(), "Options");
    EXPECT_EQ(fmain.mnuopt[0]->text(), "Auto Zib update");
    EXPECT_TRUE(fmain.mnuopt[0]->isCheckable());

    // No child window at start.
    EXPECT_EQ(fmain.workspace()->subWindowList().size(), 0);
}

TEST_F(MainWindow, AutoZibUpdateToggles) {
    EXPECT_TRUE(fmain.autoZibUpdate());
    fmain.mnuopt_Click(0);
    EXPECT_FALSE(fmain.autoZibUpdate());
    fmain.mnuopt_Click(0);
    EXPECT_TRUE(fmain.autoZibUpdate());
    fmain.mnuopt[0]->trigger();  // as the menu does it
    EXPECT_FALSE(fmain.autoZibUpdate());
    fmain.mnuopt[0]->trigger();
    EXPECT_TRUE(fmain.autoZibUpdate());
}

TEST_F(ChildWindows, CreatedOnFirstReferenceAndAfreshAfterClosing) {
    EXPECT_EQ(existing<graph>(), nullptr);
    QTest::mouseClick(fmain.cmd[1], Qt::LeftButton);
    graph* first = existing<graph>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    // The graph window measures the world window, which therefore exists too.
    EXPECT_NE(existing<Fworld>(), nullptr);
    QTest::mouseClick(fmain.cmd[1], Qt::LeftButton);
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

TEST_F(ChildWindows, VariablesBringsAllFourInTheirPlaces) {
    QTest::mouseClick(fmain.cmd[2], Qt::LeftButton);
    ASSERT_NE(existing<Fvariables>(), nullptr);
    ASSERT_NE(existing<Fworld>(), nullptr);
    ASSERT_NE(existing<graph>(), nullptr);
    ASSERT_NE(existing<zibfile>(), nullptr);
    EXPECT_EQ(fmain.workspace()->subWindowList().size(), 4);

    const QRect world = frameOf(existing<Fworld>());
    const QRect graphFrame = frameOf(existing<graph>());
    const QRect inspector = frameOf(existing<zibfile>());
    const QRect variables = frameOf(existing<Fvariables>());
    EXPECT_EQ(world.topLeft(), QPoint(0, 0));
    EXPECT_EQ(existing<Fworld>()->size(), QSize(435, 351));
    EXPECT_EQ(graphFrame.topLeft(), QPoint(0, world.bottom() + 1));
    EXPECT_EQ(existing<graph>()->size(), QSize(435, 123));
    EXPECT_EQ(inspector.topLeft(), QPoint(world.right() + 1, 0));
    EXPECT_EQ(inspector.height(), world.height());
    EXPECT_EQ(inspector.width() - world.width(), 314 - 435);  // frames alike, client 4710 twips
    EXPECT_EQ(variables.topLeft(), QPoint(inspector.left(), inspector.bottom() + 1));
    EXPECT_EQ(variables.width(), inspector.width());
    EXPECT_EQ(variables.height(), graphFrame.height());

    // Twips read back from the frames.
    EXPECT_EQ(existing<graph>()->Top(), existing<Fworld>()->Top() + existing<Fworld>()->Height());
    EXPECT_EQ(existing<zibfile>()->Left(), existing<Fworld>()->Width());
}

TEST_F(ChildWindows, WorldButtonTwiceLeavesOneWindow) {
    fmain.cmd_Click(0);
    Fworld* world = existing<Fworld>();
    fmain.cmd_Click(0);
    fmain.cmd_Click(7);  // no such button: nothing
    EXPECT_EQ(existing<Fworld>(), world);
    EXPECT_EQ(fmain.workspace()->subWindowList().size(), 1);
    EXPECT_EQ(world->Caption(), "Dovizura");
}

TEST_F(Layout, WorldWindow) {
    Fworld& w = window<Fworld>();
    EXPECT_EQ(w.size(), QSize(435, 351));
    EXPECT_EQ(w.pic->geometry(), QRect(68, 8, 281, 281));
    EXPECT_EQ(w.pic->image().size(), QSize(277, 277));
    EXPECT_EQ(w.pic->ScaleWidth(), 20);
    EXPECT_EQ(w.pic->ScaleHeight(), 20);
    EXPECT_EQ(w.pic->pixelAt(138, 138), black);
    QPushButton* buttons[] = {w.Command1, w.Command2, w.Command3, w.Command4};
    const char* captions[] = {"Initialize", "Go 1", "Go 100", "Go to end"};
    const int lefts[] = {270, 1800, 3330, 4860};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->text(), captions[i]);
        EXPECT_EQ(buttons[i]->geometry(), QRect(px(lefts[i]), 294, 101, 49));
        if (i < 3) {
            EXPECT_EQ(buttons[i]->nextInFocusChain(), buttons[i + 1]);
        }
    }
}

TEST_F(Layout, GraphWindow) {
    graph& g = window<graph>();
    EXPECT_EQ(g.Caption(), "Graphs");
    EXPECT_EQ(g.graphpic->geometry(), QRect(14, 4, 309, 87));
    EXPECT_EQ(g.graphpic->BackColor(), white);
    EXPECT_EQ(g.graphpic->ScaleHeight(), 100);
    EXPECT_EQ(g.Label1->text(), "Population");
    EXPECT_EQ(g.Label1->geometry(), QRect(324, 36, 51, 15));
    EXPECT_EQ(g.Label2->text(), "Day");
    EXPECT_EQ(g.Label2->geometry(), QRect(324, 54, 51, 15));
    EXPECT_EQ(g.Poplbl->geometry(), QRect(378, 36, 51, 15));
    EXPECT_EQ(g.daylbl->geometry(), QRect(378, 54, 51, 15));
}

TEST_F(Layout, ParametersWindow) {
    Fvariables& v = window<Fvariables>();
    EXPECT_EQ(v.Caption(), "Variables");
    struct Pair {
        QLabel* label;
        QLineEdit* text;
        const char* caption;
        const char* initial;
        QRect labelRect, textRect;
    };
    const Pair pairs[] = {
        {v.Label1, v.startpop, "Start population", "10", {6, 2, 87, 19}, {94, 2, 33, 19}},
        {v.Label2, v.repro, "Repro rate", "1", {6, 24, 87, 19}, {94, 24, 33, 19}},
        {v.Label3, v.txtGrass, "Max grass", "15", {6, 46, 87, 19}, {94, 46, 33, 19}},
        {v.Label4, v.txtgrow, "Grass growth rate", "2", {6, 68, 87, 19}, {94, 68, 33, 19}},
        {v.Label5, v.txtrad, "Radiation", "50", {6, 90, 87, 19}, {94, 90, 33, 19}},
        {v.Label6, v.txtmute, "Cell mutations", "1", {128, 2, 87, 19}, {216, 2, 33, 19}},
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(p.label->text(), p.caption);
        EXPECT_EQ(p.text->text(), p.initial);
        EXPECT_EQ(p.label->geometry(), p.labelRect) << p.caption;
        EXPECT_EQ(p.text->geometry(), p.textRect) << p.caption;
    }
    // Tab order runs down the left column, then to "Cell mutations".
    QLineEdit* order[] = {v.startpop, v.repro, v.txtGrass, v.txtgrow, v.txtrad, v.txtmute};
    for (int i = 0; i + 1 < 6; ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << i;
    }
}

TEST_F(Layout, GraphPlotsOneDotPerDay) {
    graph& g = window<graph>();
    PictureBox& pic = *g.graphpic;
    const Rgb ink = pic.ForeColor();
    const int right = pic.image().width() - 1, bottom = pic.image().height() - 1;

    world.day = 500;
    world.population = 0;
    g.updategraph(world);
    EXPECT_EQ(pic.pixelAt(right, bottom), ink);  // day 500 on the right, population 0 at the bottom
    world.day = 0;
    world.population = 100;
    g.updategraph(world);
    EXPECT_EQ(pic.pixelAt(0, 0), ink);
    EXPECT_EQ(g.Poplbl->text(), "100");
    EXPECT_EQ(g.daylbl->text(), "0");

    // Beyond the area nothing shows, while the figures tell the truth.
    pic.Cls();
    world.day = 501;
    world.population = -3;
    g.updategraph(world);
    world.day = 20;
    world.population = 140;
    g.updategraph(world);
    for (int y = 0; y <= bottom; ++y)
        for (int x = 0; x <= right; ++x) ASSERT_EQ(pic.pixelAt(x, y), white);
    EXPECT_EQ(g.Poplbl->text(), "140");

    // One pixel per dot.
    world.day = 250;
    world.population = 50;
    g.updategraph(world);
    int inked = 0;
    for (int y = 0; y <= bottom; ++y)
        for (int x = 0; x <= right; ++x) inked += pic.pixelAt(x, y) == ink;
    EXPECT_EQ(inked, 1);
}

}  // namespace
}  // namespace zibs

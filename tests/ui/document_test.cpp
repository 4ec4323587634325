// The world as a document: its title, the question before a changed world is given up, Save and
// Save as, recent worlds, and the Help menu's keys.
#include <QMenuBar>
#include <QRegularExpression>

#include "app_fixture.h"
#include "ui/helptexts.h"

namespace zibs {

struct Document : AppTest {
    Document() {
        fmain.savePathSource = [this](const QString&, const QString&, const QString&) {
            ++pathsAsked;
            return nextName.isEmpty() ? QString() : dir.filePath(nextName);
        };
    }
    std::string fileText(const char* name) {
        return testing::slurp(dir.filePath(name).toStdString());
    }
    QString title() { return fmain.windowTitle() + (fmain.isWindowModified() ? " *" : ""); }

    QTemporaryDir dir;
    QString nextName = "a.zibs";
    int pathsAsked = 0;
};

TEST_F(Document, TitleNamesTheFileAndMarksChanges) {
    EXPECT_EQ(title(), "Zibs - untitled[*]");
    Fworld& w = start("31");
    EXPECT_EQ(title(), "Zibs - untitled[*]");
    w.Command2->click();
    EXPECT_EQ(title(), "Zibs - untitled[*] *");
    ASSERT_TRUE(fmain.mnusaveworld_Click());
    EXPECT_EQ(title(), "Zibs - a.zibs[*]");
    w.Command2->click();
    EXPECT_EQ(title(), "Zibs - a.zibs[*] *");
    fmain.showDay(1);  // the day saved: nothing has changed
    EXPECT_EQ(title(), "Zibs - a.zibs[*]");
    // Save world asks for a file only the first time; Save world as... always asks.
    w.Command2->click();
    fmain.mnusaveworld->trigger();
    EXPECT_TRUE(pathsAsked == 1 && fileText("a.zibs").find("\"day\": 2,") != std::string::npos);
    nextName = "b";
    fmain.mnusaveworldas->trigger();
    EXPECT_EQ(std::tuple(pathsAsked, title()), std::tuple(2, QString("Zibs - b.zibs[*]")));
    start("5");  // a new world has no file
    EXPECT_EQ(title(), "Zibs - untitled[*]");
    EXPECT_TRUE(fmain.close() && messages.isEmpty());  // nothing to ask about
}

// Save, Discard and Cancel when the program closes with unsaved days; Cancel keeps a run going.
TEST_F(Document, CancelKeepsTheRunAndDiscardCloses) {
    Fworld& w = start("31", 1);
    ASSERT_TRUE(fmain.mnusaveworld_Click());
    const std::string saved = fileText("a.zibs");
    w.Command2->click();
    int dayAfterCancel = -1;
    QTimer::singleShot(0, &fmain, [&] {
        EXPECT_FALSE(fmain.close());  // answer: Cancel
        dayAfterCancel = world.day;
        QTimer::singleShot(20, &fmain, [&] { fmain.cmdstop_Click(); });
    });
    w.Command3->click();
    EXPECT_TRUE(messages.value(0).contains("a.zibs has changed"))
        << messages.value(0).toStdString();
    EXPECT_TRUE(fmain.isVisible() && !fmain.closing() && world.day > dayAfterCancel);
    answer = QMessageBox::Discard;
    EXPECT_TRUE(fmain.close() && fmain.closing());
    EXPECT_EQ(std::tuple(messages.size(), fileText("a.zibs") == saved), std::tuple(2, true));
}

// Save when the program closes: an untitled world asks for a file, and a dialog cancelled keeps
// the program open; a file given is written, and then the program closes.
TEST_F(Document, SaveWritesTheFileThenCloses) {
    start("31").Command2->click();
    answer = QMessageBox::Save;
    nextName.clear();
    EXPECT_TRUE(!fmain.close() && !fmain.closing() && pathsAsked == 1);
    nextName = "a.zibs";
    EXPECT_TRUE(fmain.close() && pathsAsked == 2 && fmain.closing());
    EXPECT_NE(fileText("a.zibs").find("\"day\": 1,"), std::string::npos);
}

// Opening another world asks first; Cancel keeps the world and asks for no file.
TEST_F(Document, OpeningAnotherWorldAsksFirst) {
    int filesAsked = 0;
    fmain.openPathSource = [&](const QString&, const QString&) {
        ++filesAsked;
        return QString();
    };
    start("31", 1);
    fmain.mnuopenworld->trigger();
    EXPECT_TRUE(messages.size() == 1 && filesAsked == 0 && world.day == 100);
    answer = QMessageBox::Discard;
    fmain.mnuopenworld->trigger();
    EXPECT_EQ(filesAsked, 1);
}

// Before the first Initialize, Save and the exports say so without asking for a file.
TEST_F(Document, NothingToSaveBeforeInitializeThenRecentWorlds) {
    for (QAction* a : {fmain.mnusaveworld, fmain.mnusaveworldas, fmain.mnuexport,
                       fmain.mnuexportstats, fmain.mnusave})
        a->trigger();
    EXPECT_TRUE(pathsAsked == 0 && messages.size() == 5 &&
                messages.filter(QRegularExpression("^There is nothing to")).size() == 5)
        << messages.join("|").toStdString();

    // The last eight worlds saved or opened, latest first; a file that is gone is greyed, and
    // picking a recent world opens it.
    start("31");
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(fmain.saveWorld(dir.filePath(QString("w%1.zibs").arg(i))));
    QStringList expected;
    for (int i = 8; i > 0; --i) expected << dir.filePath(QString("w%1.zibs").arg(i));
    EXPECT_EQ(fmain.document().recentWorlds(), expected);
    QFile::remove(dir.filePath("w7.zibs"));
    emit fmain.mnurecent->aboutToShow();
    const QList<QAction*> items = fmain.mnurecent->actions();
    ASSERT_EQ(items.size(), 8);
    EXPECT_TRUE(items[0]->isEnabled() && !items[1]->isEnabled());
    start("5");
    items[2]->trigger();
    EXPECT_EQ(std::tuple(fmain.document().path(), fmain.seedlbl->text()),
              std::tuple(expected[2], QString("Seed 31")));
}

// Every key of the program is listed under Help, Keys; the menus have Alt keys.
TEST_F(Document, KeysListsEveryShortcut) {
    QStringList keys;
    for (QShortcut* k : fmain.keys()) keys << k->key().toString();
    for (QMenu* m : {fmain.mmu, fmain.mnu, fmain.mnuhelp})
        for (QAction* a : m->actions())
            if (!a->shortcut().isEmpty()) keys << a->shortcut().toString();
    ASSERT_EQ(keys.size(), 13);
    for (const QString& k : keys)
        EXPECT_TRUE(
            keysText().contains(QRegularExpression("\\b" + QRegularExpression::escape(k) + "\\t")))
            << k.toStdString();
    QStringList titles;
    for (QAction* a : fmain.menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Options", "&Help"}));
}

}  // namespace zibs

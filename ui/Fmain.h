#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QShortcut>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/random.h"
#include "sim/world.h"
#include "ui/forms.h"

namespace zibs {

class WorldDocument;

// The main window "Zibs": a workspace for the child windows, the button strip that opens them,
// the File menu's worlds and exports, the Options menu with the "Auto Zib update" switch, and
// the Help menu.
class Fmain : public QMainWindow {
    Q_OBJECT
  public:
    Fmain(World& world, Rnd& rnd);
    ~Fmain() override;

    // Sets the default parameters of the world before the first Initialize.
    void MDIForm_Load();

    void cmd_Click(int index);
    void mnuopt_Click(int index);
    void cmdstop_Click();
    void mnuexport_Click();
    void mnuexportstats_Click();
    void mnuexportphylogeny_Click();
    void mnuexporttree_Click();
    void mnusave_Click();
    // Open world and a recent world: a changed world is settled first (Save, Discard, Cancel).
    void mnuopenworld_Click();
    void openRecent(const QString& path);
    // Save world writes to the world's file, and asks for one only when it has none; Save world
    // as... always asks. Both return whether the world was saved.
    bool mnusaveworld_Click();
    bool mnusaveworldas_Click();

    // Opens a world file in place of the current world: a run ends first, the world picture and
    // the graph are drawn from it, the parameters window shows its texts and seed. A file that
    // cannot be opened is reported and changes nothing. Returns whether the world was opened.
    bool openWorld(const QString& path);
    // Writes the current world with its generator and its days to a world file; tells the user
    // when there is no world yet or the file cannot be written, and returns false.
    bool saveWorld(const QString& path);
    void mnuday_Click();

    // Shows the world as it was at the end of `day` of the current run, from day 0 to its last
    // day, and carries on from there; a running "Go 100" or "Go to end" stops first. An opened
    // world's days before its opened day are rebuilt from its seed and parameters the first time;
    // when they do not give the file's world again, a message says why and the world goes to the
    // opened day instead. A click on the graph, Ctrl+Left and Ctrl+Right and "Go to day..." come
    // here, and so does a day picked in the Statistics window. Returns false, changing nothing,
    // for a day outside the run or the day the world is at.
    bool showDay(int day);

    // Writes the population of every day since the last Initialize as CSV; the day's statistics
    // of those days as CSV; the world picture as PNG. Each tells the user when the file cannot be
    // written and returns false.
    bool exportPopulation(const QString& path);
    bool exportStatistics(const QString& path);
    // The lineage as on the day shown, as zibs-run --phylogeny and --newick write it.
    bool exportPhylogeny(const QString& path);
    bool exportTree(const QString& path);
    bool saveWorldPicture(const QString& path);
    // Asks where to save (the standard file dialog); empty when cancelled. Tests replace it.
    std::function<QString(const QString& caption, const QString& filter, const QString& name)>
        savePathSource;
    // Asks which file to open; empty when cancelled. Tests replace it.
    std::function<QString(const QString& caption, const QString& filter)> openPathSource;
    // Asks for a day, from first to last offered and `current` proposed; empty when cancelled.
    // A day outside first to last is refused with a message. Tests replace it.
    std::function<std::optional<int>(int current, int first, int last)> daySource;

    // Shows the seed of the current world in the status bar.
    void showSeed(std::uint32_t seed);
    bool slowMotion() const { return mnuslow->isChecked(); }

    bool autoZibUpdate() const { return mnuopt[0]->isChecked(); }

    // Run control shared with the world window's step buttons.
    void runStarted();
    void runEnded();
    bool stopRequested() const { return stopRequested_; }
    bool closing() const { return closing_; }

    // Tells the user something went wrong or cannot be done. Tests replace messageSink to
    // collect the texts instead of opening message boxes.
    void message(const QString& text);
    std::function<void(const QString&)> messageSink;

    Forms& forms() { return *forms_; }
    WorldDocument& document() { return *document_; }
    // The program's own keys, that act from anywhere in it (the menus' come on top).
    const std::vector<QShortcut*>& keys() const { return keys_; }
    QMdiArea* workspace() const { return area_; }
    // Room for a child window's `frame` beside the others: the main window grows to the right as
    // far as the screen allows; what is still missing moves the window left, over the others.
    void makeRoomFor(QWidget* frame);

    QWidget* Picture1;
    std::array<QPushButton*, 5> cmd{};  // "World", "Graph", "Variables", "Statistics", "Lineages"
    QPushButton* cmdstop;
    QMenu* mmu;
    QMenu* mnu;
    std::array<QAction*, 1> mnuopt{};
    QAction* mnuslow;
    QAction* mnuopenworld;
    QAction* mnusaveworld;
    QAction* mnusaveworldas;
    QMenu* mnurecent;
    QAction* mnuquit;
    QMenu* mnuhelp;
    QAction* mnukeys;
    QAction* mnuabout;
    QAction* mnuday;
    QAction* mnuexport;
    QAction* mnuexportstats;
    QAction* mnuexportphylogeny;
    QAction* mnuexporttree;
    QAction* mnusave;
    QLabel* seedlbl;

  signals:
    // Stop was pressed (or the window is closing): a waiting run ends at once.
    void stopPressed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Keeps the focused control from claiming the program's keys for itself.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Says there is nothing to `what` yet when no world has been started; false then.
    bool worldStarted(const char* what);
    // Writes the rows of the run log that `csv` gives, or says why not.
    bool exportRows(const QString& path, const char* what, std::string (*csv)(const RunLog& log));

    World& world_;
    QMdiArea* area_;
    std::unique_ptr<Forms> forms_;
    WorldDocument* document_;
    std::vector<QShortcut*> keys_;  // act from anywhere in the program
    bool stopRequested_ = false;
    bool closing_ = false;
};

}  // namespace zibs

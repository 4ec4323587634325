#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <array>
#include <functional>
#include <memory>

#include "runtime/random.h"
#include "sim/world.h"
#include "ui/forms.h"

namespace zibs {

// The main window "Zibs": a workspace for the four child windows, the button strip that opens
// them and the Options menu with the "Auto Zib update" switch.
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
    QMdiArea* workspace() const { return area_; }

    QWidget* Picture1;
    std::array<QPushButton*, 3> cmd{};
    QPushButton* cmdstop;
    QMenu* mmu;
    QMenu* mnu;
    std::array<QAction*, 1> mnuopt{};

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    World& world_;
    QMdiArea* area_;
    std::unique_ptr<Forms> forms_;
    bool stopRequested_ = false;
    bool closing_ = false;
};

}  // namespace zibs

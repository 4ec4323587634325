#pragma once

#include <QPushButton>
#include <QTimer>

#include "runtime/childwindows.h"
#include "runtime/picturebox.h"
#include "sim/presentation.h"
#include "ui/worlddots.h"

namespace zibs {

class Forms;

// The world window "Dovizura": the world picture and the buttons that drive the simulation.
// It is the simulation's presentation: it paints zibs and grass into its picture and passes the
// graph and inspector updates on to the windows that show them.
class Fworld : public ChildForm, public Presentation {
    Q_OBJECT
  public:
    explicit Fworld(Forms& forms);

    // A window opened again shows the world as it is, drawn from its state.
    void Form_Load() override;

    void Command1_Click();  // Initialize
    void Command2_Click();  // Go 1
    void Command3_Click();  // Go 100
    void Command4_Click();  // Go to end
    void pic_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    // Runs one day and keeps its figures in the run log; false when the day limit stops it.
    bool step();

    // Draws the world picture afresh from the state, as Initialize draws a new world: cleared,
    // the grass points with grass, then every living zib of records 1 to popstart.
    void drawworld();
    // Makes the world what it was at the end of `day` of the current run and shows it, for the
    // run to carry on from there (Fmain::showDay). Returns false, changing nothing, for a day
    // outside the run or the day shown.
    bool goToDay(int day);
    // Marks the day shown on the graph while it lies before the run's last day, and takes the
    // mark away when it does not (after Initialize, a step, or a world opened).
    void markShownDay();

    // Presentation
    void drawzib(Integer index) override;
    void erasezib(Integer index) override;
    void drawdeadzib(Integer index) override;
    void plotgrass(Integer x, Integer y, int drawWidth, Rgb colour) override;
    void plotgrowngrass(const GrassShades& shades) override;
    void clearworld() override;
    void cleargraph() override;
    void updategraph() override;
    void zibdataupdate() override;
    void zibupdate() override;
    bool autozibupdate() const override;
    void zibborn(const World& world, Integer parent, Integer child) override;
    void zibdied(const World& world, Integer index) override;

    PictureBox* pic;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    // Times the rest of a day in slow motion: the run waits until it fires or Stop is pressed.
    QTimer* slowTimer;

  private:
    void paintzib(Integer index, bool erase);
    // Runs days, letting window events run after each, until `days` have run (0: until the
    // population is 0 after a day), Stop is pressed, the window closes or the day limit is hit.
    void run(int days);
    void setStepButtonsEnabled(bool enabled);
    void dayLimitReached();

    Forms& forms_;
    bool closed_ = false;
    bool dayMarked_ = false;
    WorldDots dots_;
};

}  // namespace zibs

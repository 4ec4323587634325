#pragma once

#include <QLabel>
#include <array>
#include <deque>

#include "runtime/childwindows.h"
#include "runtime/picturebox.h"
#include "sim/world.h"

namespace zibs {

class Forms;

// The inspector: the figures and the portrait of zib selzib.
class zibfile : public ChildForm {
    Q_OBJECT
  public:
    explicit zibfile(Forms& forms);

    // Places the window to the right of the world window, at the top, as tall as it.
    void Form_Load() override;

    // Fills in every figure of record world.selzib.
    void zibdataupdate(const World& world);
    // Clears the portrait and paints record world.selzib's body as shaded balls. The painting
    // waits until the portrait is next shown or read: during a run the inspected zib may turn
    // many times between two repaints of the screen.
    void zibupdate(const World& world);
    // Shows zib world.selzib as picking it does: its number in the caption, its figures and its
    // portrait.
    void showzib(const World& world);

    PictureBox* filepic;
    std::array<QLabel*, 9> lbl{};  // lbl[0] is hidden; 1..8 are the ring cells
    QLabel* Label1;
    QLabel* agelbl;
    QLabel* Label3;
    QLabel* foodlbl;
    QLabel* Label2;
    QLabel* uselbl;
    QLabel* alivelbl;
    QLabel* Label5;
    QLabel* Reprolbl;

  private:
    // The kinds of the eight ring cells as the portrait shows them: it is drawn from these alone.
    using Body = std::array<Integer, 8>;
    static Body bodyOf(const Zib& z);
    // A turning zib shows the same few bodies again and again, and a portrait takes long to
    // draw: the last few drawn are kept, and one of them is shown again as drawn then.
    struct DrawnPortrait {
        Body body;
        QImage picture;
        int drawWidth;
    };
    static constexpr std::size_t keptPortraits = 16;
    void drawPortrait(const Body& body);
    bool showDrawnPortrait(const Body& body);
    void keepPortrait(const Body& body);

    Forms& forms_;
    std::deque<DrawnPortrait> drawn_;  // the most recent first
    Body pending_{};                   // the body of the portrait put off
};

}  // namespace zibs

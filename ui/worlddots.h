#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/picturebox.h"
#include "sim/world.h"

namespace zibs {

// The dots of the world picture, kept back until the picture is next shown or read.
//
// Every dot the world picture gets falls on one of a few places: a grass point, or the centre or
// a ring cell of a zib on a grid point. Each day paints about a thousand of them, most of them
// over again before the screen shows the picture. A dot is written down in its place, with
// its colour and its turn; when the picture is next painted, read or drawn on otherwise, the
// places written since are painted in the order of their last dots. A pixel then holds the colour
// of the last dot over it, as if every dot had been painted in its turn.
class WorldDots {
  public:
    explicit WorldDots(PictureBox* pic);

    // The places of a grid point: its grass dot (drawn 3 pixels wide), and a zib's dots there
    // (2 pixels wide), centre 0 and ring cells 1 to 8, 0.3 units from the point towards the cell.
    static int grassPlace(int x, int y) { return x + gridSize * y; }
    static int zibPlace(int x, int y, int cell) {
        return gridPoints + (x + gridSize * y) * 9 + cell;
    }
    void plot(int place, Rgb colour) {
        Written& w = written_[place];
        if (w.turn == 0 || turn_ == UINT32_MAX) [[unlikely]]
            wait(place);
        w = {colour, ++turn_};
    }

  private:
    static constexpr int gridPoints = gridSize * gridSize;
    static constexpr int places = gridPoints * 10;
    struct Written {
        Rgb colour;
        std::uint32_t turn = 0;  // 0: nothing written since the last painting
    };
    // The first dot in a place since the last painting (and the rare renumbering of the turns).
    [[gnu::cold, gnu::noinline]] void wait(int place);
    void paint();
    void placeDots();
    void sortWaiting();
    void renumber();

    PictureBox* pic_;
    std::vector<PictureBox::Dot> dots_;  // by place, as placed for canvas placedFor_
    std::uint64_t placedFor_ = ~std::uint64_t{0};
    std::array<Written, places> written_{};
    std::vector<int> waiting_;  // the places written since the last painting
    std::uint32_t turn_ = 0;
    std::uint64_t waitingFor_ = 0;  // the canvas they were written for
};

}  // namespace zibs

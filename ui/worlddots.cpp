#include "ui/worlddots.h"

#include <algorithm>
#include <cstdint>

namespace zibs {

WorldDots::WorldDots(PictureBox* pic) : pic_(pic), dots_(places) {
    waiting_.reserve(places);
}

void WorldDots::wait(int place) {
    if (written_[place].turn == 0) {
        if (waiting_.empty()) {
            waitingFor_ = pic_->canvasSerial();
            pic_->defer([this] { paint(); });
        }
        waiting_.push_back(place);
    }
    if (turn_ == UINT32_MAX) renumber();  // a picture left unshown for a very long time
}

void WorldDots::renumber() {
    sortWaiting();
    turn_ = 0;
    for (const int place : waiting_) written_[place].turn = ++turn_;
}

void WorldDots::sortWaiting() {
    std::sort(waiting_.begin(), waiting_.end(),
              [this](int a, int b) { return written_[a].turn < written_[b].turn; });
}

void WorldDots::paint() {
    // A canvas made anew since (the picture box took a new size) has lost them anyway.
    if (pic_->canvasSerial() == waitingFor_) {
        if (placedFor_ != waitingFor_) placeDots();
        sortWaiting();
        for (const int place : waiting_) pic_->plot(dots_[place], written_[place].colour);
    }
    for (const int place : waiting_) written_[place].turn = 0;
    waiting_.clear();
    turn_ = 0;
}

void WorldDots::placeDots() {
    const int width = pic_->DrawWidth();
    for (int y = 0; y < gridSize; ++y) {
        for (int x = 0; x < gridSize; ++x) {
            pic_->setDrawWidth(3);
            dots_[grassPlace(x, y)] = pic_->place(x, y);
            pic_->setDrawWidth(2);
            for (int j = 0; j <= 8; ++j) {
                // The same single-precision points the zibs' dots were always placed at.
                dots_[zibPlace(x, y, j)] = pic_->place(static_cast<float>(x + 0.3 * ring[j].dx),
                                                       static_cast<float>(y + 0.3 * ring[j].dy));
            }
        }
    }
    pic_->setDrawWidth(width);
    placedFor_ = pic_->canvasSerial();
}

}  // namespace zibs

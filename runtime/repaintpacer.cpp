#include "runtime/repaintpacer.h"

#include <QCoreApplication>
#include <QEvent>

namespace zibs {

RepaintPacer::RepaintPacer(QWidget* window) : window_(window) {
    due_.setSingleShot(true);
    due_.setTimerType(Qt::PreciseTimer);  // a coarse timer may fire early
    connect(&due_, &QTimer::timeout, this, &RepaintPacer::flush);
    window_->installEventFilter(this);
}

RepaintPacer::~RepaintPacer() {
    if (!window_) return;
    window_->removeEventFilter(this);
    flush();
}

void RepaintPacer::flush() {
    due_.stop();
    if (!held_ || !window_) return;
    held_ = false;
    flushing_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window_, &request);
    flushing_ = false;
    sincePaint_.start();
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::UpdateRequest || flushing_) return false;
    // The first repaint goes at once, and so does any after a pause as long as the interval.
    const qint64 elapsed = sincePaint_.isValid() ? sincePaint_.elapsed() : intervalMs;
    if (elapsed >= intervalMs) {
        sincePaint_.start();
        return false;
    }
    held_ = true;
    if (!due_.isActive()) due_.start(static_cast<int>(intervalMs - elapsed));
    return true;
}

}  // namespace zibs

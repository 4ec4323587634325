#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zibs {

// Holds the repaints of a window to the display's pace while it lives: its widgets still draw
// and mark what changed as often as they like, but the window paints the changes and copies them
// to the screen at most once per interval. A repaint asked for sooner waits until the interval is
// over; the last one is done at once when the pacer ends. Events other than repaint requests
// pass untouched, and the pacer keeps working in event loops nested in the paced code (dialogs,
// waits).
//
// Qt asks a window to repaint with one UpdateRequest event for all its changed widgets; the
// pacer holds that event back and sends it itself later.
class RepaintPacer : public QObject {
  public:
    static constexpr int intervalMs = 17;  // at most about 60 repaints a second

    explicit RepaintPacer(QWidget* window);
    ~RepaintPacer() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Does a held repaint now.
    void flush();

    QPointer<QWidget> window_;
    QElapsedTimer sincePaint_;
    QTimer due_;
    bool held_ = false;
    bool flushing_ = false;
};

}  // namespace zibs

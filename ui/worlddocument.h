#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "sim/runlog.h"

class QMenu;
class QWidget;

namespace zibs {

// The world as a document: the file it was opened from or saved to, whether it has changed since
// (a day run, another day gone to), the question asked before such a world is given up, and the
// worlds opened or saved lately. It keeps the main window's title: "Zibs - NAME.zibs" or
// "Zibs - untitled", with the modified marker while the world has changed.
class WorldDocument : public QObject {
    Q_OBJECT
  public:
    WorldDocument(QWidget& window, const RunLog& log);

    // False before the first Initialize or opened world: there is nothing to save.
    bool hasWorld() const { return hasWorld_; }
    // The world's file; empty for a world never saved.
    QString path() const { return path_; }
    bool modified() const;

    // A new world from Initialize: untitled and unchanged.
    void started();
    // The world has been read from `path` or written to it: named after it, unchanged, and the
    // first of the recent worlds.
    void stored(const QString& path);
    // The run has moved on or back: sets the title's marker.
    void refresh();

    // Before the world is given up: when it has changed, asks Save, Discard or Cancel; Save calls
    // `save`, which returns false when the world was not saved. Returns whether to go on.
    bool settle(const std::function<bool()>& save);
    // Asks the question with the program's buttons; tests replace it.
    std::function<QMessageBox::StandardButton(const QString& text)> askSource;

    // The worlds opened or saved lately, the latest first, kept between sessions.
    static constexpr int recentCount = 8;
    QStringList recentWorlds() const;
    // Fills `menu` with the recent worlds, a file that is gone greyed; picking one calls `open`.
    void fillRecentMenu(QMenu* menu, const std::function<void(const QString&)>& open) const;

  private:
    // What changes when days run or the world goes to another day: a new run, a day run again,
    // the number of days up to the current one.
    struct Mark {
        std::uint64_t rewrites = 0;
        std::size_t days = 0;
        bool operator==(const Mark&) const = default;
    };
    Mark mark() const { return {log_.rewrites(), log_.rows().size()}; }
    void setTitle();

    QWidget& window_;
    const RunLog& log_;
    bool hasWorld_ = false;
    QString path_;
    Mark unchanged_;
};

}  // namespace zibs

#include "ui/worlddocument.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QWidget>

namespace zibs {

namespace {

constexpr const char* recentKey = "recentWorlds";
constexpr const char* settingsName = "zibs";

}  // namespace

WorldDocument::WorldDocument(QWidget& window, const RunLog& log)
    : QObject(&window), window_(window), log_(log) {
    askSource = [this](const QString& text) {
        return QMessageBox::question(&window_, QStringLiteral("Zibs"), text,
                                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                     QMessageBox::Save);
    };
    setTitle();
}

bool WorldDocument::modified() const {
    return hasWorld_ && mark() != unchanged_;
}

void WorldDocument::started() {
    hasWorld_ = true;
    path_.clear();
    unchanged_ = mark();
    setTitle();
}

void WorldDocument::stored(const QString& path) {
    hasWorld_ = true;
    path_ = QFileInfo(path).absoluteFilePath();
    unchanged_ = mark();
    setTitle();
    QStringList recent = recentWorlds();
    recent.removeAll(path_);
    recent.prepend(path_);
    QSettings(settingsName, settingsName).setValue(recentKey, recent.mid(0, recentCount));
}

void WorldDocument::refresh() {
    window_.setWindowModified(modified());
}

void WorldDocument::setTitle() {
    const QString name = path_.isEmpty() ? QStringLiteral("untitled") : QFileInfo(path_).fileName();
    window_.setWindowTitle(QStringLiteral("Zibs - %1[*]").arg(name));
    refresh();
}

bool WorldDocument::settle(const std::function<bool()>& save) {
    if (!modified()) return true;
    const QString name =
        path_.isEmpty() ? QStringLiteral("The untitled world")
                        : QStringLiteral("The world in %1").arg(QDir::toNativeSeparators(path_));
    switch (askSource(QStringLiteral("%1 has changed since it was last opened, saved or "
                                     "initialised (it is now at day %2). Save the changes?")
                          .arg(name)
                          .arg(log_.currentDay()))) {
        case QMessageBox::Save:
            return save();
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

QStringList WorldDocument::recentWorlds() const {
    return QSettings(settingsName, settingsName)
        .value(recentKey)
        .toStringList()
        .mid(0, recentCount);
}

void WorldDocument::fillRecentMenu(QMenu* menu,
                                   const std::function<void(const QString&)>& open) const {
    menu->clear();
    const QStringList recent = recentWorlds();
    for (int i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        QAction* item = menu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        item->setEnabled(QFileInfo(path).isFile());
        connect(item, &QAction::triggered, menu, [open, path] { open(path); });
    }
    if (recent.isEmpty()) menu->addAction(QStringLiteral("(none)"))->setEnabled(false);
}

}  // namespace zibs

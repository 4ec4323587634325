#include "ui/appicon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace zibs {

QIcon appIcon() {
    QSvgRenderer svg(QStringLiteral(":/icons/zibs.svg"));
    QIcon icon;
    if (!svg.isValid()) return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace zibs

#pragma once

#include <QByteArray>
#include <QString>

namespace zibs {

// Writes a file whole or not at all: the bytes go to a temporary file beside it, every write,
// the flush and the sync to disk are checked, and only then does it replace the old file. On
// failure the old file is untouched and the result is the system's reason; on success it is
// empty.
QString saveWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace zibs

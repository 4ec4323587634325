#include "runtime/savefile.h"

#include <unistd.h>

#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace zibs {

QString saveWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Unbuffered: each write reaches the system at once and reports its failure itself.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    auto fail = [&file](const QString& reason) {
        file.cancelWriting();  // the temporary file goes with `file`
        return reason;
    };
    // A write may stop short (the disk filled up); the next one then says why.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) return fail(file.errorString());
        done += n;
    }
    if (!file.flush()) return fail(file.errorString());
    if (::fsync(file.handle()) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace zibs

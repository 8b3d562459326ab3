#include "storage/filecopy.h"

#include "storage/syncstats.h"

#include <QFile>
#include <QSaveFile>
#include <sys/stat.h>

namespace zf {

namespace {
std::function<bool(qint64)> interruptHook;
}

void setCopyInterruptHook(std::function<bool(qint64)> hook) {
    interruptHook = std::move(hook);
}

bool copyFileReplacing(const QString& src, const QString& dst, QString* error) {
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    QSaveFile out(dst);
    // A project on a share may not allow renaming over the target; never fall
    // back to writing it in place.
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    qint64 written = 0;
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            if (error)
                *error = out.errorString();
            out.cancelWriting();
            return false;
        }
        written += chunk.size();
        if (interruptHook && interruptHook(written)) {
            if (error)
                *error = QStringLiteral("The copy was interrupted.");
            out.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        if (error)
            *error = in.errorString();
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    countFileSync();
    return true;
}

QString fileIdentity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(qulonglong(st.st_dev)).arg(qulonglong(st.st_ino));
}

bool sameFile(const QString& a, const QString& b) {
    const QString ia = fileIdentity(a);
    return !ia.isEmpty() && ia == fileIdentity(b);
}

} // namespace zf

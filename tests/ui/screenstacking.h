// What the window manager tells of the screen, read from the root window with
// xprop: for tests and the exerciser under X with a window manager.
#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace zf::test {

// The windows a property of the root window lists, in its order; none when
// xprop cannot tell.
inline QList<quint64> rootWindows(const QString& property) {
    QProcess p;
    p.start(QStringLiteral("xprop"), {QStringLiteral("-root"), property});
    if (!p.waitForFinished(5000))
        return {};
    const QString out = QString::fromLatin1(p.readAllStandardOutput());
    const qsizetype hash = out.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return {};
    QList<quint64> ids;
    for (const QString& part : out.mid(hash + 1).split(QLatin1Char(','))) {
        bool ok = false;
        const quint64 id = part.trimmed().toULongLong(&ok, 16);
        if (ok)
            ids << id;
    }
    return ids;
}

// The managed windows, bottom to top.
inline QList<quint64> screenStacking() {
    return rootWindows(QStringLiteral("_NET_CLIENT_LIST_STACKING"));
}

// The active window, 0 when there is none.
inline quint64 activeScreenWindow() {
    const QList<quint64> active = rootWindows(QStringLiteral("_NET_ACTIVE_WINDOW"));
    return active.isEmpty() ? 0 : active.first();
}

} // namespace zf::test

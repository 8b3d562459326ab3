#include "pictures.h"

#include "common/globals.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace zf {

QIcon pictureIcon(const QString& relativePath) {
    const QString file = ImagesPath + relativePath;
    if (!QFileInfo::exists(file))
        return QIcon();
    return QIcon(file);
}

QPixmap picturePixmap(const QString& relativePath, const QSize& size, qreal dpr) {
    if (!QFileInfo::exists(ImagesPath + relativePath))
        return QPixmap();
    QSvgRenderer r(ImagesPath + relativePath);
    if (!r.isValid())
        return QPixmap();
    QPixmap pm(size * dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    r.render(&p);
    p.end();
    pm.setDevicePixelRatio(dpr);
    return pm;
}

QIcon commandIcon(const QString& command) {
    return pictureIcon(QStringLiteral("toolbar/") + command + QStringLiteral(".svg"));
}

QIcon flagIcon(const QString& languageCode) {
    return pictureIcon(QStringLiteral("flags/") + languageCode + QStringLiteral(".svg"));
}

} // namespace zf

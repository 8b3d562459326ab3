#include "pictures.h"

#include "common/globals.h"

#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace zf {

namespace {

// The picture, and while checked a round mark with a tick in its lower right
// corner, drawn at any size and pixel ratio.
class CheckedMarkEngine final : public QIconEngine {
public:
    explicit CheckedMarkEngine(QIcon base) : base_(std::move(base)) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        base_.paint(p, rect, Qt::AlignCenter, mode, QIcon::Off);
        if (state != QIcon::On)
            return;
        const qreal d = std::max(7.0, std::min(rect.width(), rect.height()) * 0.62);
        const QRectF mark(rect.right() + 1 - d, rect.bottom() + 1 - d, d, d);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const QColor fill = mode == QIcon::Disabled ? QColor(128, 128, 128) : QColor(0, 128, 0);
        p->setPen(QPen(Qt::white, std::max(1.0, d / 9)));
        p->setBrush(fill);
        p->drawEllipse(mark.adjusted(0.5, 0.5, -0.5, -0.5));
        QPainterPath tick;
        tick.moveTo(mark.left() + d * 0.26, mark.top() + d * 0.52);
        tick.lineTo(mark.left() + d * 0.44, mark.top() + d * 0.70);
        tick.lineTo(mark.left() + d * 0.76, mark.top() + d * 0.32);
        p->setBrush(Qt::NoBrush);
        p->setPen(
            QPen(Qt::white, std::max(1.2, d / 6), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p->drawPath(tick);
        p->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // size is in device pixels.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        pm.setDevicePixelRatio(scale);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), (QSizeF(size) / scale).toSize()), mode, state);
        return pm;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new CheckedMarkEngine(base_); }
    QString key() const override { return QStringLiteral("zfCheckedMark"); }

private:
    QIcon base_;
};

} // namespace

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

QIcon checkedMarkIcon(const QIcon& picture) {
    if (picture.isNull())
        return picture;
    return QIcon(new CheckedMarkEngine(picture));
}

QIcon flagIcon(const QString& languageCode) {
    return pictureIcon(QStringLiteral("flags/") + languageCode + QStringLiteral(".svg"));
}

} // namespace zf

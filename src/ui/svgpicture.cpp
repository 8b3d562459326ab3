#include "svgpicture.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace zf {

SvgPicture::SvgPicture(QWidget* parent) : QFrame(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

SvgPicture::~SvgPicture() = default;

void SvgPicture::setFile(const QString& file) {
    if (file == file_)
        return;
    file_ = file;
    delete renderer_;
    renderer_ = nullptr;
    if (!file.isEmpty() && QFileInfo::exists(file)) {
        renderer_ = new QSvgRenderer(file, this);
        if (!renderer_->isValid()) {
            delete renderer_;
            renderer_ = nullptr;
        }
    }
    updateGeometry();
    update();
}

bool SvgPicture::hasPicture() const {
    return renderer_ != nullptr;
}

void SvgPicture::setPreferredSize(const QSize& size) {
    preferred_ = size;
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    updateGeometry();
}

QSize SvgPicture::sizeHint() const {
    if (!preferred_.isEmpty())
        return preferred_;
    QSize s = renderer_ ? renderer_->defaultSize() : QSize();
    if (s.isEmpty())
        return QSize(160, 120);
    // Pictures are drawn for 96 dots per inch; keep them at a sensible size.
    if (s.width() > 320)
        s = s.scaled(320, 320, Qt::KeepAspectRatio);
    return s;
}

QSize SvgPicture::minimumSizeHint() const {
    return preferred_.isEmpty() ? QFrame::minimumSizeHint() : preferred_;
}

void SvgPicture::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!renderer_)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = contentsRect().adjusted(4, 4, -4, -4);
    QSizeF s = renderer_->defaultSize();
    if (s.isEmpty())
        s = area.size();
    s.scale(area.size(), Qt::KeepAspectRatio);
    const QRectF target(area.center().x() - s.width() / 2, area.center().y() - s.height() / 2,
                        s.width(), s.height());
    renderer_->render(&p, target);
}

} // namespace zf

#include "svgpicture.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace zf {

SvgPicture::SvgPicture(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
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
    update();
}

bool SvgPicture::hasPicture() const {
    return renderer_ != nullptr;
}

void SvgPicture::setPreferredSize(const QSize& size) {
    preferred_ = size;
    updateGeometry();
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

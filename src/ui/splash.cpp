#include "splash.h"

#include "pictures.h"
#include "shell/commands.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace zf {

ZFSplash::ZFSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ZFSplash"));
    setFixedSize(480, 300);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 10);
    layout->addStretch();
    auto* version = new QLabel(QString::fromLatin1(AppVersionText), this);
    version->setObjectName(QStringLiteral("lbVersion"));
    auto* loading = new QLabel(QStringLiteral("Loading, please wait ..."), this);
    loading->setObjectName(QStringLiteral("lbLoading"));
    for (QLabel* l : {version, loading})
        l->setStyleSheet(QStringLiteral("color: #2b3a42; background: transparent"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setRange(0, 9);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setFixedHeight(10);
    layout->addWidget(version);
    layout->addWidget(loading);
    layout->addWidget(bar_);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void ZFSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // Drawn once: the window repaints at every step of the start.
    if (picture_.isNull())
        picture_ = picturePixmap(QStringLiteral("splash.svg"), size(), devicePixelRatioF());
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
    p.setPen(QColor(0x2b, 0x3a, 0x42));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ZFSplash::step() {
    bar_->setValue(bar_->value() + 1);
    QApplication::processEvents();
}

int ZFSplash::progress() const {
    return bar_->value();
}

} // namespace zf

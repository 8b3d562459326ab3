#include "helphints.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

namespace zf {

HintBalloon::HintBalloon() : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("msgHint"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setMargin(6);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

QPoint HintBalloon::placement(const QRect& control, const QSize& balloon, const QRect& screen) {
    auto clamp = [](int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); };
    const int w = balloon.width(), h = balloon.height();
    const QPoint candidates[] = {
        {control.right() + 1 + Gap, clamp(control.top(), screen.top(), screen.bottom() + 1 - h)},
        {control.left() - Gap - w, clamp(control.top(), screen.top(), screen.bottom() + 1 - h)},
        {clamp(control.left(), screen.left(), screen.right() + 1 - w), control.bottom() + 1 + Gap},
        {clamp(control.left(), screen.left(), screen.right() + 1 - w), control.top() - Gap - h},
    };
    for (const QPoint& p : candidates) {
        const QRect r(p, balloon);
        if (screen.contains(r) && !r.intersects(control))
            return p;
    }
    // No side has room on the screen: beside the control anyway, off the screen
    // rather than over the control.
    return candidates[0];
}

void HintBalloon::showBeside(QWidget* control, const QString& text) {
    target_ = control;
    setText(text);
    const int inner = MaxWidth - 2 * (margin() + frameWidth());
    const QRect needed = fontMetrics().boundingRect(QRect(0, 0, inner, 100000),
                                                    Qt::TextWordWrap | Qt::AlignLeft, text);
    const int extra = 2 * (margin() + frameWidth());
    const QSize size(std::min(MaxWidth, needed.width() + extra + 1), needed.height() + extra);
    resize(size);
    const QRect global(control->mapToGlobal(QPoint(0, 0)), control->size());
    QScreen* screen = control->screen() ? control->screen() : QGuiApplication::primaryScreen();
    const QRect area =
        screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 20, 1 << 20));
    move(placement(global, size, area));
    show();
    raise();
}

HelpHints::HelpHints(std::function<bool()> helpDisplay, QObject* parent)
    : QObject(parent), helpDisplay_(std::move(helpDisplay)), balloon_(new HintBalloon) {}

HelpHints::~HelpHints() {
    delete balloon_;
}

void HelpHints::setHint(QWidget* control, const QString& hint) {
    if (!control)
        return;
    if (!hints_.contains(control))
        connect(control, &QObject::destroyed, this, [this, control] {
            hints_.remove(control);
            if (!balloon_->target() || balloon_->target() == control)
                balloon_->hide();
        });
    hints_.insert(control, hint);
    if (tooltipControls_.contains(control))
        control->setToolTip(helpDisplay_() ? hint : QString());
    if (balloon_->isVisible() && balloon_->target() == control)
        showBalloon(control);
}

void HelpHints::showBalloon(QWidget* control) {
    pending_ = control;
    QMetaObject::invokeMethod(
        this,
        [this] {
            QWidget* c = pending_;
            pending_ = nullptr;
            if (c)
                showNow(c);
        },
        Qt::QueuedConnection);
}

void HelpHints::showNow(QWidget* control) {
    if (!control || !helpDisplay_() || !control->isVisible() || !control->isEnabled() ||
        hints_.value(control).isEmpty()) {
        balloon_->hide();
        return;
    }
    balloon_->showBeside(control, hints_.value(control));
}

void HelpHints::hideBalloon() {
    pending_ = nullptr;
    balloon_->hide();
}

void HelpHints::registerTooltipControl(QWidget* control) {
    if (!control || tooltipControls_.contains(control))
        return;
    tooltipControls_ << control;
    control->setToolTip(helpDisplay_() ? hints_.value(control) : QString());
}

void HelpHints::setTooltips(bool on) {
    for (const QPointer<QWidget>& w : std::as_const(tooltipControls_))
        if (w)
            w->setToolTip(on ? hints_.value(w) : QString());
    if (!on)
        hideBalloon();
}

} // namespace zf

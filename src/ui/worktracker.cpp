#include "worktracker.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolBar>

namespace zf {

namespace {
constexpr const char* EditTargetProperty = "zfEditTarget";
}

WorkTracker::WorkTracker() {
    qApp->installEventFilter(this);
}

WorkTracker& WorkTracker::instance() {
    // Parented to the application, so that it goes with it.
    static QPointer<WorkTracker> tracker;
    if (!tracker) {
        tracker = new WorkTracker;
        tracker->setParent(qApp);
    }
    return *tracker;
}

QWidget* WorkTracker::textField(QWidget* w) {
    if (!w)
        return nullptr;
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
        qobject_cast<QPlainTextEdit*>(w))
        return w;
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
        return combo->lineEdit();
    // The viewport of a text edit.
    if (auto* parent = w->parentWidget();
        parent && (qobject_cast<QTextEdit*>(parent) || qobject_cast<QPlainTextEdit*>(parent)))
        return parent;
    return nullptr;
}

void WorkTracker::markEditTarget(QWidget* widget) {
    widget->setProperty(EditTargetProperty, true);
}

bool WorkTracker::isEditTarget(QWidget* widget) {
    return widget && (textField(widget) || widget->property(EditTargetProperty).toBool());
}

bool WorkTracker::isWorkWindow(const QWidget* w) {
    if (!w || !w->isWindow())
        return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
        return false;
    default:
        return true;
    }
}

bool WorkTracker::overFrameBars() const {
    auto* frame = qobject_cast<QMainWindow*>(frame_.data());
    if (!frame)
        return false;
    const QPoint at = QCursor::pos();
    auto over = [&](const QWidget* bar) {
        return bar && bar->isVisible() &&
               QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size()).contains(at);
    };
    if (over(frame->menuBar()))
        return true;
    for (const QToolBar* bar : frame->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
        if (over(bar))
            return true;
    return false;
}

bool WorkTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        auto* w = qobject_cast<QWidget*>(watched);
        QWidget* window = w ? w->window() : nullptr;
        if (isWorkWindow(window)) {
            if (isEditTarget(w))
                targets_.insert(window, w);
            // A focus that the window's activation gave back is not the user's
            // move: the activation says where he works.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                reason != Qt::MenuBarFocusReason)
                window_ = window;
        }
    } else if (event->type() == QEvent::WindowActivate) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (isWorkWindow(w) && !(w == frame_ && overFrameBars())) {
            // When the dialog he worked in closes, the system activates a window
            // of its choice: the user is back in the window the dialog belonged to.
            if (window_ && window_ != w && !window_->isVisible() && window_->isModal() &&
                window_->parentWidget())
                if (QWidget* back = window(); back && back != window_) {
                    window_ = back;
                    return QObject::eventFilter(watched, event);
                }
            window_ = w;
        }
    }
    return QObject::eventFilter(watched, event);
}

QWidget* WorkTracker::window() const {
    // A dialog the user worked in has closed: he is back in the window it
    // belonged to, whichever window the system activated next.
    int guard = 0;
    for (QWidget* w = window_; w && guard < 20; ++guard) {
        if (w->isVisible() && !w->isMinimized())
            return w;
        w = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    }
    QWidget* active = QApplication::activeWindow();
    return isWorkWindow(active) ? active : nullptr;
}

QWidget* WorkTracker::editTarget() const {
    QWidget* w = window();
    if (!w)
        return nullptr;
    QWidget* t = targets_.value(w);
    if (t && t->isVisible() && t->isEnabled() && t->window() == w)
        return textField(t) ? textField(t) : t;
    QWidget* focus = w->focusWidget();
    if (isEditTarget(focus) && focus->isVisible())
        return textField(focus) ? textField(focus) : focus;
    return nullptr;
}

} // namespace zf

#pragma once

#include <QHash>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

namespace zf {

// How long a hint (a tooltip) stays visible, in milliseconds.
inline constexpr int HintHidePause = 20000;

// The balloon that explains the control with the focus: a window of its own
// beside the control, at most MaxWidth pixels wide, that never covers the
// control it explains.
class HintBalloon : public QLabel {
    Q_OBJECT
public:
    static constexpr int MaxWidth = 400;
    static constexpr int Gap = 6;

    HintBalloon();

    void showBeside(QWidget* control, const QString& text);
    QWidget* target() const { return target_; }

    // Where a balloon of a size goes beside a control (both in global
    // coordinates) on a screen: right of it, else left, else below, else above,
    // moved along the control's side to stay on the screen; never over the
    // control.
    static QPoint placement(const QRect& control, const QSize& balloon, const QRect& screen);

private:
    QPointer<QWidget> target_;
};

// The help hints of the windows: a hint text per control, shown in a balloon
// on request (edits, memos) or as the control's tooltip (the other controls),
// both only while the help display is on.
class HelpHints : public QObject {
    Q_OBJECT
public:
    // helpDisplay tells whether the help display is on.
    explicit HelpHints(std::function<bool()> helpDisplay, QObject* parent = nullptr);
    ~HelpHints() override;

    void setHint(QWidget* control, const QString& hint);
    QString hint(QWidget* control) const { return hints_.value(control); }
    // Shows the hint of the control in the balloon: only while the help display
    // is on, the control is shown and enabled, and it has a hint. Pending events
    // run first (the balloon comes when they have), so that the control is where
    // it will be seen.
    void showBalloon(QWidget* control);
    void hideBalloon();
    HintBalloon* balloon() const { return balloon_; }

    // A control whose hint is its tooltip while the help display is on.
    void registerTooltipControl(QWidget* control);
    void setTooltips(bool on);

private:
    void showNow(QWidget* control);

    std::function<bool()> helpDisplay_;
    QHash<QWidget*, QString> hints_;
    QList<QPointer<QWidget>> tooltipControls_;
    HintBalloon* balloon_ = nullptr;
    QPointer<QWidget> pending_;
};

} // namespace zf

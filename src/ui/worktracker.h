#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace zf {

// Where the user works: the window he last activated or moved the focus in,
// and in each window the text field (or another widget that takes the Edit
// commands, such as the plan) that last had the focus there. The Edit commands
// act on that field and the dialogs open over that window.
//
// A click on the frame's menu bar or tool bar activates the frame, the main
// window, without moving the work there: the user still works in the wizard
// that stays on top of it, and the Edit menu acts on the wizard's field.
class WorkTracker : public QObject {
    Q_OBJECT
public:
    // The one tracker of the application; it watches every window from its
    // first use on.
    static WorkTracker& instance();

    // The window with the menu bar and the tool bar (the main window).
    void setFrame(QWidget* frame) { frame_ = frame; }

    // The window the user works in while it is shown; after a dialog closed,
    // the window it belonged to; else the active window.
    QWidget* window() const;
    // The edit target the user last focused in that window, while it is shown
    // and enabled; else the focus widget when it is one; else null.
    QWidget* editTarget() const;

    // Text fields: line edits, the edit of an editable list, text edits.
    // Returns the field itself (the line edit of a list), or null.
    static QWidget* textField(QWidget* widget);
    // A widget other than a text field that takes the Edit commands marks
    // itself so.
    static void markEditTarget(QWidget* widget);
    static bool isEditTarget(QWidget* widget);

    // A window of the program's own that the user works in (no popup, tooltip or
    // splash).
    static bool isWorkWindow(const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WorkTracker();
    bool overFrameBars() const;

    QPointer<QWidget> window_;
    QPointer<QWidget> frame_;
    QHash<const QWidget*, QPointer<QWidget>> targets_; // by window
};

} // namespace zf

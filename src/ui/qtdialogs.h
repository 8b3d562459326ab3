#pragma once

#include "common/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace zf {

// The Dialogs port with Qt's message boxes and file dialogs.
//
// Every dialog of the program opens over the window the user works in (the
// modal dialog that is up, else the window he works in, else the main window)
// as its child, and stays on top while a window that stays on top (the wizard,
// a catalog) is shown, so that no dialog is ever hidden behind another window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // A window that stays on top (the splash) is hidden while any dialog shows,
    // so that no dialog is ever hidden behind it, and shown again after it.
    void hideBeforeDialogs(QWidget* window) { obscuring_ = window; }

    int messageBox(const QString& text, const QString& caption, int flags) override;
    QString openFileName(const QString& title, const QString& filter,
                         const QString& initialFolder) override;
    QString saveFileName(const SaveDialogOptions& options) override;
    void beginBusy() override;
    void endBusy() override;
    void processEvents() override;

    // "Desc|*.a|All|*.*" as a Qt filter "Desc (*.a);;All (*.*)".
    static QString qtFilter(const QString& filter);

    // The window a dialog opens over; fallback when the user works in none.
    static QWidget* ownerWindow(QWidget* fallback, const QWidget* dialog = nullptr);
    // Whether a window of the program that stays on top is shown (other than
    // the dialog).
    static bool windowOnTopShown(const QWidget* except = nullptr);
    // A dialog about to be shown stays on top while such a window is shown.
    static void keepOnTop(QWidget* dialog);

    // A dialog the program keeps (the About box, the unit properties) is made
    // a child of the owner window and kept on top while it is shown modally;
    // its own parent and flags come back afterwards.
    class Placement {
    public:
        explicit Placement(QWidget* dialog);
        ~Placement();
        Placement(const Placement&) = delete;
        Placement& operator=(const Placement&) = delete;

    private:
        QPointer<QWidget> dialog_;
        QPointer<QWidget> parent_;
        Qt::WindowFlags flags_;
        bool reparented_ = false;
    };

private:
    // Hides the window in the way; true when it did.
    bool clearTheWay();
    void restoreTheWay(bool hidden);

    QWidget* parent_;
    QPointer<QWidget> obscuring_;
};

} // namespace zf

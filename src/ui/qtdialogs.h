#pragma once

#include "common/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace zf {

// The Dialogs port with Qt's message boxes and file dialogs.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // A window that stays on top (the splash) is hidden before any dialog shows,
    // so that no dialog is ever hidden behind it.
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

private:
    void clearTheWay();

    QWidget* parent_;
    QPointer<QWidget> obscuring_;
};

} // namespace zf

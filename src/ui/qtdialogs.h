#pragma once

#include "common/dialogs.h"

class QWidget;

namespace zf {

// The Dialogs port with Qt's message boxes and file dialogs.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

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
    QWidget* parent_;
};

} // namespace zf

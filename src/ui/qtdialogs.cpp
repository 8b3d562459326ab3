#include "qtdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zf {

QString QtDialogs::qtFilter(const QString& filter) {
    QStringList parts;
    for (const auto& [desc, patterns] : splitFileFilter(filter)) {
        QString d = desc;
        // The description usually names its patterns already: "Files (*.zfp)".
        if (!d.contains(QLatin1Char('(')))
            d += QStringLiteral(" (") +
                 QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
        parts << d;
    }
    return parts.join(QStringLiteral(";;"));
}

void QtDialogs::clearTheWay() {
    if (obscuring_ && obscuring_->isVisible())
        obscuring_->hide();
}

int QtDialogs::messageBox(const QString& text, const QString& caption, int flags) {
    clearTheWay();
    // The box belongs to the window the user works in, so that it comes over a
    // window that stays on top (the input wizard) rather than behind it.
    QWidget* owner = QApplication::activeWindow();
    if (!owner || !owner->isVisible())
        owner = parent_ && parent_->isVisible() ? parent_ : nullptr;
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (iconOfFlags(flags)) {
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (flags & 0x0f) {
    case 3:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case 4:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
    }
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    switch (r) {
    case QMessageBox::Yes:
        return IdYes;
    case QMessageBox::No:
        return IdNo;
    case QMessageBox::Cancel:
        return IdCancel;
    default:
        return IdOk;
    }
}

QString QtDialogs::openFileName(const QString& title, const QString& filter,
                                const QString& initialFolder) {
    clearTheWay();
    return QFileDialog::getOpenFileName(parent_, title, initialFolder, qtFilter(filter));
}

QString QtDialogs::saveFileName(const SaveDialogOptions& o) {
    clearTheWay();
    QFileDialog dlg(parent_, o.title, o.initialFolder, qtFilter(o.filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(o.defaultSuffix);
    dlg.setSizeGripEnabled(true);
    if (!o.promptOverwrite)
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = dlg.nameFilters();
    if (!filters.isEmpty())
        dlg.selectNameFilter(filters.first());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().first();
}

void QtDialogs::beginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtDialogs::endBusy() {
    QApplication::restoreOverrideCursor();
}

void QtDialogs::processEvents() {
    QApplication::processEvents();
}

} // namespace zf

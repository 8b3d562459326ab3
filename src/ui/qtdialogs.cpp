#include "qtdialogs.h"

#include "worktracker.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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

bool QtDialogs::clearTheWay() {
    if (!obscuring_ || !obscuring_->isVisible())
        return false;
    obscuring_->hide();
    return true;
}

// The splash comes back until the main window shows.
void QtDialogs::restoreTheWay(bool hidden) {
    if (!hidden || !obscuring_)
        return;
    obscuring_->show();
    obscuring_->raise();
    obscuring_->repaint();
}

namespace {

// Whether window lies over owner: owner is one of the windows up its chain of
// parents.
bool ownedBy(const QWidget* window, const QWidget* owner) {
    int guard = 0;
    for (const QWidget* w = window->parentWidget(); w && guard < 50; w = w->parentWidget(), ++guard)
        if (w->window() == owner)
            return true;
    return false;
}

// A window the user sees that stays on top of the others.
bool shownOnTop(const QWidget* w) {
    return w->isVisible() && WorkTracker::isWorkWindow(w) && (w->windowFlags() & Qt::WindowStaysOnTopHint);
}

} // namespace

QWidget* QtDialogs::ownerWindow(QWidget* fallback, const QWidget* dialog) {
    auto usable = [dialog](QWidget* w) {
        return w && w != dialog && w->isVisible() && !(dialog && dialog->isAncestorOf(w));
    };
    QWidget* work = WorkTracker::instance().window();
    if (QWidget* modal = QApplication::activeModalWidget(); usable(modal)) {
        // A window of the modal dialog's own (the new item's window over the
        // catalog) is where the user works, and takes the input the dialog
        // leaves open.
        if (usable(work) && work != modal && ownedBy(work, modal))
            return work;
        return modal;
    }
    if (usable(work))
        return work;
    if (fallback && usable(fallback->window()))
        return fallback->window();
    return nullptr;
}

bool QtDialogs::windowOnTopShown(const QWidget* except) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows)
        if (w != except && shownOnTop(w))
            return true;
    return false;
}

namespace {

// Among the windows that stay on top the window manager may leave a new
// dialog under an older one that is not its owner (the units catalog over the
// report's dialogs of the main window). A dialog comes over the windows of its
// owner's family, the owner's dialogs and itself; raising it raises the owner
// it is modal for, in the layer under the windows that stay on top, so the
// dialog itself cannot rise. The windows on top of their own (no dialog of an
// owner) step back instead, before the dialog is mapped; they stay over the
// windows that do not stay on top. The dialog is raised once it shows, and
// whenever it is active again.
class RaiseWhenShown : public QObject {
public:
    explicit RaiseWhenShown(QWidget* dialog) : QObject(dialog) { dialog->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowActivate)
            QTimer::singleShot(0, this, [dialog] {
                if (dialog->isVisible() && dialog->isActiveWindow())
                    dialog->raise();
            });
        if (event->type() == QEvent::Show) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != dialog && w->windowType() == Qt::Window && shownOnTop(w) && !ownedBy(dialog, w))
                    w->lower();
            QTimer::singleShot(0, this, [dialog] {
                if (dialog->isVisible()) {
                    dialog->raise();
                    dialog->activateWindow();
                }
            });
        }
        return false;
    }
};

void watchStacking(QWidget* dialog) {
    if (!dialog->property("zfRaiseWhenShown").toBool()) {
        dialog->setProperty("zfRaiseWhenShown", true);
        new RaiseWhenShown(dialog);
    }
}

} // namespace

void QtDialogs::keepOnTop(QWidget* dialog) {
    if (!dialog->isVisible() && windowOnTopShown(dialog)) {
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        watchStacking(dialog);
    }
}

QtDialogs::Placement::Placement(QWidget* dialog)
    : dialog_(dialog), parent_(dialog->parentWidget()), flags_(dialog->windowFlags()) {
    if (dialog->isVisible())
        return;
    Qt::WindowFlags flags = flags_;
    if (windowOnTopShown(dialog)) {
        flags |= Qt::WindowStaysOnTopHint;
        watchStacking(dialog);
    }
    QWidget* owner = ownerWindow(parent_, dialog);
    if (owner && owner != parent_) {
        dialog->setParent(owner, flags);
        reparented_ = true;
    } else if (flags != flags_) {
        dialog->setWindowFlags(flags);
    }
}

QtDialogs::Placement::~Placement() {
    if (!dialog_)
        return;
    if (reparented_)
        dialog_->setParent(parent_, flags_);
    else if (dialog_->windowFlags() != flags_)
        dialog_->setWindowFlags(flags_);
}

int QtDialogs::messageBox(const QString& text, const QString& caption, int flags) {
    const bool hidden = clearTheWay();
    QMessageBox box(ownerWindow(parent_));
    keepOnTop(&box);
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
    restoreTheWay(hidden);
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
    const bool hidden = clearTheWay();
    QFileDialog dlg(ownerWindow(parent_), title, initialFolder, qtFilter(filter));
    keepOnTop(&dlg);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    const bool accepted = dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty();
    restoreTheWay(hidden);
    return accepted ? dlg.selectedFiles().first() : QString();
}

QString QtDialogs::saveFileName(const SaveDialogOptions& o) {
    const bool hidden = clearTheWay();
    QFileDialog dlg(ownerWindow(parent_), o.title, o.initialFolder, qtFilter(o.filter));
    keepOnTop(&dlg);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(o.defaultSuffix);
    dlg.setSizeGripEnabled(true);
    if (!o.promptOverwrite)
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = dlg.nameFilters();
    if (!filters.isEmpty())
        dlg.selectNameFilter(filters.first());
    const bool accepted = dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty();
    restoreTheWay(hidden);
    return accepted ? dlg.selectedFiles().first() : QString();
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

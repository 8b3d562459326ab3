#pragma once

#include "session/projectsession.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeView;

namespace zf {

// The structural elements catalog (TfrmPrvky): the tree of the materials table of
// the language, its tool bar and OK / Cancel. A modal dialog over the session's
// ElementsCatalog, which holds the tree, the current row and every rule; the
// window forwards the user's clicks and keys and shows what the catalog says.
class TfrmPrvky : public QDialog, public SessionView {
    Q_OBJECT
public:
    explicit TfrmPrvky(ProjectSession& session, QWidget* parent = nullptr);
    ~TfrmPrvky() override;

    QTreeView* tree() const { return ElTree1_; }
    void applyLanguage(int base);

    // SessionView
    std::optional<bool> execDialog(Window window) override;
    bool providesDialog(Window window) const override;
    void stateChanged(Window window, unsigned what) override;
    void focusControl(Window window, const QString& control) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitWidth();
    void showCurrent();
    void ok();
    void doubleClicked(const QModelIndex& index);
    void expandAll(bool expand);

    ElementsCatalog& catalog_;
    QTreeView* ElTree1_ = nullptr;
    QToolButton* tbNew_ = nullptr;
    QToolButton* tbEdit_ = nullptr;
    QToolButton* tbDelete_ = nullptr;
    QToolButton* tbExpandAll_ = nullptr;
    QToolButton* tbCollapseAll_ = nullptr;
    QPushButton* btOK_ = nullptr;
    QPushButton* btCancel_ = nullptr;
    bool syncing_ = false;
    int languageHandle_ = 0;
};

// The dialog for a new catalog element and for editing a user item
// (TfrmPrvekNew), always on top: the group, the name and U. A view of the
// catalog's NewElementState; it writes what was typed back there before any of
// its buttons acts.
class TfrmPrvekNew : public QDialog, public SessionView {
    Q_OBJECT
public:
    explicit TfrmPrvekNew(ProjectSession& session, QWidget* parent = nullptr);
    ~TfrmPrvekNew() override;

    void applyLanguage(int base);

    // SessionView
    void showWindow(Window window, bool shown) override;
    std::optional<bool> execDialog(Window window) override;
    bool providesDialog(Window window) const override;
    void stateChanged(Window window, unsigned what) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void load();
    void store();
    void addAndClose();
    void addAndNew();
    void paintU();

    ElementsCatalog& catalog_;
    QLabel* lbSkupina_ = nullptr;
    QComboBox* cbSkupina_ = nullptr;
    QLabel* lbKonstrukce_ = nullptr;
    QLineEdit* edMaterial_ = nullptr;
    QLabel* slbU_ = nullptr;
    QLineEdit* fed_k_ = nullptr;
    QCheckBox* cbStavKontrukce_ = nullptr;
    QCheckBox* cbStavOtvory_ = nullptr;
    QPushButton* btAddAndClose_ = nullptr;
    QPushButton* btAddAndNew_ = nullptr;
    QPushButton* btCancel_ = nullptr;
    bool modal_ = false;
    int languageHandle_ = 0;
};

} // namespace zf

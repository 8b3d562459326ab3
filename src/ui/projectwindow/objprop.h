#pragma once

#include "session/projectsession.h"
#include "units/unitproperties.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zf {

class FieldBinder;

// The unit properties dialog: the number, type, position, height and angle of
// one placed unit and its four property lists, over the row of tJednotky that
// the session's UnitPropertiesDialog edits. OK keeps the edits, Cancel
// discards them; the session decides what follows.
class TfrmObjProp : public QDialog, public SessionView {
    Q_OBJECT
public:
    explicit TfrmObjProp(ProjectSession& session, QWidget* parent = nullptr);
    ~TfrmObjProp() override;

    void applyLanguage();
    QComboBox* list(UnitProperty property) const { return lists_[int(property)]; }
    QLineEdit* numberField(const QString& column) const;

    // SessionView: the dialog is shown modally for the session.
    std::optional<bool> execDialog(Window window) override;
    bool providesDialog(Window window) const override { return window == Window::UnitProperties; }

    // Called when the dialog is shown, before exec (tests hook in here).
    std::function<void(TfrmObjProp&)> onShown;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void load();
    void showChoices();
    void ok();

    UnitPropertiesDialog& controller_;
    FieldBinder* binder_ = nullptr;
    int languageHandle_ = 0;
    QLabel* lbTyp_ = nullptr;
    QLabel* typ_ = nullptr;
    QGroupBox* gbUmisteni_ = nullptr;
    QLabel* lbCislo_ = nullptr;
    QLabel* number_ = nullptr;
    QLabel* lbUhel_ = nullptr;
    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
    QLineEdit* z_ = nullptr;
    QLineEdit* angle_ = nullptr;
    QLabel* listLabels_[4] = {};
    QComboBox* lists_[4] = {};
    QPushButton* btOK_ = nullptr;
    QPushButton* btCancel_ = nullptr;
};

} // namespace zf

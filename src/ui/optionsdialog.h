#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zf {

class ProjectSession;

// Options > Throw ranges: the spread of the plan's throw zones. The dialog only
// hands on what is typed; the session takes it or refuses it with its message,
// and then the dialog stays open on the edit.
class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(ProjectSession& session, QWidget* parent = nullptr);
    ~TfrmOptions() override;

    QLineEdit* spreadEdit() const { return spread_; }
    QPushButton* okButton() const { return btOK_; }
    void applyLanguage();
    // The session's values into the controls, before the dialog is shown.
    void load();

    void accept() override;

private:
    ProjectSession& session_;
    QLabel* lbSpread_ = nullptr;
    QLineEdit* spread_ = nullptr;
    QLabel* lbDegrees_ = nullptr;
    QLabel* lbNote_ = nullptr;
    QPushButton* btOK_ = nullptr;
    QPushButton* btCancel_ = nullptr;
    int languageHandle_ = 0;
};

} // namespace zf

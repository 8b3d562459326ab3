#pragma once

#include <QDialog>

class QRadioButton;

namespace zf {

// The first-start language dialog: a choice per language with its flag, the
// offered ones enabled, Czech selected at first.
class TfrmLangSel : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLangSel(QWidget* parent = nullptr);
    // The base of the selected choice, however the dialog was closed.
    int selectedBase() const;
    QRadioButton* choice(int base) const;

    // Shows the dialog modally and returns the chosen base.
    static int ask(QWidget* parent = nullptr);

private:
    QList<QPair<int, QRadioButton*>> choices_;
};

} // namespace zf

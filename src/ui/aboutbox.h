#pragma once

#include <QDialog>

class QLabel;

namespace zf {

// The About box: product picture, version and build, the data-access version,
// the notice, the supplier's web address, and a hidden line with the path of the
// reference database that the Insert key shows and hides.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(const QString& referencePath, QWidget* parent = nullptr);
    ~TfrmAbout() override;
    void applyLanguage(int base);
    QLabel* databaseLabel() const { return lbDatabase_; }
    QLabel* webLabel() const { return lbWeb_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openWebAddress();
    QLabel* lbComments_;
    QLabel* lbWeb_;
    QLabel* lbDatabase_;
    int languageHandle_ = 0;
};

} // namespace zf

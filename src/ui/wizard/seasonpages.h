#pragma once

#include "wizard/wizardpage.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
class QVBoxLayout;

namespace zf {

// Page 2 (tsOtopneObdobi): the region and its climate, the operating time, the
// indoor temperatures, the fuel with its price and the control method, and the
// permanent heat gains.
class SeasonPage : public InputPage {
    Q_OBJECT
public:
    explicit SeasonPage(TfrmZInput& frame);
    void refresh(unsigned what) override;
    void applyLanguage() override;

private:
    void buildClimate(QVBoxLayout* column);
    void buildOperation(QVBoxLayout* column);
    void buildFuel(QVBoxLayout* column);
    void buildGains(QVBoxLayout* column);
    void refreshRegionList();

    QComboBox* DBcb_Oblast_ = nullptr;
    QLabel* lbLocation_ = nullptr;
    QRadioButton* prices_[3] = {};
    // The price edits stand beside their radio buttons and the efficiency
    // under the label of the control method: no label is their buddy.
    QLineEdit* priceEdits_[3] = {};
    QLineEdit* efficiency_ = nullptr;
};

// Page 3 (tsProvozniRezim): heating, ventilation with its fresh air, cooling
// and the unit families.
class ModePage : public InputPage {
    Q_OBJECT
public:
    explicit ModePage(TfrmZInput& frame);
    void refresh(unsigned what) override;
    void applyLanguage() override;

private:
    void familyChanged(QListWidgetItem* item);

    QGroupBox* gbProvozniRezim_ = nullptr;
    QListWidget* cblbPouziteJednotky_ = nullptr;
};

} // namespace zf

#pragma once

#include "wizard/wizardpage.h"

class QComboBox;
class QLabel;

namespace zf {

// Page 1 (tsUvodniText): the project, its compiler and the buttons that save
// and delete the compiler's defaults.
class IntroPage : public InputPage {
    Q_OBJECT
public:
    explicit IntroPage(TfrmZInput& frame);
};

// Page 8 (tsPracovniPodminky): the work class with its description and the
// posture with the fixed assumptions.
class WorkPage : public InputPage {
    Q_OBJECT
public:
    explicit WorkPage(TfrmZInput& frame);
    void refresh(unsigned what) override;

private:
    QComboBox* cbTridaPrace_ = nullptr;
    QLabel* lbTridaPrace_ = nullptr;
};

// Page 9 (tsZaver): the title and text of the report's closing page, the
// compiler and the date.
class ClosingPage : public InputPage {
    Q_OBJECT
public:
    explicit ClosingPage(TfrmZInput& frame);
};

} // namespace zf

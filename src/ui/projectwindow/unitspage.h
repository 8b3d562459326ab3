#pragma once

#include <QWidget>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zf {

class CoverageBar;
class DatasetGrid;
class DatasetModel;
class FieldBinder;
class PickListDelegate;
class ProjectSession;
class SvgPicture;
class TfrmZMain;

// Page 2 of the project window (tsVyberJednotek): the table of usable unit types
// with the chosen numbers, the totals, the three coverage lines with their hints
// and the placement panel.
class UnitsPage : public QWidget {
    Q_OBJECT
public:
    UnitsPage(ProjectSession& session, TfrmZMain* main, QWidget* parent = nullptr);

    // The coverage, the totals, the hints and the button's colour.
    void refreshCoverage();
    // The share of the floor the throw of the placed units reaches, with what
    // a low share means.
    void refreshThrowFigure();
    // Variant, side and heights.
    void refreshPlacement();
    // The table's rows were rebuilt or the ventilation line changed.
    void refreshTable();
    void applyLanguage();
    // SetUnitTableTitles: the titles and widths of the grid.
    void SetUnitTableTitles();
    // The page became the current one: the chosen-number cell of the current
    // row is put into edit mode with its pick list.
    void activated();

    DatasetGrid* grid() const { return grid_; }

private:
    void editCount(int row);
    void refreshVariantPicture();

    ProjectSession& session_;
    TfrmZMain* main_;
    FieldBinder* binder_ = nullptr;
    QLabel* lbTyp_ = nullptr;
    QLabel* lbPocetJednotek_ = nullptr;
    QLabel* lbPocetDestrat_ = nullptr;
    QLabel* units_ = nullptr;
    QLabel* destratifiers_ = nullptr;
    QLabel* lbUseDestrat_ = nullptr;
    DatasetModel* model_ = nullptr;
    std::vector<int> baseWidths_; // the grid's widths before the titles widen them
    DatasetGrid* grid_ = nullptr;
    PickListDelegate* counts_ = nullptr;
    QGroupBox* gbRozmisteni_ = nullptr;
    QLabel* lbVarianta_ = nullptr;
    QComboBox* variant_ = nullptr;
    SvgPicture* variantPicture_ = nullptr;
    QLabel* lbVyskaJednotek_ = nullptr;
    QLabel* lbVyskaDestrat_ = nullptr;
    QLineEdit* unitHeight_ = nullptr;
    QLineEdit* destrHeight_ = nullptr;
    QGroupBox* rgSide_ = nullptr;
    QRadioButton* longer_ = nullptr;
    QRadioButton* shorter_ = nullptr;
    QPushButton* place_ = nullptr;
    QLabel* lbTepelny_ = nullptr;
    QLabel* lbCirkulacni_ = nullptr;
    QLabel* lbVetrani_ = nullptr;
    QLabel* lbDestr_ = nullptr;
    QLabel* lbVetraci_ = nullptr;
    QLabel* lbThrowFigure_ = nullptr;
    QLabel* lbThrowHint_ = nullptr;
    CoverageBar* heat_ = nullptr;
    CoverageBar* circulation_ = nullptr;
    CoverageBar* ventilation_ = nullptr;
};

} // namespace zf

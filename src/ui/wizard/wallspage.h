#pragma once

#include "wizard/wizardpage.h"

#include <QModelIndex>

class QLabel;
class QTimer;

namespace zf {

class ConstructionsPage;
class DatasetGrid;
class DatasetModel;
class SvgPicture;

// Page 7 (tsStavebniKonstrukce): the infiltration, the surfaces with their
// materials and U-values, the openings of the current surface, their tool bars
// and the picture of the surface. The rules behind the grids are the core's
// ConstructionsPage.
class WallsPage : public InputPage {
    Q_OBJECT
public:
    explicit WallsPage(TfrmZInput& frame);
    ~WallsPage() override;

    void refresh(unsigned what) override;
    void applyLanguage() override;
    void fitColumns() override;
    // The catalog buttons work when a window can show the catalog.
    void refreshCatalogButtons();
    // The openings grid with its name cell's editor open (after Yes to the
    // openings question).
    void focusOpeningsGrid();
    // Writes the cells being edited, as leaving them would.
    void commitEdits();

private:
    void buildWalls();
    void buildOpenings();
    void refreshConstructions();
    void wallGridClicked(const QModelIndex& index);
    void wallGridDoubleClicked(const QModelIndex& index);
    void openingsGridDoubleClicked(const QModelIndex& index);

    ConstructionsPage& constructions_;
    DatasetModel* wallsModel_ = nullptr;
    DatasetModel* openingsModel_ = nullptr;
    DatasetGrid* ExDBGrid_Steny_ = nullptr;
    DatasetGrid* ExDBGrid_Otvory_ = nullptr;
    SvgPicture* imgStena_ = nullptr;
    QLabel* lbStavOtvory_ = nullptr;
    QWidget* catalogButtons_[2] = {};
    QWidget* wallButtons_[3] = {};
    QTimer* wallClickTimer_ = nullptr;
    QModelIndex pendingWallClick_;
};

} // namespace zf

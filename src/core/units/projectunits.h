#pragma once

#include "units/planview.h"
#include "units/unitproperties.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zf {

class TZFData;

// What the project window does for the units pages; an unset member does
// nothing (Cancel for the properties dialog).
struct ProjectUnitsHooks {
    std::function<void()> focusUnitHeight;         // the height-of-units field
    std::function<void()> focusDestratifierHeight; // the height-of-destratifiers field
    std::function<void()> showPlanPage;            // text 2003
    std::function<void()> showSelectionPage;       // text 2002
    // Shows the unit properties dialog modally on its row (the focus in the X
    // field); true for OK.
    std::function<bool(UnitPropertiesDialog&)> execPropertiesDialog;
};

// How a press of "Locate the units" ended.
enum class PlaceResult {
    Placed,
    NothingChosen,        // message 5011
    NoUnitHeight,         // 5012 answered No
    NoDestratifierHeight, // 5013 answered No
    Declined,             // 5014 answered No
};

// The headless side of the project window's units pages (TfrmZFDraw): the
// placement settings and the automatic placement, the plan with its symbols and
// their storage in tJednotky, the unit properties dialog and the list page's
// pictures.
class ProjectUnits {
public:
    explicit ProjectUnits(TZFData& data);
    ProjectUnits(const ProjectUnits&) = delete;
    ProjectUnits& operator=(const ProjectUnits&) = delete;

    TZFData& data() { return data_; }

    PlanView plan;
    ProjectUnitsHooks hooks;

    // --- placement settings ---
    // "Varianta 1" ... "Varianta 7", not translated.
    static QStringList variantEntries();
    int variantIndex() const { return variant_; }
    // A change of the variant list; written to Varianta_rozmisteni_enum.
    void setVariantIndex(int index);
    // The list as the stored project has it (the wizard's load).
    void restoreVariant();
    // The picture beside the list, or empty when its file does not exist.
    static QString variantPictureFile(int index);
    // "towards the longer side" (text 2110, the default) or the shorter one.
    bool towardsLongerSide = true;

    // --- opening a project ---
    // SetHall with the project's A, B and H1, the symbols from tJednotky, the
    // default zoom at Scale 100 with "100" in the zoom list.
    void showProject();
    // The extent after the wizard's finish.
    void setHallFromProject();

    // --- automatic placement ---
    PlaceResult PlaceUnits();
    void PlaceAlongWalls(int N, bool alongA, bool twoWalls, double Z);
    void PlaceAroundPerimeter(int N, double Z);
    void PlaceMixingUnits(int M, double Z);
    void PlaceDestratifiers(int D, double Zd);
    // The symbol and its tJednotky row, with the data of the current tTempTable
    // row and the kind's default choices; returns the symbol's index.
    int AddPlacedUnit(int kind, const QString& typ, double x, double y, double z, int angle);

    // --- plan and table ---
    void LoadObjectsFromTable();
    void StoreObjectsToTable();
    // Stores the plan when it changed since (PostPendingEdits, a report).
    void storePlanIfChanged();
    bool ExportPlanMetafile(const QString& path) { return plan.ExportPlanMetafile(path); }

    // --- unit properties ---
    void ShowUnitProperties(int symbolIndex);
    UnitPropertiesDialog& propertiesDialog() { return dialog_; }

    // --- list page (text 2004) ---
    // Stores the plan first when it changed, then refreshes the pictures.
    void activateListPage();
    // The pictures of the current row; each slot reports whether it must load.
    struct ListPictures {
        bool locationChanged = false;
        bool flueGasChanged = false;
    };
    ListPictures refreshUnitPictures();
    const PictureSlot& locationPicture() const { return locationPicture_; }
    const PictureSlot& flueGasPicture() const { return flueGasPicture_; }

private:
    double hallA() const;
    double hallB() const;

    TZFData& data_;
    int variant_ = 0;
    UnitPropertiesDialog dialog_;
    PictureSlot locationPicture_, flueGasPicture_;
};

} // namespace zf

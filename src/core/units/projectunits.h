#pragma once

#include "building/tproject.h"
#include "common/viewevents.h"
#include "units/planhistory.h"
#include "units/planview.h"
#include "units/unitproperties.h"

#include <QString>
#include <QStringList>

namespace zf {

class TZFData;

// The pages of the project window (TfrmZFDraw).
enum ProjectPage : int { tsVstupniUdaje, tsVyberJednotek, tsDraw, tsSeznamJednotek };

// The controls of the units pages that the controller puts the focus into.
inline constexpr const char* UnitHeightControl = "DBEd_VyskaJednotek";
inline constexpr const char* DestratifierHeightControl = "DBEd_VyskaDestrat";

// How a press of "Locate the units" ended.
enum class PlaceResult {
    Placed,
    NothingChosen,        // message 5011
    NoUnitHeight,         // 5012 answered No
    NoDestratifierHeight, // 5013 answered No
    Declined,             // 5014 answered No
    TooMany,              // more than MaxPlacedUnits chosen
};

// The headless side of the project window's units pages (TfrmZFDraw): the
// placement settings and the automatic placement, the plan with its symbols and
// their storage in tJednotky, the unit properties dialog and the list page's
// pictures. The hall's size comes from the project's in-memory copy (TProject).
// It tells its views what happens through the ViewEvents it is given.
class ProjectUnits {
public:
    ProjectUnits(TZFData& data, TProject& project);
    ProjectUnits(const ProjectUnits&) = delete;
    ProjectUnits& operator=(const ProjectUnits&) = delete;

    TZFData& data() { return data_; }
    void setViewEvents(ViewEvents* events) { events_ = events ? events : &noViewEvents(); }

    PlanView plan;
    // Undo and redo of the units' moves on the plan.
    PlanHistory history{plan};

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
    // A new project window starts with these plan settings.
    void resetPlanSettings();

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
    bool ExportPlanMetafile(const QString& path, const QLocale& locale = QLocale()) {
        return plan.ExportPlanMetafile(path, locale);
    }

    // --- unit properties ---
    // Opens the dialog for a symbol (the view shows it modally); true for OK.
    bool ShowUnitProperties(int symbolIndex);
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
    TProject& project_;
    ViewEvents* events_ = &noViewEvents();
    int variant_ = 0;
    UnitPropertiesDialog dialog_;
    PictureSlot locationPicture_, flueGasPicture_;
};

} // namespace zf

#pragma once

#include "building/buildingmodel.h"
#include "building/lossestimate.h"
#include "building/tproject.h"
#include "common/editstyle.h"
#include "common/globals.h"
#include "common/viewevents.h"
#include "storage/zfdata.h"
#include "wizard/constructions.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace zf {

// The pages of the input wizard in order.
enum WizardPage : int {
    tsUvodniText,
    tsOtopneObdobi,
    tsProvozniRezim,
    tsRozmeryHaly,
    tsRozmerySvetliku,
    tsTepelneZtraty,
    tsStavebniKonstrukce,
    tsPracovniPodminky,
    tsZaver,
    WizardPageCount
};
QString wizardPageName(int page);
int wizardPageOfName(const QString& name);

// The choices of the wizard's lists, as their entries are ordered.
enum class RoofType : int { Flat, Saddle, Aisle, Bent };
inline constexpr int RoofTypeCount = 4;
enum class SkylightType : int { None, Type1, Type2, Type3, Type4 };
inline constexpr int SkylightTypeCount = 5;
enum class Fuel : int { NaturalGas, Propane, BottledGas };
inline constexpr int FuelCount = 3;
enum class PriceUnit : int { PerM3, PerKWh, PerKg };
inline constexpr int PriceUnitCount = 3;
enum class ControlMethod : int {
    ManualOnOff,
    OneStepThermostat,
    Modulated,
    SelfControl,
    TwoStageThermostat,
    CentralRegulation
};
inline constexpr int ControlMethodCount = 6;
enum class InfiltrationClass : int { VeryWell, Well, Badly, VeryBadly, None };
inline constexpr int InfiltrationClassCount = 5;
enum class Posture : int { Standing, Sitting };
inline constexpr int PostureCount = 2;
inline constexpr int WorkClassCount = 9;

// The unit families a project allows (PouziteJednotky), as a bit set.
enum UnitFamily : int { FamilyAX = 1, FamilyRD = 2, FamilyMK = 4 };
inline constexpr int UnitFamilies[] = {FamilyAX, FamilyRD, FamilyMK};

// The recompute classes of the wizard's data-bound edits.
enum class Recompute : int { Geometry = 0, Nothing = 1, WallTemperatures = 2, Infiltration = 3 };

// A data-bound edit of the wizard: its field, numeric kind and what leaving it
// after a change recomputes.
struct WizardEdit {
    const char* name;
    const char* field;
    EditKind kind;
    Recompute recompute;
    int page;
};
const std::vector<WizardEdit>& wizardEdits();
const WizardEdit* wizardEditOfField(const QString& field);
const WizardEdit* wizardEdit(const QString& name);

// What a change of the wizard's state touched (stateChanged of Window::Wizard).
enum WizardChange : unsigned {
    WizardPageChange = 1u << 0, // active page, visible pages, Previous, Next's caption
    WizardChoices = 1u << 1,    // the lists, radio groups and check boxes
    WizardFields = 1u << 2,     // values of the project record, enabled edits, colours
    WizardRegionList = 1u << 3, // the region list's entries
    WizardEstimates = 1u << 4,  // the estimate labels
    WizardWalls = 1u << 5,      // surfaces and openings, their picture, caption, pick lists
    WizardButtons = 1u << 6,    // the Close button
    WizardAll = 0xffffffffu,
};

// What the wizard's controls show, apart from the values of the project record
// they are bound to. Kept in one piece so that an operation that fails can give
// back the state it started from.
struct WizardState {
    bool visible = false;
    bool closeButtonVisible = true;
    int activePage = tsUvodniText;

    QStringList regionList;
    QString regionText;    // the combo's text
    QString locationLabel; // lbLocation
    Fuel fuel = Fuel::NaturalGas;
    PriceUnit priceUnit = PriceUnit::PerKWh;
    ControlMethod controlMethod = ControlMethod::OneStepThermostat;
    bool efficiencyEnabled = false;
    bool heating = true, ventilation = false, cooling = false;
    int families = 0; // UnitFamily bits
    RoofType roofType = RoofType::Flat;
    SkylightType skylightType = SkylightType::None;
    LossWay lossWay = LossWay::Calculation;
    CladdingClass cladding = CladdingClass::VeryGood;
    LossEstimates estimates;
    InfiltrationClass infiltration = InfiltrationClass::VeryWell;
    int workClass = 0;
    QString workClassDescription;
    Posture posture = Posture::Standing;
    QDateTime datePicker;
    // While the message that no mode is chosen is shown, the caption of the
    // modes' group is drawn in red.
    bool modesAlert = false;
};

// The input wizard's logic without its widgets: the state its controls show,
// its handlers, navigation, validation, loading and its part of the commit. The
// window binds its controls to this state and forwards the user's actions; the
// command-line tool drives the same object. Every handler that writes is one
// operation: one transaction, and on failure the program's message and the
// state as it was. What happens between the wizard and the rest of the program
// (Finish, Cancel, opening it) is the session's.
class InputWizard {
public:
    InputWizard(TZFData& data, TProject& project);
    InputWizard(const InputWizard&) = delete;
    InputWizard& operator=(const InputWizard&) = delete;

    void setViewEvents(ViewEvents* events);
    // The help display: one flag, owned by whoever owns the wizard.
    void setHelpDisplay(const bool* on) { helpDisplay_ = on; }
    bool helpDisplay() const { return helpDisplay_ && *helpDisplay_; }

    const WizardState& state() const { return s_; }
    bool visible() const { return s_.visible; }
    int activePage() const { return s_.activePage; }
    bool pageVisible(int page) const {
        return page != tsStavebniKonstrukce || s_.lossWay == LossWay::Calculation;
    }
    int firstVisiblePage() const;
    bool previousEnabled() const { return s_.activePage != firstVisiblePage(); }
    QString nextCaption() const; // "Next >>" or, on the last page, "&Finish"
    bool infiltrationEditEnabled() const;

    // The captions of the lists in the current language.
    static QStringList roofTypeCaptions();
    static QStringList skylightTypeCaptions();
    static QStringList fuelCaptions();
    static QStringList controlMethodCaptions();
    static QStringList infiltrationCaptions();
    static QStringList postureCaptions();
    static QStringList familyCaptions();
    static QStringList lossWayCaptions();
    static QStringList workClasses();

    // --- loading, storing, validation, commit ---
    void LoadProjectIntoWizard(bool newProject);
    void StoreWizardChoices();
    bool ValidateWizardInput(); // true when something is wrong
    // The wizard's part of Finish and Close, inside the caller's transaction:
    // posts and stores the choices, validates (false: the wizard stays open) and
    // writes the heat loss by the chosen way. The results chain is the caller's.
    bool CommitWizard();
    // Showing and hiding the window.
    void show(const QString& page = QString());
    void hide();
    void setCloseButtonVisible(bool on);

    // --- navigation ---
    // Next: false on the last page, where the button is Finish (the caller
    // commits).
    bool next();
    void previous();
    void setPage(int page); // choosing a tab: runs the page change

    // --- edits ---
    bool editEnabled(const QString& edit) const;
    EditColour editColour(const QString& edit, bool focused = false) const;
    // The colour an edit takes while the user types, from the value as typed
    // (a number, an empty value, or a text that is no number): empty or 0 is
    // red, anything else the window colour.
    EditColour editColourOfValue(const QString& edit, const QVariant& typed) const;
    // The memos hold several lines; every other text edit holds one, and the
    // line breaks of a text pasted into it become blanks.
    static bool multiLineEdit(const QString& edit);
    // Typing a value into an edit and leaving it: the change marks the project,
    // leaving posts and recomputes by the edit's class. False (nothing written)
    // for an edit that is disabled or a value its kind or its field refuses;
    // error then says why.
    bool enterEdit(const QString& edit, const QVariant& value, QString* error = nullptr);

    // --- choices (the lists' change handlers) ---
    void chooseRegion(const QString& text);
    void chooseDays(int days);
    void chooseHours(int hours);
    void chooseFuel(Fuel fuel);
    void choosePriceUnit(PriceUnit unit);
    void chooseControlMethod(ControlMethod method);
    void setHeating(bool on);
    void setVentilation(bool on);
    void setCooling(bool on);
    void setFamily(UnitFamily family, bool on);
    void chooseRoofType(RoofType type);
    void chooseSkylightType(SkylightType type);
    void chooseLossWay(LossWay way);
    void chooseCladding(CladdingClass cls);
    void chooseInfiltration(InfiltrationClass cls);
    void chooseWorkClass(int index);
    void choosePosture(Posture posture);
    void setDate(const QDateTime& date);
    void FillRegionList();

    // --- compiler defaults ---
    void LoadCompilerDefaults();
    // False when the default could not be written (the user has been told).
    bool SaveCompilerDefaults();
    void saveAsDefaultClicked();
    void deleteDefaultClicked();

    // Applies the language to the state the lists show (re-fills the region list,
    // evaluates the work class again), keeping the choices.
    void applyLanguage();

    BuildingModel building;
    ConstructionsPage constructions;

private:
    void clearDefaults(Dataset& defaults);
    template <class Op> bool operation(unsigned changes, Op&& op);
    void notify(unsigned changes);
    void pageChange();
    template <class E> void restoreIndex(const char* field, E& target, int count, E fallback);
    void markModified() { Modified = true; }
    void postProject();
    void applyTypeChoices();
    void showLossEstimates();
    void workClassChanged();

    TZFData& data_;
    TProject& project_;
    ViewEvents* events_ = &noViewEvents();
    const bool* helpDisplay_ = nullptr;
    WizardState s_;
};

} // namespace zf

#pragma once

#include "building/buildingmodel.h"
#include "building/tproject.h"
#include "common/globals.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

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

// A data-bound edit of the wizard: its field, numeric kind (0 text, 1 floating
// point, 2 price, 3 integer) and what leaving it after a change recomputes
// (0 geometry, 1 nothing, 2 wall temperatures, 3 infiltration).
struct WizardEdit {
    const char* name;
    const char* field;
    int kind;
    int recompute;
    int page;
};
const std::vector<WizardEdit>& wizardEdits();
const WizardEdit* wizardEditOfField(const QString& field);
const WizardEdit* wizardEdit(const QString& name);

enum class EditColour { ButtonFace, Red, Window, Aqua };

// What the wizard's operations call in the windows; each member does nothing
// until its window provides it.
struct WizardWindowHooks {
    std::function<void()> showProjectWindow;       // with the plan's extent A, B, H1
    std::function<void(bool)> showVentilationLine; // the project window's ventilation bar
    std::function<void(int)> setPlacementVariant;
    std::function<void()> buildResultSummary;
    std::function<void()> showUnitsPage;
    std::function<void(const QString& control)> focusControl;
    std::function<void()> hideWizard;
    std::function<void()> pageChanged; // the window follows the state
};

// The input wizard's logic without its widgets: the state its controls show
// (the choices, the visible pages, the estimate texts, the enabled edits), its
// handlers, navigation, validation, loading and the commit with the results
// chain. The window binds its controls to this state and forwards the user's
// actions; the command-line tool drives the same object.
class InputWizard {
public:
    InputWizard(TZFData& data, ProjectFiles& files, TProject& project);

    // --- state ---
    bool visible = false;
    bool closeButtonVisible = true;
    bool helpOn = true;
    int activePage = tsUvodniText;
    bool pageVisible(int page) const { return page != tsStavebniKonstrukce || lossWay == 0; }
    QString nextCaption;
    bool previousEnabled = false;

    QStringList regionList;
    QString regionText;    // the combo's text
    QString locationLabel; // lbLocation
    int fuel = 0;
    int priceUnit = 1; // 0 m3, 1 kWh, 2 kg
    int controlMethod = 1;
    bool efficiencyEnabled = false;
    bool heating = true, ventilation = false, cooling = false;
    bool families[3] = {false, false, false};
    int roofType = 0, skylightType = 0;
    int lossWay = 0;       // 0 calculation, 1 estimate, 2 own value
    int claddingClass = 0; // -1 none ticked
    bool class3Enabled = false;
    QString estimateText[4];
    QString estimateValue[4]; // the labels' hidden values, "%f" of the loss in W
    int infiltration = 0;
    bool nEditEnabled = true;
    int workClass = 0;
    QString workClassDescription;
    int posture = 0;
    QDateTime datePicker;

    // The captions of the lists in the current language.
    static QStringList roofTypeCaptions();
    static QStringList skylightTypeCaptions();
    static QStringList fuelCaptions();
    static QStringList controlMethodCaptions();
    static QStringList infiltrationCaptions();
    static QStringList postureCaptions();
    static QStringList workClasses();

    // --- loading, storing, validation, commit ---
    void LoadProjectIntoWizard(bool newProject);
    void StoreWizardChoices();
    bool ValidateWizardInput();            // true when something is wrong
    bool CommitWizard(bool openUnitsPage); // false: validation failed, the wizard stays
    void cancel();
    void close() { CommitWizard(false); }
    // The Input command (and the Document commands with their page).
    void open(const QString& page = QString());

    // --- navigation ---
    void next();
    void previous();
    void setPage(int page); // choosing a tab: runs the page change

    // --- edits ---
    bool editEnabled(const QString& edit) const;
    EditColour editColour(const QString& edit, bool focused = false) const;
    // Typing a value into an edit and leaving it: the change marks the project,
    // leaving posts and recomputes by the edit's class. False (nothing written)
    // for an edit that is disabled or a value its kind refuses.
    bool enterEdit(const QString& edit, const QVariant& value, QString* error = nullptr);

    // --- choices (the lists' change handlers) ---
    void chooseRegion(const QString& text);
    void chooseDays(int days);
    void chooseHours(int hours);
    void chooseFuel(int index);
    void choosePriceUnit(int unit);
    void chooseControlMethod(int index);
    void setHeating(bool on);
    void setVentilation(bool on);
    void setCooling(bool on);
    void setFamily(int item, bool on);
    void chooseRoofType(int index);
    void chooseSkylightType(int index);
    void chooseLossWay(int way);
    void chooseCladding(int cls);
    void chooseInfiltration(int index);
    void chooseWorkClass(int index);
    void choosePosture(int index);
    void FillRegionList();
    void ShowLossEstimates(float dT, float V);

    // --- compiler defaults ---
    void LoadCompilerDefaults();
    void SaveCompilerDefaults();
    void saveAsDefaultClicked();
    void deleteDefaultClicked();

    // --- constructions and openings ---
    QStringList FillMaterialPickList(int typ);
    void AskForOpenings();
    void newOpening();
    void openingFromCatalog(const QString& name, double k);
    void wallFromCatalog(const QString& name, double k);
    void deleteOpening();
    void CopyToSameKind();

    BuildingModel building;
    WizardWindowHooks windows;

private:
    void pageChange();
    void restoreIndex(const char* field, int& target, int count, int fallback);
    void markModified() { Modified = true; }
    void postProject();
    float estimateOfClass(int cls) const;

    TZFData& data_;
    ProjectFiles& files_;
    TProject& project_;
};

} // namespace zf

#pragma once

#include "building/tproject.h"
#include "catalogs/elementscatalog.h"
#include "catalogs/unitscatalog.h"
#include "common/viewevents.h"
#include "report/runreport.h"
#include "session/design.h"
#include "shell/commands.h"
#include "shell/settings.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"
#include "units/projectunits.h"
#include "units/resultsummary.h"
#include "units/throwfigure.h"
#include "units/throwzones.h"
#include "units/unittypes.h"
#include "wizard/inputwizard.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace zf {

class ProjectSession;
class UserSettings;

// A view of the session: a window, or anything else that follows it. It is told
// what happens through the members of ViewEvents (show or hide a window, page
// changed, focus a control, state changed), all no-ops by default. It registers
// itself when made and unregisters when destroyed.
class SessionView : public ViewEvents {
public:
    explicit SessionView(ProjectSession& session);
    ~SessionView() override;
    SessionView(const SessionView&) = delete;
    SessionView& operator=(const SessionView&) = delete;

    ProjectSession& session() const { return *session_; }

private:
    friend class ProjectSession;
    ProjectSession* session_;
};

// What changed in the project window's state (stateChanged of
// Window::ProjectWindow).
enum ProjectWindowChange : unsigned {
    ProjectSummaryChange = 1u << 0,   // page 1, the result summary
    ProjectCoverageChange = 1u << 1,  // the unit types' totals, bars, hints, button colour
    ProjectUnitTableChange = 1u << 2, // tTempTable was rebuilt
    ProjectPlanChange = 1u << 3,      // the plan's symbols or its view
    ProjectUnitListChange = 1u << 4,  // the list of placed units, its pictures
    ProjectPlacementChange = 1u << 5, // variant, side, heights
    ProjectCaptionChange = 1u << 6,   // the window's caption
    ProjectAll = 0xffffffffu,
};

// One open program: the data module, the project files, the building, the input
// wizard and the units, built and connected here and nowhere else. The session
// carries out every step between two parts of the program: New and Open load the
// wizard, give the plan its hall and symbols, recompute the coverage and refresh
// the summary; Finish runs the results chain; the plan is stored before the unit
// list, the properties dialog, a report and a save. The program and the
// command-line tool are each one session; they differ in their Dialogs port and
// in the views they register.
class ProjectSession : private ProjectHooks, private ReportHost {
public:
    ProjectSession();
    ~ProjectSession() override;
    ProjectSession(const ProjectSession&) = delete;
    ProjectSession& operator=(const ProjectSession&) = delete;

    // Opens the reference database and the materials of the language; false
    // after the fatal message: the program must end.
    bool start();
    // At exit: a temporary project is deleted, the settings written, the files
    // of the run deleted.
    void finish();

    // --- what the views bind to and the controllers they drive ---
    InputWizard& wizard() { return wizard_; }
    const InputWizard& wizard() const { return wizard_; }
    ElementsCatalog& elementsCatalog() { return catalog_; }
    UnitsCatalog& unitsCatalog() { return unitsCatalog_; }
    PlanView& plan() { return units_.plan; }
    const PlanHistory& planHistory() const { return units_.history; }
    const ProjectUnits& units() const { return units_; }
    UnitPropertiesDialog& unitProperties() { return units_.propertiesDialog(); }
    // The entries of the chosen-number pick list of a row of the unit types.
    QStringList countPickList(int row) const { return FillCountPickList(data_, row); }
    // The project record, bound to the fields of the wizard and the units page.
    Dataset& projectRecord() { return data_.tADOProject; }
    const Dataset& projectRecord() const { return data_.tADOProject; }
    const Dataset& placedUnits() const { return data_.tJednotky; }
    const Dataset& unitTypes() const { return data_.tResults; }
    // The data sources of the tables the windows show.
    DataSource& projectSource() { return data_.dsADOProject; }
    DataSource& wallsSource() { return data_.dsSteny; }
    DataSource& openingsSource() { return data_.dsStavOtvory; }
    DataSource& unitTypesSource() { return data_.dsResults; }
    DataSource& placedUnitsSource() { return data_.dsJednotky; }
    DataSource& dimensionsSource() { return data_.dsRozmery; }
    const QString& currentFile() const { return files_.CurrentFile; }
    const QString& referencePath() const { return data_.referencePath(); }

    // --- views ---
    // What every registered view is told; the controllers talk to it too.
    ViewEvents& events() { return broadcaster_; }

    // --- settings and the help display ---
    // The user's settings, written whenever they change (none for the tool).
    void setSettings(UserSettings* settings);
    bool helpDisplay() const { return helpDisplay_; }
    void setHelpDisplay(bool on);
    // The base of the checked language command (-1: none).
    int checkedLanguage() const { return checkedLanguage_; }
    // A language command: checks it and applies the language to every window.
    void switchLanguage(int commandBase);
    void writeSettings() override;

    // --- the throw zones ---
    // The plan's "Show throw ranges" and the spread of the zones [whole
    // degrees], both user settings, written at once; the plan, its figure, the
    // report and the drawing export follow them.
    bool showThrowZones() const { return units_.plan.ShowThrowZones; }
    void setShowThrowZones(bool on);
    // The spread the program uses; the tool's coverage without --spread too.
    double throwSpread() const;
    // False, and nothing changes, for a spread the settings do not take
    // (isValidThrowSpreadSetting).
    bool setThrowSpread(int degrees);
    // The spread as the user typed it (Options > Throw ranges): taken, or
    // refused with the program's message; false then.
    bool applyThrowSpreadText(const QString& text);
    // The zones of the plan as it stands (a dragged unit where its outline is)
    // and their figure as the windows write it.
    CoverageFigures throwCoverage() const { return units_.plan.throwFigures(); }
    ThrowFigure throwFigure() const;

    // --- the main window's state ---
    ShellState shellState() const;
    const QString& applicationTitle() const { return files_.ApplicationTitle; }
    const QString& projectTitle() const { return files_.ProjectTitle; }

    // --- file commands ---
    int commandNew();
    int commandOpen();
    int openFile(const QString& path); // Open on a path: command line, tool
    int commandSave();
    int commandSaveAs();
    int commandClose();
    bool closeMainWindow(); // false: the window stays open

    // --- the input wizard ---
    // acInput and the Document commands: the page ("" keeps the current one).
    void openWizard(const QString& page = QString());
    // Next; on the last page it is Finish. False when Finish stopped (the
    // validation failed or the operation could not be written).
    bool wizardNext();
    void wizardPrevious();
    // Finish (openUnitsPage) and Close: the wizard's commit and the results chain
    // as one operation; then the project window, the backup of a new project,
    // the summary and message 2101 while help is shown.
    bool finishWizard(bool openUnitsPage);
    void cancelWizard();

    // --- the project window ---
    bool projectWindowShown() const { return projectWindowShown_; }
    // Shows the project window on its project-data page, creating its state anew
    // when it was closed.
    void showProjectWindow();
    // The user closed it: pending plan moves are stored, the project stays open.
    void projectWindowClosed();
    int projectPage() const { return projectPage_; }
    // The page the window shows; the list page stores the plan first.
    void setProjectPage(int page);
    const ResultSummary& summary() const { return summary_; }
    const CoverageState& coverage() const { return coverage_; }
    bool ventilationLineVisible() const { return ventilationLine_; }

    // --- units selection and placement ---
    // Enters a chosen number into the row of tTempTable with the ID, as choosing
    // it in the grid: one operation with the coverage recomputed once. False
    // when there is no such row, the count is not 0 to MaxChosenUnits, or it
    // could not be written.
    bool chooseUnitCount(int id, int count);
    void setPlacementVariant(int index);
    void setTowardsLongerSide(bool longer);
    // Writes Vyska_jednotek or Vyska_destrat as typed into its field.
    bool setPlacementHeight(const QString& column, double metres);
    PlaceResult placeUnits();
    // A list of the unit list page changed: the choice goes to the row (by
    // position) at once, as one operation. A destratifier has only its location.
    bool setUnitChoice(int row, UnitProperty property, int index);
    // The plan's popup menu "Properties" and its double click: true for OK.
    bool showUnitProperties(int symbolIndex);
    // Writes the plan into tJednotky when it changed (before a report, a save).
    void storePlan();
    // Undo and redo of the units' moves on the plan (in memory; the plan's
    // clean state is the saved project). False when there was nothing to do.
    bool undoPlanMove();
    bool redoPlanMove();

    // --- the structural elements catalog ---
    // Catalogs > Structural Elements Catalog: browsing and maintenance (mode 1).
    void openElementsCatalog();
    // The wizard's catalog buttons (mode 0): on OK the chosen construction goes
    // to the current surface (its Material and k) or into a new opening. False
    // when nothing was chosen.
    bool chooseElementForWall();
    bool chooseElementForOpening();
    // Whether a view can show the catalog (the buttons are disabled otherwise).
    bool elementsCatalogAvailable() const;

    // --- the units catalog viewer ---
    // acKatalogBrisant: the viewer, shown without blocking the program.
    void openUnitsCatalog();
    // Its window closed.
    void unitsCatalogClosed();

    // --- the report ---
    // What the report needs of the program: the pending edits posted with the
    // plan stored first, and the plan's picture.
    ReportHost& reportHost() { return *this; }
    // The report of the project to an output (the file kinds write fileName).
    ReportRunResult runReport(ReportKind kind, const QString& fileName,
                              ReportPresenter* presenter = nullptr);
    // A report command of the menus: the output chosen through the presenter.
    ReportRunResult reportCommand(ReportKind kind, ReportPresenter* presenter);

    // --- the exports of the open project (File > Export) ---
    // The plan as a DXF drawing, the project as an xlsx workbook, each into out:
    // the pending edits posted and the plan stored first (one operation), then
    // the file written whole or not at all. False after the program's message.
    bool exportPlan(const QString& out);
    bool exportWorkbook(const QString& out);
    // The commands: the save dialog in the language, opened in the folder of the
    // last export (kept in the user settings). False when cancelled or failed.
    bool commandExportPlan();
    bool commandExportWorkbook();

    // --- operations on a project file ---
    // Each is one operation on the file: it is opened as Open does, the work
    // done, and the file saved or left as it was; a refusal or failure leaves it
    // as it was after the program's message through the Dialogs port. No
    // project is open afterwards. These run the command-line tool's commands.
    //
    // New, as the File command does it, then Save As file (overwriting).
    bool newProjectFile(const QString& file);
    // Opens the input wizard on the file, enters the design's values as a user
    // would (the choices first, each through its change handler, then the
    // values in column order, then the surfaces and their openings; picking a
    // material answers No to the openings question), goes through the pages and
    // presses Finish; then saves.
    bool applyDesign(const QString& file, const Design& design);
    // Enters the chosen numbers of units and the placement settings, runs the
    // automatic placement when asked to, every question answered Yes; saves.
    bool applyUnits(const QString& file, const UnitsInput& input);
    // Every project table of the file as it is stored, as one JSON object
    // (storage/jsonexport); the file is read, not loaded into the wizard.
    bool exportProject(const QString& file, QByteArray* json);
    // The report of the file in the current language into out (PDF or RTF).
    bool writeReport(const QString& file, ReportKind kind, const QString& out);
    // The throw zones of the stored units and the share of the floor they
    // reach, as one JSON object. A spread outside 0 < spread <= 180 degrees is
    // refused with the program's message before the file is opened.
    bool coverageReport(const QString& file, double spreadDeg, QByteArray* json);
    // The plan (its units as stored, the default spread) as a DXF drawing, the
    // project as an xlsx workbook, in the current language.
    bool writePlanDxf(const QString& file, const QString& out);
    bool writeWorkbook(const QString& file, const QString& out);

private:
    // Opens the file for one of the operations above; false after the message.
    bool openForOperation(const QString& file);
    // The end of an operation that saved nothing, or whose work is refused: the
    // file goes back to the state it was opened in, and is closed.
    void revertAndClose();
    bool exportToFile(bool drawing, const QString& out);
    // True, after the program's message (by default 3547, of the exports),
    // when out names the open project's file or its backup.
    bool refuseProjectAsOutput(const QString& out, int message = 3547);
    bool commandExport(bool drawing);

    // The events of the controllers go to every registered view.
    class Broadcaster : public ViewEvents {
    public:
        std::vector<SessionView*> views;
        void showWindow(Window w, bool shown) override;
        void pageChanged(Window w, int page) override;
        void focusControl(Window w, const QString& control) override;
        void stateChanged(Window w, unsigned what) override;
        std::optional<bool> execDialog(Window w) override;
        bool providesDialog(Window w) const override;
    };
    bool chooseElement();
    friend class SessionView;

    // ProjectHooks: the steps around the file operations.
    void hideWizard() override;
    void showStartPanel() override;
    void hideProjectWindow() override;
    void setMainCaption(const QString& caption) override;
    void setApplicationTitle(const QString& title) override;
    void setProjectWindowCaption(const QString& caption) override;
    void loadProjectIntoWizard(bool newProject) override;
    void showProject() override;
    void storePlanIfChanged() override;
    void openWizardForNewProject() override;
    // ReportHost
    void postPendingEdits() override;
    bool writePlanPicture(const QString& path, const QLocale& locale) override;
    QString reportLanguage() const override;
    void setReportLanguage(const QString& code) override;
    std::optional<CoverageFigures> reportThrowCoverage() override;
    bool refusesOutput(const QString& file) override;

    void resultsChain();
    void refreshSummary();
    void recomputeCoverage();
    void onUnitTypeChange(const QString& field);
    void onUnitChange();

    friend class SessionProbe;

    // The parts of the session, built and connected in its constructor.
    TZFData data_;
    ProjectFiles files_;
    TProject project_;
    InputWizard wizard_;
    ProjectUnits units_;
    ElementsCatalog catalog_;
    UnitsCatalog unitsCatalog_;

    Broadcaster broadcaster_;
    UserSettings* settings_ = nullptr;
    bool helpDisplay_ = true;
    int checkedLanguage_ = 0;
    int throwSpread_ = DefaultThrowSpreadSetting;
    bool projectWindowShown_ = false;
    bool projectWindowCreated_ = false;
    int projectPage_ = tsVstupniUdaje;
    QString exportFolder_; // of the last export, with a trailing '/'; empty: none yet
    bool ventilationLine_ = false;
    ResultSummary summary_;
    CoverageState coverage_;
    int resultsHandle_ = 0;
    int unitsHandle_ = 0;
    int languageHandle_ = 0;
    bool finished_ = false;
};

// The tests' and benchmarks' hand on the session's parts, which no window and
// no command reaches. Not for the program.
class SessionProbe {
public:
    explicit SessionProbe(ProjectSession& session) : s_(session) {}
    TZFData& data() const { return s_.data_; }
    ProjectFiles& files() const { return s_.files_; }
    TProject& project() const { return s_.project_; }
    InputWizard& wizard() const { return s_.wizard_; }
    ProjectUnits& units() const { return s_.units_; }
    ElementsCatalog& catalog() const { return s_.catalog_; }
    UnitsCatalog& unitsCatalog() const { return s_.unitsCatalog_; }

private:
    ProjectSession& s_;
};

} // namespace zf

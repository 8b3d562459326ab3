#include "session/projectsession.h"

#include "building/operatingcosts.h"
#include "building/requiredoutputs.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "shell/settings.h"
#include "storage/operation.h"

#include <algorithm>

namespace zf {

// --- views ---------------------------------------------------------------------

SessionView::SessionView(ProjectSession& session) : session_(&session) {
    session_->broadcaster_.views.push_back(this);
}

SessionView::~SessionView() {
    if (session_)
        std::erase(session_->broadcaster_.views, this);
}

// A view may go while the others are told (a window closing itself): every
// call walks a copy and skips the views gone meanwhile.
#define ZF_EACH_VIEW(call)                                                                         \
    const auto snapshot = views;                                                                   \
    for (SessionView * v : snapshot)                                                               \
        if (std::find(views.begin(), views.end(), v) != views.end())                               \
            v->call;

void ProjectSession::Broadcaster::showWindow(Window w, bool shown) {
    ZF_EACH_VIEW(showWindow(w, shown))
}

void ProjectSession::Broadcaster::pageChanged(Window w, int page) {
    ZF_EACH_VIEW(pageChanged(w, page))
}

void ProjectSession::Broadcaster::focusControl(Window w, const QString& control) {
    ZF_EACH_VIEW(focusControl(w, control))
}

void ProjectSession::Broadcaster::stateChanged(Window w, unsigned what) {
    ZF_EACH_VIEW(stateChanged(w, what))
}

#undef ZF_EACH_VIEW

bool ProjectSession::Broadcaster::providesDialog(Window w) const {
    for (SessionView* v : views)
        if (v->providesDialog(w))
            return true;
    return false;
}

std::optional<bool> ProjectSession::Broadcaster::execDialog(Window w) {
    const auto snapshot = views;
    for (SessionView* v : snapshot) {
        if (std::find(views.begin(), views.end(), v) == views.end())
            continue;
        if (const std::optional<bool> answer = v->execDialog(w))
            return answer;
    }
    return std::nullopt;
}

// --- the session -----------------------------------------------------------------

ProjectSession::ProjectSession()
    : files(data), wizard(data, project), units(data, project), catalog(data), unitsCatalog(data) {
    files.setHooks(this);
    wizard.setViewEvents(&broadcaster_);
    wizard.setHelpDisplay(&helpDisplay_);
    units.setViewEvents(&broadcaster_);
    units.plan.onRepaint = [this] {
        broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
    };
    // --- the catalogs: a changed item reaches the wizard's pick lists at once.
    catalog.setViewEvents(&broadcaster_);
    unitsCatalog.setViewEvents(&broadcaster_);
    catalog.onMaterialsChanged = [this](int, int) {
        wizard.constructions.refresh();
        broadcaster_.stateChanged(Window::Wizard, WizardWalls);
    };
    // --- end of the catalogs
    // A chosen number recomputes the coverage at once; other columns do not.
    resultsHandle_ = data.dsResults.addDataChange(
        [this](DataSource&, const QString& field) { onUnitTypeChange(field); });
    unitsHandle_ =
        data.dsJednotky.addDataChange([this](DataSource&, const QString&) { onUnitChange(); });
    // The data module registered first and re-opens the materials; the wizard's
    // lists follow the language here, before any window applies its texts.
    languageHandle_ = registerLanguageApplier([this](int) {
        wizard.applyLanguage();
        broadcaster_.stateChanged(Window::Main, MainLanguage | MainTitle);
    });
    checkedLanguage_ = LanguageBase == BaseRU1250 ? BaseRU : LanguageBase;
}

ProjectSession::~ProjectSession() {
    // A view that outlives the session is told nothing more.
    for (SessionView* v : broadcaster_.views)
        v->session_ = nullptr;
    broadcaster_.views.clear();
    unregisterLanguageApplier(languageHandle_);
    data.dsResults.removeDataChange(resultsHandle_);
    data.dsJednotky.removeDataChange(unitsHandle_);
    finish();
    files.setHooks(nullptr);
}

bool ProjectSession::start() {
    if (!data.startUp())
        return false;
    data.openMaterials();
    catalog.BuildElementsTree();
    unitsCatalog.chooseView(UnitsCatalog::ByType);
    return true;
}

void ProjectSession::finish() {
    if (finished_)
        return;
    finished_ = true;
    files.atExit();
}

// --- settings and help -------------------------------------------------------------

void ProjectSession::setSettings(UserSettings* settings) {
    settings_ = settings;
    if (!settings_)
        return;
    helpDisplay_ = settings_->showHints;
    checkedLanguage_ = settings_->checkedLanguage;
    files.LastFolder = settings_->lastFolder;
    exportFolder_ = settings_->exportFolder;
    units.plan.ShowThrowZones = settings_->showThrowZones;
    if (isValidThrowSpreadSetting(settings_->throwSpread)) {
        throwSpread_ = settings_->throwSpread;
        units.plan.setThrowSpread(throwSpread_);
    }
}

void ProjectSession::writeSettings() {
    if (!settings_)
        return;
    settings_->lastFolder = files.LastFolder;
    settings_->exportFolder = exportFolder_;
    settings_->showHints = helpDisplay_;
    settings_->checkedLanguage = checkedLanguage_;
    settings_->showThrowZones = units.plan.ShowThrowZones;
    settings_->throwSpread = throwSpread_;
    settings_->write(AppPath);
}

// --- the throw zones ---------------------------------------------------------------

void ProjectSession::setShowThrowZones(bool on) {
    if (units.plan.ShowThrowZones == on)
        return;
    units.plan.ShowThrowZones = on;
    writeSettings();
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
}

double ProjectSession::throwSpread() const {
    return throwSpread_;
}

bool ProjectSession::setThrowSpread(int degrees) {
    if (!isValidThrowSpreadSetting(degrees))
        return false;
    if (degrees == throwSpread_)
        return true;
    throwSpread_ = degrees;
    units.plan.setThrowSpread(degrees);
    writeSettings();
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
    return true;
}

bool ProjectSession::applyThrowSpreadText(const QString& text) {
    QString refusal;
    const std::optional<int> degrees = parseThrowSpreadSetting(text, &refusal);
    if (!degrees) {
        ShowMessageBox(refusal, QString::fromLatin1(ProductName), MbError);
        return false;
    }
    return setThrowSpread(*degrees);
}

ThrowFigure ProjectSession::throwFigure() const {
    return zf::throwFigure(throwCoverage());
}

std::optional<CoverageFigures> ProjectSession::reportThrowCoverage() {
    return projectThrowCoverage(data, units.plan, throwSpread());
}

void ProjectSession::setHelpDisplay(bool on) {
    if (helpDisplay_ == on)
        return;
    helpDisplay_ = on;
    writeSettings();
    broadcaster_.stateChanged(Window::Main, MainCommands);
    broadcaster_.stateChanged(Window::Wizard, WizardChoices);
}

void ProjectSession::switchLanguage(int commandBase) {
    checkedLanguage_ = commandBase;
    int base = commandBase;
    if (base == BaseRU)
        base = CheckRussianCodePage(BaseRU);
    LoadLanguage(base);
    writeSettings();
    broadcaster_.stateChanged(Window::Main, MainCommands);
}

ShellState ProjectSession::shellState() const {
    ShellState s;
    s.wizardVisible = wizard.visible();
    s.projectOpen = data.projectConnected();
    s.modified = Modified && s.projectOpen;
    s.constructionsPageShown = wizard.pageVisible(tsStavebniKonstrukce);
    return s;
}

// --- file commands ----------------------------------------------------------------

int ProjectSession::commandNew() {
    const int r = files.commandNew();
    units.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandOpen() {
    const int r = files.commandOpen();
    units.history.projectSaved();
    writeSettings();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::openFile(const QString& path) {
    const int r = files.OpenProject(path);
    units.history.projectSaved();
    writeSettings();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandSave() {
    const int r = files.commandSave();
    units.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandSaveAs() {
    const int r = files.commandSaveAs();
    units.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandClose() {
    const int r = files.commandClose();
    units.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

bool ProjectSession::closeMainWindow() {
    const bool closes = files.closeMainWindow();
    units.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return closes;
}

// --- the wizard ----------------------------------------------------------------------

void ProjectSession::openWizard(const QString& page) {
    if (!data.projectConnected())
        return;
    files.NewProject = false;
    wizard.show(page);
    broadcaster_.stateChanged(Window::Main, MainCommands);
}

bool ProjectSession::wizardNext() {
    if (wizard.next())
        return true;
    return finishWizard(true);
}

void ProjectSession::wizardPrevious() {
    wizard.previous();
}

// Everything Finish computes from the committed inputs, inside its transaction.
void ProjectSession::resultsChain() {
    units.setHallFromProject();
    const RequiredOutputs outputs = CalculateRequiredOutputs(data);
    BuildUnitTypesTable(data, outputs.heatingOutputW, outputs.ventilationFlowM3h);
    coverage_ = UpdateCoverage(data);
    ventilationLine_ = data.tADOProject.asBoolean(QStringLiteral("Vetrani_bool"));
    CalculateOperatingCosts(data);
    data.tResults.close();
    data.tResults.open();
}

bool ProjectSession::finishWizard(bool openUnitsPage) {
    // Results beyond what the calculation holds are no results: the finish
    // step is undone and the user corrects the inputs.
    struct ResultsOverflow {
        QString what;
    };
    bool committed = false;
    bool ok = false;
    QString overflow;
    const bool closeButtonVisible = wizard.state().closeButtonVisible;
    {
        BusyCursor busy;
        try {
            ok = runOperation(data.ADOConnectionProject, [&] {
                resetResultOverflows();
                committed = wizard.CommitWizard();
                if (!committed)
                    return;
                resultsChain();
                const QString what = overflowingResult(data.ADOConnectionProject);
                if (!what.isEmpty())
                    throw ResultsOverflow{what};
            });
        } catch (const ResultsOverflow& e) {
            overflow = e.what;
            ok = false;
        }
    }
    if (!overflow.isEmpty())
        ShowMessageBox(formatText(LanguageText(5029), {overflow}), QString::fromLatin1(ProductName),
                       MbError);
    if (!ok && committed) {
        // Nothing of it reached the file: the wizard stays, as after a failed
        // validation.
        wizard.show();
        wizard.setCloseButtonVisible(closeButtonVisible);
        return false;
    }
    if (!committed)
        return false;
    showProjectWindow();
    files.wizardFinished();
    units.history.projectSaved();
    refreshSummary();
    broadcaster_.stateChanged(Window::ProjectWindow,
                              ProjectCoverageChange | ProjectUnitTableChange | ProjectPlanChange);
    if (openUnitsPage)
        setProjectPage(tsVyberJednotek);
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    if (helpDisplay_)
        ShowMessageBox(LanguageText(2101), QString::fromLatin1(ProductName), MbInformation);
    return true;
}

void ProjectSession::cancelWizard() {
    wizard.hide();
    files.wizardCancelled();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
}

// --- the project window --------------------------------------------------------------

void ProjectSession::showProjectWindow() {
    if (!projectWindowCreated_) {
        // A new window starts with the plan's own settings.
        projectWindowCreated_ = true;
        units.resetPlanSettings();
    }
    projectWindowShown_ = true;
    units.plan.AutoAlign = true;
    units.restoreVariant();
    setProjectPage(tsVstupniUdaje);
    broadcaster_.showWindow(Window::StartPanel, false);
    broadcaster_.showWindow(Window::ProjectWindow, true);
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectAll);
}

void ProjectSession::projectWindowClosed() {
    if (!projectWindowShown_)
        return;
    // The plan's moves would be lost with the window: they go to the file now.
    storePlan();
    units.history.clear();
    projectWindowShown_ = false;
    projectWindowCreated_ = false;
    broadcaster_.stateChanged(Window::Main, MainCommands);
}

void ProjectSession::setProjectPage(int page) {
    projectPage_ = page;
    if (page == tsSeznamJednotek && data.tJednotky.active()) {
        runOperation(data.ADOConnectionProject, [&] { units.activateListPage(); });
        broadcaster_.stateChanged(Window::ProjectWindow, ProjectUnitListChange);
    }
    broadcaster_.pageChanged(Window::ProjectWindow, page);
}

void ProjectSession::refreshSummary() {
    summary_ = ShowResultSummary(data, summary_);
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectSummaryChange);
}

void ProjectSession::recomputeCoverage() {
    coverage_ = UpdateCoverage(data);
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectCoverageChange);
}

void ProjectSession::onUnitTypeChange(const QString& field) {
    if (field.compare(QLatin1String("Pocet_jednotek"), Qt::CaseInsensitive) == 0)
        recomputeCoverage();
}

void ProjectSession::onUnitChange() {
    if (projectWindowShown_ && projectPage_ == tsSeznamJednotek) {
        units.refreshUnitPictures();
        broadcaster_.stateChanged(Window::ProjectWindow, ProjectUnitListChange);
    }
}

// --- units ------------------------------------------------------------------------------

bool ProjectSession::chooseUnitCount(int id, int count) {
    Dataset& types = data.tResults;
    if (count < 0 || count > MaxChosenUnits)
        return false;
    if (!types.active() || !types.locate(QStringLiteral("ID"), id))
        return false;
    return runOperation(data.ADOConnectionProject, [&] {
        types.setValue(QStringLiteral("Pocet_jednotek"), count);
        types.post();
    });
}

void ProjectSession::setPlacementVariant(int index) {
    runOperation(data.ADOConnectionProject, [&] { units.setVariantIndex(index); });
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlacementChange);
}

void ProjectSession::setTowardsLongerSide(bool longer) {
    units.towardsLongerSide = longer;
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlacementChange);
}

bool ProjectSession::setPlacementHeight(const QString& column, double metres) {
    if (column != QLatin1String("Vyska_jednotek") && column != QLatin1String("Vyska_destrat"))
        return false;
    const bool ok = runOperation(data.ADOConnectionProject, [&] {
        data.tADOProject.setValue(column, metres);
        data.tADOProject.post();
    });
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlacementChange);
    return ok;
}

PlaceResult ProjectSession::placeUnits() {
    PlaceResult result = PlaceResult::Declined;
    runOperation(data.ADOConnectionProject, [&] { result = units.PlaceUnits(); });
    broadcaster_.stateChanged(Window::ProjectWindow,
                              ProjectPlanChange | ProjectUnitListChange | ProjectCoverageChange);
    broadcaster_.stateChanged(Window::Main, MainCommands);
    return result;
}

bool ProjectSession::setUnitChoice(int row, UnitProperty property, int index) {
    Dataset& u = data.tJednotky;
    if (!u.active() || row < 0 || row >= u.recordCount())
        return false;
    const int typField = u.fieldIndex(QStringLiteral("Typ"));
    if (property != UnitProperty::Location && typField >= 0 &&
        isDestratifierType(u.valueAt(row, typField).toString()))
        return false;
    const bool ok = runOperation(data.ADOConnectionProject, [&] {
        u.moveToRow(row);
        SetUnitChoice(property, index, u);
        u.post();
    });
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectUnitListChange);
    return ok;
}

bool ProjectSession::showUnitProperties(int symbolIndex) {
    bool ok = false;
    try {
        ok = units.ShowUnitProperties(symbolIndex);
        if (ok)
            runOperation(data.ADOConnectionProject, [&] { data.tJednotky.checkBrowseMode(); });
    } catch (const DbError& e) {
        data.tJednotky.cancel();
        reportFailedOperation(data.ADOConnectionProject.path(), e.message());
        ok = false;
    }
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange | ProjectUnitListChange);
    return ok;
}

bool ProjectSession::undoPlanMove() {
    const bool done = units.history.undo();
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
    broadcaster_.stateChanged(Window::Main, MainCommands);
    return done;
}

bool ProjectSession::redoPlanMove() {
    const bool done = units.history.redo();
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
    broadcaster_.stateChanged(Window::Main, MainCommands);
    return done;
}

void ProjectSession::openElementsCatalog() {
    catalog.execCatalog(1);
}

bool ProjectSession::elementsCatalogAvailable() const {
    return broadcaster_.providesDialog(Window::ElementsCatalog);
}

bool ProjectSession::chooseElement() {
    return catalog.execCatalog(0) && !catalog.ChosenElementName.isEmpty();
}

bool ProjectSession::chooseElementForWall() {
    if (!chooseElement())
        return false;
    // The exact U: its text is in the user's locale.
    wizard.constructions.wallFromCatalog(catalog.ChosenElementName, catalog.ChosenElementK);
    return true;
}

bool ProjectSession::chooseElementForOpening() {
    if (!chooseElement())
        return false;
    wizard.constructions.openingFromCatalog(catalog.ChosenElementName, catalog.ChosenElementK);
    return true;
}

void ProjectSession::openUnitsCatalog() {
    unitsCatalog.open();
    broadcaster_.showWindow(Window::UnitsCatalog, true);
}

void ProjectSession::unitsCatalogClosed() {
    unitsCatalog.closed();
}

void ProjectSession::storePlan() {
    if (!data.tJednotky.active())
        return;
    runOperation(data.ADOConnectionProject, [&] { units.storePlanIfChanged(); });
}

// --- the steps around the file operations ------------------------------------------

void ProjectSession::hideWizard() {
    wizard.hide();
}

void ProjectSession::showStartPanel() {
    broadcaster_.showWindow(Window::StartPanel, true);
}

void ProjectSession::hideProjectWindow() {
    projectWindowShown_ = false;
    units.plan.ClearObjects(false);
    units.plan.PlanChanged = false;
    units.history.clear();
    summary_ = ResultSummary();
    coverage_ = CoverageState();
    broadcaster_.showWindow(Window::ProjectWindow, false);
}

void ProjectSession::setMainCaption(const QString&) {
    broadcaster_.stateChanged(Window::Main, MainTitle);
}

void ProjectSession::setApplicationTitle(const QString&) {
    broadcaster_.stateChanged(Window::Main, MainTitle);
}

void ProjectSession::setProjectWindowCaption(const QString&) {
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectCaptionChange);
}

void ProjectSession::loadProjectIntoWizard(bool newProject) {
    wizard.LoadProjectIntoWizard(newProject);
    // The project window's ventilation line and placement variant follow the
    // loaded project.
    ventilationLine_ = wizard.state().ventilation;
    units.restoreVariant();
}

void ProjectSession::showProject() {
    showProjectWindow();
    units.showProject();
    recomputeCoverage();
    refreshSummary();
    data.tSteny.first();
    data.tResults.first();
    dialogs().processEvents();
    broadcaster_.focusControl(Window::ProjectWindow, QStringLiteral("ExDBGrid1"));
}

void ProjectSession::postPendingEdits() {
    // The plan goes first: PostPendingEdits stores it through storePlanIfChanged.
    files.PostPendingEdits();
}

bool ProjectSession::writePlanPicture(const QString& path, const QLocale& locale) {
    return units.ExportPlanMetafile(path, locale);
}

QString ProjectSession::reportLanguage() const {
    return settings_ ? settings_->reportLanguage : QString();
}

void ProjectSession::setReportLanguage(const QString& code) {
    if (!settings_ || settings_->reportLanguage == code)
        return;
    settings_->reportLanguage = code;
    writeSettings();
}

ReportRunResult ProjectSession::runReport(ReportKind kind, const QString& fileName,
                                          ReportPresenter* presenter) {
    return RunReport(data, *this, kind, fileName, presenter);
}

void ProjectSession::storePlanIfChanged() {
    units.storePlanIfChanged();
}

void ProjectSession::openWizardForNewProject() {
    wizard.show();
    wizard.setCloseButtonVisible(false);
    broadcaster_.focusControl(Window::Wizard, QStringLiteral("DBEd_ProjectName"));
}

} // namespace zf

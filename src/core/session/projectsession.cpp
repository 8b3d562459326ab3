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
    : files_(data_), wizard_(data_, project_), units_(data_, project_), catalog_(data_),
      unitsCatalog_(data_) {
    files_.setHooks(this);
    wizard_.setViewEvents(&broadcaster_);
    wizard_.setHelpDisplay(&helpDisplay_);
    units_.setViewEvents(&broadcaster_);
    units_.plan.onRepaint = [this] {
        broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
    };
    // --- the catalogs: a changed item reaches the wizard's pick lists at once.
    catalog_.setViewEvents(&broadcaster_);
    unitsCatalog_.setViewEvents(&broadcaster_);
    catalog_.onMaterialsChanged = [this](int, int) {
        wizard_.constructions.refresh();
        broadcaster_.stateChanged(Window::Wizard, WizardWalls);
    };
    // --- end of the catalogs
    // A chosen number recomputes the coverage at once; other columns do not.
    resultsHandle_ = data_.dsResults.addDataChange(
        [this](DataSource&, const QString& field) { onUnitTypeChange(field); });
    unitsHandle_ =
        data_.dsJednotky.addDataChange([this](DataSource&, const QString&) { onUnitChange(); });
    // The data module registered first and re-opens the materials; the wizard's
    // lists follow the language here, before any window applies its texts.
    languageHandle_ = registerLanguageApplier([this](int) {
        wizard_.applyLanguage();
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
    data_.dsResults.removeDataChange(resultsHandle_);
    data_.dsJednotky.removeDataChange(unitsHandle_);
    finish();
    files_.setHooks(nullptr);
}

bool ProjectSession::start() {
    if (!data_.startUp())
        return false;
    data_.openMaterials();
    catalog_.BuildElementsTree();
    unitsCatalog_.chooseView(UnitsCatalog::ByType);
    return true;
}

void ProjectSession::finish() {
    if (finished_)
        return;
    finished_ = true;
    files_.atExit();
}

// --- settings and help -------------------------------------------------------------

void ProjectSession::setSettings(UserSettings* settings) {
    settings_ = settings;
    if (!settings_)
        return;
    helpDisplay_ = settings_->showHints;
    checkedLanguage_ = settings_->checkedLanguage;
    files_.LastFolder = settings_->lastFolder;
    exportFolder_ = settings_->exportFolder;
    units_.plan.ShowThrowZones = settings_->showThrowZones;
    if (isValidThrowSpreadSetting(settings_->throwSpread)) {
        throwSpread_ = settings_->throwSpread;
        units_.plan.setThrowSpread(throwSpread_);
    }
}

void ProjectSession::writeSettings() {
    if (!settings_)
        return;
    settings_->lastFolder = files_.LastFolder;
    settings_->exportFolder = exportFolder_;
    settings_->showHints = helpDisplay_;
    settings_->checkedLanguage = checkedLanguage_;
    settings_->showThrowZones = units_.plan.ShowThrowZones;
    settings_->throwSpread = throwSpread_;
    settings_->write(AppPath);
}

// --- the throw zones ---------------------------------------------------------------

void ProjectSession::setShowThrowZones(bool on) {
    if (units_.plan.ShowThrowZones == on)
        return;
    units_.plan.ShowThrowZones = on;
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
    units_.plan.setThrowSpread(degrees);
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
    return projectThrowCoverage(data_, units_.plan, throwSpread());
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
    s.wizardVisible = wizard_.visible();
    s.projectOpen = data_.projectConnected();
    s.modified = Modified && s.projectOpen;
    s.constructionsPageShown = wizard_.pageVisible(tsStavebniKonstrukce);
    return s;
}

// --- file commands ----------------------------------------------------------------

int ProjectSession::commandNew() {
    const int r = files_.commandNew();
    units_.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandOpen() {
    const int r = files_.commandOpen();
    units_.history.projectSaved();
    writeSettings();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::openFile(const QString& path) {
    const int r = files_.OpenProject(path);
    units_.history.projectSaved();
    writeSettings();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandSave() {
    const int r = files_.commandSave();
    units_.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandSaveAs() {
    const int r = files_.commandSaveAs();
    units_.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

int ProjectSession::commandClose() {
    const int r = files_.commandClose();
    units_.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return r;
}

bool ProjectSession::closeMainWindow() {
    const bool closes = files_.closeMainWindow();
    units_.history.projectSaved();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
    return closes;
}

// --- the wizard ----------------------------------------------------------------------

void ProjectSession::openWizard(const QString& page) {
    if (!data_.projectConnected())
        return;
    files_.NewProject = false;
    wizard_.show(page);
    broadcaster_.stateChanged(Window::Main, MainCommands);
}

bool ProjectSession::wizardNext() {
    if (wizard_.next())
        return true;
    return finishWizard(true);
}

void ProjectSession::wizardPrevious() {
    wizard_.previous();
}

// Everything Finish computes from the committed inputs, inside its transaction.
void ProjectSession::resultsChain() {
    units_.setHallFromProject();
    const RequiredOutputs outputs = CalculateRequiredOutputs(data_);
    BuildUnitTypesTable(data_, outputs.heatingOutputW, outputs.ventilationFlowM3h);
    coverage_ = UpdateCoverage(data_);
    ventilationLine_ = data_.tADOProject.asBoolean(QStringLiteral("Vetrani_bool"));
    CalculateOperatingCosts(data_);
    data_.tResults.close();
    data_.tResults.open();
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
    const bool closeButtonVisible = wizard_.state().closeButtonVisible;
    {
        BusyCursor busy;
        try {
            ok = runOperation(data_.projectConnection(), [&] {
                resetResultOverflows();
                committed = wizard_.CommitWizard();
                if (!committed)
                    return;
                resultsChain();
                const QString what = overflowingResult(data_.projectConnection());
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
        wizard_.show();
        wizard_.setCloseButtonVisible(closeButtonVisible);
        return false;
    }
    if (!committed)
        return false;
    showProjectWindow();
    files_.wizardFinished();
    units_.history.projectSaved();
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
    wizard_.hide();
    files_.wizardCancelled();
    broadcaster_.stateChanged(Window::Main, MainCommands | MainTitle);
}

// --- the project window --------------------------------------------------------------

void ProjectSession::showProjectWindow() {
    if (!projectWindowCreated_) {
        // A new window starts with the plan's own settings.
        projectWindowCreated_ = true;
        units_.resetPlanSettings();
    }
    projectWindowShown_ = true;
    units_.plan.AutoAlign = true;
    units_.restoreVariant();
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
    units_.history.clear();
    projectWindowShown_ = false;
    projectWindowCreated_ = false;
    broadcaster_.stateChanged(Window::Main, MainCommands);
}

void ProjectSession::setProjectPage(int page) {
    projectPage_ = page;
    if (page == tsSeznamJednotek && data_.tJednotky.active()) {
        runOperation(data_.projectConnection(), [&] { units_.activateListPage(); });
        broadcaster_.stateChanged(Window::ProjectWindow, ProjectUnitListChange);
    }
    broadcaster_.pageChanged(Window::ProjectWindow, page);
}

void ProjectSession::refreshSummary() {
    summary_ = ShowResultSummary(data_, summary_);
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectSummaryChange);
}

void ProjectSession::recomputeCoverage() {
    coverage_ = UpdateCoverage(data_);
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectCoverageChange);
}

void ProjectSession::onUnitTypeChange(const QString& field) {
    if (field.compare(QLatin1String("Pocet_jednotek"), Qt::CaseInsensitive) == 0)
        recomputeCoverage();
}

void ProjectSession::onUnitChange() {
    if (projectWindowShown_ && projectPage_ == tsSeznamJednotek) {
        units_.refreshUnitPictures();
        broadcaster_.stateChanged(Window::ProjectWindow, ProjectUnitListChange);
    }
}

// --- units ------------------------------------------------------------------------------

bool ProjectSession::chooseUnitCount(int id, int count) {
    Dataset& types = data_.tResults;
    if (count < 0 || count > MaxChosenUnits)
        return false;
    if (!types.active() || !types.locate(QStringLiteral("ID"), id))
        return false;
    return runOperation(data_.projectConnection(), [&] {
        types.setValue(QStringLiteral("Pocet_jednotek"), count);
        types.post();
    });
}

void ProjectSession::setPlacementVariant(int index) {
    runOperation(data_.projectConnection(), [&] { units_.setVariantIndex(index); });
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlacementChange);
}

void ProjectSession::setTowardsLongerSide(bool longer) {
    units_.towardsLongerSide = longer;
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlacementChange);
}

bool ProjectSession::setPlacementHeight(const QString& column, double metres) {
    if (column != QLatin1String("Vyska_jednotek") && column != QLatin1String("Vyska_destrat"))
        return false;
    const bool ok = runOperation(data_.projectConnection(), [&] {
        data_.tADOProject.setValue(column, metres);
        data_.tADOProject.post();
    });
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlacementChange);
    return ok;
}

PlaceResult ProjectSession::placeUnits() {
    PlaceResult result = PlaceResult::Declined;
    runOperation(data_.projectConnection(), [&] { result = units_.PlaceUnits(); });
    broadcaster_.stateChanged(Window::ProjectWindow,
                              ProjectPlanChange | ProjectUnitListChange | ProjectCoverageChange);
    broadcaster_.stateChanged(Window::Main, MainCommands);
    return result;
}

bool ProjectSession::setUnitChoice(int row, UnitProperty property, int index) {
    Dataset& u = data_.tJednotky;
    if (!u.active() || row < 0 || row >= u.recordCount())
        return false;
    const int typField = u.fieldIndex(QStringLiteral("Typ"));
    if (property != UnitProperty::Location && typField >= 0 &&
        isDestratifierType(u.valueAt(row, typField).toString()))
        return false;
    const bool ok = runOperation(data_.projectConnection(), [&] {
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
        ok = units_.ShowUnitProperties(symbolIndex);
        if (ok)
            runOperation(data_.projectConnection(), [&] { data_.tJednotky.checkBrowseMode(); });
    } catch (const DbError& e) {
        data_.tJednotky.cancel();
        reportFailedOperation(data_.projectConnection().path(), e.message());
        ok = false;
    }
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange | ProjectUnitListChange);
    return ok;
}

bool ProjectSession::undoPlanMove() {
    const bool done = units_.history.undo();
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
    broadcaster_.stateChanged(Window::Main, MainCommands);
    return done;
}

bool ProjectSession::redoPlanMove() {
    const bool done = units_.history.redo();
    broadcaster_.stateChanged(Window::ProjectWindow, ProjectPlanChange);
    broadcaster_.stateChanged(Window::Main, MainCommands);
    return done;
}

void ProjectSession::openElementsCatalog() {
    catalog_.execCatalog(1);
}

bool ProjectSession::elementsCatalogAvailable() const {
    return broadcaster_.providesDialog(Window::ElementsCatalog);
}

bool ProjectSession::chooseElement() {
    return catalog_.execCatalog(0) && !catalog_.ChosenElementName.isEmpty();
}

bool ProjectSession::chooseElementForWall() {
    if (!chooseElement())
        return false;
    // The exact U: its text is in the user's locale.
    wizard_.constructions.wallFromCatalog(catalog_.ChosenElementName, catalog_.ChosenElementK);
    return true;
}

bool ProjectSession::chooseElementForOpening() {
    if (!chooseElement())
        return false;
    wizard_.constructions.openingFromCatalog(catalog_.ChosenElementName, catalog_.ChosenElementK);
    return true;
}

void ProjectSession::openUnitsCatalog() {
    unitsCatalog_.open();
    broadcaster_.showWindow(Window::UnitsCatalog, true);
}

void ProjectSession::unitsCatalogClosed() {
    unitsCatalog_.closed();
}

void ProjectSession::storePlan() {
    if (!data_.tJednotky.active())
        return;
    runOperation(data_.projectConnection(), [&] { units_.storePlanIfChanged(); });
}

// --- the steps around the file operations ------------------------------------------

void ProjectSession::hideWizard() {
    wizard_.hide();
}

void ProjectSession::showStartPanel() {
    broadcaster_.showWindow(Window::StartPanel, true);
}

void ProjectSession::hideProjectWindow() {
    projectWindowShown_ = false;
    units_.plan.ClearObjects(false);
    units_.plan.PlanChanged = false;
    units_.history.clear();
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
    wizard_.LoadProjectIntoWizard(newProject);
    // The project window's ventilation line and placement variant follow the
    // loaded project.
    ventilationLine_ = wizard_.state().ventilation;
    units_.restoreVariant();
}

void ProjectSession::showProject() {
    showProjectWindow();
    units_.showProject();
    recomputeCoverage();
    refreshSummary();
    data_.tSteny.first();
    data_.tResults.first();
    dialogs().processEvents();
    broadcaster_.focusControl(Window::ProjectWindow, QStringLiteral("ExDBGrid1"));
}

void ProjectSession::postPendingEdits() {
    // The plan goes first: PostPendingEdits stores it through storePlanIfChanged.
    files_.PostPendingEdits();
}

bool ProjectSession::writePlanPicture(const QString& path, const QLocale& locale) {
    return units_.ExportPlanMetafile(path, locale);
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
    return RunReport(data_, *this, kind, fileName, presenter);
}

ReportRunResult ProjectSession::reportCommand(ReportKind kind, ReportPresenter* presenter) {
    return ReportCommand(data_, *this, kind, presenter);
}

void ProjectSession::storePlanIfChanged() {
    units_.storePlanIfChanged();
}

void ProjectSession::openWizardForNewProject() {
    wizard_.show();
    wizard_.setCloseButtonVisible(false);
    broadcaster_.focusControl(Window::Wizard, QStringLiteral("DBEd_ProjectName"));
}

} // namespace zf

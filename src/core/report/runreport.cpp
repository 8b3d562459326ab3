#include "report/runreport.h"

#include "building/hallgeometry.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "report/reportoutput.h"
#include "storage/zfdata.h"
#include "units/throwfigure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace zf {

QString reportProgressLine(bool printing, int page) {
    QString line = LanguageText(printing ? 3034 : 3033);
    return line.replace(QLatin1String("%p"), QString::number(page));
}

QString reportDefinitionFile() {
    return AppPath + QStringLiteral("Reports/ZFReport.zfr");
}

QString reportPlanPictureFile() {
    return TempPath + QStringLiteral("ZefrantDraw.svg");
}

void connectReportData(ReportEngine& engine, TZFData& data) {
    engine.clearConnections();
    for (const ReportConnection* c :
         {&data.dcProject, &data.dcSteny, &data.dcStavOtvory, &data.dcJednotky})
        engine.setConnection(c->name, c->dataset);
    engine.setConnection(QStringLiteral("dcTempTable"), &data.tResults);
    engine.setConnection(QStringLiteral("dcTridaPrace"), &data.tTridaPrace);
}

namespace {

// A component of the page when it is of the stated kind.
ReportComponent* component(ReportEngine& engine, const QString& page, const char* name,
                           ComponentKind kind) {
    ReportComponent* c = engine.findComponent(page, QString::fromLatin1(name));
    return c && c->kind == kind ? c : nullptr;
}

void showIf(ReportEngine& engine, const QString& page, const char* name, ComponentKind kind,
            bool visible) {
    if (ReportComponent* c = component(engine, page, name, kind))
        ReportEngine::setVisible(*c, visible);
}

void linkPicture(ReportEngine& engine, const QString& page, const char* name, const QString& file) {
    ReportComponent* c = component(engine, page, name, ComponentKind::Picture);
    if (!c)
        return;
    const bool exists = !file.isEmpty() && QFileInfo::exists(file);
    if (exists)
        ReportEngine::setPictureFile(*c, file);
    ReportEngine::setVisible(*c, exists);
}

} // namespace

QStringList reportLanguages() {
    QStringList codes;
    for (const int base : OfferedLanguages)
        codes << languageCodeOfBase(base);
    return codes;
}

namespace {

// The report of a language, else the English one; nullptr when neither exists.
ReportDefinition* selectReportOf(ReportEngine& engine, const QString& language) {
    if (engine.selectReport(QStringLiteral("Report") + language) ||
        engine.selectReport(QStringLiteral("ReportEN")))
        return engine.selectedReport();
    return nullptr;
}

} // namespace

bool FillReport(ReportEngine& engine, TZFData& data, const QString& planPictureFile,
                const QString& language, const CoverageFigures* throwCoverage) {
    Dataset& p = data.tADOProject;
    const bool heating = p.asBoolean(QStringLiteral("Vytapeni_bool"));
    const bool ventilation = p.asBoolean(QStringLiteral("Vetrani_bool"));
    const QString code = language.isEmpty() ? LanguageCode : language;
    if (!selectReportOf(engine, code))
        return false;
    const QString report = engine.selectedReport()->name;
    // The sentences come in the report's language: under Slovak (no texts) and
    // under the re-encoded Russian base the interface's own texts would print
    // empty or garbled in a Unicode document.
    const int base = reportLanguageBase(engine.selectedReport()->language);
    auto text = [base](int id) { return LanguageTextIn(base, id); };
    // The prices are in the currency of the language asked for, also where its
    // report is the English one.
    engine.setCurrency(CurrencyName(baseOfStoredCode(code)));

    const int losses = p.asInteger(QStringLiteral("Tepelne_ztraty_enum"));
    const int roof = p.asInteger(QStringLiteral("Typ_strechy_enum"));
    const int skylight = p.asInteger(QStringLiteral("Typ_svetliku_enum"));

    const QString page2 = report + QStringLiteral(".Page2");
    if (engine.page(page2)) {
        QString scope;
        if (heating && ventilation)
            scope = text(2601);
        else if (heating)
            scope = text(2602);
        else if (ventilation)
            scope = text(2603);
        if (ReportComponent* memo =
                component(engine, page2, "memo_Rekapitulace", ComponentKind::Memo))
            ReportEngine::setText(*memo, scope + QStringLiteral("\r\n\r\n"));
        showIf(engine, page2, "SectionVzduch", ComponentKind::Section, ventilation);
        for (const char* name : {"tx_H2", "dtx_H2"})
            showIf(engine, page2, name, ComponentKind::Text, roof > 0);
        for (const char* name : {"tx_svH2", "dtx_svH2"})
            showIf(engine, page2, name, ComponentKind::Text, skylight == 2);
        showIf(engine, page2, "SectionSvetlik", ComponentKind::Section, skylight != 0);
    }

    const QString page3 = report + QStringLiteral(".Page3");
    if (engine.page(page3)) {
        if (losses >= 0 && losses <= 2)
            if (ReportComponent* t = component(engine, page3, "txTepZtraty", ComponentKind::Text))
                ReportEngine::setText(*t, text(2604 + losses));
        for (const char* name :
             {"dStenyBand", "dStenyDataBand", "Band1", "DataBand1", "dStavOtvoryBand"})
            showIf(engine, page3, name, ComponentKind::Band, losses == 0);
        linkPicture(engine, page3, "rvWMF_Hala", BuildingPictureFile(roof, true));
        linkPicture(engine, page3, "rvWMF_Svetlik", BuildingPictureFile(skylight, false));
    }

    const QString page4 = report + QStringLiteral(".Page4");
    if (engine.page(page4)) {
        linkPicture(engine, page4, "rvWMF_Jednotky", planPictureFile);
        const ThrowFigure figure =
            throwCoverage
                ? throwFigure(*throwCoverage, base, QLocale(engine.selectedReport()->locale))
                : ThrowFigure();
        if (ReportComponent* t = component(engine, page4, "tx_Dosah", ComponentKind::Text)) {
            ReportEngine::setText(*t, figure.text);
            ReportEngine::setVisible(*t, figure.shown);
        }
        if (ReportComponent* t = component(engine, page4, "tx_DosahHint", ComponentKind::Text)) {
            ReportEngine::setText(*t, figure.hint);
            ReportEngine::setVisible(*t, figure.low);
        }
    }
    return true;
}

namespace {

// The openings table shows the openings of every wall while the report reads it;
// the link to the walls comes back in every case.
class OpeningsDetached {
public:
    explicit OpeningsDetached(TZFData& data) : data_(data) {
        Dataset& o = data_.tStavOtvory;
        try {
            o.setMaster(nullptr, QString(), QString());
            if (o.active())
                o.refresh();
        } catch (...) {
            // No destructor runs for a guard that was never made.
            relink();
            throw;
        }
    }
    ~OpeningsDetached() { relink(); }
    OpeningsDetached(const OpeningsDetached&) = delete;
    OpeningsDetached& operator=(const OpeningsDetached&) = delete;

private:
    void relink() noexcept {
        Dataset& o = data_.tStavOtvory;
        try {
            o.setMaster(&data_.dsSteny, QStringLiteral("IDSteny"), QStringLiteral("IDSteny"));
            if (o.active())
                o.refresh();
        } catch (const std::exception&) {
            // The link is back; the rows follow at the next move of the walls.
        }
    }

    TZFData& data_;
};

QString caption() {
    return QString::fromLatin1(ProductName);
}

} // namespace

bool writeReportFile(const ReportDocument& doc, const ResolvedReport& report, bool rtf,
                     const QString& file, ReportPresenter* presenter) {
    if (presenter && presenter->host() && presenter->host()->refusesOutput(file))
        return false;
    PageProgress progress;
    if (presenter)
        progress = [presenter](int page) { presenter->progress(reportProgressLine(true, page)); };
    const QByteArray bytes =
        rtf ? renderReportRtf(report, doc.newSheets) : renderReportPdf(doc, progress);
    if (presenter)
        presenter->progress(QString());
    QString detail;
    if (writeFileAtomically(file, bytes, &detail))
        return true;
    LastError = detail;
    ShowErrorBox(QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") +
                     QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()),
                 caption(), MbError);
    return false;
}

ReportRunResult RunReport(TZFData& data, ReportHost& host, ReportKind kind, const QString& fileName,
                          ReportPresenter* presenter, const QString& definitionFile) {
    ReportRunResult result;
    if ((kind == ReportKind::Pdf || kind == ReportKind::Rtf) && host.refusesOutput(fileName))
        return result;
    if (presenter)
        presenter->setHost(&host);
    result.language = host.reportLanguage();
    if (result.language.isEmpty())
        result.language = LanguageCode;
    ReportDestination destination = ReportDestination::Preview;
    switch (kind) {
    case ReportKind::Print:
        // The output system asks first: the language decides the report it builds.
        if (presenter) {
            ReportSetup setup;
            // A language without a report of its own (Slovak) shows the English
            // one it prints, and keeps its own currency unless another is chosen.
            setup.language = reportLanguages().contains(result.language) ? result.language
                                                                         : QStringLiteral("EN");
            const QString offered = setup.language;
            if (!presenter->setup(setup)) {
                result.cancelled = true;
                return result;
            }
            destination = setup.destination;
            if (setup.language != offered) {
                result.language = setup.language;
                host.setReportLanguage(setup.language);
            }
        }
        break;
    case ReportKind::Preview:
        break;
    case ReportKind::Rtf:
        destination = ReportDestination::RtfFile;
        break;
    case ReportKind::Pdf:
        destination = ReportDestination::PdfFile;
        break;
    }

    const QString planFile = reportPlanPictureFile();
    struct DeletePlan {
        QString file;
        ~DeletePlan() { QFile::remove(file); }
    } deletePlan{planFile};

    ReportEngine engine;
    ResolvedReport resolved;
    ReportDocument doc;
    {
        std::optional<BusyCursor> busy(std::in_place);
        auto definitionFault = [&](const QString& detail) {
            busy.reset();
            LastError = detail;
            ShowErrorBox(formatText(LanguageText(5025), {QDir::toNativeSeparators(definitionFile)}),
                         caption(), MbError);
        };
        try {
            // Failures of the posts are ignored, as when saving (the posting
            // does so itself); one of storing the plan is shown below.
            host.postPendingEdits();
            if (!engine.loadProject(definitionFile)) {
                definitionFault(engine.lastError());
                return result;
            }
            const ReportDefinition* def = selectReportOf(engine, result.language);
            if (!def) {
                definitionFault(
                    QStringLiteral("The report definition holds neither %1 nor ReportEN.")
                        .arg(QStringLiteral("Report") + result.language));
                return result;
            }
            QFile::remove(planFile);
            host.writePlanPicture(planFile, QLocale(def->locale));
            dialogs().processEvents();

            OpeningsDetached detached(data);
            connectReportData(engine, data);
            const std::optional<CoverageFigures> coverage = host.reportThrowCoverage();
            FillReport(engine, data, planFile, result.language, coverage ? &*coverage : nullptr);
            result.report = engine.selectedReport()->name;
            // The pages are built from what the connections show now, while the
            // openings of all walls are visible.
            const ReportData snapshot = engine.captureData();
            resolved = engine.resolve(snapshot);
            PageProgress progress;
            if (presenter)
                progress = [presenter](int page) {
                    presenter->progress(reportProgressLine(false, page));
                };
            doc = layoutReport(resolved, progress);
            if (presenter)
                presenter->progress(QString());
        } catch (const std::exception& e) {
            busy.reset();
            const DbError* db = dynamic_cast<const DbError*>(&e);
            ShowErrorBox(db ? db->message() : QString::fromLocal8Bit(e.what()), caption(), MbError);
            return result;
        }
    }
    result.pages = doc.pageCount();

    switch (kind) {
    case ReportKind::Pdf:
    case ReportKind::Rtf:
        result.ok = writeReportFile(doc, resolved, kind == ReportKind::Rtf, fileName, presenter);
        break;
    case ReportKind::Print:
    case ReportKind::Preview:
        if (presenter)
            presenter->present(destination, doc, resolved);
        result.ok = true;
        break;
    }
    dialogs().processEvents();
    engine.closeProject();
    dialogs().processEvents();
    return result;
}

ReportRunResult ReportCommand(TZFData& data, ReportHost& host, ReportKind kind,
                              ReportPresenter* presenter) {
    if (kind == ReportKind::Pdf || kind == ReportKind::Rtf) {
        const bool pdf = kind == ReportKind::Pdf;
        SaveDialogOptions o;
        o.title = LanguageText(pdf ? 127 : 129);
        o.filter = LanguageText(pdf ? 128 : 130);
        o.defaultSuffix = pdf ? QStringLiteral("pdf") : QStringLiteral("rtf");
        o.promptOverwrite = true;
        const QString file = dialogs().saveFileName(o);
        if (file.isEmpty()) {
            ReportRunResult r;
            r.cancelled = true;
            return r;
        }
        return RunReport(data, host, kind, file, presenter);
    }
    return RunReport(data, host, kind, QString(), presenter);
}

} // namespace zf

#pragma once

#include "report/reportengine.h"
#include "report/reportlayout.h"
#include "units/throwzones.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace zf {

class TZFData;

// The output kinds of the four File commands.
enum class ReportKind : int {
    Print = 0,   // acPrint: the setup dialog, preview preselected
    Preview = 1, // acPrintPreview
    Rtf = 3,     // acRTFCreate
    Pdf = 10,    // acPDFCreate
};

// What the program around the report does for it; the session provides it.
class ReportHost {
public:
    virtual ~ReportHost() = default;
    // Stores pending plan changes into tJednotky (clearing the plan's change mark),
    // then posts the pending edits of the project tables; failures are ignored.
    virtual void postPendingEdits() = 0;
    // Writes the plan of the hall at the default zoom into the picture file (the
    // user's zoom is restored), its dimensions written with the report's
    // separators; false when it could not be written.
    virtual bool writePlanPicture(const QString& path, const QLocale& locale) = 0;
    // The language the report is printed in ("CZ" ... "RU") whatever the windows
    // show; empty: the language of the windows.
    virtual QString reportLanguage() const { return QString(); }
    // The output options chose the report's language: kept for the next reports.
    virtual void setReportLanguage(const QString& code) { Q_UNUSED(code); }
    // The throw zones of the units as stored (asked after postPendingEdits) at
    // the spread the program uses; nothing: the report says nothing of them.
    virtual std::optional<CoverageFigures> reportThrowCoverage() { return std::nullopt; }
    // True, after the program's message, when the report may not be written to
    // the file (it is the open project's file or its backup).
    virtual bool refusesOutput(const QString& file) {
        Q_UNUSED(file);
        return false;
    }
};

// Where the setup dialog sends the report of acPrint.
enum class ReportDestination { Preview, Printer, PdfFile, RtfFile };

// What the setup dialog "Zefrant Output Options" asks before the report is built.
struct ReportSetup {
    ReportDestination destination = ReportDestination::Preview;
    QString language; // "CZ", "EN", "GE", "PL" or "RU"
};

// The languages a report can be printed in, in the order the output options
// offer them.
QStringList reportLanguages();

// The output system's windows. Without one, the preview kinds build the pages
// and show nothing.
class ReportPresenter {
public:
    virtual ~ReportPresenter() = default;
    // Print, before the report is built: the setup dialog "Zefrant Output
    // Options" with the destination (preview preselected) and the report's
    // language; false when the user cancelled it.
    virtual bool setup(ReportSetup& setup) {
        Q_UNUSED(setup);
        return true;
    }
    // The built report to the preview window, the printer or a file (whose name
    // the presenter asks for).
    virtual void present(ReportDestination destination, const ReportDocument& doc,
                         const ResolvedReport& report) = 0;
    // A line for the progress window "Zefrant Report Status"; an empty line
    // closes it.
    virtual void progress(const QString& line) { Q_UNUSED(line); }
    // The host of the report being presented (set by RunReport): a file the
    // presenter asks for is checked with it before the report is written.
    ReportHost* host() const { return host_; }
    void setHost(ReportHost* host) { host_ = host; }

private:
    ReportHost* host_ = nullptr;
};

// "Generating page 3" while the pages are built, "Printing page 3" while they
// are printed or written.
QString reportProgressLine(bool printing, int page);

// The report definition beside the program: AppPath + "Reports/ZFReport.zfr".
QString reportDefinitionFile();
// The plan picture of one run: TempPath + "ZefrantDraw.svg".
QString reportPlanPictureFile();

// Gives the engine the project's datasets: the four report connections of the
// data module, dcProject, dcSteny, dcStavOtvory, dcJednotky, dcTempTable over
// the table of usable unit types (the chosen units and their coverage), and
// dcTridaPrace over the work classes (their descriptions in every language).
void connectReportData(ReportEngine& engine, TZFData& data);

// Selects and adapts the report: the report of the language ("Report" + the
// language's code, else "ReportEN"), the scope and heat-loss sentences, the
// sections, texts and bands shown for the project, the hall, skylight and plan
// pictures, the currency word of the language, and under the plan the share of
// the floor that the throw reaches (with what a low share means; hidden
// without a coverage or without a unit that has a zone). Missing pages and
// components are skipped. False when neither report exists. An empty language is the
// language of the windows.
bool FillReport(ReportEngine& engine, TZFData& data, const QString& planPictureFile,
                const QString& language = QString(),
                const CoverageFigures* throwCoverage = nullptr);

struct ReportRunResult {
    bool ok = false;        // the output was produced (or shown)
    bool cancelled = false; // the user cancelled the file dialog
    int pages = 0;
    QString report;   // the report used ("ReportEN")
    QString language; // the language asked for ("GE")
};

// Produces the report for one output kind in the host's report language;
// fileName is used by the file kinds. Print asks the presenter's setup dialog
// first (cancelled: no report), and a language chosen there goes back to the
// host. Failures are shown with ShowErrorBox and the program's message; the
// openings table is attached to the walls again and the plan picture is deleted
// in every case, and a file that cannot be written is left as it was.
ReportRunResult RunReport(TZFData& data, ReportHost& host, ReportKind kind, const QString& fileName,
                          ReportPresenter* presenter = nullptr,
                          const QString& definitionFile = reportDefinitionFile());

// The four File commands: Print into PDF and Print into RTF first ask for the
// file through the Dialogs port (texts 127/128 or 129/130; cancelled: no report),
// Print and Preview run directly.
ReportRunResult ReportCommand(TZFData& data, ReportHost& host, ReportKind kind,
                              ReportPresenter* presenter = nullptr);

// Writes the built report to a PDF or RTF file through a temporary file; on a
// failure shows the program's error with the system's detail and returns false.
// A file the presenter's host refuses is not written (false).
bool writeReportFile(const ReportDocument& doc, const ResolvedReport& report, bool rtf,
                     const QString& file, ReportPresenter* presenter = nullptr);

} // namespace zf

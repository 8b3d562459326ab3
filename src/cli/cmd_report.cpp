#include "cmd_report.h"

#include "building/hallgeometry.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "report/runreport.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"
#include "units/projectunits.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace zf {

namespace {

// What the project window does before a report: the plan is stored when it
// changed, pending edits are posted, and the plan is drawn at the default zoom.
class CliReportHost final : public ReportHost {
public:
    CliReportHost(ProjectFiles& files, ProjectUnits& units) : files_(files), units_(units) {}
    void postPendingEdits() override {
        units_.storePlanIfChanged();
        files_.PostPendingEdits();
    }
    bool writePlanPicture(const QString& path) override { return units_.ExportPlanMetafile(path); }

private:
    ProjectFiles& files_;
    ProjectUnits& units_;
};

} // namespace

int commandReport(TZFData& data, ProjectFiles& files, ProjectUnits& units, const QString& file,
                  bool pdf, const QString& out) {
    if (files.OpenProject(QFileInfo(file).absoluteFilePath()) != ResultOk)
        return 1;
    int rc = 1;
    try {
        // The surfaces of the chosen roof and skylight, as the wizard shows them
        // after opening.
        Dataset& walls = data.tSteny;
        if (!walls.filtered()) {
            const Dataset& p = data.tADOProject;
            walls.setFilter(wallVariantFilter(p.asInteger(QStringLiteral("Typ_strechy_enum")),
                                              p.asInteger(QStringLiteral("Typ_svetliku_enum"))));
            walls.setFiltered(true);
            walls.first();
        }
        units.showProject();
        CliReportHost host(files, units);
        const QString target = QFileInfo(out).absoluteFilePath();
        // The plan picture has one fixed name in the temporary folder; runs of the
        // tool side by side each get a folder of their own for it.
        QTemporaryDir own;
        const QString temp = TempPath;
        if (own.isValid())
            TempPath = withTrailingSlash(own.path());
        const ReportRunResult r =
            RunReport(data, host, pdf ? ReportKind::Pdf : ReportKind::Rtf, target);
        TempPath = temp;
        rc = r.ok ? 0 : 1;
    } catch (const DbError& e) {
        ShowMessageBox(e.message(), QStringLiteral("Zefrant"), MbError);
    }
    // A report changes nothing of the project: what opening it rewrote (the
    // wizard refreshes a few stored texts) goes back to the saved state.
    files.RevertFromBackup(false);
    if (!files.CurrentFile.isEmpty())
        files.CloseProject(true);
    return rc;
}

} // namespace zf

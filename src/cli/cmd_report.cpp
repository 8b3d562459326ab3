#include "cmd_report.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "session/projectsession.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace zf {

int commandReport(ProjectSession& s, const QString& file, bool pdf, const QString& out) {
    if (s.openFile(QFileInfo(file).absoluteFilePath()) != ResultOk)
        return 1;
    ProjectFiles& files = s.files;
    int rc = 1;
    try {
        const QString target = QFileInfo(out).absoluteFilePath();
        // The plan picture has one fixed name in the temporary folder; runs of the
        // tool side by side each get a folder of their own for it.
        QTemporaryDir own;
        const QString temp = TempPath;
        if (own.isValid())
            TempPath = withTrailingSlash(own.path());
        const ReportRunResult r = s.runReport(pdf ? ReportKind::Pdf : ReportKind::Rtf, target);
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

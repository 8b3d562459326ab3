#include "cmd_report.h"

#include "session/projectsession.h"

namespace zf {

int commandReport(ProjectSession& s, const QString& file, bool pdf, const QString& out) {
    return s.writeReport(file, pdf ? ReportKind::Pdf : ReportKind::Rtf, out) ? 0 : 1;
}

} // namespace zf

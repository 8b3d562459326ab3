#pragma once

#include <QString>

namespace zf {

class ProjectSession;

// zefrant-cli report FILE (--pdf OUT | --rtf OUT): opens FILE as Open does (the
// wizard, the plan's symbols), produces the report of the current language into
// OUT and closes the project without changing it. Returns the exit status: 0
// written, 1 failed (the reason on stderr, OUT left as it was).
int commandReport(ProjectSession& s, const QString& file, bool pdf, const QString& out);

} // namespace zf

#pragma once

#include <QString>

namespace zf {

class ProjectFiles;
class ProjectUnits;
class TZFData;

// zefrant-cli report FILE (--pdf OUT | --rtf OUT): opens FILE as Open does, loads
// the plan's symbols, produces the report of the current language into OUT and
// closes the project without changing it. Returns the exit status: 0 written,
// 1 failed (the reason on stderr, OUT left as it was).
int commandReport(TZFData& data, ProjectFiles& files, ProjectUnits& units, const QString& file,
                  bool pdf, const QString& out);

} // namespace zf

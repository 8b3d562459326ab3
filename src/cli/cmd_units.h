#pragma once

#include <QString>

namespace zf {

class ProjectFiles;
class TZFData;

// zefrant-cli units FILE UNITS.json: opens FILE as Open does, enters the chosen
// numbers into tTempTable by ID (the coverage recomputed after each), the
// placement settings, runs the automatic placement when "place" is true with
// every question answered Yes, and saves. A bad UNITS.json, an unknown ID or a
// refused placement leaves FILE unchanged. The project is closed at the end.
// Returns the exit status: 0 done, 1 failed or refused.
int commandUnits(TZFData& data, ProjectFiles& files, const QString& file,
                 const QString& unitsJsonPath);

} // namespace zf

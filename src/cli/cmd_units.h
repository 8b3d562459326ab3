#pragma once

#include <QString>

namespace zf {

class ProjectSession;

// zefrant-cli units FILE UNITS.json: opens FILE as Open does, enters the chosen
// numbers into tTempTable by ID (the coverage recomputed after each), the
// placement settings, runs the automatic placement when "place" is true with
// every question answered Yes, and saves. All of it is one transaction: a bad
// UNITS.json, an unknown ID, a refused placement, a failure or a kill leaves
// FILE as it was. The project is closed at the end. Returns the exit status: 0
// done, 1 failed or refused.
int commandUnits(ProjectSession& s, const QString& file, const QString& unitsJsonPath);

} // namespace zf

#pragma once

// The project to other programs: the plan of the hall as a DXF drawing for CAD,
// the project as an xlsx workbook for a spreadsheet. Both read the open project
// as it is stored: the caller stores the plan and posts pending edits first.

#include "units/throwzones.h"

#include <QByteArray>
#include <QString>

namespace zf {

class TZFData;

// The plan as a DXF drawing (AutoCAD 2007 text format, UTF-8, model space in
// metres, $INSUNITS 6) in the plan's coordinates: layer HALL the floor outline,
// UNITS one block reference per row of tJednotky at (X, Y) rotated by 90 - Uhel
// (each block drawn to the unit's size from the catalog, blowing along +X),
// NUMBERS the units' numbers, THROW the throw zones with the given opening
// angle, DIMENSIONS the length A and the width B. Number texts follow the
// language's locale. Empty with *error set when the drawing cannot be made.
QByteArray planDxf(TZFData& data, int languageBase, double spreadDeg = DefaultThrowSpreadDeg,
                   QString* error = nullptr);

// The project as an xlsx workbook in the language: the project record's inputs
// and results, the visible surfaces, their openings, the usable unit types and
// the placed units, one sheet each. Losses and totals are formulas over the
// cells they come from, stored with the project's results as their values.
// Empty with *error set when the workbook cannot be made.
QByteArray projectWorkbook(TZFData& data, int languageBase, QString* error = nullptr);

// Write the drawing or the workbook to file, whole or not at all. A failure
// leaves no file behind (an existing file stays as it was) and shows the
// program's error naming the file with the system's reason; false then.
bool exportPlanDxf(TZFData& data, int languageBase, const QString& file,
                   double spreadDeg = DefaultThrowSpreadDeg);
bool exportProjectWorkbook(TZFData& data, int languageBase, const QString& file);

} // namespace zf

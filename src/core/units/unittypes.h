#pragma once

#include <QString>
#include <QStringList>

namespace zf {

class TZFData;

// Classification of a row of the unit types table by its type name.
bool isDestratifierType(const QString& typ); // contains "Destr"
bool isMixingUnitType(const QString& typ);   // contains "MK" (and is no destratifier)

// What the units page shows after the coverage of the chosen units was computed.
struct CoverageState {
    int units = 0;                                           // chosen warm-air and MK units
    int destr = 0;                                           // chosen destratifiers
    double heat = 0, air = 0, ventAir = 0;                   // covered W, m3/h, m3/h
    int pHeat = 0, pCirc = 0, pVent = 0;                     // per cent, halves to even
    int barHeat = 0, barCirc = 0, barVent = 0;               // bar positions, at most 100
    double required = 0, requiredCirc = 0, requiredVent = 0; // W, m3/h, m3/h
    // The captions of the three bars in the current language (a switch of the
    // language changes them at once); no ventilation text without ventilation.
    QString textHeat() const;
    QString textCirc() const;
    QString textVent() const;
    bool ventilation = false;     // the ventilation line is shown
    bool hintCirculation = false; // message 2127 beside the circulation caption
    bool hintVentilation = false; // message 2128 beside the ventilation caption
    bool placeButtonRed = false;  // everything is covered
};

// The most units of one type a project may choose, and the most units and
// destratifiers one placement puts on the plan. No hall takes more; counts
// beyond come only from damaged or hostile input and would fill the file.
inline constexpr int MaxChosenUnits = 9999;
inline constexpr int MaxPlacedUnits = 9999;

// Rebuilds tTempTable from the units catalog for the families the project allows
// (the families' rows in catalog order, then the three destratifiers).
void BuildUnitTypesTable(TZFData& data, double requiredHeatW, double ventilationM3h);

// Computes the coverage of the chosen numbers, the required number of every row,
// the totals of the project record; keeps the current row of tTempTable.
CoverageState UpdateCoverage(TZFData& data);

// The entries of the drop-down list of the chosen-number cell of the current row.
QStringList FillCountPickList(const TZFData& data);
// The same for a row of tTempTable by position, whichever row is current.
QStringList FillCountPickList(const TZFData& data, int row);
QStringList countPickList(int requiredNumber, int chosenNumber);

// The required number of units of a row: x rounded up (a fraction adds one, then
// the fraction is dropped towards zero), at most MaxChosenUnits.
int roundRequired(double x);

} // namespace zf

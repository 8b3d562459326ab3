#pragma once

// The share of the floor that the throw reaches, as the units page, the plan's
// status bar and the report write it, and when it is a warning.

#include <QLocale>
#include <QString>

namespace zf {

struct CoverageFigures;

// Under this share of the floor [per cent, as written] the figure warns that
// part of the hall is left without warm air.
inline constexpr int LowThrowCoveragePercent = 80;

// The figure of a coverage as it is shown.
struct ThrowFigure {
    // Some unit has a throw zone (also one cut to nothing: then 0.0 % is said).
    // Without one (no units, only MK units and destratifiers, no throw in the
    // catalog) there is nothing to say and nothing is shown.
    bool shown = false;
    double percent = 0; // rounded to the one decimal that is written
    bool low = false;   // shown and under LowThrowCoveragePercent as written
    QString text;       // "Floor reached by the throw: 69.2 %"; empty when not shown
    QString hint;       // what a low figure means; empty unless low
};

// The figure in the language of a text base with the number format of a locale.
ThrowFigure throwFigure(const CoverageFigures& figures, int base, const QLocale& locale);
// ... in the language of the windows, with its decimal separator.
ThrowFigure throwFigure(const CoverageFigures& figures);

} // namespace zf

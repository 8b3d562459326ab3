#include "units/throwfigure.h"

#include "common/numberformat.h"
#include "i18n/languagetable.h"
#include "i18n/texts.h"
#include "units/throwzones.h"

#include <cmath>

namespace zf {

ThrowFigure throwFigure(const CoverageFigures& figures, int base, const QLocale& locale) {
    ThrowFigure f;
    f.shown = !figures.units.empty() && figures.floorArea > 0;
    if (!f.shown)
        return f;
    const double percent = std::isfinite(figures.coveredPercent) ? figures.coveredPercent : 0;
    // What is compared is what is read: 79.96 is written 80.0 and is no warning.
    f.percent = formatFloat(QStringLiteral("0.0"), percent, QLocale::c()).toDouble();
    f.low = f.percent < LowThrowCoveragePercent;
    f.text = formatText(LanguageTextIn(base, 3451), {f.percent}, locale);
    if (f.low)
        f.hint = formatText(LanguageTextIn(base, 3452), {LowThrowCoveragePercent}, locale);
    return f;
}

ThrowFigure throwFigure(const CoverageFigures& figures) {
    return throwFigure(figures, languageInfo(LanguageBase).shownBase,
                       localeOfLanguage(LanguageBase));
}

} // namespace zf

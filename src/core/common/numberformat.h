#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

namespace zf {

// Formats a number by a picture such as ",0.##" or ",0.## kW": '0' a digit that is
// always shown, '#' a digit shown when significant, '.' the decimal separator,
// ',' anywhere in the integer part turns on thousands grouping; other characters
// and "quoted" or 'quoted' text are copied. Up to three sections separated by ';'
// serve positive, negative and zero values. The value is rounded half away from
// zero on its 15-digit decimal form; separators come from the locale.
QString formatFloat(const QString& picture, double value, const QLocale& locale = QLocale());

// A floating-point value as an int, halves to even. Values beyond the range of
// int are clamped and NaN gives 0: values from a file are not to be trusted, and
// casting them would be undefined.
int roundToInt(double value);

// The display format of floating-point columns, and the format of an edit while
// a number is typed into it.
inline constexpr const char* FloatDisplayFormat = ",0.##";
inline constexpr const char* FloatEditFormat = "0.##";

// A number as a user types it in the locale: its decimal separator, its group
// separators where they stand (a blank for the locales that group with a space,
// such as "1 234,5" in Czech), a leading sign, also the minus sign U+2212.
// Surrounding blanks are ignored. False for a text that is not such a number
// (nothing is guessed: "1,5" is not one and a half under English).
bool parseNumber(const QString& text, double* value, const QLocale& locale = QLocale());

} // namespace zf

namespace zf {

// Fills the placeholders of a text the way the texts of the program expect: %s a
// text, %d an integer, %% a per-cent sign, %.Nn a number with thousands
// separators and N decimals, %.Nf a number with N decimals, %f with 2 decimals,
// %n with 2 decimals and separators. Arguments are used in order; a missing
// argument leaves its placeholder empty.
QString formatText(const QString& text, const QVariantList& args,
                   const QLocale& locale = QLocale());

} // namespace zf

#pragma once

#include <QLocale>
#include <QString>

namespace zf {

// Everything the program maps a language to, in one row per language base: the
// code stored in files and settings and used in the names of columns and tables,
// the suffix of the re-encoded tables, the base whose texts the windows show,
// Qt's own translations, the number format, the language command, the currency
// and the fonts. Every other place asks this table.
struct LanguageInfo {
    int base;
    const char* code;       // "CZ", "EN", "GE", "PL", "RU" or "SL"
    const char* suffix;     // of the reference tables: "_1250" under the re-encoded base
    int shownBase;          // whose texts the windows show
    const char* qtLanguage; // Qt's translation files "qtbase_<lang>"; empty: Qt's English
    QLocale::Language locale;
    QLocale::Territory territory;
    const char* command;  // the language command of the menus
    const char* currency; // the currency word of the prices
    const char* fontFace;
    int charset; // 204 Cyrillic, 1 the default character set
};

// The row of a base, or nullptr for a base that is no language.
const LanguageInfo* findLanguage(int base);
// The row of a base; an unknown base has English's row.
const LanguageInfo& languageInfo(int base);
// The row of a code ("CZ" ... "SL"), or nullptr.
const LanguageInfo* languageOfCode(const QString& code);
// The row of a language command ("acCZ" ...), or nullptr.
const LanguageInfo* languageOfCommand(const QString& command);
// Every row, in the order of the language commands (the re-encoded Russian base last).
const LanguageInfo* languageRows(int* count);

// The number format of a language: its decimal separator and grouping.
QLocale localeOfLanguage(int base);

} // namespace zf

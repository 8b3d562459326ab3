#pragma once

#include <QString>

namespace zf {

// Language bases: added to a local text identifier to find its entry.
enum LanguageBaseValue : int {
    BaseCZ = 0,
    BaseEN = 10000,
    BaseGE = 20000,
    BasePL = 30000,
    BaseRU = 40000,
    BaseRU1250 = 50000, // Russian re-encoded for Central European systems
    BaseSL = 60000,     // Slovak: the table holds no texts for it
};

// The current language.
extern int LanguageBase;
extern QString LanguageCode;       // "CZ", "EN", "GE", "PL", "RU" or "SL"
extern QString LanguageCodeSuffix; // "_1250" under base 50000, else empty

// Sets LanguageBase, LanguageCode and LanguageCodeSuffix for a base; an unknown
// base counts as English.
void setLanguage(int base);
QString languageCodeOfBase(int base);

// The entry `base + id` of the text table, or the empty text.
QString tableText(int entry);
// The text with local identifier id in the current language, as the windows show
// it: under the re-encoded Russian base the Russian text itself.
QString LanguageText(int id);
// The text as the project stores it: under the re-encoded Russian base the
// re-encoded copy (what a Central European system of the files' origin reads).
QString storedLanguageText(int id);
// A stored text as the windows and the report show it: under the re-encoded
// Russian base a re-encoded copy is read back as Russian; otherwise unchanged.
QString readableText(const QString& text);
// A text as the windows show it, made into what the project stores.
QString storedText(const QString& readable);
// The text of local identifier id under a given base.
QString LanguageTextIn(int base, int id);

} // namespace zf

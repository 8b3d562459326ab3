#pragma once

#include "i18n/texts.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace zf {

// The languages the program offers (Slovak has a code and a base, but no texts).
bool isOfferedLanguage(int base);
inline constexpr int OfferedLanguages[] = {BaseCZ, BaseEN, BaseGE, BasePL, BaseRU};

// The base of a stored language code: "CZ" 0, "EN" 10000, "GE" and "DE" 20000,
// "PL" 30000, "RU" 40000, "SL" 60000, anything else 0.
int baseOfStoredCode(const QString& code);

// The currency word of a language: "CZK", "USD", "EUR" or "zł".
QString CurrencyName(int base);

// The system's 8-bit code page, as the language rules need it: the variable
// ZEFRANT_CODEPAGE when set (e.g. 1250), else derived from the locale's codeset
// (ISO-8859-2 1250, ISO-8859-1/-15 1252, CP1251/KOI8-R/ISO-8859-5 1251, UTF-8
// 65001). Tests may set it.
int systemCodePage();
void setSystemCodePage(int codePage); // 0 derives it again

// Russian on a system whose code page cannot show Cyrillic (1250 or 1252): shows
// the bilingual warning and gives the re-encoded base 50000; else base unchanged.
int CheckRussianCodePage(int base);
QString russianCodePageWarning();

// Language-dependent names in the current language.
QString projectColumnName(const QString& stem); // "NazevEN": project columns, no suffix
QString referenceName(const QString& stem);     // "tMaterialyRU_1250": reference tables and columns
QString reportName();                           // "ReportEN"
QString catalogTreeFile(bool byApplication); // "DB/tvEN.txt" or "DB/tvpEN.txt", relative to AppPath
QString documentFile(const QString& baseName); // baseName + "_EN.pdf"

// The fonts of a language: the windows apply the face and the character set to
// the forms and controls listed, keeping size, style and colour.
struct LanguageFont {
    QString face;
    int charset; // 204 Cyrillic, 1 the default character set
};
LanguageFont ApplyLanguageFonts(int base);

struct FontTarget {
    const char* form;
    const char* control; // nullptr: the whole form
};
const std::vector<FontTarget>& languageFontTargets();

} // namespace zf

namespace zf {

// LoadLanguage: sets the current language and lets every window apply its texts,
// in the order the windows registered (the order they were created in).
using LanguageApplier = std::function<void(int base)>;
int registerLanguageApplier(LanguageApplier applier); // returns a handle
void unregisterLanguageApplier(int handle);
void LoadLanguage(int base);

} // namespace zf

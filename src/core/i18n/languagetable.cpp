#include "i18n/languagetable.h"

#include "i18n/texts.h"

#include <iterator>

namespace zf {

namespace {

// The rows in the order of the language commands; the re-encoded Russian base,
// which has no command of its own (it is Russian's), comes last.
const LanguageInfo Rows[] = {
    {BaseCZ, "CZ", "", BaseCZ, "cs", QLocale::Czech, QLocale::Czechia, "acCZ", "CZK", "Arial", 1},
    {BaseEN, "EN", "", BaseEN, "", QLocale::English, QLocale::UnitedKingdom, "acEN", "USD",
     "Arial", 1},
    {BaseGE, "GE", "", BaseGE, "de", QLocale::German, QLocale::Germany, "acGE", "EUR", "Arial", 1},
    {BasePL, "PL", "", BasePL, "pl", QLocale::Polish, QLocale::Poland, "acPL", "zł", "Arial", 1},
    {BaseRU, "RU", "", BaseRU, "ru", QLocale::Russian, QLocale::Russia, "acRU", "USD", "Arial", 1},
    // Slovak has no texts: the windows show English ones.
    {BaseSL, "SL", "", BaseEN, "sk", QLocale::Slovak, QLocale::Slovakia, "acSL", "EUR", "Arial",
     1},
    {BaseRU1250, "RU", "_1250", BaseRU, "ru", QLocale::Russian, QLocale::Russia, "acRU", "USD",
     "Arial", 204},
};

} // namespace

const LanguageInfo* languageRows(int* count) {
    *count = int(std::size(Rows));
    return Rows;
}

const LanguageInfo* findLanguage(int base) {
    for (const LanguageInfo& row : Rows)
        if (row.base == base)
            return &row;
    return nullptr;
}

const LanguageInfo& languageInfo(int base) {
    const LanguageInfo* row = findLanguage(base);
    return row ? *row : Rows[1];
}

const LanguageInfo* languageOfCode(const QString& code) {
    for (const LanguageInfo& row : Rows)
        if (code == QLatin1String(row.code))
            return &row;
    return nullptr;
}

const LanguageInfo* languageOfCommand(const QString& command) {
    for (const LanguageInfo& row : Rows)
        if (command == QLatin1String(row.command))
            return &row;
    return nullptr;
}

QLocale localeOfLanguage(int base) {
    const LanguageInfo& row = languageInfo(base);
    return QLocale(row.locale, row.territory);
}

} // namespace zf

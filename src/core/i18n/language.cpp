#include "i18n/language.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/languagetable.h"

#include <clocale>
#include <langinfo.h>

namespace zf {

bool isOfferedLanguage(int base) {
    for (int b : OfferedLanguages)
        if (b == base)
            return true;
    return false;
}

int baseOfStoredCode(const QString& code) {
    // Older settings wrote German as "DE".
    const LanguageInfo* row = languageOfCode(code == QLatin1String("DE") ? QStringLiteral("GE") : code);
    return row ? row->base : BaseCZ;
}

QString CurrencyName(int base) {
    const LanguageInfo* row = findLanguage(base);
    return row ? QString::fromUtf8(row->currency) : QStringLiteral("EUR");
}

namespace {

int codePageOverride = 0;

int codePageOfCodeset(QString codeset) {
    codeset = codeset.toUpper().remove(QLatin1Char('-')).remove(QLatin1Char('_'));
    if (codeset == QLatin1String("ISO88592") || codeset == QLatin1String("CP1250") ||
        codeset == QLatin1String("WINDOWS1250"))
        return 1250;
    if (codeset == QLatin1String("ISO88591") || codeset == QLatin1String("ISO885915") ||
        codeset == QLatin1String("CP1252") || codeset == QLatin1String("WINDOWS1252"))
        return 1252;
    if (codeset == QLatin1String("CP1251") || codeset == QLatin1String("WINDOWS1251") ||
        codeset == QLatin1String("KOI8R") || codeset == QLatin1String("KOI8U") ||
        codeset == QLatin1String("ISO88595"))
        return 1251;
    if (codeset == QLatin1String("UTF8"))
        return 65001;
    return 0; // ASCII (the C locale) and others: no 8-bit code page to worry about
}

} // namespace

void setSystemCodePage(int codePage) {
    codePageOverride = codePage;
}

int systemCodePage() {
    if (codePageOverride != 0)
        return codePageOverride;
    bool ok = false;
    const int env = qEnvironmentVariable("ZEFRANT_CODEPAGE").toInt(&ok);
    if (ok && env > 0)
        return env;
    // The locale of the environment, as the program runs in it.
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    const QByteArray saved = previous ? QByteArray(previous) : QByteArray();
    std::setlocale(LC_CTYPE, "");
    const QString codeset = QString::fromLatin1(nl_langinfo(CODESET));
    std::setlocale(LC_CTYPE, saved.isEmpty() ? "C" : saved.constData());
    return codePageOfCodeset(codeset);
}

QString russianCodePageWarning() {
    return QStringLiteral(
        "* Místní nastavení systému MS Windows nepodporuje zcela ruskou národní znakovou sadu "
        "1251. "
        "Část textů bude nečitelná a část anglicky.\r\n\r\n"
        "* Local setting  of MS Windows does not support russian national character set 1251. "
        "Some strings will not be correct and some will be written in english.");
}

int CheckRussianCodePage(int base) {
    if (base != BaseRU)
        return base;
    const int cp = systemCodePage();
    if (cp != 1250 && cp != 1252)
        return base;
    ShowMessageBox(russianCodePageWarning(), QString::fromLatin1(ProductName), MbWarning);
    return BaseRU1250;
}

QString projectColumnName(const QString& stem) {
    return stem + LanguageCode;
}

QString referenceName(const QString& stem) {
    return stem + LanguageCode + LanguageCodeSuffix;
}

QString reportName() {
    return QStringLiteral("Report") + LanguageCode;
}

QString catalogTreeFile(bool byApplication) {
    return (byApplication ? QStringLiteral("DB/tvp") : QStringLiteral("DB/tv")) + LanguageCode +
           QStringLiteral(".txt");
}

QString documentFile(const QString& baseName) {
    return baseName + QLatin1Char('_') + LanguageCode + QStringLiteral(".pdf");
}

LanguageFont ApplyLanguageFonts(int base) {
    const LanguageInfo& row = languageInfo(base);
    return {QString::fromLatin1(row.fontFace), row.charset};
}

const std::vector<FontTarget>& languageFontTargets() {
    static const std::vector<FontTarget> targets = {
        {"TfrmAbout", nullptr},
        {"TfrmZInput", nullptr},
        {"TfrmZMain", nullptr},
        {"TfrmZFDraw", nullptr},
        {"TfrmKatalog", nullptr},
        {"TfrmObjProp", nullptr},
        {"TfrmPrvekNew", nullptr},
        {"TfrmPrvky", nullptr},
        {"TfrmZMain", "msgHint"},
        {"TfrmZMain", "ShapeHint1"},
        {"TfrmZMain", "ActionMainMenuBar1"},
        {"TfrmZMain", "ActionToolBar1"},
        {"TfrmZMain", "lbDodavatel"},
        {"TfrmZFDraw", "LMDLbTyp"},
        {"TfrmZFDraw", "ExDBGrid1"}, // the title of column 2
        {"TfrmZFDraw", "lbDestr"},
        {"TfrmZFDraw", "lbVetraci"},
        {"TfrmZFDraw", "btUmistitJednotky"},
        {"TfrmZFDraw", "lbUmisteniJednotek"},
        {"TfrmZFDraw", "lbOdvodSpalin"},
        {"TfrmKatalog", "DBTextLabel1"},
        {"TfrmKatalog", "DBTextLabel2"},
        {"TfrmKatalog", "lbRychlost"},
        {"TfrmKatalog", "lbTeplota"},
        {"TfrmZInput", "TLMDLabel"}, // every label of that class
        {"TfrmZInput", "btPrev"},
        {"TfrmZInput", "btNext"},
        {"TfrmZInput", "lbQUser"},
    };
    return targets;
}

} // namespace zf

namespace zf {

namespace {
std::vector<std::pair<int, LanguageApplier>>& appliers() {
    static std::vector<std::pair<int, LanguageApplier>> list;
    return list;
}
int nextApplier = 1;
} // namespace

int registerLanguageApplier(LanguageApplier applier) {
    const int h = nextApplier++;
    appliers().emplace_back(h, std::move(applier));
    return h;
}

void unregisterLanguageApplier(int handle) {
    auto& list = appliers();
    std::erase_if(list, [handle](const auto& p) { return p.first == handle; });
}

void LoadLanguage(int base) {
    setLanguage(base);
    const auto list = appliers();
    for (const auto& [h, apply] : list)
        apply(base);
}

} // namespace zf

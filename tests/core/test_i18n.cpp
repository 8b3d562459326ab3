// The text table and the language rules.
#include "common/dialogs.h"
#include "common/numberformat.h"
#include "i18n/codepage.h"
#include "i18n/language.h"
#include "i18n/languagetable.h"
#include "i18n/texts.h"

#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>
#include <gtest/gtest.h>
#include <iconv.h>
#include <string_view>

using namespace zf;

namespace {

const int textBases[] = {BaseCZ, BaseEN, BaseGE, BasePL, BaseRU};

QStringList placeholders(const QString& text) {
    static const QRegularExpression re(QStringLiteral("%%|%(\\.\\d+)?[sdfn]"));
    QStringList out;
    for (auto it = re.globalMatch(text); it.hasNext();)
        out << it.next().captured(0);
    return out;
}

// A text through the system's converters: the UTF-8 text as code page 1251
// bytes, those bytes read as code page 1250.
QString viaIconv(const QString& text) {
    auto convert = [](const QByteArray& in, const char* from, const char* to) {
        iconv_t cd = iconv_open(to, from);
        EXPECT_NE(cd, iconv_t(-1));
        QByteArray out(in.size() * 4 + 16, '\0');
        char* src = const_cast<char*>(in.constData());
        size_t srcLeft = size_t(in.size());
        char* dst = out.data();
        size_t dstLeft = size_t(out.size());
        EXPECT_NE(iconv(cd, &src, &srcLeft, &dst, &dstLeft), size_t(-1));
        iconv_close(cd);
        out.resize(out.size() - qsizetype(dstLeft));
        return out;
    };
    const QByteArray cp1251 = convert(text.toUtf8(), "UTF-8", "CP1251");
    return QString::fromUtf8(convert(cp1251, "CP1250", "UTF-8"));
}

class RecordingDialogs final : public Dialogs {
public:
    QStringList texts;
    int messageBox(const QString& t, const QString&, int) override {
        texts << t;
        return IdOk;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const SaveDialogOptions&) override { return {}; }
};

} // namespace

TEST(TextTable, EveryTextInEveryLanguageWithTheSamePlaceholders) {
    int checked = 0;
    for (int id = 1; id <= 5140; ++id) {
        const QString en = LanguageTextIn(BaseEN, id);
        if (en.isEmpty())
            continue;
        ++checked;
        for (int base : textBases) {
            const QString t = LanguageTextIn(base, id);
            EXPECT_FALSE(t.isEmpty()) << "text " << id << " missing under base " << base;
            EXPECT_EQ(placeholders(t), placeholders(en)) << "text " << id << " under base " << base;
            // The caller's arguments still fit: nothing of a placeholder is left.
            QVariantList args;
            for (const QString& p : placeholders(en))
                if (p != QLatin1String("%%"))
                    args << (p.endsWith(QLatin1Char('s')) ? QVariant(QStringLiteral("ARG"))
                                                          : QVariant(12.5));
            const QString filled = formatText(t, args, QLocale::c());
            EXPECT_FALSE(filled.contains(QRegularExpression(QStringLiteral("%(\\.\\d+)?[sdfn]"))))
                << "text " << id << " under base " << base;
        }
    }
    EXPECT_GT(checked, 400);
}

// A text says each of its sentences once (5015 said one twice).
TEST(TextTable, NoTextRepeatsASentence) {
    static const QRegularExpression end(QStringLiteral("(?<=[.!?])\\s+"));
    for (int id = 1; id <= 5140; ++id)
        for (int base : textBases) {
            QStringList seen;
            for (QString sentence : LanguageTextIn(base, id).split(end, Qt::SkipEmptyParts)) {
                sentence = sentence.trimmed();
                if (sentence.size() < 12)
                    continue;
                EXPECT_FALSE(seen.contains(sentence))
                    << "text " << id << " under base " << base << ": " << qPrintable(sentence);
                seen << sentence;
            }
        }
}

// The program's own Cancel buttons say what Qt's buttons beside them say
// (Debian's Qt translations): one word for Cancel in each language.
TEST(TextTable, CancelIsQtsCancelInEveryLanguage) {
    const struct {
        int base;
        const char* qt;
    } languages[] = {{BaseCZ, "cs"}, {BaseGE, "de"}, {BasePL, "pl"}, {BaseRU, "ru"}};
    int compared = 0;
    for (const auto& l : languages) {
        QTranslator qt;
        if (!qt.load(QStringLiteral("qtbase_") + QLatin1String(l.qt),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            continue;
        const QString cancel = qt.translate("QPlatformTheme", "Cancel");
        if (cancel.isEmpty())
            continue;
        EXPECT_EQ(LanguageTextIn(l.base, 152), cancel) << l.qt;
        ++compared;
    }
    if (compared == 0)
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
}

TEST(TextTable, KnownEntriesAndTheMissingOnes) {
    EXPECT_EQ(LanguageTextIn(BaseEN, 5001), QStringLiteral("Do you want to save changes?"));
    EXPECT_EQ(LanguageTextIn(BaseEN, 124),
              QStringLiteral("Zefrant project files (*.zfp)|*.zfp|All files (*.*)|*.*"));
    EXPECT_EQ(LanguageTextIn(BaseEN, 505), QStringLiteral("Project Name: "))
        << "trailing blanks are kept";
    EXPECT_EQ(LanguageTextIn(BaseCZ, 81), QStringLiteral("&Jazyk"));
    EXPECT_EQ(LanguageTextIn(BasePL, 87), QStringLiteral("&słowacki"));
    EXPECT_EQ(LanguageTextIn(BaseRU, 83), QStringLiteral("&английский"));
    EXPECT_TRUE(LanguageTextIn(BaseEN, 4999).isEmpty()) << "a missing entry is the empty text";
    EXPECT_TRUE(LanguageTextIn(BaseEN, 140).isEmpty());
}

TEST(Languages, BasesCodesAndCurrencies) {
    struct Case {
        int base;
        const char* code;
        const char* suffix;
        const char* currency;
    };
    const Case cases[] = {{BaseCZ, "CZ", "", "CZK"}, {BaseEN, "EN", "", "USD"},
                          {BaseGE, "GE", "", "EUR"}, {BasePL, "PL", "", "zł"},
                          {BaseRU, "RU", "", "USD"}, {BaseRU1250, "RU", "_1250", "USD"},
                          {BaseSL, "SL", "", "EUR"}, {12345, "EN", "", "EUR"}};
    for (const Case& c : cases) {
        setLanguage(c.base);
        EXPECT_EQ(LanguageCode, QLatin1String(c.code)) << c.base;
        EXPECT_EQ(LanguageCodeSuffix, QLatin1String(c.suffix)) << c.base;
        EXPECT_EQ(CurrencyName(c.base), QString::fromUtf8(c.currency)) << c.base;
    }
    setLanguage(BaseRU1250);
    EXPECT_EQ(referenceName(QStringLiteral("tMaterialy")), QStringLiteral("tMaterialyRU_1250"));
    EXPECT_EQ(referenceName(QStringLiteral("Name")), QStringLiteral("NameRU_1250"));
    EXPECT_EQ(projectColumnName(QStringLiteral("Umisteni_text")),
              QStringLiteral("Umisteni_textRU"));
    EXPECT_EQ(reportName(), QStringLiteral("ReportRU"));
    EXPECT_EQ(catalogTreeFile(false), QStringLiteral("DB/tvRU.txt"));
    EXPECT_EQ(catalogTreeFile(true), QStringLiteral("DB/tvpRU.txt"));
    EXPECT_EQ(documentFile(QStringLiteral("AX")), QStringLiteral("AX_RU.pdf"));
    EXPECT_EQ(ApplyLanguageFonts(BaseRU1250).charset, 204);
    EXPECT_EQ(ApplyLanguageFonts(BaseRU).charset, 1);
    EXPECT_EQ(ApplyLanguageFonts(BaseCZ).face, QStringLiteral("Arial"));

    EXPECT_EQ(baseOfStoredCode(QStringLiteral("DE")), BaseGE);
    EXPECT_EQ(baseOfStoredCode(QStringLiteral("SL")), BaseSL);
    EXPECT_EQ(baseOfStoredCode(QStringLiteral("FR")), BaseCZ);
    EXPECT_FALSE(isOfferedLanguage(BaseSL));
    EXPECT_TRUE(isOfferedLanguage(BaseRU));

    // The number formats and commands: the re-encoded Russian is Russian's.
    EXPECT_EQ(localeOfLanguage(BaseCZ).decimalPoint(), QStringLiteral(","));
    EXPECT_EQ(localeOfLanguage(BaseEN).decimalPoint(), QStringLiteral("."));
    EXPECT_EQ(localeOfLanguage(BaseRU1250).decimalPoint(), QStringLiteral(","));
    ASSERT_TRUE(languageOfCommand(QStringLiteral("acRU")));
    EXPECT_EQ(languageOfCommand(QStringLiteral("acRU"))->base, BaseRU);
    EXPECT_EQ(languageInfo(BaseRU1250).command, std::string_view("acRU"));
    EXPECT_FALSE(findLanguage(12345));
    setLanguage(BaseEN);
}

TEST(Languages, RussianOnACentralEuropeanSystem) {
    RecordingDialogs dlg;
    setDialogs(&dlg);
    for (int cp : {1250, 1252}) {
        setSystemCodePage(cp);
        EXPECT_EQ(CheckRussianCodePage(BaseRU), BaseRU1250) << cp;
    }
    ASSERT_EQ(dlg.texts.size(), 2);
    EXPECT_TRUE(dlg.texts[0].startsWith(QStringLiteral("* Místní nastavení systému MS Windows")));
    EXPECT_TRUE(
        dlg.texts[0].contains(QStringLiteral("anglicky.\r\n\r\n* Local setting  of MS Windows")));
    for (int cp : {1251, 65001}) {
        setSystemCodePage(cp);
        EXPECT_EQ(CheckRussianCodePage(BaseRU), BaseRU) << cp;
    }
    setSystemCodePage(1250);
    EXPECT_EQ(CheckRussianCodePage(BaseCZ), BaseCZ);
    EXPECT_EQ(dlg.texts.size(), 2) << "no warning without Russian or on a Cyrillic system";
    setSystemCodePage(0);
    setDialogs(nullptr);
}

TEST(Languages, ReencodedRussianMatchesTheCodePageTables) {
    for (const char* word :
         {"Москва", "Теплопотери", "Дестратификатор", "Ёлка и ёж", "Щит №5 «Юг»"}) {
        const QString ru = QString::fromUtf8(word);
        EXPECT_EQ(reencode1251As1250(ru), viaIconv(ru)) << word;
    }
    // The table's copy is derived by that rule.
    for (int id : {1, 81, 505, 5001})
        EXPECT_EQ(LanguageTextIn(BaseRU1250, id), reencode1251As1250(LanguageTextIn(BaseRU, id)))
            << id;
    EXPECT_EQ(reencode1251As1250(QStringLiteral("Файл")), QStringLiteral("Ôŕéë"));
    // Shown again: the Russian words come back, the Czech and Polish names of
    // the same texts keep their accents.
    const int before = LanguageBase;
    setLanguage(BaseRU1250);
    for (const char* text : {"Файл", "Чехия, České Budějovice", "Łódź - Ёлка", "Destratifikátor K1",
                             "Кирпичная кладка 300 мм, Jiný"}) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(readableText(storedText(t)), t) << text;
    }
    setLanguage(before);
    EXPECT_EQ(reencode1251As1250(QStringLiteral("Benešov, Łódź")), QStringLiteral("Benešov, Łódź"))
        << "letters code page 1251 lacks stay as they are";
}

TEST(Languages, SlovakHasNoCaptionsButReadableMessages) {
    EXPECT_TRUE(LanguageTextIn(BaseSL, 2).isEmpty());
    EXPECT_TRUE(LanguageTextIn(BaseSL, 2450).isEmpty()) << "unit property texts are written empty";
    EXPECT_EQ(LanguageTextIn(BaseSL, 5001), LanguageTextIn(BaseEN, 5001));
    // The windows are never left without captions.
    const int before = LanguageBase;
    setLanguage(BaseSL);
    EXPECT_EQ(LanguageText(2), LanguageTextIn(BaseEN, 2));
    EXPECT_FALSE(LanguageText(80).isEmpty()) << "the Options menu";
    setLanguage(before);
}

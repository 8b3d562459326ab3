// zefrant-cli tells what it refuses, and what it did to a project a crash left
// open, in the language asked for with --lang.
#include "clirun.h"
#include "common/numberformat.h"
#include "i18n/texts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zf;
using namespace zf::test;

namespace {

QString text(int base, int id, const QVariantList& args = {}) {
    return formatText(LanguageTextIn(base, id), args);
}

class CliLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        project = dir.filePath(QStringLiteral("hall.zfp"));
        ASSERT_EQ(runCliProcess({QStringLiteral("new"), project}).status, 0);
        const CliRun r = runCliProcess(
            {QStringLiteral("input"), project, QStringLiteral(ZEFRANT_DESIGNS "/heating.json")});
        ASSERT_EQ(r.status, 0) << r.err.constData();
    }
    QString write(const char* name, const QByteArray& json) {
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(writeBytes(path, json));
        return path;
    }
    // stderr of a run in a language, which must fail with status 1 (2 for usage).
    QString refusal(const QStringList& args, int status = 1) {
        const CliRun r = runCliProcess(args);
        EXPECT_EQ(r.status, status) << r.err.constData();
        return QString::fromUtf8(r.err);
    }
    QTemporaryDir dir;
    QString project;
};

} // namespace

TEST_F(CliLanguage, TheDesignReaderAndTheWizardRefuseInTheLanguage) {
    const QString bad = write("bad.json", R"({"project":{"Stena_A":true}})");
    EXPECT_TRUE(refusal({QStringLiteral("--lang"), QStringLiteral("CZ"), QStringLiteral("input"),
                         project, bad})
                    .contains(text(BaseCZ, 3128,
                                   {bad, text(BaseCZ, 3109,
                                              {QStringLiteral("Stena_A"), text(BaseCZ, 3115),
                                               QStringLiteral("true")})})));
    // A text that is no number, refused by the wizard, names the column.
    const QString letters = write("letters.json", R"({"project":{"Tes":"abc"}})");
    EXPECT_TRUE(refusal({QStringLiteral("--lang"), QStringLiteral("GE"), QStringLiteral("input"),
                         project, letters})
                    .contains(QString::fromUtf8("box error: „abc“ ist keine gültige Zahl für das "
                                                "Feld Tes.")));
    // The limit of DESIGN.json's size.
    QFile big(dir.filePath(QStringLiteral("big.json")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(65 << 20));
    big.close();
    EXPECT_TRUE(refusal({QStringLiteral("--lang"), QStringLiteral("RU"), QStringLiteral("input"),
                         project, big.fileName()})
                    .contains(text(BaseRU, 3102, {64})));
}

TEST_F(CliLanguage, TheUnitsReaderAndThePlacementRefuseInTheLanguage) {
    const QString tooMany = write("many.json", R"({"counts":[{"ID":2,"Pocet_jednotek":10000}]})");
    EXPECT_TRUE(
        refusal({QStringLiteral("--lang"), QStringLiteral("PL"), QStringLiteral("units"), project,
                 tooMany})
            .contains(text(BasePL, 3153, {QStringLiteral("\"Pocet_jednotek\""), 9999, 10000})));
    const QString unplaceable =
        write("unplaceable.json", R"({"counts":[{"ID":1,"Pocet_jednotek":9999},
                                               {"ID":2,"Pocet_jednotek":9999}],
                                      "Vyska_jednotek":3,"place":true})");
    EXPECT_TRUE(refusal({QStringLiteral("--lang"), QStringLiteral("CZ"), QStringLiteral("units"),
                         project, unplaceable})
                    .contains(text(BaseCZ, 3020, {19998, 9999})));
}

TEST_F(CliLanguage, TheReturnAfterACrashIsToldInTheLanguage) {
    // A backup beside the project: a session left it open.
    ASSERT_TRUE(QFile::copy(project, project + QStringLiteral(".tmp")));
    const CliRun r = runCliProcess(
        {QStringLiteral("--lang"), QStringLiteral("PL"), QStringLiteral("export"), project});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    const QString err = QString::fromUtf8(r.err);
    EXPECT_TRUE(err.contains(QStringLiteral("box question: ") +
                             text(BasePL, 5028, {QStringLiteral("hall.zfp")})))
        << qPrintable(err);
    EXPECT_TRUE(err.contains(QStringLiteral("box information: ") +
                             text(BasePL, 3043, {project, project + QStringLiteral(".tmp")})))
        << qPrintable(err);
}

TEST_F(CliLanguage, TheUsageIsToldInTheLanguage) {
    const QString err =
        refusal({QStringLiteral("--lang"), QStringLiteral("RU"), QStringLiteral("bogus")}, 2);
    EXPECT_TRUE(err.startsWith(QStringLiteral("zefrant-cli: ") +
                               text(BaseRU, 3183, {QStringLiteral("bogus")}) + QLatin1Char('\n') +
                               LanguageTextIn(BaseRU, 3170)))
        << qPrintable(err);
    EXPECT_TRUE(err.contains(LanguageTextIn(BaseRU, 3176)));
    EXPECT_TRUE(
        refusal({QStringLiteral("--lang"), QStringLiteral("GE"), QStringLiteral("units"), project},
                2)
            .startsWith(
                QStringLiteral("zefrant-cli: ") +
                text(BaseGE, 3180, {QStringLiteral("units"), QStringLiteral("UNITS.json")})));
    // Without --lang the tool speaks English, as before.
    EXPECT_TRUE(refusal({QStringLiteral("texts"), QStringLiteral("x")}, 2)
                    .startsWith(QStringLiteral("zefrant-cli: texts takes no arguments\nusage: "
                                               "zefrant-cli [--lang CZ|EN|GE|PL|RU] COMMAND "
                                               "ARGS...\ncommands:\n  new FILE")));
}

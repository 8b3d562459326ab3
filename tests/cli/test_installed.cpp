// The programs as a package installs them, and the user's own items as the tool
// sees them: the program folder found beside the executable or under share/,
// an install into a prefix of the test's own that computes and prints with
// nothing of the build folder, and a user's own structural element looked up by
// input, in a user data folder of the test's own.
#include "clirun.h"
#include "common/globals.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace zf;
using namespace zf::test;

namespace {

void touch(const QString& file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    ASSERT_TRUE(writeBytes(file, "x"));
}

// A saddle-roof hall 20 x 10 m whose first gable is of the named material, its U
// left to the catalog.
const char* const OwnMaterialDesign = R"({
  "project": { "Typ_strechy_enum": 1, "Stena_A": 20, "Stena_B": 10, "Stena_H1": 5, "Stena_H2": 3,
               "Ti": 18, "Te": -15, "Ttlumena": 10, "Tzeme": 5, "n_enum": 1, "Vytapeni_bool": true },
  "walls": [ { "VariantaHaly": "hB", "CisloSteny": 1, "Material": "%1" } ] })";

class ToolRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZEFRANT_USER_DATA"), dir.filePath(QStringLiteral("user")));
    }
    CliRun run(const QStringList& args, const QString& program = QString()) {
        if (program.isEmpty())
            return runCliProcess(args, 60000, env);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, args);
        CliRun r;
        r.finished = p.waitForFinished(60000);
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }
    // New, input of the design with the material, export: the first gable's row.
    QJsonObject gableOf(const QString& material, const QString& program = QString()) {
        const QString file = dir.filePath(QStringLiteral("hall.zfp"));
        CliRun r = run({QStringLiteral("new"), file}, program);
        EXPECT_EQ(r.status, 0) << r.err.constData();
        const QString design = dir.filePath(QStringLiteral("design.json"));
        EXPECT_TRUE(
            writeBytes(design, QString::fromLatin1(OwnMaterialDesign).arg(material).toUtf8()));
        r = run({QStringLiteral("input"), file, design}, program);
        EXPECT_EQ(r.status, 0) << r.err.constData();
        r = run({QStringLiteral("export"), file}, program);
        EXPECT_EQ(r.status, 0) << r.err.constData();
        for (const QJsonValue& v :
             QJsonDocument::fromJson(r.out).object()[QStringLiteral("tSteny")].toArray()) {
            const QJsonObject w = v.toObject();
            if (w[QStringLiteral("VariantaHaly")] == QStringLiteral("hB") &&
                w[QStringLiteral("CisloSteny")].toInt() == 1)
                return w;
        }
        ADD_FAILURE() << "no gable hB 1";
        return {};
    }

    QTemporaryDir dir;
    QProcessEnvironment env;
};

} // namespace

TEST(ProgramFolder, TheExecutablesOwnFolderOrTheInstalledOne) {
    QTemporaryDir dir;
    const QString root = QDir::cleanPath(dir.path());
    // A folder holding the program folder (the build, a copy) is its own.
    touch(root + QStringLiteral("/build/DB/ZF.zft"));
    EXPECT_EQ(programFolderOf(root + QStringLiteral("/build")), root + QStringLiteral("/build"));
    // bin/ of an install finds share/zefrant beside it.
    touch(root + QStringLiteral("/usr/share/zefrant/DB/ZF.zft"));
    QDir().mkpath(root + QStringLiteral("/usr/bin"));
    EXPECT_EQ(programFolderOf(root + QStringLiteral("/usr/bin")),
              root + QStringLiteral("/usr/share/zefrant"));
    // Its own folder wins: a program folder copied next to an installed one.
    touch(root + QStringLiteral("/usr/bin/DB/ZF.zft"));
    EXPECT_EQ(programFolderOf(root + QStringLiteral("/usr/bin")),
              root + QStringLiteral("/usr/bin"));
    // Neither: the executable's folder, whose missing reference database the
    // start then reports.
    QDir().mkpath(root + QStringLiteral("/elsewhere/bin"));
    EXPECT_EQ(programFolderOf(root + QStringLiteral("/elsewhere/bin")),
              root + QStringLiteral("/elsewhere/bin"));
}

// What the package holds is what the install rules put into a prefix: the
// programs there compute, print and find their documents with the build folder
// out of reach, and nothing lands beside bin/ and share/.
TEST_F(ToolRun, TheInstalledProgramsRunFromTheirPrefix) {
    const QString prefix = dir.filePath(QStringLiteral("usr"));
    QProcess install;
    install.start(QStringLiteral(ZEFRANT_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(ZEFRANT_BINARY_DIR),
                   QStringLiteral("--prefix"), prefix});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().constData();

    QStringList top = QDir(prefix).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(top, (QStringList{QStringLiteral("bin"), QStringLiteral("share")}));
    // The headless builds have no zefrant.
    const QStringList programs = QDir(prefix + QStringLiteral("/bin")).entryList(QDir::Files);
    EXPECT_TRUE(programs.contains(QStringLiteral("zefrant-cli")));
    for (const QString& p : programs)
        EXPECT_TRUE(p == QLatin1String("zefrant") || p == QLatin1String("zefrant-cli"))
            << qPrintable(p);
    for (const char* rel :
         {"share/zefrant/DB/ZF.zft", "share/zefrant/DB/ZFData.zft", "share/zefrant/DB/tvEN.txt",
          "share/zefrant/Reports/ZFReport.zfr", "share/zefrant/Images/Building/hB1.svg",
          "share/applications/zefrant.desktop", "share/mime/packages/zefrant.xml",
          "share/icons/hicolor/scalable/apps/zefrant.svg", "share/man/man1/zefrant.1.gz",
          "share/man/man1/zefrant-cli.1.gz", "share/doc/zefrant/copyright",
          "share/doc/zefrant/changelog.gz"})
        EXPECT_TRUE(QFileInfo::exists(prefix + QLatin1Char('/') + QLatin1String(rel))) << rel;
    EXPECT_FALSE(QDir(prefix + QStringLiteral("/share/zefrant/PDF")).isEmpty());
    QFile desktop(prefix + QStringLiteral("/share/applications/zefrant.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    EXPECT_TRUE(desktop.readAll().contains("\nExec=zefrant %f\n")) << "found on the PATH";

    // The installed tool, the build folder and its common data out of reach.
    const QString tool = prefix + QStringLiteral("/bin/zefrant-cli");
    env.insert(QStringLiteral("ZEFRANT_COMMON_APPDATA"), dir.filePath(QStringLiteral("none")));
    const QJsonObject gable = gableOf(QStringLiteral("Brick wall 300 mm, plastered"), tool);
    EXPECT_GT(gable[QStringLiteral("k")].toDouble(), 0) << "the installed catalog's U";
    const QString pdf = dir.filePath(QStringLiteral("hall.pdf"));
    const CliRun r = run({QStringLiteral("report"), dir.filePath(QStringLiteral("hall.zfp")),
                          QStringLiteral("--pdf"), pdf},
                         tool);
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(fileBytes(pdf).startsWith("%PDF-"));
    // The installed program folder is only read.
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("user/ZFUser.zft"))));
    QDirIterator it(prefix + QStringLiteral("/share/zefrant"), QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        EXPECT_FALSE(f.endsWith(QLatin1String(".bak")) || f.contains(QLatin1String("ZFUser")))
            << qPrintable(f);
    }
}

// An item the user added to the catalog (a row of the user's file, key from
// 1,000,000, not read-only) is a known name to input: it fills U as the
// supplied items do, and a name of neither leaves U alone.
TEST_F(ToolRun, InputLooksUpTheUsersOwnItem) {
    // The first run makes the user's file.
    ASSERT_EQ(run({QStringLiteral("new"), dir.filePath(QStringLiteral("first.zfp"))}).status, 0);
    const QString user = dir.filePath(QStringLiteral("user/ZFUser.zft"));
    ASSERT_TRUE(QFileInfo::exists(user));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(user).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "INSERT INTO tMaterialyEN (IDMaterial, Skupina, Material, k, ReadOnly, "
                           "ShowInCatalogs, Typ) VALUES (1000000, 'Walls', 'Own sandwich wall', "
                           "0.27, 0, 3, 1)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    const QJsonObject own = gableOf(QStringLiteral("Own sandwich wall"));
    EXPECT_EQ(own[QStringLiteral("Material")].toString(), QStringLiteral("Own sandwich wall"));
    EXPECT_DOUBLE_EQ(own[QStringLiteral("k")].toDouble(), 0.27);
    EXPECT_GT(own[QStringLiteral("Plocha")].toDouble(), 0);
    EXPECT_NEAR(own[QStringLiteral("Ztraty_konstrukci_kW")].toDouble(),
                0.27 * own[QStringLiteral("Plocha")].toDouble() *
                    (own[QStringLiteral("Ti")].toDouble() - own[QStringLiteral("Te")].toDouble()) /
                    1000,
                0.001)
        << "computed with the user's U";

    // Another user's folder has no such item.
    env.insert(QStringLiteral("ZEFRANT_USER_DATA"), dir.filePath(QStringLiteral("other")));
    EXPECT_DOUBLE_EQ(gableOf(QStringLiteral("Own sandwich wall"))[QStringLiteral("k")].toDouble(),
                     0.0);
}

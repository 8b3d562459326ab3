// zefrant-cli units FILE UNITS.json on real project files, run with the test
// dialogs.
#include "cmd_units.h"

#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "sessionsupport.h"

#include <QFile>
#include <tuple>

using namespace zf;
using namespace zf::test;

namespace {

class UnitsCommandTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        project = copyTemplate(QStringLiteral("hall.zfp"));
        data->openProjectConnection(project);
        ASSERT_EQ(data->OpenProjectTables(), ResultOk) << qPrintable(LastError);
        Dataset& p = data->tADOProject;
        p.setValue(QStringLiteral("Stena_A"), 30);
        p.setValue(QStringLiteral("Stena_B"), 20);
        p.setValue(QStringLiteral("Topny_vykon"), 60000);
        p.post();
        Dataset& t = data->tResults;
        int id = 0;
        for (const auto& [typ, output, group] :
             {std::tuple{"Brisant AX 20", 20.0, ""}, std::tuple{"MK 40 - E", 40.0, ""},
              std::tuple{"Destratifikátor K1", 0.0, "K1"}}) {
            t.append();
            t.setValue(QStringLiteral("ID"), ++id);
            t.setValue(QStringLiteral("Typ"), QString::fromUtf8(typ));
            t.setValue(QStringLiteral("Tep_vykon"), output);
            t.setValue(QStringLiteral("Prutok_vzduchu"), 2000);
            t.setValue(QStringLiteral("Group"), QString::fromLatin1(group));
            t.post();
        }
        data->CloseProjectTables();
        data->closeProjectConnection();
        original = readAll(project);
    }

    int run(const QByteArray& json) {
        const QString path = work.filePath(QStringLiteral("units.json"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(json);
        f.close();
        return commandUnits(*session, project, path);
    }
    // Opens the saved file again for a look.
    void reopen() {
        data->openProjectConnection(project);
        ASSERT_EQ(data->OpenProjectTables(), ResultOk) << qPrintable(LastError);
    }

    QString project;
    QByteArray original;
};

} // namespace

TEST_F(UnitsCommandTest, CountsSettingsAndPlacementAreSaved) {
    const int rc = run(R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 3 },
                                        { "ID": 3, "Pocet_jednotek": 1 } ],
                           "Varianta_rozmisteni_enum": 1, "side": "longer",
                           "Vyska_jednotek": 4, "Vyska_destrat": 7.5, "place": true })");
    ASSERT_EQ(rc, 0) << (dlg.boxes.empty() ? "" : qPrintable(dlg.last().text));
    EXPECT_TRUE(dlg.boxes.empty());
    EXPECT_FALSE(QFile::exists(project + QStringLiteral(".tmp"))) << "closed, backup gone";
    EXPECT_TRUE(files->CurrentFile.isEmpty());

    reopen();
    Dataset& p = data->tADOProject;
    EXPECT_EQ(p.asInteger(QStringLiteral("Pocet_jednotek_celkem")), 3);
    EXPECT_EQ(p.asInteger(QStringLiteral("Pocet_destrat_celkem")), 1);
    EXPECT_EQ(p.asInteger(QStringLiteral("Varianta_rozmisteni_enum")), 1);
    EXPECT_DOUBLE_EQ(p.asFloat(QStringLiteral("Vyska_destrat")), 7.5);
    Dataset& t = data->tResults;
    t.first();
    EXPECT_EQ(t.asInteger(QStringLiteral("Pocet_jednotek")), 3);
    EXPECT_EQ(t.asInteger(QStringLiteral("Max_pocet_jednotek")), 0) << "coverage recomputed";
    Dataset& u = data->tJednotky;
    ASSERT_EQ(u.recordCount(), 4);
    const double xs[] = {7.5, 15, 22.5, 10};
    int i = 0;
    for (u.first(); !u.eof(); u.next(), ++i) {
        EXPECT_EQ(u.asInteger(QStringLiteral("IDJednotky")), i + 1);
        EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("X")), xs[i]);
        EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("Z")), i < 3 ? 4 : 7.5);
    }
}

TEST_F(UnitsCommandTest, ARunOverAPlacedPlanAnswersYes) {
    ASSERT_EQ(run(R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 2 } ], "place": true })"), 0);
    dlg.answers = {IdYes};
    ASSERT_EQ(run(R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 5 } ], "side": "shorter",
                       "place": true })"),
              0);
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text, LanguageText(5014));
    reopen();
    Dataset& u = data->tJednotky;
    ASSERT_EQ(u.recordCount(), 5);
    u.first();
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("X")), 0.25);
    EXPECT_EQ(u.asInteger(QStringLiteral("Uhel")), 90);
}

TEST_F(UnitsCommandTest, WithoutPlaceOnlyTheCountsAreSaved) {
    ASSERT_EQ(run(R"({ "counts": [ { "ID": 2, "Pocet_jednotek": 3 } ] })"), 0);
    reopen();
    data->tResults.locate(QStringLiteral("ID"), 2);
    EXPECT_EQ(data->tResults.asInteger(QStringLiteral("Pocet_jednotek")), 3);
    EXPECT_EQ(data->tJednotky.recordCount(), 0);
    EXPECT_EQ(data->tADOProject.asInteger(QStringLiteral("Pocet_jednotek_celkem")), 3);
}

TEST_F(UnitsCommandTest, RefusalsLeaveTheFileUnchanged) {
    const char* bad[] = {
        R"({ "counts": [ { "ID": 9, "Pocet_jednotek": 1 } ], "place": true })",
        R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 1 } ], "place": true )",
        R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 1.5 } ] })",
        R"({ "counts": [ { "ID": 2, "Pocet_jednotek": -1 } ] })",
        R"({ "counts": [ { "ID": 2, "Pocet_jednotek": 2147483647 } ], "place": true })",
        R"({ "counts": [ { "ID": 1, "Pocet": 1 } ] })",
        R"({ "counts": { "ID": 1 } })",
        R"({ "Varianta_rozmisteni_enum": 7 })",
        R"({ "side": "left" })",
        R"({ "Vyska_jednotek": "high" })",
        R"({ "place": 1 })",
        R"({ "colour": "red" })",
        R"([ 1, 2 ])",
    };
    for (const char* json : bad) {
        SCOPED_TRACE(json);
        dlg.boxes.clear();
        EXPECT_EQ(run(json), 1);
        ASSERT_FALSE(dlg.boxes.empty());
        EXPECT_EQ(dlg.last().flags, MbError);
        EXPECT_EQ(readAll(project), original);
        EXPECT_FALSE(QFile::exists(project + QStringLiteral(".tmp")));
        EXPECT_FALSE(QFile::exists(ProjectFiles::lockFileOf(project)));
    }
}

TEST_F(UnitsCommandTest, APlacementWithNothingChosenIsRefused) {
    EXPECT_EQ(run(R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 0 } ], "Vyska_jednotek": 5,
                       "place": true })"),
              1);
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text, LanguageText(5011));
    EXPECT_EQ(readAll(project), original);
}

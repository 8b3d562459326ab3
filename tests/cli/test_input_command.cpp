// zefrant-cli input on real project files, run in this process with the test
// dialogs: every visible surface can be entered, and the synced writes of one
// input do not grow with the size of the design.
#include "cmd_input.h"

#include "clidialogs.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "sessionsupport.h"
#include "storage/syncstats.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace zf;
using namespace zf::test;

namespace {

class InputCommandTest : public SessionTest {
protected:
    // A new project saved as a file.
    QString newProject(const QString& name) {
        const QString path = work.filePath(name);
        EXPECT_EQ(session->commandNew(), ResultOk);
        EXPECT_EQ(files->SaveProjectAs(path), ResultOk);
        files->CloseProject(true);
        return path;
    }
    int input(const QString& file, const QJsonObject& design) {
        const QString path = work.filePath(QStringLiteral("design.json"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QJsonDocument(design).toJson());
        f.close();
        CliDialogs answers;
        return commandInput(*session, answers, file, path);
    }
    // A hall of the roof and skylight type, with the dimensions its edits take.
    static QJsonObject hall(int roof, int skylight) {
        QJsonObject o{{"Typ_strechy_enum", roof},
                      {"Typ_svetliku_enum", skylight},
                      {"Stena_A", 30},
                      {"Stena_B", 20},
                      {"Stena_H1", 6},
                      {"Ti", 18},
                      {"Te", -15}};
        if (roof > 0)
            o.insert(QStringLiteral("Stena_H2"), 2);
        if (skylight > 0) {
            o.insert(QStringLiteral("Svetlik_A"), 10);
            o.insert(QStringLiteral("Svetlik_B"), 3);
            o.insert(QStringLiteral("Svetlik_H1"), 1);
        }
        if (skylight == 2)
            o.insert(QStringLiteral("Svetlik_H2"), 0.5);
        return o;
    }
    // The visible surfaces of the last project opened: variant and number.
    std::vector<std::pair<QString, int>> visibleSurfaces(const QString& file) {
        std::vector<std::pair<QString, int>> out;
        EXPECT_EQ(session->openFile(file), ResultOk);
        Dataset& w = data->tSteny;
        for (w.first(); !w.eof(); w.next())
            out.emplace_back(w.asString(QStringLiteral("VariantaHaly")),
                             w.asInteger(QStringLiteral("CisloSteny")));
        files->CloseProject(true);
        return out;
    }
};

} // namespace

TEST_F(InputCommandTest, EverySurfaceOfEveryRoofAndSkylightCanBeEntered) {
    const QString file = newProject(QStringLiteral("all.zfp"));
    for (int roof = 0; roof < RoofTypeCount; ++roof) {
        for (int sky = 0; sky < SkylightTypeCount; ++sky) {
            SCOPED_TRACE(testing::Message() << "roof " << roof << ", skylight " << sky);
            ASSERT_EQ(input(file, {{"project", hall(roof, sky)}}), 0);
            const auto surfaces = visibleSurfaces(file);
            QJsonArray walls;
            for (const auto& [variant, number] : surfaces)
                walls.append(
                    QJsonObject{{"VariantaHaly", variant}, {"CisloSteny", number}, {"k", 0.5}});
            ASSERT_EQ(input(file, {{"project", hall(roof, sky)}, {"walls", walls}}), 0)
                << "the last surface of a variant too";
            ASSERT_EQ(session->openFile(file), ResultOk);
            Dataset& w = data->tSteny;
            int count = 0;
            for (w.first(); !w.eof(); w.next(), ++count) {
                SCOPED_TRACE(qPrintable(w.asString(QStringLiteral("VariantaHaly")) +
                                        w.asString(QStringLiteral("CisloSteny"))));
                EXPECT_DOUBLE_EQ(w.asFloat(QStringLiteral("k")), 0.5);
                // Every surface with an area loses heat; a floor to the ground too.
                if (w.asFloat(QStringLiteral("Plocha")) > 0) {
                    EXPECT_GT(w.asFloat(QStringLiteral("Ztraty_konstrukci")), 0.0);
                }
            }
            EXPECT_EQ(count, int(surfaces.size()));
            files->CloseProject(true);
        }
    }
}

TEST_F(InputCommandTest, SyncedWritesDoNotGrowWithTheDesign) {
    auto design = [](int openings) {
        QJsonArray list;
        for (int i = 0; i < openings; ++i)
            list.append(QJsonObject{{"Nazev", QStringLiteral("Window %1").arg(i)},
                                    {"k", 1.4},
                                    {"Vyska", 1},
                                    {"Sirka", 1},
                                    {"Pocet", 1}});
        return QJsonObject{
            {"project", hall(1, 0)},
            {"walls",
             QJsonArray{QJsonObject{
                 {"VariantaHaly", "hB"}, {"CisloSteny", 2}, {"k", 0.5}, {"openings", list}}}}};
    };
    const QString small = newProject(QStringLiteral("small.zfp"));
    const QString large = newProject(QStringLiteral("large.zfp"));
    qint64 before = syncCounts().total();
    ASSERT_EQ(input(small, design(1)), 0)
        << qPrintable(dlg.boxes.empty() ? QString() : dlg.last().text);
    const qint64 smallSyncs = syncCounts().total() - before;
    before = syncCounts().total();
    ASSERT_EQ(input(large, design(200)), 0);
    const qint64 largeSyncs = syncCounts().total() - before;
    EXPECT_EQ(largeSyncs, smallSyncs);
    EXPECT_LE(largeSyncs, 12) << "open, one commit, save";
}

TEST_F(InputCommandTest, ARefusedDesignLeavesTheFileByteForByte) {
    const QString file = newProject(QStringLiteral("refused.zfp"));
    const QByteArray before = readAll(file);
    QJsonObject project = hall(1, 2);
    project.insert(QStringLiteral("Stena_A"), 0); // Finish refuses it (5004)
    EXPECT_EQ(input(file, {{"project", project}}), 1);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(input(file, {{"project", hall(1, 2)},
                           {"walls",
                            QJsonArray{QJsonObject{{"VariantaHaly", "hA"}, {"CisloSteny", 1}}}}}),
              1)
        << "a surface the design does not show";
    EXPECT_EQ(readAll(file), before);
}

// Values are typed one after the other as in the window: a state between two of
// them is no refusal, and what a one-line field cannot hold becomes one line.
TEST_F(InputCommandTest, ValuesAreTakenAsTheWindowTakesThem) {
    const QString file = newProject(QStringLiteral("typed.zfp"));
    // The new project's arc would be too high for the narrower hall until its
    // own height is typed after the width.
    QJsonObject project{{"Typ_strechy_enum", 3},
                        {"Stena_A", 20},
                        {"Stena_B", 10},
                        {"Stena_H1", 5},
                        {"Stena_H2", 3},
                        {"Oblast_text", "Pra\nha\n"},
                        {"Datum_vypracovani", "2020-03-04T05:06:07"}};
    const QJsonArray walls{QJsonObject{
        {"VariantaHaly", "hD"}, {"CisloSteny", 1}, {"Material", "Brick\r\nwall"}, {"k", 0.5}}};
    ASSERT_EQ(input(file, {{"project", project}, {"walls", walls}}), 0)
        << qPrintable(dlg.boxes.empty() ? QString() : dlg.last().text);
    ASSERT_EQ(session->openFile(file), ResultOk);
    const Dataset& p = data->tADOProject;
    EXPECT_EQ(p.asString(QStringLiteral("Oblast_text")), QStringLiteral("Pra ha"));
    EXPECT_EQ(p.asDateTime(QStringLiteral("Datum_vypracovani")),
              QDateTime(QDate(2020, 3, 4), QTime(5, 6, 7)));
    // The arc of B = 10, H2 = 3: R = 5.6667, so the hall holds more than its walls.
    EXPECT_GT(p.asFloat(QStringLiteral("Vhala")), 20.0 * 10 * 5);
    Dataset& w = data->tSteny;
    w.first();
    ASSERT_EQ(w.asString(QStringLiteral("VariantaHaly")), QStringLiteral("hD"));
    ASSERT_EQ(w.asInteger(QStringLiteral("CisloSteny")), 1);
    EXPECT_EQ(w.asString(QStringLiteral("Material")), QStringLiteral("Brick wall"));
    files->CloseProject(true);

    // A date of another form is refused.
    project = QJsonObject{{"Datum_vypracovani", "4. 3. 2020"}};
    EXPECT_EQ(input(file, {{"project", project}}), 1);
}

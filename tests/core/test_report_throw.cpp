// The line under the report's plan: the share of the floor the throw of the
// placed units reaches, in the report's language, with its warning when low.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/languagetable.h"
#include "i18n/texts.h"
#include "report/runreport.h"
#include "rtftext.h"
#include "testsupport.h"
#include "units/throwfigure.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace zf;
using namespace zf::test;

namespace {

CoverageFigures coverage(double percent, int zones = 1) {
    CoverageFigures f;
    f.floorArea = 200;
    f.coveredArea = 2 * percent;
    f.coveredPercent = percent;
    for (int i = 0; i < zones; ++i)
        f.units.push_back({i + 1, 12, 2 * percent});
    return f;
}

class ReportThrowTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        project = copyTemplate(QStringLiteral("throw.zfp"));
        sql(project, QStringLiteral("UPDATE tRozmery SET ProjectName_text = 'Hall 4', "
                                    "Stena_A = 20, Stena_B = 10, Vytapeni_bool = 1;"));
        ASSERT_EQ(files->OpenProject(project), ResultOk) << LastError.toStdString();
    }
    void fill(const QString& language, const CoverageFigures* figures) {
        engine = std::make_unique<ReportEngine>();
        ASSERT_TRUE(engine->loadProject(reportDefinitionFile()))
            << engine->lastError().toStdString();
        connectReportData(*engine, *data);
        ASSERT_TRUE(FillReport(*engine, *data, QString(), language, figures));
        page = QStringLiteral("Report") + language + QStringLiteral(".Page4");
    }
    ReportComponent* line(const char* name) {
        ReportComponent* c = engine->findComponent(page, QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }

    QString project, page;
    std::unique_ptr<ReportEngine> engine;
};

TEST_F(ReportThrowTest, TheShareAndItsWarningStandUnderThePlanInEveryLanguage) {
    const CoverageFigures low = coverage(25.13);
    const struct {
        const char* language;
        int base;
        const char* figure;
    } cases[] = {{"EN", BaseEN, "Floor reached by the throw: 25.1 %"},
                 {"CZ", BaseCZ, "Podlaha v dosahu proudu: 25,1 %"},
                 {"GE", BaseGE, "Von der Wurfweite erreichte Bodenfläche: 25,1 %"},
                 {"PL", BasePL, "Podłoga w zasięgu strumienia: 25,1 %"},
                 {"RU", BaseRU, "Пол в пределах дальнобойности струи: 25,1 %"}};
    setLanguage(BaseCZ); // the report's language, not the windows', decides
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        fill(QLatin1String(c.language), &low);
        ReportComponent* figure = line("tx_Dosah");
        ReportComponent* hint = line("tx_DosahHint");
        ASSERT_TRUE(figure && hint);
        EXPECT_TRUE(figure->visible);
        EXPECT_EQ(figure->content, QString::fromUtf8(c.figure));
        EXPECT_TRUE(hint->visible) << "25 % is under 80 %";
        EXPECT_EQ(hint->content, throwFigure(low, c.base, localeOfLanguage(c.base)).hint);
        EXPECT_FALSE(hint->content.isEmpty());
    }
    setLanguage(BaseEN);

    const CoverageFigures enough = coverage(92.3);
    fill(QStringLiteral("EN"), &enough);
    EXPECT_EQ(line("tx_Dosah")->content, QStringLiteral("Floor reached by the throw: 92.3 %"));
    EXPECT_FALSE(line("tx_DosahHint")->visible);
}

TEST_F(ReportThrowTest, NoLineWithoutAZoneOrWithoutTheFigures) {
    const CoverageFigures none = coverage(0, 0);
    fill(QStringLiteral("EN"), &none);
    EXPECT_FALSE(line("tx_Dosah")->visible);
    EXPECT_FALSE(line("tx_DosahHint")->visible);
    fill(QStringLiteral("EN"), nullptr);
    EXPECT_FALSE(line("tx_Dosah")->visible);
    EXPECT_FALSE(line("tx_DosahHint")->visible);
}

struct CoverageHost final : ReportHost {
    std::optional<CoverageFigures> figures;
    int posted = 0;
    bool askedAfterPosting = false;
    void postPendingEdits() override { ++posted; }
    bool writePlanPicture(const QString&, const QLocale&) override { return false; }
    std::optional<CoverageFigures> reportThrowCoverage() override {
        askedAfterPosting = posted > 0;
        return figures;
    }
};

TEST_F(ReportThrowTest, TheRunWritesTheHostsFigureUnderThePlan) {
    CoverageHost host;
    host.figures = coverage(69.2);
    const QString rtf = work.filePath(QStringLiteral("r.rtf"));
    ASSERT_TRUE(RunReport(*data, host, ReportKind::Rtf, rtf).ok);
    EXPECT_TRUE(host.askedAfterPosting) << "the figure is of the units as stored";
    const QString text = rtfText(readAll(rtf));
    const int figure = text.indexOf(QStringLiteral("Floor reached by the throw: 69.2 %"));
    EXPECT_GE(figure, 0) << text.toStdString();
    const QString hint = throwFigure(coverage(69.2), BaseEN, localeOfLanguage(BaseEN)).hint;
    EXPECT_GT(text.indexOf(hint), figure) << "the warning follows the figure";
    EXPECT_GT(figure, text.indexOf(LanguageTextIn(BaseEN, 2003))) << "under the plan page's title";

    host.figures.reset();
    ASSERT_TRUE(RunReport(*data, host, ReportKind::Rtf, rtf).ok);
    EXPECT_FALSE(rtfText(readAll(rtf)).contains(QStringLiteral("Floor reached by the throw")));
}

} // namespace

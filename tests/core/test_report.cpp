// The report: its definition format, expressions, the rules that adapt the report
// to the project, the run with its failures, and the outputs.
#include "report/reportoutput.h"
#include "report/runreport.h"
#include "rtftext.h"
#include "testsupport.h"

#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "i18n/texts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <functional>

using namespace zf;
using namespace zf::test;

namespace {

QString definitionText(const char* body) {
    return QString::fromUtf8(body);
}

// --- the definition format ---

TEST(ReportDefinitionFormat, NestingAttributesAndTexts) {
    ReportProject p;
    QString error;
    ASSERT_TRUE(parseReportProject(definitionText(R"(# a comment
report ReportEN
  language EN
  locale en_GB
  style h1 size=14 bold color=#c4581b keep
  header left="{ProjectName_text}" right="{$page} / {$pages}"
  page Page2
    memo memo_Rekapitulace ""
    section SectionVzduch   # trailing comment
      text tx "Fresh \"air\"\nwinter"
    grid g columns="60 40:r"
      row
        text tx_H2 style=h1 "H2"
        text dtx_H2 "{Stena_H2|0.00}"
    table t columns="1 1"
      band head role=header
        text "a"
        text "b"
      band data source=dcSteny where="k > 0" empty="none"
        text "{NazevEN}"
        text "{k}"
)"),
                                   p, &error))
        << error.toStdString();
    ReportDefinition* r = p.report(QStringLiteral("ReportEN"));
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->styles[QStringLiteral("h1")].bold);
    EXPECT_TRUE(r->styles[QStringLiteral("h1")].keepWithNext);
    EXPECT_EQ(r->styles[QStringLiteral("h1")].size, 14);
    ReportPage* page = r->page(QStringLiteral("Page2"));
    ASSERT_TRUE(page);
    ASSERT_EQ(page->components.size(), 4u);
    const ReportComponent& section = *page->components[1];
    EXPECT_EQ(section.kind, ComponentKind::Section);
    ASSERT_EQ(section.children.size(), 1u);
    EXPECT_EQ(section.children[0]->content, QStringLiteral("Fresh \"air\"\nwinter"));
    const ReportComponent& table = *page->components[3];
    ASSERT_EQ(table.children.size(), 2u);
    EXPECT_EQ(table.children[1]->bandRole(), BandRole::Data);
    EXPECT_EQ(table.children[1]->attribute(QStringLiteral("where")), QStringLiteral("k > 0"));
}

TEST(ReportDefinitionFormat, FaultsNameTheirLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c : {
             Case{"page Page1\n", "line 1: expected \"report NAME\""},
             Case{"report R\n  page P\n    picture x \"unclosed\n", "line 3: a text in quotes"},
             Case{"report R\n  page P\n    widget w\n", "line 3: unknown component kind"},
             Case{"report R\n  page P\n    table t\n      text x\n", "line 4: a table cannot hold"},
             Case{"report R\n  page P\n    band b role=header\n",
                  "line 3: a band belongs in a table"},
             Case{"report R\n  page P\n    table t\n      band d\n", "line 4: a data band needs"},
             Case{"report R\n\tpage P\n", "line 2: indent with blanks"},
             Case{"report R\n  style s size=big\n", "line 2: size takes a number"},
             Case{"report R\nreport R\n", "line 2: report R is defined twice"},
             Case{"# nothing\n", "defines no report"},
         }) {
        ReportProject p;
        QString error;
        EXPECT_FALSE(parseReportProject(QString::fromUtf8(c.text), p, &error)) << c.text;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message))) << error.toStdString();
        EXPECT_TRUE(p.reports.empty());
    }
}

// --- expressions ---

class ReportExpressionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReportTable project;
        project.columns = {QStringLiteral("A"), QStringLiteral("Name"), QStringLiteral("Zero")};
        for (int i = 0; i < project.columns.size(); ++i)
            project.index.insert(project.columns[i].toLower(), i);
        project.rows.push_back({12.5, QStringLiteral("Hall"), 0.0});
        data.setTable(QStringLiteral("dcProject"), project);
        ReportTable walls;
        walls.columns = {QStringLiteral("IDSteny"), QStringLiteral("k"), QStringLiteral("Nazev")};
        for (int i = 0; i < walls.columns.size(); ++i)
            walls.index.insert(walls.columns[i].toLower(), i);
        walls.rows.push_back({1, 0.5, QStringLiteral("Wall 1")});
        walls.rows.push_back({2, 2.0, QStringLiteral("Wall 2")});
        walls.rows.push_back({3, QVariant(), QStringLiteral("Floor")});
        data.setTable(QStringLiteral("dcSteny"), walls);
        env.data = &data;
        env.locale = QLocale(QStringLiteral("cs_CZ"));
        env.languageBase = BaseEN;
        env.warnings = &warnings;
    }
    QString eval(const QString& text) {
        ReportTemplate t;
        QString error;
        EXPECT_TRUE(t.parse(text, &error)) << error.toStdString();
        return t.evaluate(env, nullptr);
    }
    ReportData data;
    EvalEnv env;
    QStringList warnings;
};

TEST_F(ReportExpressionTest, ArithmeticFormatsAndFunctions) {
    EXPECT_EQ(eval(QStringLiteral("{A * 2|,0.00} m")), QStringLiteral("25,00 m"));
    EXPECT_EQ(eval(QStringLiteral("{A / Zero}")), QStringLiteral("0")) << "x / 0 gives 0";
    EXPECT_EQ(eval(QStringLiteral("{round(2.5)} {round(3.5)}")), QStringLiteral("2 4"));
    EXPECT_EQ(eval(QStringLiteral("{sum(dcSteny, k)|0.0}")), QStringLiteral("2,5"))
        << "an empty value counts as 0";
    EXPECT_EQ(eval(QStringLiteral("{count(dcSteny, k > 1)}")), QStringLiteral("1"));
    EXPECT_EQ(eval(QStringLiteral("{lookup(dcSteny, IDSteny, 2, Nazev)}")),
              QStringLiteral("Wall 2"));
    EXPECT_EQ(eval(QStringLiteral("{if(A > 10 and not (A > 20), 'big', 'small')}")),
              QStringLiteral("big"));
    EXPECT_EQ(eval(QStringLiteral("{bit(5, 0)}{bit(5, 1)}{bit(5, 2)}")), QStringLiteral("101"));
    EXPECT_EQ(eval(QStringLiteral("{label(59)}")), QStringLiteral("Operating Conditions"));
    EXPECT_EQ(eval(QStringLiteral("{label(505)}")), QStringLiteral("Project Name"));
    EXPECT_EQ(eval(QStringLiteral("{fmt(2124, 57, 12.5, 22)}")),
              QStringLiteral("Covered 57% of heat output (12,50 of 22,00 kW)"));
    EXPECT_EQ(eval(QStringLiteral("{{literal}} {Name}")), QStringLiteral("{literal} Hall"));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
}

TEST_F(ReportExpressionTest, FaultsPrintEmptyAndAreReported) {
    EXPECT_EQ(eval(QStringLiteral("[{NoSuchField}]")), QStringLiteral("[]"));
    EXPECT_TRUE(warnings.contains(QStringLiteral("unknown field dcProject.NoSuchField")));
    EXPECT_EQ(eval(QStringLiteral("[{sum(dcNothing, k)}]")), QStringLiteral("[0]"));
    EXPECT_TRUE(warnings.contains(QStringLiteral("unknown connection dcNothing")));
    ReportTemplate t;
    QString error;
    EXPECT_FALSE(t.parse(QStringLiteral("{A +}"), &error));
    EXPECT_FALSE(t.parse(QStringLiteral("{A"), &error));
}

// --- the report against a project ---

class ReportTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        project = copyTemplate(QStringLiteral("report.zfp"));
        sql(project, "INSERT INTO tSteny (IDSteny, TypSteny, VariantaHaly, CisloSteny, NazevEN, "
                     "NazevCZ, k, Plocha) VALUES (1, 1, 'hA', 1, 'Wall 1', 'Stěna 1', 0.5, 100),"
                     "(2, 1, 'hA', 2, 'Wall 2', 'Stěna 2', 0.5, 60);"
                     "INSERT INTO tStavOtvory (IDSteny, Nazev, k, Vyska, Sirka, Pocet) VALUES "
                     "(1, 'Window north', 1.4, 1.5, 2, 3), (2, 'Gate east', 1.8, 4, 4, 1);"
                     "UPDATE tRozmery SET ProjectName_text = 'Hall 9', Vytapeni_bool = 1, "
                     "Vetrani_bool = 0, Typ_strechy_enum = 0, Typ_svetliku_enum = 0, "
                     "Tepelne_ztraty_enum = 0;");
        ASSERT_EQ(files->OpenProject(project), ResultOk) << LastError.toStdString();
        data->tSteny.first();
    }
    void set(const QString& column, const QVariant& value) {
        data->tADOProject.setValue(column, value);
        data->tADOProject.post();
    }
    // A fresh engine with the shipped definition, filled.
    void fill(const QString& plan = QString()) {
        engine = std::make_unique<ReportEngine>();
        ASSERT_TRUE(engine->loadProject(reportDefinitionFile()))
            << engine->lastError().toStdString();
        connectReportData(*engine, *data);
        ASSERT_TRUE(FillReport(*engine, *data, plan));
    }
    ReportComponent* c(const char* page, const char* name) {
        return engine->findComponent(QString::fromLatin1(page), QString::fromLatin1(name));
    }
    bool shown(const char* page, const char* name) {
        ReportComponent* comp = c(page, name);
        EXPECT_TRUE(comp) << name;
        return comp && comp->visible;
    }

    QString project;
    std::unique_ptr<ReportEngine> engine;
};

struct Host final : ReportHost {
    int posted = 0;
    bool writePlan = true;
    bool throwOnPlan = false;
    std::function<void()> onPost;
    QString language;   // what reportLanguage() answers
    QStringList chosen; // what setReportLanguage() was told
    QString planLocale; // the locale the plan picture was written with
    QString reportLanguage() const override { return language; }
    void setReportLanguage(const QString& code) override {
        chosen << code;
        language = code;
    }
    void postPendingEdits() override {
        ++posted;
        if (onPost)
            onPost();
    }
    bool writePlanPicture(const QString& path, const QLocale& locale) override {
        planLocale = locale.name();
        if (throwOnPlan)
            throw DbError(QStringLiteral("the plan cannot be read"));
        if (!writePlan)
            return false;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300">)"
                R"(<rect x="10" y="10" width="380" height="280" fill="none" stroke="red"/></svg>)");
        return true;
    }
};

TEST_F(ReportTest, TheShippedDefinitionHoldsEveryLanguageButSlovak) {
    ReportEngine e;
    ASSERT_TRUE(e.loadProject(reportDefinitionFile())) << e.lastError().toStdString();
    EXPECT_EQ(e.reportNames(), (QStringList{QStringLiteral("ReportCZ"), QStringLiteral("ReportEN"),
                                            QStringLiteral("ReportGE"), QStringLiteral("ReportPL"),
                                            QStringLiteral("ReportRU")}));
    connectReportData(e, *data);
    const ReportData snapshot = e.captureData();
    struct Named {
        const char* page;
        const char* name;
        ComponentKind kind;
    };
    for (const QString& name : e.reportNames()) {
        ASSERT_TRUE(e.selectReport(name));
        for (const Named& n : {
                 Named{"Page2", "memo_Rekapitulace", ComponentKind::Memo},
                 Named{"Page2", "SectionVzduch", ComponentKind::Section},
                 Named{"Page2", "tx_H2", ComponentKind::Text},
                 Named{"Page2", "dtx_H2", ComponentKind::Text},
                 Named{"Page2", "tx_svH2", ComponentKind::Text},
                 Named{"Page2", "dtx_svH2", ComponentKind::Text},
                 Named{"Page2", "SectionSvetlik", ComponentKind::Section},
                 Named{"Page3", "txTepZtraty", ComponentKind::Text},
                 Named{"Page3", "dStenyBand", ComponentKind::Band},
                 Named{"Page3", "dStenyDataBand", ComponentKind::Band},
                 Named{"Page3", "Band1", ComponentKind::Band},
                 Named{"Page3", "DataBand1", ComponentKind::Band},
                 Named{"Page3", "dStavOtvoryBand", ComponentKind::Band},
                 Named{"Page3", "rvWMF_Hala", ComponentKind::Picture},
                 Named{"Page3", "rvWMF_Svetlik", ComponentKind::Picture},
                 Named{"Page4", "rvWMF_Jednotky", ComponentKind::Picture},
             }) {
            ReportComponent* comp = e.findComponent(name + QLatin1Char('.') + QLatin1String(n.page),
                                                    QString::fromLatin1(n.name));
            ASSERT_TRUE(comp) << name.toStdString() << " " << n.name;
            EXPECT_EQ(comp->kind, n.kind) << name.toStdString() << " " << n.name;
        }
        EXPECT_TRUE(e.page(QStringLiteral("Page1")) && e.page(QStringLiteral("Page5")));
        QStringList warnings;
        const ResolvedReport r = e.resolve(snapshot, &warnings);
        EXPECT_TRUE(warnings.isEmpty())
            << name.toStdString() << ": " << warnings.join(QStringLiteral("; ")).toStdString();
        EXPECT_EQ(r.pages.size(), 5u);
    }
    EXPECT_FALSE(e.selectReport(QStringLiteral("ReportSL")));
}

TEST_F(ReportTest, ScopeSentenceAndVentilationSection) {
    struct Case {
        bool heating, ventilation;
        int text;
    };
    for (const Case& k : {Case{true, false, 2602}, Case{false, true, 2603}, Case{true, true, 2601},
                          Case{false, false, 0}}) {
        set(QStringLiteral("Vytapeni_bool"), k.heating);
        set(QStringLiteral("Vetrani_bool"), k.ventilation);
        fill();
        const QString expected = k.text ? LanguageText(k.text) : QString();
        EXPECT_EQ(c("Page2", "memo_Rekapitulace")->content, expected + QStringLiteral("\r\n\r\n"));
        EXPECT_EQ(shown("Page2", "SectionVzduch"), k.ventilation);
    }
}

// All the texts a resolved report prints, one per paragraph or cell.
QStringList printed(const ResolvedReport& r) {
    QStringList out;
    for (const ResolvedPage& page : r.pages)
        for (const ResolvedBlock& b : page.blocks) {
            if (b.type == ResolvedBlock::Paragraph)
                out << b.text;
            for (const auto* rows : {&b.table.header, &b.table.body, &b.table.footer})
                for (const ResolvedRow& row : *rows)
                    for (const ResolvedCell& c : row.cells)
                        out << c.text;
        }
    return out;
}

TEST_F(ReportTest, TheScopeDecidesTheSubtitleAndTheFiguresPrinted) {
    struct Case {
        bool heating, ventilation;
        const char* subtitle;
        bool ventilationFigures, heatingBalance;
    };
    for (const Case& k :
         {Case{true, false, "Warm-air heating of the hall – design and calculation", false, true},
          Case{false, true, "Ventilation of the hall – design and calculation", true, false},
          Case{true, true, "Warm-air heating and ventilation of the hall – design and calculation",
               true, true}}) {
        SCOPED_TRACE(k.subtitle);
        set(QStringLiteral("Vytapeni_bool"), k.heating);
        set(QStringLiteral("Vetrani_bool"), k.ventilation);
        fill();
        const QStringList texts = printed(engine->resolve(engine->captureData()));
        auto label = [](int id) { return LanguageText(id).remove(u':').trimmed(); };
        EXPECT_TRUE(texts.contains(QString::fromUtf8(k.subtitle)));
        EXPECT_EQ(texts.filter(QStringLiteral("design and calculation")).size(), 1);
        EXPECT_EQ(texts.contains(LanguageText(2009)), k.ventilationFigures && k.heatingBalance)
            << "the ventilation loss, a row of the balance";
        EXPECT_EQ(texts.contains(label(2013)), k.ventilationFigures);
        EXPECT_EQ(texts.contains(QStringLiteral("Heat balance")), k.heatingBalance);
        EXPECT_EQ(texts.contains(LanguageText(2010)), k.heatingBalance) << "the gains row";
        EXPECT_EQ(texts.contains(QStringLiteral("Heating costs")), k.heatingBalance);
        EXPECT_EQ(texts.contains(label(599)), k.heatingBalance) << "the gains entered";
        EXPECT_EQ(texts.contains(label(2121) + u':'), k.heatingBalance)
            << "the heat output covered";
        EXPECT_TRUE(texts.contains(label(2012))) << "circulation";
    }

    // An own value counts no gains: a dash, not "xxx".
    set(QStringLiteral("Vytapeni_bool"), true);
    set(QStringLiteral("Tepelne_ztraty_enum"), 2);
    fill();
    const QStringList texts = printed(engine->resolve(engine->captureData()));
    const qsizetype gains = texts.indexOf(LanguageText(2010));
    ASSERT_GE(gains, 0);
    EXPECT_EQ(texts.value(gains + 1), QStringLiteral("–"));
    EXPECT_EQ(texts.value(gains + 2), QStringLiteral("–"));
    EXPECT_TRUE(texts.filter(QStringLiteral("xxx")).isEmpty());
}

TEST_F(ReportTest, RoofAndSkylightDecideTheHeights) {
    for (int roof = 0; roof <= 3; ++roof) {
        set(QStringLiteral("Typ_strechy_enum"), roof);
        fill();
        EXPECT_EQ(shown("Page2", "tx_H2"), roof > 0) << roof;
        EXPECT_EQ(shown("Page2", "dtx_H2"), roof > 0) << roof;
    }
    for (int sky = 0; sky <= 4; ++sky) {
        set(QStringLiteral("Typ_svetliku_enum"), sky);
        fill();
        EXPECT_EQ(shown("Page2", "SectionSvetlik"), sky != 0) << sky;
        EXPECT_EQ(shown("Page2", "tx_svH2"), sky == 2) << sky;
        EXPECT_EQ(shown("Page2", "dtx_svH2"), sky == 2) << sky;
    }
}

TEST_F(ReportTest, LossMethodSentenceAndBands) {
    for (int way = 0; way <= 3; ++way) {
        set(QStringLiteral("Tepelne_ztraty_enum"), way);
        fill();
        if (way <= 2)
            EXPECT_EQ(c("Page3", "txTepZtraty")->content, LanguageText(2604 + way));
        else
            EXPECT_FALSE(c("Page3", "txTepZtraty")->literal) << "left as designed";
        for (const char* band :
             {"dStenyBand", "dStenyDataBand", "Band1", "DataBand1", "dStavOtvoryBand"})
            EXPECT_EQ(shown("Page3", band), way == 0) << band << " " << way;
    }
    // With the bands hidden the tables leave no heading behind.
    set(QStringLiteral("Tepelne_ztraty_enum"), 1);
    fill();
    const ResolvedReport r = engine->resolve(engine->captureData());
    int surfaceTables = 0;
    for (const ResolvedBlock& b : r.pages[2].blocks)
        surfaceTables += b.type == ResolvedBlock::Table && !b.table.header.empty() &&
                         b.table.header[0].cells.size() >= 8;
    EXPECT_EQ(surfaceTables, 0);
    const QString surfacesTitle = QStringLiteral("Surfaces of the building and their heat losses");
    for (const ResolvedBlock& b : r.pages[2].blocks)
        EXPECT_NE(b.text, surfacesTitle);
}

TEST_F(ReportTest, LanguageSelectsTheReportAndSlovakFallsBackToEnglish) {
    setLanguage(BaseRU);
    fill();
    EXPECT_EQ(engine->selectedReport()->name, QStringLiteral("ReportRU"));
    setLanguage(BaseRU1250);
    fill();
    EXPECT_EQ(engine->selectedReport()->name, QStringLiteral("ReportRU"));
    EXPECT_EQ(c("Page2", "memo_Rekapitulace")->content,
              LanguageTextIn(BaseRU, 2602) + QStringLiteral("\r\n\r\n"))
        << "Cyrillic sentences, not the re-encoded ones";
    setLanguage(BaseSL);
    fill();
    EXPECT_EQ(engine->selectedReport()->name, QStringLiteral("ReportEN"));
    EXPECT_EQ(c("Page2", "memo_Rekapitulace")->content,
              LanguageTextIn(BaseEN, 2602) + QStringLiteral("\r\n\r\n"))
        << "the sentence of the report's language, not Slovak's empty text";
    setLanguage(BaseEN);
}

TEST_F(ReportTest, MissingComponentsAreSkippedAndPicturesNeedTheirFile) {
    const QString file = work.filePath(QStringLiteral("small.zfr"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // tx_H2 is a memo here, not a text: it is not touched; Page3 does not exist.
    f.write("report ReportEN\n  page Page2\n    memo tx_H2 \"kept\"\n"
            "  page Page4\n    picture rvWMF_Jednotky width=100 height=80\n");
    f.close();
    ReportEngine e;
    ASSERT_TRUE(e.loadProject(file));
    connectReportData(e, *data);
    ASSERT_TRUE(FillReport(e, *data, work.filePath(QStringLiteral("none.svg"))));
    EXPECT_TRUE(e.findComponent(QStringLiteral("Page2"), QStringLiteral("tx_H2"))->visible);
    EXPECT_FALSE(
        e.findComponent(QStringLiteral("Page4"), QStringLiteral("rvWMF_Jednotky"))->visible);

    const QString plan = work.filePath(QStringLiteral("plan.svg"));
    Host().writePlanPicture(plan, QLocale::c());
    ASSERT_TRUE(FillReport(e, *data, plan));
    ReportComponent* pic =
        e.findComponent(QStringLiteral("Page4"), QStringLiteral("rvWMF_Jednotky"));
    EXPECT_TRUE(pic->visible);
    EXPECT_EQ(pic->pictureFile, plan);
}

TEST_F(ReportTest, RunSeesTheOpeningsOfAllWallsAndRestoresTheLink) {
    ASSERT_EQ(data->tStavOtvory.recordCount(), 1) << "the openings of the current wall";
    const QString pdf = work.filePath(QStringLiteral("r.pdf"));
    Host host;
    const ReportRunResult r = RunReport(*data, host, ReportKind::Pdf, pdf);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.report, QStringLiteral("ReportEN"));
    EXPECT_EQ(host.posted, 1);
    EXPECT_FALSE(QFile::exists(reportPlanPictureFile())) << "the plan picture lives for one run";
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1) << "linked to the walls again";
    EXPECT_EQ(data->tStavOtvory.asString(QStringLiteral("Nazev")), QStringLiteral("Window north"));
    data->tSteny.next();
    EXPECT_EQ(data->tStavOtvory.asString(QStringLiteral("Nazev")), QStringLiteral("Gate east"));

    // Both walls' openings are in the document.
    const QString rtf = work.filePath(QStringLiteral("r.rtf"));
    ASSERT_TRUE(RunReport(*data, host, ReportKind::Rtf, rtf).ok);
    QFile in(rtf);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    EXPECT_TRUE(rtfBalanced(bytes));
    const QString text = rtfText(bytes);
    EXPECT_TRUE(text.contains(QStringLiteral("Window north"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Gate east")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Hall 9\t1 / 1"))) << "header with the page fields";
    EXPECT_TRUE(bytes.contains("\\trhdr")) << "table headings repeat on every page";
    EXPECT_TRUE(bytes.contains("\\pngblip")) << "the plan as a picture";
    EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(ReportTest, FailuresKeepTheTargetAndTheLink) {
    Host host;
    // A target that cannot be written: the program's error, no file, no leftovers.
    const QString target = work.filePath(QStringLiteral("missing/r.pdf"));
    ReportRunResult r = RunReport(*data, host, ReportKind::Pdf, target);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_TRUE(dlg.last().text.startsWith(QStringLiteral("Cannot write to file")));
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("#Error message: ")));
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1);

    // A failure while preparing: shown, the link restored, no picture left.
    host.throwOnPlan = true;
    r = RunReport(*data, host, ReportKind::Pdf, work.filePath(QStringLiteral("x.pdf")));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(dlg.last().text, QStringLiteral("the plan cannot be read"));
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1);
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("x.pdf"))));
    host.throwOnPlan = false;

    // Storing the plan fails: shown, and no report of the old positions.
    host.onPost = [] { throw DbError(QStringLiteral("the plan cannot be stored")); };
    r = RunReport(*data, host, ReportKind::Pdf, work.filePath(QStringLiteral("s.pdf")));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(dlg.last().text, QStringLiteral("the plan cannot be stored"));
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("s.pdf"))));

    // An opening left in its edit by a failed post: the openings cannot be
    // detached, and their link to the walls stays.
    host.onPost = [this] {
        data->tStavOtvory.edit();
        data->tStavOtvory.setValue(QStringLiteral("Pocet"), 7);
        data->projectConnection().exec(QStringLiteral("PRAGMA query_only = 1"));
    };
    r = RunReport(*data, host, ReportKind::Pdf, work.filePath(QStringLiteral("d.pdf")));
    host.onPost = nullptr;
    data->projectConnection().exec(QStringLiteral("PRAGMA query_only = 0"));
    EXPECT_FALSE(r.ok);
    data->tStavOtvory.cancel();
    data->tStavOtvory.refresh();
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1) << "the openings of the current wall only";

    // A definition that cannot be read: message 5025 with the detail.
    const QString bad = work.filePath(QStringLiteral("bad.zfr"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("report ReportEN\n  page P\n    widget w\n");
    f.close();
    r = RunReport(*data, host, ReportKind::Pdf, work.filePath(QStringLiteral("y.pdf")), nullptr,
                  bad);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(dlg.last().text.startsWith(QStringLiteral("Error while opening the file")));
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("line 3: unknown component kind")));
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1);
    EXPECT_FALSE(QFile::exists(reportPlanPictureFile()));

    // An existing file is replaced whole or not at all.
    const QString existing = work.filePath(QStringLiteral("old.pdf"));
    QFile o(existing);
    ASSERT_TRUE(o.open(QIODevice::WriteOnly));
    o.write("old");
    o.close();
    ASSERT_TRUE(RunReport(*data, host, ReportKind::Pdf, existing).ok);
    ASSERT_TRUE(o.open(QIODevice::ReadOnly));
    EXPECT_TRUE(o.readAll().startsWith("%PDF-"));
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files).filter(QStringLiteral("old.pdf")).size(), 1)
        << "no temporary file left beside it";
}

TEST_F(ReportTest, FileCommandsAskForTheFile) {
    Host host;
    ReportRunResult r = ReportCommand(*data, host, ReportKind::Pdf);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(host.posted, 0) << "cancelling produces no report";
    ASSERT_EQ(dlg.saveDialogs.size(), 1u);
    EXPECT_EQ(dlg.saveDialogs[0].title, LanguageText(127));
    EXPECT_EQ(dlg.saveDialogs[0].filter, LanguageText(128));
    EXPECT_EQ(dlg.saveDialogs[0].defaultSuffix, QStringLiteral("pdf"));
    EXPECT_TRUE(dlg.saveDialogs[0].promptOverwrite);

    const QString rtf = work.filePath(QStringLiteral("c.rtf"));
    dlg.saveNames.push_back(rtf);
    r = ReportCommand(*data, host, ReportKind::Rtf);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(dlg.saveDialogs[1].title, LanguageText(129));
    EXPECT_EQ(dlg.saveDialogs[1].filter, LanguageText(130));
    EXPECT_TRUE(QFile::exists(rtf));
}

struct Presenter final : ReportPresenter {
    QStringList lines;
    int presented = 0;
    int setups = 0;
    bool accept = true;
    ReportSetup asked, answer{ReportDestination::Printer, QStringLiteral("PL")};
    bool setup(ReportSetup& s) override {
        ++setups;
        asked = s;
        if (accept)
            s = answer;
        return accept;
    }
    ReportDestination destination = ReportDestination::PdfFile;
    QStringList texts; // of the last report presented
    void present(ReportDestination d, const ReportDocument&, const ResolvedReport& r) override {
        ++presented;
        destination = d;
        texts = printed(r);
    }
    void progress(const QString& line) override { lines << line; }
};

TEST_F(ReportTest, PreviewKindsGoToThePresenterWithProgress) {
    Host host;
    Presenter p;
    const ReportRunResult r = RunReport(*data, host, ReportKind::Preview, QString(), &p);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(p.presented, 1);
    EXPECT_EQ(p.destination, ReportDestination::Preview);
    ASSERT_FALSE(p.lines.isEmpty());
    EXPECT_EQ(p.lines.first(), QStringLiteral("Generating page 1"));
    EXPECT_TRUE(p.lines.last().isEmpty()) << "the progress window closes";
    EXPECT_EQ(reportProgressLine(true, 3), QStringLiteral("Printing page 3"));
}

TEST_F(ReportTest, PrintAsksTheOutputAndTheLanguageFirstAndKeepsTheLanguage) {
    setLanguage(BaseGE);
    Host host;
    Presenter p;
    ReportRunResult r = RunReport(*data, host, ReportKind::Print, QString(), &p);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(p.setups, 1);
    EXPECT_EQ(p.asked.destination, ReportDestination::Preview) << "the preview preselected";
    EXPECT_EQ(p.asked.language, QStringLiteral("GE")) << "the windows' language by default";
    EXPECT_EQ(p.destination, ReportDestination::Printer);
    EXPECT_EQ(r.report, QStringLiteral("ReportPL")) << "built after the choice, in its language";
    EXPECT_EQ(host.chosen, QStringList{QStringLiteral("PL")}) << "kept for the next reports";
    EXPECT_EQ(LanguageBase, BaseGE) << "the windows keep their language";

    // The next Print offers the kept language; the other commands print in it.
    r = RunReport(*data, host, ReportKind::Print, QString(), &p);
    EXPECT_EQ(p.asked.language, QStringLiteral("PL"));
    EXPECT_EQ(host.chosen.size(), 1) << "an unchanged choice is not written again";
    r = RunReport(*data, host, ReportKind::Preview, QString(), &p);
    EXPECT_EQ(r.report, QStringLiteral("ReportPL"));
    EXPECT_EQ(p.setups, 2) << "Preview shows no setup dialog";

    // Cancelled: no report, nothing posted, nothing kept.
    p.accept = false;
    p.answer.language = QStringLiteral("RU");
    const int posted = host.posted, presented = p.presented;
    r = RunReport(*data, host, ReportKind::Print, QString(), &p);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(host.posted, posted);
    EXPECT_EQ(p.presented, presented);
    EXPECT_EQ(host.language, QStringLiteral("PL"));

    // Slovak has no report: the English one is offered, and taking it as offered
    // keeps Slovak's currency and nothing is kept.
    setLanguage(BaseSL);
    Host slovak;
    Presenter q;
    q.answer = {ReportDestination::Preview, QStringLiteral("EN")};
    r = RunReport(*data, slovak, ReportKind::Print, QString(), &q);
    EXPECT_EQ(q.asked.language, QStringLiteral("EN"));
    EXPECT_EQ(r.report, QStringLiteral("ReportEN"));
    EXPECT_TRUE(slovak.chosen.isEmpty());
    EXPECT_FALSE(q.texts.filter(QStringLiteral("[EUR/")).isEmpty()) << "the prices in euros";
    setLanguage(BaseEN);
}

TEST_F(ReportTest, AReportInAnotherLanguageIsTheOneThatLanguagePrints) {
    set(QStringLiteral("Cena_enum"), 1);
    set(QStringLiteral("Cena_Kc_kWh"), 0.125);
    set(QStringLiteral("Cena_den"), 1234.6);
    set(QStringLiteral("Ti"), 18.5);
    set(QStringLiteral("Poloha_cloveka_enum"), 1);
    set(QStringLiteral("Datum_vypracovani"), QDateTime(QDate(2024, 3, 15), QTime(0, 0)));
    auto rtf = [&](int windows, const QString& language, QString* planLocale) {
        setLanguage(windows);
        Host host;
        host.language = language;
        const QString file = work.filePath(QStringLiteral("l.rtf"));
        EXPECT_TRUE(RunReport(*data, host, ReportKind::Rtf, file).ok);
        EXPECT_EQ(LanguageBase, windows) << "the windows keep their language";
        *planLocale = host.planLocale;
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return rtfText(in.readAll());
    };
    QString czechWindows, germanWindows;
    const QString underCzech = rtf(BaseCZ, QStringLiteral("GE"), &czechWindows);
    const QString underGerman = rtf(BaseGE, QString(), &germanWindows);
    EXPECT_EQ(underCzech, underGerman);
    EXPECT_EQ(czechWindows, germanWindows) << "the plan's dimensions in the report's locale";
    EXPECT_EQ(czechWindows, QStringLiteral("de_DE"));
    for (const QString& german :
         {LanguageTextIn(BaseGE, 2602), QStringLiteral("[EUR/kWh]"), QStringLiteral("1.235,- EUR"),
          QStringLiteral("18,5"), QStringLiteral("15.03.2024"), QStringLiteral("1,1 m"),
          LanguageTextIn(BaseGE, 961)})
        EXPECT_TRUE(underCzech.contains(german)) << german.toStdString();
    EXPECT_FALSE(underCzech.contains(QStringLiteral("CZK")));
    setLanguage(BaseEN);
}

// --- layout ---

TEST(ReportLayout, LongTablesBreakWithTheirHeaderAndPagesAreNumbered) {
    ResolvedReport r;
    r.fonts = QStringList{QStringLiteral("Liberation Sans")};
    r.headerLeft = QStringLiteral("Project");
    r.headerRight = QString(QChar(PageNumberMark)) + QStringLiteral(" / ") + QChar(PageCountMark);
    ResolvedPage page;
    ResolvedBlock b;
    b.type = ResolvedBlock::Table;
    b.table.weights = {1, 1};
    b.table.aligns = {QStringLiteral("left"), QStringLiteral("right")};
    b.table.header.push_back({{{QStringLiteral("Heading"), ReportStyle(), 1},
                               {QStringLiteral("Value"), ReportStyle(), 1}}});
    for (int i = 0; i < 300; ++i)
        b.table.body.push_back({{{QStringLiteral("row %1").arg(i), ReportStyle(), 1},
                                 {QString::number(i), ReportStyle(), 1}}});
    page.blocks.push_back(b);
    r.pages.push_back(page);
    int progressed = 0;
    const ReportDocument doc = layoutReport(r, [&](int) { ++progressed; });
    ASSERT_GT(doc.pageCount(), 2);
    EXPECT_EQ(progressed, doc.pageCount());
    int rows = 0;
    for (int p = 0; p < doc.pageCount(); ++p) {
        int headings = 0;
        bool numbered = false;
        for (const DrawOp& op : doc.pages[size_t(p)].ops) {
            headings += op.text == QStringLiteral("Heading");
            rows += op.text.startsWith(QStringLiteral("row "));
            numbered =
                numbered || op.text == QStringLiteral("%1 / %2").arg(p + 1).arg(doc.pageCount());
            if (op.type == DrawOp::Text && op.text.startsWith(QStringLiteral("row "))) {
                EXPECT_LT(op.rect.top(), PageHeightMm * LayoutUnitsPerMm) << "inside the sheet";
            }
        }
        EXPECT_EQ(headings, 1) << "page " << p + 1;
        EXPECT_TRUE(numbered) << "page " << p + 1;
    }
    EXPECT_EQ(rows, 300) << "every row once";

    // The one paint routine draws onto an image as onto the printer.
    QImage img(420, 594, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    doc.paintPage(painter, 0, QRectF(0, 0, img.width(), img.height()));
    painter.end();
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            dark += qGray(img.pixel(x, y)) < 128;
    EXPECT_GT(dark, 500);
}

TEST(ReportLayout, ColumnsKeepTheirWordsWholeAndTotalsKeepALastRow) {
    ResolvedReport r;
    r.fonts = QStringList{QStringLiteral("Liberation Sans")};
    ResolvedPage page;
    ResolvedBlock b;
    b.type = ResolvedBlock::Table;
    // The last column's share is far too narrow for its one long word; the
    // first has room to spare.
    b.table.weights = {10, 1, 1};
    b.table.aligns = {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("right")};
    const QString word = QStringLiteral("Luftvolumenstrom");
    b.table.header.push_back({{{QStringLiteral("Name"), ReportStyle(), 1},
                               {QStringLiteral("n"), ReportStyle(), 1},
                               {word + QStringLiteral(" [m3/h]"), ReportStyle(), 1}}});
    // More rows than one sheet holds; the loop below adds more.
    for (int i = 0; i < 58; ++i)
        b.table.body.push_back({{{QStringLiteral("row %1").arg(i), ReportStyle(), 1},
                                 {QString::number(i), ReportStyle(), 1},
                                 {QStringLiteral("1"), ReportStyle(), 1}}});
    b.table.footer.push_back(
        {{{QStringLiteral("Total"), ReportStyle(), 2}, {QStringLiteral("58"), ReportStyle(), 1}}});
    page.blocks.push_back(b);
    r.pages.push_back(page);
    // Grow the table until its totals would start a sheet alone.
    for (int extra = 0; extra < 80; ++extra) {
        const ReportDocument doc = layoutReport(r);
        bool whole = false;
        for (const DrawOp& op : doc.pages.front().ops)
            whole = whole || op.text == word;
        ASSERT_TRUE(whole) << "the header's long word is on one line";
        for (const LaidOutPage& p : doc.pages) {
            bool total = false, row = false;
            for (const DrawOp& op : p.ops) {
                total = total || op.text == QStringLiteral("Total");
                row = row || op.text.startsWith(QStringLiteral("row "));
            }
            EXPECT_TRUE(!total || row) << "the totals under a repeated header with no row";
        }
        b.table.body.push_back({{{QStringLiteral("row x"), ReportStyle(), 1},
                                 {QStringLiteral("0"), ReportStyle(), 1},
                                 {QStringLiteral("1"), ReportStyle(), 1}}});
        r.pages.front().blocks.front() = b;
    }
}

namespace {

ResolvedBlock paragraphBlock(const QString& text) {
    ResolvedBlock b;
    b.text = text;
    return b;
}

ResolvedRow cells(const QStringList& texts) {
    ResolvedRow r;
    for (const QString& t : texts)
        r.cells.push_back({t, ReportStyle(), 1});
    return r;
}

// The lines of a cell's text that a sheet shows: the texts drawn between the
// columns' edges.
int sheetOf(const ReportDocument& doc, const QString& text) {
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const DrawOp& op : doc.pages[size_t(p)].ops)
            if (op.type == DrawOp::Text && op.text == text)
                return p;
    return -1;
}

} // namespace

TEST(ReportLayout, HeadingsWrapIntoTwoLinesAtMost) {
    ResolvedReport r;
    r.fonts = QStringList{QStringLiteral("Liberation Sans")};
    ResolvedPage page;
    ResolvedBlock b;
    b.type = ResolvedBlock::Table;
    // Narrow shares for long headings beside a column with room to spare.
    b.table.weights = {40, 6, 6, 6};
    b.table.aligns = {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("right"),
                      QStringLiteral("right")};
    const QStringList headings{QStringLiteral("Name"),
                               QStringLiteral("Losses due to construction [kW]"),
                               QStringLiteral("Verlust durch Öffnungen [kW]"),
                               QStringLiteral("Number of units to be used")};
    b.table.header.push_back(cells(headings));
    b.table.body.push_back(cells({QStringLiteral("Wall 1"), QStringLiteral("0.653"),
                                  QStringLiteral("1.181"), QStringLiteral("2")}));
    page.blocks.push_back(b);
    r.pages.push_back(page);
    const ReportDocument doc = layoutReport(r);
    ASSERT_EQ(doc.pageCount(), 1);
    const std::vector<double> edges = tableColumnShares(r, b.table);
    ASSERT_EQ(edges.size(), 5u);
    EXPECT_DOUBLE_EQ(edges.front(), 0);
    EXPECT_NEAR(edges.back(), 1, 1e-9);
    // Every heading's lines: the texts drawn in its column above the first row.
    double firstRow = 0;
    for (const DrawOp& op : doc.pages[0].ops)
        if (op.type == DrawOp::Text && op.text == QStringLiteral("Wall 1"))
            firstRow = op.rect.top();
    ASSERT_GT(firstRow, 0);
    const double left = 18 * LayoutUnitsPerMm, width = (210 - 33) * LayoutUnitsPerMm;
    for (size_t c = 1; c < 4; ++c) {
        QStringList lines;
        for (const DrawOp& op : doc.pages[0].ops)
            if (op.type == DrawOp::Text && op.rect.top() < firstRow &&
                op.rect.left() >= left + edges[c] * width &&
                op.rect.left() < left + edges[c + 1] * width)
                lines << op.text;
        EXPECT_LE(lines.size(), 2) << lines.join(u'|').toStdString();
        EXPECT_EQ(lines.join(u' '), headings[qsizetype(c)]) << "whole words, nothing lost";
    }
}

TEST(ReportLayout, NoSheetHoldsOnlyWhatRanOverAndTablesKeepRowsWithTheirHeading) {
    ResolvedReport r;
    r.fonts = QStringList{QStringLiteral("Liberation Sans")};
    // How many lines a sheet holds.
    ResolvedPage probe;
    for (int i = 0; i < 200; ++i)
        probe.blocks.push_back(paragraphBlock(QStringLiteral("line %1").arg(i)));
    r.pages = {probe};
    int perSheet = 0;
    while (sheetOf(layoutReport(r), QStringLiteral("line %1").arg(perSheet)) == 0 && perSheet < 200)
        ++perSheet;
    ASSERT_GT(perSheet, 20);

    // A page a few lines longer than a sheet, then a short one.
    ResolvedPage first, second;
    for (int i = 0; i < perSheet + 3; ++i)
        first.blocks.push_back(paragraphBlock(QStringLiteral("line %1").arg(i)));
    second.blocks.push_back(paragraphBlock(QStringLiteral("The next page")));
    r.pages = {first, second};
    ReportDocument doc = layoutReport(r);
    ASSERT_EQ(sheetOf(doc, QStringLiteral("line %1").arg(perSheet + 2)), 1) << "it runs over";
    EXPECT_EQ(sheetOf(doc, QStringLiteral("The next page")), 1)
        << "the next page fills the sheet that holds the rest";
    EXPECT_EQ(doc.pageCount(), 2);
    EXPECT_EQ(doc.newSheets, (std::vector<bool>{true, false}));
    EXPECT_FALSE(renderReportRtf(r, doc.newSheets).contains("\\page"))
        << "the RTF document breaks where the sheets do";
    EXPECT_TRUE(renderReportRtf(r).contains("\\page"));

    // A page that fills most of the next sheet leaves the one after it to the next.
    for (int i = perSheet + 3; i < 2 * perSheet - 3; ++i)
        r.pages[0].blocks.push_back(paragraphBlock(QStringLiteral("line %1").arg(i)));
    doc = layoutReport(r);
    EXPECT_EQ(sheetOf(doc, QStringLiteral("line %1").arg(2 * perSheet - 4)), 1);
    EXPECT_EQ(sheetOf(doc, QStringLiteral("The next page")), 2);
    EXPECT_EQ(doc.newSheets, (std::vector<bool>{true, true}));

    // A table whose heading would stand at the foot of a sheet with a row or
    // two begins on the next one; its last row never stands alone.
    ResolvedPage tablePage;
    for (int i = 0; i < perSheet - 14; ++i)
        tablePage.blocks.push_back(paragraphBlock(QStringLiteral("text %1").arg(i)));
    ResolvedBlock t;
    t.type = ResolvedBlock::Table;
    t.table.weights = {1, 1};
    t.table.header.push_back(cells({QStringLiteral("Heading"), QStringLiteral("Value")}));
    for (int i = 0; i < 8; ++i)
        t.table.body.push_back(cells({QStringLiteral("row %1").arg(i), QString::number(i)}));
    tablePage.blocks.push_back(t);
    r.pages = {tablePage};
    for (int extra = 0; extra < 12; ++extra) {
        doc = layoutReport(r);
        const int heading = sheetOf(doc, QStringLiteral("Heading"));
        EXPECT_EQ(sheetOf(doc, QStringLiteral("row 2")), heading) << extra;
        EXPECT_EQ(sheetOf(doc, QStringLiteral("row 6")), sheetOf(doc, QStringLiteral("row 7")))
            << extra;
        r.pages[0].blocks.insert(r.pages[0].blocks.begin(), paragraphBlock(QStringLiteral("more")));
    }
}

TEST(ReportPdf, ProducerIsRecordedByAnIncrementalUpdate) {
    ResolvedReport r;
    r.title = QStringLiteral("Hala č. 7");
    r.fonts = QStringList{QStringLiteral("Liberation Sans")};
    ResolvedPage page;
    ResolvedBlock b;
    b.text = QStringLiteral("Příliš žluťoučký kůň, Źdźbło, Привет");
    page.blocks.push_back(b);
    r.pages.push_back(page);
    const QByteArray pdf = renderReportPdf(layoutReport(r));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("/Producer <FEFF005A0065006600720061006E0074>"));
    EXPECT_TRUE(pdf.contains("/Prev "));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_TRUE(pdf.contains("/FontFile2")) << "TrueType fonts embedded";
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

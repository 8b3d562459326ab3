// The plan as a DXF drawing and the project as an xlsx workbook, each read back
// the way another program reads it: the drawing through dxflib's reader, the
// workbook through its XML parts.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "exchange/exchange.h"
#include "exchangesupport.h"
#include "i18n/texts.h"
#include "sessionsupport.h"
#include "storage/filecopy.h"
#include "units/throwzones.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <cmath>

using namespace zf;
using namespace zf::test;

namespace {

QString S(const char* s) {
    return QString::fromUtf8(s);
}

// A ventilated, saddle-roofed hall of 30 x 20 m with a skylight, openings on
// two walls (one wall with more openings than wall), warm-air units, an MK unit
// and a destratifier placed by the automatic placement.
class ExchangeTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        buildProject();
    }
    void TearDown() override {
        if (files && data->projectConnected())
            files->CloseProject(true);
        SessionTest::TearDown();
    }

    void enter(const char* edit, const QVariant& v) {
        QString error;
        ASSERT_TRUE(wizard->enterEdit(QLatin1String(edit), v, &error)) << qPrintable(error);
    }

    void buildProject() {
        ASSERT_EQ(session->commandNew(), ResultOk);
        data->openMaterials();
        wizard->chooseRoofType(RoofType::Saddle);
        wizard->chooseSkylightType(SkylightType::Type2);
        wizard->chooseRegion(QStringLiteral("Praha"));
        wizard->setVentilation(true);
        wizard->setFamily(FamilyAX, true);
        enter("DBEd_ProjectName", S("Hala Žďár"));
        for (auto [e, v] : std::vector<std::pair<const char*, double>>{{"DBEd_A", 30},
                                                                       {"DBEd_B", 20},
                                                                       {"DBEd_H1", 6},
                                                                       {"DBEd_H2", 2},
                                                                       {"DBEd_svA", 10},
                                                                       {"DBEd_svB", 3},
                                                                       {"DBEd_svH1", 1},
                                                                       {"DBEd_svH2", 0.5},
                                                                       {"DBEd_Ti", 18},
                                                                       {"DBEd_Vcz", 3000},
                                                                       {"DBEd_Rekuperace", 40},
                                                                       {"DBEd_Technologie", 2.5}})
            enter(e, v);
        wizard->setPage(tsStavebniKonstrukce);
        Dataset& walls = data->tSteny;
        for (walls.first(); !walls.eof(); walls.next()) {
            walls.setValue(QStringLiteral("Material"), QStringLiteral("Panel"));
            walls.setValue(QStringLiteral("k"), 0.4);
            walls.post();
        }
        // The first wall: a gate and four windows.
        walls.first();
        dlg.answers = {IdNo, IdNo};
        addOpening(QStringLiteral("Gate"), 2.5, 4, 4, 1);
        addOpening(QStringLiteral("Window"), 1.4, 1.5, 2, 4);
        // The second: a window; the third: openings larger than the wall.
        walls.next();
        addOpening(QStringLiteral("Window"), 1.4, 1.2, 1.2, 2);
        walls.next();
        const double area = walls.asFloat(QStringLiteral("Plocha"));
        addOpening(QStringLiteral("Curtain wall"), 1.1, 2, 2, int(area / 4) + 2);
        walls.first();

        ASSERT_TRUE(session->finishWizard(true));
        ASSERT_GT(data->tResults.recordCount(), 3);

        Dataset& types = data->tResults;
        int ax = -1, mk = -1, destratifier = -1, required = 0;
        for (int r = 0; r < types.recordCount(); ++r) {
            const QString typ =
                types.valueAt(r, types.fieldIndex(QStringLiteral("Typ"))).toString();
            const int id = types.valueAt(r, types.fieldIndex(QStringLiteral("ID"))).toInt();
            if (typ.contains(QLatin1String("Destr")) && destratifier < 0)
                destratifier = id;
            else if (typ.contains(QLatin1String("MK")) && mk < 0)
                mk = id;
            else if (typ.contains(QLatin1String("AX 20")) && ax < 0) {
                ax = id;
                required = types.valueAt(r, types.fieldIndex(QStringLiteral("Max_pocet_jednotek")))
                               .toInt();
            }
        }
        ASSERT_GT(ax, 0);
        ASSERT_GT(mk, 0);
        ASSERT_GT(destratifier, 0);
        ASSERT_TRUE(session->chooseUnitCount(ax, std::clamp(required, 3, 6)));
        ASSERT_TRUE(session->chooseUnitCount(mk, 1));
        ASSERT_TRUE(session->chooseUnitCount(destratifier, 1));
        ASSERT_TRUE(session->setPlacementHeight(QStringLiteral("Vyska_jednotek"), 4.0));
        ASSERT_TRUE(session->setPlacementHeight(QStringLiteral("Vyska_destrat"), 7.0));
        ASSERT_EQ(session->placeUnits(), PlaceResult::Placed);
        // A unit moved off its wall position, so that angles other than the
        // placement's appear.
        SessionProbe(*session).units().plan.DropObject(0, 12.3, 0.7);
        session->storePlan();
        ASSERT_GE(data->tJednotky.recordCount(), 5);
        dlg.boxes.clear();
    }

    void addOpening(const QString& name, double k, double height, double width, int count) {
        Dataset& o = data->tStavOtvory;
        o.append();
        o.setValue(QStringLiteral("Nazev"), name);
        o.setValue(QStringLiteral("k"), k);
        o.setValue(QStringLiteral("Vyska"), height);
        o.setValue(QStringLiteral("Sirka"), width);
        o.setValue(QStringLiteral("Pocet"), count);
        o.post();
    }

    // Every row of a dataset as its column values.
    static std::vector<QHash<QString, QVariant>> rows(const Dataset& ds) {
        std::vector<QHash<QString, QVariant>> out;
        for (int r = 0; r < ds.recordCount(); ++r) {
            QHash<QString, QVariant> row;
            for (size_t f = 0; f < ds.fields().size(); ++f)
                row.insert(ds.fields()[f].name, ds.valueAt(r, int(f)));
            out.push_back(row);
        }
        return out;
    }

    QString out(const QString& name) const { return work.filePath(name); }
};

// --- the drawing ---------------------------------------------------------------

class PlanDxfTest : public ExchangeTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlanDxfTest, HoldsTheHallEveryUnitItsNumberAndZoneAndTheDimensions) {
    const int base = GetParam();
    const QString file = out(QStringLiteral("plan.dxf"));
    ASSERT_TRUE(exportPlanDxf(*data, base, file));
    EXPECT_TRUE(dlg.boxes.empty());
    const DxfDrawing d = readDxf(file);
    ASSERT_TRUE(d.read);

    EXPECT_GE(d.strings.value(QStringLiteral("$ACADVER")), QStringLiteral("AC1015"));
    EXPECT_EQ(d.ints.value(QStringLiteral("$INSUNITS")), 6) << "metres";
    QList<int> colours;
    for (const char* name : {"HALL", "UNITS", "NUMBERS", "THROW", "DIMENSIONS"}) {
        const DxfDrawing::Layer* l = d.layer(QLatin1String(name));
        ASSERT_NE(l, nullptr) << name;
        EXPECT_FALSE(colours.contains(l->color)) << name << " has a colour of its own";
        colours << l->color;
    }

    // The floor outline.
    std::vector<DxfEntities::Polyline> hall;
    for (const auto& p : d.model.polylines)
        if (p.layer == QLatin1String("HALL"))
            hall.push_back(p);
    ASSERT_EQ(hall.size(), 1u);
    EXPECT_TRUE(hall[0].closed);
    ASSERT_EQ(hall[0].vertices.size(), 4u);
    const double xs[] = {0, 30, 30, 0}, ys[] = {0, 0, 20, 20};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(hall[0].vertices[i].x, xs[i]);
        EXPECT_DOUBLE_EQ(hall[0].vertices[i].y, ys[i]);
    }

    // Every unit once, at its place, turned to blow where it blows, numbered.
    const auto units = rows(data->tJednotky);
    std::vector<DxfEntities::Insert> inserts;
    for (const auto& i : d.model.inserts)
        if (i.layer == QLatin1String("UNITS"))
            inserts.push_back(i);
    ASSERT_EQ(inserts.size(), units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const auto& u = units[i];
        const auto& in = inserts[i];
        EXPECT_DOUBLE_EQ(in.at.x(), u.value(QStringLiteral("X")).toDouble());
        EXPECT_DOUBLE_EQ(in.at.y(), u.value(QStringLiteral("Y")).toDouble());
        const int uhel = int(std::lround(u.value(QStringLiteral("Uhel")).toDouble()));
        EXPECT_NEAR(std::fmod(in.angle - (90 - uhel) + 720, 360), 0, 1e-9)
            << "unit " << i << " at " << uhel;
        EXPECT_EQ(in.block, u.value(QStringLiteral("Typ")).toString()) << "named after its type";
        EXPECT_TRUE(d.blocks.count(in.block)) << qPrintable(in.block);
        bool numbered = false;
        for (const auto& t : d.model.texts)
            numbered |= t.layer == QLatin1String("NUMBERS") &&
                        t.text == u.value(QStringLiteral("IDJednotky")).toString() && t.at == in.at;
        EXPECT_TRUE(numbered) << "unit " << i;
    }

    // The zone of every warm-air unit that has one, exactly as the plan has it.
    std::vector<DxfEntities::Polyline> zones;
    for (const auto& p : d.model.polylines)
        if (p.layer == QLatin1String("THROW"))
            zones.push_back(p);
    size_t expected = 0;
    for (const ThrowUnit& t : throwUnitsFromTable(data->tJednotky)) {
        const auto zone = throwZone(t, 30, 20);
        if (!zone || zone->boundary.size() < 2)
            continue;
        ASSERT_LT(expected, zones.size());
        const auto& drawn = zones[expected++];
        EXPECT_TRUE(drawn.closed);
        ASSERT_EQ(drawn.vertices.size(), zone->boundary.size());
        for (size_t v = 0; v < drawn.vertices.size(); ++v) {
            EXPECT_DOUBLE_EQ(drawn.vertices[v].x, zone->boundary[v].x);
            EXPECT_DOUBLE_EQ(drawn.vertices[v].y, zone->boundary[v].y);
            EXPECT_DOUBLE_EQ(drawn.vertices[v].bulge, zone->boundary[v].bulge);
        }
    }
    EXPECT_GT(expected, 0u) << "the warm-air units blow into the hall";
    EXPECT_EQ(zones.size(), expected);

    // The length and the width, as the plan writes them in the language.
    ASSERT_EQ(d.model.dimensions.size(), 2u);
    const auto& a = d.model.dimensions[0];
    const auto& b = d.model.dimensions[1];
    EXPECT_EQ(a.first, QPointF(0, 0));
    EXPECT_EQ(a.second, QPointF(30, 0));
    EXPECT_LT(a.definition.y(), -0.5) << "under the wall";
    EXPECT_EQ(b.second, QPointF(0, 20));
    EXPECT_LT(b.definition.x(), -0.5);
    const bool comma = base == BaseCZ;
    EXPECT_EQ(a.text, comma ? QStringLiteral("30,00 m") : QStringLiteral("30.00 m"));
    EXPECT_EQ(b.text, comma ? QStringLiteral("20,00 m") : QStringLiteral("20.00 m"));
    EXPECT_EQ(a.layer, QStringLiteral("DIMENSIONS"));
    // Readers that take the dimensions' sizes from the header (not from the
    // style) draw them at the drawing's scale, not at a millimetre default.
    EXPECT_DOUBLE_EQ(d.reals.value(QStringLiteral("$DIMTXT")), 30.0 / 80);
    EXPECT_DOUBLE_EQ(d.reals.value(QStringLiteral("$DIMSCALE")), 1);
}

INSTANTIATE_TEST_SUITE_P(Languages, PlanDxfTest, ::testing::Values(int(BaseEN), int(BaseCZ)));

TEST_F(ExchangeTest, EachKindOfUnitIsDrawnToItsCatalogSize) {
    const QString file = out(QStringLiteral("plan.dxf"));
    ASSERT_TRUE(exportPlanDxf(*data, BaseEN, file));
    const DxfDrawing d = readDxf(file);
    ASSERT_TRUE(d.read);
    int kinds = 0;
    for (const auto& [name, block] : d.blocks) {
        if (name.contains(QLatin1String("AX 20"))) {
            // Brisant AX 20 - S: 640 mm wide (A), 620 mm deep (C); the arrow
            // out of the front edge, half the depth long.
            ++kinds;
            ASSERT_EQ(block.polylines.size(), 1u);
            const auto& v = block.polylines[0].vertices;
            ASSERT_EQ(v.size(), 4u);
            EXPECT_NEAR(v[2].x - v[0].x, 0.62, 1e-9) << "depth along the blowing direction";
            EXPECT_NEAR(v[2].y - v[0].y, 0.64, 1e-9) << "width across it";
            ASSERT_EQ(block.lines.size(), 3u);
            for (const auto& l : block.lines) {
                EXPECT_NEAR(l.a.x(), 0.31, 1e-9);
                EXPECT_NEAR(l.b.x(), 0.62, 1e-9) << "it blows along +X";
            }
        } else if (name.contains(QLatin1String("MK"))) {
            ++kinds;
            EXPECT_EQ(block.polylines.size(), 1u);
            EXPECT_TRUE(block.lines.empty()) << "an MK unit has no arrow";
        } else if (name.contains(QLatin1String("Destr"))) {
            ++kinds;
            ASSERT_EQ(block.circles.size(), 1u);
            EXPECT_GT(block.circles[0].radius, 0.25);
            EXPECT_LT(block.circles[0].radius, 0.4);
        }
    }
    EXPECT_EQ(kinds, 3);

    // The picture a reader makes of it shows the hall on white paper.
    const QImage picture = drawDxf(d, 800);
    ASSERT_FALSE(picture.isNull());
    int red = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            red += picture.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_GT(red, 1000) << "the floor outline";
}

TEST_F(ExchangeTest, BlockNamesKeepTheTypeAndLoseWhatDxfForbids) {
    Dataset& u = data->tJednotky;
    u.first();
    u.setValue(QStringLiteral("Typ"), S("Typ <A/B>: \"Zvláštní\""));
    u.post();
    u.next();
    u.setValue(QStringLiteral("Typ"), S("Typ _A_B__ _Zvláštní_"));
    u.post();
    u.next();
    u.setValue(QStringLiteral("Typ"), QString());
    u.post();
    const QString file = out(QStringLiteral("names.dxf"));
    ASSERT_TRUE(exportPlanDxf(*data, BaseEN, file));
    const DxfDrawing d = readDxf(file);
    ASSERT_GE(d.model.inserts.size(), 3u);
    EXPECT_EQ(d.model.inserts[0].block, S("Typ _A_B__ _Zvláštní_"));
    EXPECT_EQ(d.model.inserts[1].block, S("Typ _A_B__ _Zvláštní__2"))
        << "a type whose name became that of another keeps a block of its own";
    EXPECT_EQ(d.model.inserts[2].block, QStringLiteral("Unit"));
    for (const auto& in : d.model.inserts)
        EXPECT_TRUE(d.blocks.count(in.block)) << qPrintable(in.block);
}

// --- the workbook --------------------------------------------------------------

class WorkbookTest : public ExchangeTest, public ::testing::WithParamInterface<int> {
protected:
    XlsxBook write(int base) {
        const QString file = out(QStringLiteral("project.xlsx"));
        EXPECT_TRUE(exportProjectWorkbook(*data, base, file));
        EXPECT_TRUE(dlg.boxes.empty());
        XlsxBook book = readXlsx(file);
        EXPECT_TRUE(book.read) << qPrintable(book.error);
        return book;
    }
};

TEST_P(WorkbookTest, SheetsAreNamedAndHeadedInTheLanguageWithFrozenHeadersAndFittingColumns) {
    const int base = GetParam();
    const XlsxBook book = write(base);
    ASSERT_EQ(book.sheets.size(), 5u);
    const QStringList names = base == BaseCZ
                                  ? QStringList{S("Projekt"), S("Konstrukce"), S("Stavební otvory"),
                                                S("Typy jednotek"), S("Umístěné jednotky")}
                                  : QStringList{S("Project"), S("Surfaces"), S("Building openings"),
                                                S("Unit types"), S("Placed units")};
    for (int i = 0; i < 5; ++i) {
        const XlsxSheet& s = book.sheets[size_t(i)];
        EXPECT_EQ(s.name, names[i]);
        EXPECT_EQ(s.frozenRows, 3) << "heading, project and column headers stay in view";
        EXPECT_EQ(s.text(1, 0), S("Hala Žďár"));
        // Every column at least as wide as the longest word of its header
        // and as its longest value.
        for (int c = 0; s.cell(2, c); ++c) {
            const QString header = s.text(2, c);
            double longest = 0;
            for (const QString& w : header.split(u' '))
                longest = std::max(longest, double(w.size()));
            for (int r = 3; r <= s.lastRow(); ++r)
                if (const XlsxCell* cell = s.cell(r, c); cell && !cell->isNumber())
                    for (const QString& line : cell->value.split(u'\n'))
                        longest = std::max(longest, double(std::min<qsizetype>(line.size(), 50)));
            ASSERT_TRUE(s.widths.count(c)) << qPrintable(s.name) << " column " << c;
            EXPECT_GE(s.widths.at(c), longest) << qPrintable(s.name) << " column " << c;
        }
    }
    const XlsxSheet& surfaces = book.sheets[1];
    EXPECT_EQ(surfaces.text(2, 2), QStringLiteral("U [W/m2K]"));
    EXPECT_EQ(surfaces.text(2, 8),
              base == BaseCZ ? S("Ztráta konstrukcí [kW]") : S("Losses due to construction [kW]"))
        << "units in the column headers";
    EXPECT_EQ(book.properties.value(QStringLiteral("dc:title")), S("Hala Žďár"));
}

TEST_P(WorkbookTest, EveryPlacedUnitIsARowOfNumbersAndItsPropertyTexts) {
    const int base = GetParam();
    const XlsxBook book = write(base);
    ASSERT_EQ(book.sheets.size(), 5u);
    const XlsxSheet& sheet = book.sheets[4];
    const auto units = rows(data->tJednotky);
    const QString code = languageCodeOfBase(base);
    int row = 3;
    for (const auto& u : units) {
        const XlsxCell* number = sheet.cell(row, 0);
        ASSERT_NE(number, nullptr);
        EXPECT_TRUE(number->isNumber()) << "numbers are numbers";
        EXPECT_EQ(number->number(), u.value(QStringLiteral("IDJednotky")).toInt());
        EXPECT_EQ(sheet.text(row, 1), u.value(QStringLiteral("Typ")).toString());
        for (const auto& [col, column] :
             {std::pair{2, "X"}, std::pair{3, "Y"}, std::pair{4, "Z"}, std::pair{6, "Tep_vykon"}}) {
            const QVariant stored = u.value(QLatin1String(column));
            const XlsxCell* c = sheet.cell(row, col);
            if (!stored.isValid() || stored.isNull()) {
                EXPECT_EQ(c, nullptr) << "an empty value stays empty";
                continue;
            }
            ASSERT_NE(c, nullptr) << column;
            EXPECT_TRUE(c->isNumber()) << column;
            EXPECT_NEAR(c->number(), u.value(QLatin1String(column)).toDouble(), 1e-12) << column;
        }
        EXPECT_EQ(sheet.cell(row, 5)->number(),
                  std::lround(u.value(QStringLiteral("Uhel")).toDouble()));
        EXPECT_EQ(sheet.text(row, 14), u.value(QStringLiteral("Umisteni_text") + code).toString());
        if (u.value(QStringLiteral("ObjType")).toInt() != 2) {
            EXPECT_EQ(sheet.text(row, 17),
                      u.value(QStringLiteral("Zpusob_regulace_text") + code).toString());
        }
        ++row;
    }
    EXPECT_FALSE(sheet.text(3, 14).isEmpty());
    // The total heat output of the placed units: a sum over the column.
    const XlsxCell* total = sheet.cell(row, 6);
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->formula, QStringLiteral("SUM(G4:G%1)").arg(row));
    double heat = 0;
    for (const auto& u : units)
        heat += u.value(QStringLiteral("Tep_vykon")).toDouble();
    EXPECT_DOUBLE_EQ(total->number(), heat);
}

INSTANTIATE_TEST_SUITE_P(Languages, WorkbookTest, ::testing::Values(int(BaseEN), int(BaseCZ)));

// The losses are formulas over the cells of their row; their stored values are
// the project's results, and the formulas give those results again.
TEST_F(WorkbookTest, LossesAreFormulasOverTheirRowStoredWithTheProjectsResults) {
    const XlsxBook book = write(BaseEN);
    ASSERT_EQ(book.sheets.size(), 5u);
    const XlsxSheet& surfaces = book.sheets[1];
    const XlsxSheet& openings = book.sheets[2];
    const QString openingsRef = QStringLiteral("'Building openings'!");
    auto near = [](double formula, double stored) {
        // The program computes in single precision.
        return std::abs(formula - stored) <= 1e-6 * std::max(1.0, std::abs(stored));
    };

    const auto walls = rows(data->tSteny);
    ASSERT_GT(walls.size(), 5u);
    int openingRow = 3;
    int negativeNet = 0;
    for (size_t i = 0; i < walls.size(); ++i) {
        const int r = 3 + int(i);
        const QString n = QString::number(r + 1);
        const auto& w = walls[i];
        EXPECT_EQ(surfaces.text(r, 0), w.value(QStringLiteral("NazevEN")).toString());
        const XlsxCell* construction = surfaces.cell(r, 8);
        ASSERT_NE(construction, nullptr);
        EXPECT_EQ(construction->formula, QStringLiteral("MAX(0,C%1*F%1*(G%1-H%1))/1000").arg(n));
        const double stored = w.value(QStringLiteral("Ztraty_konstrukci_kW")).toDouble();
        EXPECT_NEAR(construction->number(), stored, 1e-12);
        const double U = surfaces.cell(r, 2)->number();
        const double net = surfaces.cell(r, 5)->number();
        const double dT = surfaces.cell(r, 6)->number() - surfaces.cell(r, 7)->number();
        EXPECT_TRUE(near(std::max(0.0, U * net * dT) / 1000, stored)) << "surface " << i;
        negativeNet += net < 0;
        EXPECT_EQ(surfaces.cell(r, 5)->formula, QStringLiteral("D%1-E%1").arg(n));

        // Its openings: a block of rows of the openings sheet.
        double area = 0, loss = 0;
        int count = 0;
        while (openings.text(openingRow, 0) == w.value(QStringLiteral("NazevEN")).toString() &&
               openings.cell(openingRow, 9)) {
            const QString m = QString::number(openingRow + 1);
            const XlsxCell* a = openings.cell(openingRow, 6);
            EXPECT_EQ(a->formula, QStringLiteral("D%1*E%1*F%1").arg(m));
            EXPECT_DOUBLE_EQ(a->number(), openings.cell(openingRow, 3)->number() *
                                              openings.cell(openingRow, 4)->number() *
                                              openings.cell(openingRow, 5)->number());
            const XlsxCell* l = openings.cell(openingRow, 9);
            EXPECT_EQ(l->formula, QStringLiteral("MAX(0,C%1*G%1*(H%1-I%1))/1000").arg(m));
            const double formula =
                std::max(0.0, openings.cell(openingRow, 2)->number() * a->number() *
                                  (openings.cell(openingRow, 7)->number() -
                                   openings.cell(openingRow, 8)->number())) /
                1000;
            EXPECT_TRUE(near(formula, l->number()));
            area += a->number();
            loss += l->number();
            ++openingRow;
            ++count;
        }
        const XlsxCell* openArea = surfaces.cell(r, 4);
        const XlsxCell* openLoss = surfaces.cell(r, 9);
        if (count > 0) {
            for (const auto& [cell, col] : {std::pair{openArea, u'G'}, std::pair{openLoss, u'J'}})
                EXPECT_EQ(cell->formula, QStringLiteral("SUM(%1%2%3:%2%4)")
                                             .arg(openingsRef)
                                             .arg(QChar(col))
                                             .arg(openingRow - count + 1)
                                             .arg(openingRow));
        }
        EXPECT_DOUBLE_EQ(openArea->number(), area);
        EXPECT_NEAR(openLoss->number(), w.value(QStringLiteral("Ztraty_otvory_kW")).toDouble(),
                    1e-12);
        EXPECT_TRUE(near(loss, openLoss->number())) << "surface " << i;
    }
    EXPECT_EQ(negativeNet, 1) << "the wall with more openings than wall";
    EXPECT_EQ(openingRow, 3 + 4) << "the four rows of openings of three walls";

    // The totals: sums of their columns, and the heat balance over them.
    const int total = 3 + int(walls.size());
    for (int c : {3, 4, 5, 8, 9}) {
        const XlsxCell* t = surfaces.cell(total, c);
        ASSERT_NE(t, nullptr) << c;
        const QString col(QChar(u'A' + c));
        EXPECT_EQ(t->formula, QStringLiteral("SUM(%1%2:%1%3)").arg(col).arg(4).arg(total));
        double sum = 0;
        for (int r = 3; r < total; ++r)
            sum += surfaces.cell(r, c)->number();
        EXPECT_TRUE(near(sum, t->number())) << c;
    }
    EXPECT_EQ(surfaces.text(total, 0), QStringLiteral("Total"));

    const XlsxSheet& project = book.sheets[0];
    auto rowOf = [&](const QString& caption) {
        for (int r = 3; r <= project.lastRow(); ++r)
            if (project.text(r, 0) == caption)
                return r;
        return -1;
    };
    const Dataset& p = data->tADOProject;
    const int infiltration = rowOf(QStringLiteral("Thermal losses due to infiltration"));
    ASSERT_GE(infiltration, 0);
    const XlsxCell* qinf = project.cell(infiltration, 1);
    EXPECT_TRUE(qinf->formula.startsWith(QLatin1String("MAX(0,B"))) << qPrintable(qinf->formula);
    EXPECT_NEAR(qinf->number(), p.asFloat(QStringLiteral("Q_infiltrace_kW")), 1e-12);
    EXPECT_EQ(project.text(infiltration, 2), QStringLiteral("kW"));
    const double V = p.asFloat(QStringLiteral("Vtotal")), n = p.asFloat(QStringLiteral("n"));
    const double dT = p.asFloat(QStringLiteral("Ti")) - p.asFloat(QStringLiteral("Te"));
    EXPECT_TRUE(near(std::max(0.0, V / 3600 * 0.8 * 1020 * 1.2 * n * dT) / 1000, qinf->number()));

    const int loss = rowOf(QStringLiteral("Thermal loss caused by penetration and infiltration"));
    ASSERT_GE(loss, 0);
    const XlsxCell* q = project.cell(loss, 1);
    EXPECT_EQ(q->formula, QStringLiteral("Surfaces!I%1+Surfaces!J%1+B%2")
                              .arg(total + 1)
                              .arg(infiltration + 1)
                              .replace(QLatin1String("Surfaces!"), QLatin1String("'Surfaces'!")));
    EXPECT_NEAR(q->number(), p.asFloat(QStringLiteral("Q_kW")), 1e-12);
    EXPECT_TRUE(
        near(surfaces.cell(total, 8)->number() + surfaces.cell(total, 9)->number() + qinf->number(),
             q->number()))
        << "the heat loss is the sum of its parts";

    const int output = rowOf(QStringLiteral("Required heating output"));
    ASSERT_GE(output, 0);
    EXPECT_TRUE(project.cell(output, 1)->formula.startsWith(QLatin1String("MAX(0,B")));
    EXPECT_NEAR(project.cell(output, 1)->number(), p.asFloat(QStringLiteral("Topny_vykon_kW")),
                1e-12);
    EXPECT_EQ(project.text(output, 2), QStringLiteral("kW"));
}

TEST_F(WorkbookTest, NumbersAreFormattedAsTheWindowsShowThem) {
    const XlsxBook book = write(BaseEN);
    ASSERT_EQ(book.sheets.size(), 5u);
    const XlsxSheet& surfaces = book.sheets[1];
    int checked = 0;
    for (const auto& [ref, c] : surfaces.cells) {
        if (!c.isNumber() || c.value.isEmpty())
            continue;
        const QString format = book.numberFormats.value(c.style);
        const double v = c.number();
        // ",0.##": grouped, up to two decimals, none shown when there are none.
        const double hundredths = std::round(v * 100);
        const QString expected = std::fmod(hundredths, 100) == 0  ? QStringLiteral("#,##0")
                                 : std::fmod(hundredths, 10) == 0 ? QStringLiteral("#,##0.0")
                                                                  : QStringLiteral("#,##0.00");
        EXPECT_EQ(format, expected) << qPrintable(ref) << " = " << v;
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

TEST_F(WorkbookTest, UnitTypesShowTheChosenAndRequiredNumbersAndTheirTotals) {
    const XlsxBook book = write(BaseEN);
    ASSERT_EQ(book.sheets.size(), 5u);
    const XlsxSheet& sheet = book.sheets[3];
    const auto types = rows(data->tResults);
    int chosen = 0;
    for (size_t i = 0; i < types.size(); ++i) {
        const int r = 3 + int(i);
        EXPECT_EQ(sheet.text(r, 1), types[i].value(QStringLiteral("Typ")).toString());
        EXPECT_EQ(sheet.cell(r, 2)->number(),
                  types[i].value(QStringLiteral("Pocet_jednotek")).toInt());
        EXPECT_EQ(sheet.cell(r, 3)->number(),
                  types[i].value(QStringLiteral("Max_pocet_jednotek")).toInt());
        chosen += types[i].value(QStringLiteral("Pocet_jednotek")).toInt();
        const QString dosah = types[i].value(QStringLiteral("Dosah")).toString();
        if (!dosah.isEmpty() && !dosah.contains(u'-')) {
            ASSERT_NE(sheet.cell(r, 8), nullptr);
            EXPECT_TRUE(sheet.cell(r, 8)->isNumber()) << "a range of one number is a number";
        }
    }
    const int total = 3 + int(types.size());
    EXPECT_EQ(sheet.cell(total, 2)->formula, QStringLiteral("SUM(C4:C%1)").arg(total));
    EXPECT_EQ(sheet.cell(total, 2)->number(), chosen);
    EXPECT_EQ(sheet.cell(total, 4)->formula,
              QStringLiteral("SUMPRODUCT(C4:C%1,E4:E%1)").arg(total));

    // The project's totals of chosen units and destratifiers are sums over it.
    const XlsxSheet& project = book.sheets[0];
    int units = -1;
    for (int r = 3; r <= project.lastRow(); ++r)
        if (project.text(r, 0) == QStringLiteral("Number of units to be used"))
            units = r;
    ASSERT_GE(units, 0);
    EXPECT_EQ(project.cell(units, 1)->number(),
              data->tADOProject.asInteger(QStringLiteral("Pocet_jednotek_celkem")));
    EXPECT_EQ(project.cell(units, 1)->formula,
              QStringLiteral("SUM('Unit types'!C4:C%1)-SUMIF('Unit types'!B4:B%1,\"*Destr*\",'Unit "
                             "types'!C4:C%1)")
                  .arg(total));
}

TEST_F(ExchangeTest, LossesByEstimationLeaveTheSurfacesWithoutLossesAndSaySo) {
    Dataset& p = data->tADOProject;
    p.setValue(QStringLiteral("Tepelne_ztraty_enum"), 1);
    p.setValue(QStringLiteral("Q_kW"), 42.5);
    p.post();
    const QString file = out(QStringLiteral("estimate.xlsx"));
    ASSERT_TRUE(exportProjectWorkbook(*data, BaseEN, file));
    const XlsxBook book = readXlsx(file);
    ASSERT_TRUE(book.read);
    const XlsxSheet& surfaces = book.sheets[1];
    const int walls = data->tSteny.recordCount();
    for (int r = 3; r < 3 + walls; ++r) {
        EXPECT_EQ(surfaces.cell(r, 8), nullptr) << "the stored losses are no result of the project";
        EXPECT_EQ(surfaces.cell(r, 9), nullptr);
    }
    for (int c : {8, 9})
        EXPECT_TRUE(surfaces.text(3 + walls, c).isEmpty() &&
                    surfaces.cell(3 + walls, c)->formula.isEmpty())
            << "no total of them";
    EXPECT_NE(surfaces.cell(3, 5), nullptr) << "the net areas stay";
    EXPECT_EQ(surfaces.text(3 + walls + 2, 0), LanguageTextIn(BaseEN, 2605));
    EXPECT_EQ(book.sheets[2].cell(3, 9), nullptr);

    const XlsxSheet& project = book.sheets[0];
    bool found = false;
    for (int r = 3; r <= project.lastRow(); ++r) {
        if (project.text(r, 0) !=
            QStringLiteral("Thermal loss caused by penetration and infiltration"))
            continue;
        found = true;
        EXPECT_TRUE(project.cell(r, 1)->formula.isEmpty()) << "the estimate is no sum";
        EXPECT_DOUBLE_EQ(project.cell(r, 1)->number(), 42.5);
    }
    EXPECT_TRUE(found);
}

TEST_F(ExchangeTest, AMemoLongerThanACellHoldsIsCutVisibly) {
    const QString memo = QString(40000, u'x');
    Dataset& p = data->tADOProject;
    p.setValue(QStringLiteral("ProjectDesc_memo"), memo);
    p.post();
    const QString file = out(QStringLiteral("memo.xlsx"));
    ASSERT_TRUE(exportProjectWorkbook(*data, BaseEN, file));
    const XlsxBook book = readXlsx(file);
    ASSERT_TRUE(book.read);
    const XlsxSheet& project = book.sheets[0];
    bool found = false;
    for (int r = 3; r <= project.lastRow(); ++r) {
        if (project.text(r, 0) != QStringLiteral("Project Description"))
            continue;
        found = true;
        EXPECT_EQ(project.text(r, 1), QString(32766, u'x') + QChar(0x2026));
    }
    EXPECT_TRUE(found);
}

// A damaged file may hold numbers beyond any value (SQLite keeps infinities):
// neither format can hold them, and a unit without a place is no unit to draw.
TEST_F(ExchangeTest, NumbersBeyondAnyValueAreLeftOutNotWritten) {
    ASSERT_TRUE(data->projectConnected());
    const QString file = data->projectConnection().path();
    sql(file, QStringLiteral("UPDATE tJednotky SET X = 9e999, Tep_vykon = 9e999 WHERE ID = "
                             "(SELECT MIN(ID) FROM tJednotky)"));
    data->tJednotky.refresh();
    const int units = data->tJednotky.recordCount();
    ASSERT_TRUE(std::isinf(data->tJednotky.valueAt(0, data->tJednotky.fieldIndex("X")).toDouble()));

    const QString dxf = out(QStringLiteral("damaged.dxf"));
    ASSERT_TRUE(exportPlanDxf(*data, BaseEN, dxf));
    const QByteArray drawing = readAll(dxf).toLower();
    EXPECT_FALSE(drawing.contains("inf") || drawing.contains("nan"));
    const DxfDrawing d = readDxf(dxf);
    ASSERT_TRUE(d.read);
    EXPECT_EQ(int(d.model.inserts.size()), units - 1);
    for (const auto& t : d.model.texts)
        EXPECT_NE(t.text, QStringLiteral("1")) << "the damaged unit has no number on the plan";

    const QString xlsx = out(QStringLiteral("damaged.xlsx"));
    ASSERT_TRUE(exportProjectWorkbook(*data, BaseEN, xlsx));
    const XlsxBook book = readXlsx(xlsx);
    ASSERT_TRUE(book.read);
    const XlsxSheet& placed = book.sheets[4];
    EXPECT_EQ(placed.cell(3, 2), nullptr) << "no place";
    EXPECT_EQ(placed.cell(3, 6), nullptr) << "no heat output";
    for (const XlsxSheet& sheet : book.sheets) {
        for (const auto& [ref, c] : sheet.cells) {
            if (c.isNumber()) {
                EXPECT_TRUE(std::isfinite(c.number()) && !c.value.contains(QLatin1String("inf")))
                    << qPrintable(sheet.name) << " " << qPrintable(ref) << " "
                    << qPrintable(c.value);
            }
        }
    }
}

// --- failures ------------------------------------------------------------------

TEST_F(ExchangeTest, AnExportThatCannotBeWrittenLeavesNoFileAndSaysWhy) {
    QDir locked(work.filePath(QStringLiteral("locked")));
    ASSERT_TRUE(locked.mkpath(QStringLiteral(".")));
    ASSERT_TRUE(QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner));
    struct Case {
        QString folder;
        const char* reason;
    };
    std::vector<Case> cases{{work.filePath(QStringLiteral("gone")), "No such file or directory"}};
    // Root writes into read-only folders.
    if (!QFileInfo(locked.path()).isWritable())
        cases.push_back({locked.path(), "Permission denied"});
    for (const Case& c : cases) {
        for (bool drawing : {true, false}) {
            dlg.boxes.clear();
            const QString file = QDir(c.folder).filePath(drawing ? QStringLiteral("plan.dxf")
                                                                 : QStringLiteral("project.xlsx"));
            EXPECT_FALSE(drawing ? exportPlanDxf(*data, BaseEN, file)
                                 : exportProjectWorkbook(*data, BaseEN, file));
            ASSERT_EQ(dlg.boxes.size(), 1u);
            EXPECT_TRUE(dlg.last().text.startsWith(
                QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") +
                QDir::toNativeSeparators(file)))
                << qPrintable(dlg.last().text);
            EXPECT_TRUE(dlg.last().text.contains(QLatin1String(c.reason)))
                << qPrintable(dlg.last().text);
            EXPECT_EQ(dlg.last().flags, MbError);
            EXPECT_FALSE(QFile::exists(file));
        }
    }
    EXPECT_TRUE(locked.entryList(QDir::Files | QDir::Hidden).isEmpty());
    QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(ExchangeTest, AnInterruptedWriteKeepsTheFileThatWasThere) {
    for (bool drawing : {true, false}) {
        dlg.boxes.clear();
        const QString file =
            out(drawing ? QStringLiteral("plan.dxf") : QStringLiteral("book.xlsx"));
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("the earlier export");
        }
        setCopyInterruptHook([](qint64 written) { return written > 0; });
        EXPECT_FALSE(drawing ? exportPlanDxf(*data, BaseEN, file)
                             : exportProjectWorkbook(*data, BaseEN, file));
        setCopyInterruptHook(nullptr);
        EXPECT_EQ(dlg.boxes.size(), 1u);
        EXPECT_EQ(readAll(file), QByteArray("the earlier export"));
        EXPECT_EQ(QDir(work.path())
                      .entryList({QFileInfo(file).fileName() + QStringLiteral(".~*")},
                                 QDir::Files | QDir::Hidden),
                  QStringList())
            << "no temporary file is left";
        // Without the interruption the file is replaced whole.
        ASSERT_TRUE(drawing ? exportPlanDxf(*data, BaseEN, file)
                            : exportProjectWorkbook(*data, BaseEN, file));
        EXPECT_NE(readAll(file), QByteArray("the earlier export"));
    }
}

TEST_F(ExchangeTest, WithoutAnOpenProjectNothingIsWritten) {
    SessionProbe(*session).files().CloseProject(true);
    const QString file = out(QStringLiteral("none.dxf"));
    EXPECT_FALSE(exportPlanDxf(*data, BaseEN, file));
    EXPECT_FALSE(exportProjectWorkbook(*data, BaseEN, out(QStringLiteral("none.xlsx"))));
    EXPECT_EQ(dlg.boxes.size(), 2u);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(out(QStringLiteral("none.xlsx"))));
}

// A project just made: no surfaces shown, no openings, no unit types, no units.
class FreshProjectTest : public SessionTest {};

TEST_F(FreshProjectTest, ExportsTheEmptyHallAndSaysWhatIsMissing) {
    ASSERT_EQ(session->commandNew(), ResultOk);
    const QString dxf = work.filePath(QStringLiteral("fresh.dxf"));
    const QString xlsx = work.filePath(QStringLiteral("fresh.xlsx"));
    ASSERT_TRUE(exportPlanDxf(*data, BaseCZ, dxf));
    ASSERT_TRUE(exportProjectWorkbook(*data, BaseCZ, xlsx));
    EXPECT_TRUE(dlg.boxes.empty());
    const DxfDrawing d = readDxf(dxf);
    ASSERT_TRUE(d.read);
    EXPECT_TRUE(d.model.inserts.empty());
    EXPECT_EQ(d.model.polylines.size(), 1u) << "the outline";
    EXPECT_EQ(d.model.dimensions.size(), 2u);
    const XlsxBook book = readXlsx(xlsx);
    ASSERT_TRUE(book.read);
    ASSERT_EQ(book.sheets.size(), 5u);
    EXPECT_EQ(book.sheets[4].text(3, 0), LanguageTextIn(BaseCZ, 3529));
    EXPECT_EQ(book.sheets[2].text(3, 0), LanguageTextIn(BaseCZ, 3528));
    SessionProbe(*session).files().CloseProject(true);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

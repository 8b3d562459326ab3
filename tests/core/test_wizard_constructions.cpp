// The rules of the wizard's constructions page on a real project: a material or
// an opening name fills its U-value, the openings question, the checks of an
// opening's height and width, and that they apply only while the wizard shows.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "testsupport.h"
#include "wizard/constructions.h"

using namespace zf;
using namespace zf::test;

namespace {

class ConstructionsTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        const QString file = copyTemplate(QStringLiteral("h.zfp"));
        data->openProjectConnection(file);
        ASSERT_EQ(data->OpenProjectTables(), ResultOk);
        data->openMaterials();
        page = std::make_unique<ConstructionsPage>(*data, [this] { return wizardShown; });
        data->tSteny.append();
        data->tSteny.setValue(QStringLiteral("NazevEN"), QStringLiteral("Wall A"));
        data->tSteny.setValue(QStringLiteral("TypSteny"), 1);
        data->tSteny.setValue(QStringLiteral("Vyska"), 4.0);
        data->tSteny.setValue(QStringLiteral("Sirka"), 10.0);
        data->tSteny.setValue(QStringLiteral("k"), 9.9);
        data->tSteny.post();
        data->tMaterialy.first();
        knownName = data->tMaterialy.asString(QStringLiteral("Material"));
        knownK = data->tMaterialy.asFloat(QStringLiteral("k"));
        dlg.boxes.clear();
    }
    void TearDown() override {
        page.reset();
        StorageTest::TearDown();
    }
    int questions() const {
        int n = 0;
        for (const auto& b : dlg.boxes)
            n += b.flags == MbQuestionYesNo;
        return n;
    }

    std::unique_ptr<ConstructionsPage> page;
    QString knownName;
    double knownK = 0;
    bool wizardShown = true;
};

} // namespace

TEST_F(ConstructionsTest, ConstructionNameFillsTheUValue) {
    data->tSteny.setValue(QStringLiteral("Material"), knownName);
    EXPECT_DOUBLE_EQ(data->tSteny.asFloat(QStringLiteral("k")), knownK);
    EXPECT_EQ(questions(), 1) << "the openings question follows";
    EXPECT_EQ(page->openingsCaption(), QStringLiteral("Building openings (Wall A)"));
    EXPECT_TRUE(page->materialPickList().contains(knownName)) << "walls are offered kind 1";
    data->tSteny.setValue(QStringLiteral("Material"), QStringLiteral("Nothing of the catalog"));
    EXPECT_DOUBLE_EQ(data->tSteny.asFloat(QStringLiteral("k")), knownK)
        << "an unknown name leaves k";
    EXPECT_EQ(questions(), 2);
    data->tSteny.post();

    data->tStavOtvory.append();
    data->tStavOtvory.setValue(QStringLiteral("k"), 7.5);
    data->tStavOtvory.setValue(QStringLiteral("Nazev"), QStringLiteral("My own window"));
    EXPECT_DOUBLE_EQ(data->tStavOtvory.asFloat(QStringLiteral("k")), 7.5);
    EXPECT_EQ(page->takeOpeningsColumnRequest(), -1);
    data->tStavOtvory.setValue(QStringLiteral("Nazev"), knownName);
    EXPECT_DOUBLE_EQ(data->tStavOtvory.asFloat(QStringLiteral("k")), knownK);
    EXPECT_EQ(page->takeOpeningsColumnRequest(), 2) << "the grid moves on to the U column";
    EXPECT_EQ(page->takeOpeningsColumnRequest(), -1) << "a request is taken once";
    data->tStavOtvory.post();
}

TEST_F(ConstructionsTest, OpeningHeightAndWidthChecks) {
    data->tStavOtvory.append();
    data->tStavOtvory.setValue(QStringLiteral("Vyska"), -1.0);
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text, QStringLiteral("Entered value must be greater than zero."));
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_EQ(dlg.last().caption, QStringLiteral("Zefrant"));
    EXPECT_DOUBLE_EQ(data->tStavOtvory.asFloat(QStringLiteral("Vyska")), 0.0);

    data->tStavOtvory.setValue(QStringLiteral("Vyska"), 5.0);
    ASSERT_EQ(dlg.boxes.size(), 2u);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("Entered height is greater than height of the building!"));
    EXPECT_EQ(dlg.last().flags, MbWarning);
    EXPECT_DOUBLE_EQ(data->tStavOtvory.asFloat(QStringLiteral("Vyska")), 5.0) << "the value stays";

    data->tStavOtvory.setValue(QStringLiteral("Sirka"), -1.0);
    EXPECT_EQ(dlg.boxes.size(), 2u) << "a negative width is not refused";
    data->tStavOtvory.setValue(QStringLiteral("Sirka"), 12.0);
    ASSERT_EQ(dlg.boxes.size(), 3u);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("Entered width is greater than width of the building!"));
    data->tStavOtvory.post();

    wizardShown = false;
    data->tStavOtvory.setValue(QStringLiteral("Vyska"), -2.0);
    EXPECT_EQ(dlg.boxes.size(), 3u) << "the rules apply only while the wizard shows";
    data->tStavOtvory.cancel();
}

TEST_F(ConstructionsTest, OpeningsQuestionAddsOneBlankRow) {
    dlg.answers = {IdYes, IdYes};
    data->tSteny.setValue(QStringLiteral("Material"), knownName);
    data->tSteny.post();
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1);
    page->newOpening();
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1) << "a blank opening is not added twice";
    data->tSteny.setValue(QStringLiteral("Material"), knownName);
    data->tSteny.post();
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1);
}

TEST_F(ConstructionsTest, CatalogChoiceKeepsItsUValueAndCopyActual) {
    page->wallFromCatalog(QStringLiteral("Own wall"), 0.33);
    EXPECT_EQ(data->tSteny.asString(QStringLiteral("Material")), QStringLiteral("Own wall"));
    EXPECT_DOUBLE_EQ(data->tSteny.asFloat(QStringLiteral("k")), 0.33);
    for (int i = 0; i < 2; ++i) {
        data->tSteny.append();
        data->tSteny.setValue(QStringLiteral("TypSteny"), i == 0 ? 1 : 2);
        data->tSteny.post();
    }
    data->tSteny.first();
    page->CopyToSameKind();
    int copied = 0;
    for (data->tSteny.first(); !data->tSteny.eof(); data->tSteny.next())
        copied += data->tSteny.asString(QStringLiteral("Material")) == QStringLiteral("Own wall");
    EXPECT_EQ(copied, 2) << "walls only, not the roof";
    EXPECT_EQ(data->tSteny.recNo(), 3);
    EXPECT_EQ(ConstructionsPage::wallGridColumnOnEntry(0), 4);
    EXPECT_EQ(ConstructionsPage::wallGridColumnOnEntry(3), 4);
    EXPECT_EQ(ConstructionsPage::wallGridColumnOnEntry(5), 5);
}

TEST_F(ConstructionsTest, RedCellsOfTheSurfaceGrid) {
    // Row 0 has U = 9.9 and no material; a second surface has neither.
    data->tSteny.append();
    data->tSteny.setValue(QStringLiteral("TypSteny"), 1);
    data->tSteny.post();
    data->tSteny.first();
    const int material = ConstructionsPage::MaterialColumn, u = ConstructionsPage::UColumn;
    EXPECT_FALSE(page->wallCellRed(0, material)) << "the selected row shows no red material";
    EXPECT_TRUE(page->wallCellRed(1, material));
    EXPECT_FALSE(page->wallCellRed(0, u));
    EXPECT_TRUE(page->wallCellRed(1, u)) << "a U-value that is null counts as 0";
    data->tSteny.next();
    data->tSteny.setValue(QStringLiteral("Material"), QStringLiteral("Brick"));
    data->tSteny.setValue(QStringLiteral("k"), -0.5);
    data->tSteny.post();
    EXPECT_TRUE(page->wallCellRed(0, material)) << "row 0 is no longer selected";
    EXPECT_FALSE(page->wallCellRed(1, material));
    EXPECT_TRUE(page->wallCellRed(1, u)) << "a negative U-value is red in every row";
    EXPECT_FALSE(page->wallCellRed(1, 0));
    EXPECT_FALSE(page->wallCellRed(7, u)) << "no such row";
}

// What the windows tell besides their captions, in the user's language: a value
// that is refused names its field by the caption the window shows it under.
#include "binding/datasetgrid.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "helphints.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "sessionsupport.h"
#include "wizard/tfrmzinput.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace zf;
using namespace zf::test;

namespace {

class WindowTextsTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        data->openMaterials();
        hints = std::make_unique<HelpHints>([this] { return session->helpDisplay(); });
        window = std::make_unique<TfrmZInput>(*session, *hints);
        ASSERT_EQ(session->commandNew(), ResultOk);
        QApplication::setActiveWindow(window.get());
        settle();
    }
    void TearDown() override {
        session->switchLanguage(BaseEN);
        window.reset();
        hints.reset();
        SessionTest::TearDown();
    }
    static void settle() {
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
    }
    void goTo(int page) {
        window->pageControl()->setCurrentIndex(page);
        settle();
    }
    // Types into an edit and leaves it with Tab; the box it brought, if any.
    QString type(const char* name, const QString& text) {
        auto* e = window->findChild<QLineEdit*>(QLatin1String(name));
        EXPECT_TRUE(e) << name;
        const size_t before = dlg.boxes.size();
        e->setFocus(Qt::MouseFocusReason);
        settle();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
        settle();
        return dlg.boxes.size() > before ? dlg.last().text : QString();
    }
    // A label's text as the name of its field: no closing colon.
    static QString caption(int id) {
        QString c = LanguageText(id).trimmed();
        if (c.endsWith(QLatin1Char(':')))
            c.chop(1);
        return c.trimmed();
    }

    std::unique_ptr<HelpHints> hints;
    std::unique_ptr<TfrmZInput> window;
};

} // namespace

TEST_F(WindowTextsTest, ARefusedValueNamesItsFieldByItsCaptionInTheLanguage) {
    for (int base : {BaseCZ, BaseGE, BasePL, BaseRU, BaseEN}) {
        session->switchLanguage(base);
        goTo(tsOtopneObdobi);
        EXPECT_EQ(type("DBEd_Tes", QStringLiteral("abc")),
                  formatText(LanguageText(3000), {QStringLiteral("abc"), caption(554)}))
            << base;
        EXPECT_EQ(type("DBEd_OtopneObdobi", QStringLiteral("212.5")),
                  formatText(LanguageText(3001), {QStringLiteral("212.5"), caption(553)}))
            << base;
        // The data layer's refusal of a text too long for its column.
        goTo(tsUvodniText);
        const QString tooLong = type("DBEd_ProjectName", QString(300, QLatin1Char('x')));
        EXPECT_TRUE(tooLong.startsWith(
            formatText(LanguageText(3006), {caption(505), 0, 0}).section(QLatin1Char(':'), 0, 0)))
            << qPrintable(tooLong);
        EXPECT_FALSE(tooLong.contains(QLatin1String("ProjectName_text"))) << qPrintable(tooLong);
    }
    EXPECT_EQ(type("DBEd_ProjectName", QString()), QString()) << "an accepted value says nothing";
}

// A cell names its field by the title of its column.
TEST_F(WindowTextsTest, ARefusedCellNamesItsFieldByItsColumnTitle) {
    session->switchLanguage(BaseGE);
    goTo(tsStavebniKonstrukce);
    auto* grid = window->findChild<DatasetGrid*>(QStringLiteral("ExDBGrid_Steny"));
    ASSERT_TRUE(grid);
    const int uColumn = 5;
    ASSERT_EQ(grid->model()->headerData(uColumn, Qt::Horizontal).toString(), LanguageText(865));
    const size_t before = dlg.boxes.size();
    EXPECT_FALSE(grid->model()->setData(grid->model()->index(0, uColumn), QStringLiteral("abc")));
    ASSERT_EQ(dlg.boxes.size(), before + 1);
    EXPECT_EQ(dlg.last().text,
              formatText(LanguageText(3000), {QStringLiteral("abc"), LanguageText(865)}));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

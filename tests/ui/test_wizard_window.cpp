// The input wizard's window under the offscreen platform, driven by the names
// of its controls as a user drives it: typing, clicking, keys.
#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "clirun.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "helphints.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "qtdialogs.h"
#include "sessionsupport.h"
#include "svgpicture.h"
#include "wizard/tfrmzinput.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace zf;
using namespace zf::test;

namespace {

const QColor red(255, 0, 0);
const QColor aqua(0, 255, 255);

class WizardWindowTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        data->openMaterials();
        hints = std::make_unique<HelpHints>([this] { return session->helpDisplay(); });
        window = std::make_unique<TfrmZInput>(*session, *hints);
    }
    void TearDown() override {
        window.reset();
        hints.reset();
        QLocale::setDefault(QLocale::c());
        SessionTest::TearDown();
    }

    static void settle() {
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
    }
    void newProject() {
        ASSERT_EQ(session->commandNew(), ResultOk);
        QApplication::setActiveWindow(window.get());
        settle();
    }
    // acInput or a Document command.
    void openWizard(int page = -1) {
        session->openWizard(page < 0 ? QString() : wizardPageName(page));
        QApplication::setActiveWindow(window.get());
        settle();
    }
    template <class T = QWidget> T* find(const char* name) const {
        T* w = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    int page() const { return window->pageControl()->currentIndex(); }
    // Choosing a tab.
    void goTo(int p) {
        window->pageControl()->setCurrentIndex(p);
        settle();
    }
    void click(const char* name) {
        auto* b = find<QAbstractButton>(name);
        // A check box or radio button is hit on its box, not across its width.
        const bool box = qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b);
        QTest::mouseClick(b, Qt::LeftButton, {},
                          box ? QPoint(b->height() / 2, b->height() / 2) : b->rect().center());
        settle();
    }
    // Letters outside ASCII come as the keyboard's text.
    static void typeText(QWidget* w, const QString& text) {
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 127; }))
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text, Qt::NoModifier);
        else
            QTest::keyClicks(w, text);
    }
    // Types into an edit as a user does and leaves it with Tab.
    void type(const char* name, const QString& text) {
        auto* e = find<QLineEdit>(name);
        e->setFocus(Qt::MouseFocusReason);
        settle();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        typeText(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
        settle();
    }
    // Chooses an entry of a list as a user does with the keyboard: the list is
    // opened, the entry sought in it and taken with Enter, so that only the
    // chosen entry is chosen.
    void choose(const char* name, int index) {
        auto* c = find<QComboBox>(name);
        c->setFocus(Qt::MouseFocusReason);
        settle();
        QTest::keyClick(c, Qt::Key_Down, Qt::AltModifier);
        settle();
        QAbstractItemView* list = c->view();
        ASSERT_TRUE(list->isVisible()) << name << " did not open";
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        settle();
        ASSERT_EQ(c->currentIndex(), index) << name;
    }
    // Types into a cell of a grid and presses Enter.
    void typeCell(const char* gridName, int row, int column, const QString& text) {
        auto* grid = find<DatasetGrid>(gridName);
        grid->setFocus(Qt::MouseFocusReason);
        const QModelIndex cell = grid->model()->index(row, column);
        grid->setCurrentIndex(cell);
        settle();
        grid->edit(cell);
        settle();
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, grid) << "no editor for " << row << "," << column;
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->selectAll();
        else if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->lineEdit()->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }
    // Message boxes as the real ones are: a window of their own takes the
    // focus and the program's events run while one is up, deferred deletions
    // too, until it is answered.
    void boxesTakeTheFocus() {
        dlg.onBox = [this](const TestDialogs::Box&) {
            QWidget box(nullptr, Qt::Dialog);
            box.setFocusPolicy(Qt::StrongFocus);
            box.show();
            QApplication::setActiveWindow(&box);
            box.setFocus(Qt::ActiveWindowFocusReason);
            for (int i = 0; i < 3; ++i) {
                QApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            box.hide();
            QApplication::setActiveWindow(window.get());
        };
    }
    QColor base(const char* name) const {
        return find<QWidget>(name)->palette().color(QPalette::Base);
    }
    QColor windowColour(const char* name) const {
        QWidget* w = find<QWidget>(name);
        return w->style()->standardPalette().color(QPalette::Base);
    }
    Dataset& p() { return data->tADOProject; }
    // Finishes a valid new project with the Finish button.
    void finish() {
        goTo(tsZaver);
        click("btNext");
        ASSERT_FALSE(window->isVisible());
    }

    std::unique_ptr<HelpHints> hints;
    std::unique_ptr<TfrmZInput> window;
};

} // namespace

TEST_F(WizardWindowTest, OpensForANewProjectWithoutCloseAndFixedOnTop) {
    newProject();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(page(), tsUvodniText);
    EXPECT_TRUE(find("btClose")->isHidden()) << "a new project is finished or cancelled";
    EXPECT_FALSE(find("btPrev")->isEnabled());
    EXPECT_EQ(find<QPushButton>("btNext")->text(), LanguageText(155));
    EXPECT_EQ(QApplication::focusWidget(), find("DBEd_ProjectName"));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "fixed size";
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), LanguageText(501) + QStringLiteral(" Zefrant"));
    for (int i = 0; i < WizardPageCount; ++i)
        EXPECT_EQ(window->pageControl()->widget(i)->objectName(), wizardPageName(i));

    finish();
    openWizard();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(find("btClose")->isHidden()) << "Close is back after Finish";
    // Close commits as Finish does, without the units page.
    goTo(tsUvodniText);
    type("DBEd_ProjectName", QStringLiteral("Closed"));
    click("btClose");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(p().asString(QStringLiteral("ProjectName_text")), QStringLiteral("Closed"));
}

TEST_F(WizardWindowTest, EstimationSkipsTheConstructionsPageBothWays) {
    newProject();
    goTo(tsTepelneZtraty);
    EXPECT_TRUE(window->pageControl()->isTabVisible(tsStavebniKonstrukce));
    click("rgTepZtraty1");
    EXPECT_EQ(wizard->state().lossWay, LossWay::Estimate);
    EXPECT_FALSE(window->pageControl()->isTabVisible(tsStavebniKonstrukce));
    EXPECT_TRUE(find("gbTepZtratyAprox")->isVisible());
    EXPECT_FALSE(find("DBEd_Q_kW")->isVisible());
    EXPECT_FALSE(find<QLabel>("lbZatepleni0")->text().isEmpty()) << "the estimate of the class";
    EXPECT_FALSE(find("rbZatepleni3")->isVisible()) << "the fourth class is never offered";
    click("btNext");
    EXPECT_EQ(page(), tsPracovniPodminky);
    EXPECT_EQ(QApplication::focusWidget(), find("cbTridaPrace")) << "the page's first control";
    click("btPrev");
    EXPECT_EQ(page(), tsTepelneZtraty);

    click("rgTepZtraty2");
    EXPECT_TRUE(find("DBEd_Q_kW")->isVisible());
    EXPECT_FALSE(find("gbTepZtratyAprox")->isVisible());
    EXPECT_FALSE(window->pageControl()->isTabVisible(tsStavebniKonstrukce));
    click("rgTepZtraty0");
    EXPECT_TRUE(window->pageControl()->isTabVisible(tsStavebniKonstrukce));
    EXPECT_FALSE(find("DBEd_Q_kW")->isVisible());
    click("btNext");
    EXPECT_EQ(page(), tsStavebniKonstrukce);
}

TEST_F(WizardWindowTest, FinishWithZeroLengthReturnsToTheHallPage) {
    newProject();
    goTo(tsRozmeryHaly);
    type("DBEd_A", QStringLiteral("0"));
    EXPECT_EQ(base("DBEd_A"), red);
    goTo(tsZaver);
    EXPECT_EQ(find<QPushButton>("btNext")->text(), LanguageText(156));
    const size_t before = dlg.boxes.size();
    click("btNext");
    ASSERT_EQ(dlg.boxes.size(), before + 1);
    EXPECT_EQ(dlg.last().text, LanguageText(5004));
    EXPECT_EQ(dlg.last().flags, int(MbWarning));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(page(), tsRozmeryHaly);
    EXPECT_EQ(QApplication::focusWidget(), find("DBEd_A"));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Q")), 0.0) << "nothing stored in Q";
}

// The hourglass while Finish commits, and message 2101 after it while the
// help display is on.
TEST_F(WizardWindowTest, FinishShowsTheHourglassAndTheUnitsHelp) {
    class BusyDialogs final : public Dialogs {
    public:
        explicit BusyDialogs(TestDialogs& inner) : inner_(inner) {}
        int messageBox(const QString& t, const QString& c, int f) override {
            return inner_.messageBox(t, c, f);
        }
        QString openFileName(const QString& a, const QString& b, const QString& c) override {
            return inner_.openFileName(a, b, c);
        }
        QString saveFileName(const SaveDialogOptions& o) override { return inner_.saveFileName(o); }
        void beginBusy() override { ++busy; }
        void endBusy() override { --busy; }
        int busy = 0;

    private:
        TestDialogs& inner_;
    } busyDialogs(dlg);
    class WatchHide : public SessionView {
    public:
        WatchHide(ProjectSession& s, const int& busy) : SessionView(s), busy_(busy) {}
        void showWindow(Window w, bool shown) override {
            if (w == Window::Wizard && !shown)
                busyWhenHidden = busy_ > 0;
        }
        bool busyWhenHidden = false;

    private:
        const int& busy_;
    } watch(*session, busyDialogs.busy);
    newProject();
    setDialogs(&busyDialogs);
    session->setHelpDisplay(true);
    finish();
    setDialogs(&dlg);
    EXPECT_TRUE(watch.busyWhenHidden) << "the hourglass while the wizard commits";
    EXPECT_EQ(busyDialogs.busy, 0) << "and the cursor restored";
    ASSERT_FALSE(dlg.boxes.empty());
    EXPECT_EQ(dlg.last().text, LanguageText(2101));
    EXPECT_EQ(dlg.last().flags, int(MbInformation));
}

TEST_F(WizardWindowTest, CancelAfterEditsReverts) {
    newProject();
    finish();
    const QString path = work.filePath(QStringLiteral("cancel.zfp"));
    ASSERT_EQ(files->SaveProjectAs(path), ResultOk);
    const QByteArray saved = readAll(path);
    openWizard(tsUvodniText);
    type("DBEd_ProjectName", QStringLiteral("Changed"));
    goTo(tsRozmeryHaly);
    choose("cbTypStrechy", 3);
    type("DBEd_B", QStringLiteral("40"));
    EXPECT_TRUE(Modified);
    // What is being typed when the wizard goes is not entered.
    auto* investor = find<QLineEdit>("DBed_Investor");
    goTo(tsUvodniText);
    investor->setFocus();
    settle();
    QTest::keyClicks(investor, QStringLiteral("Typed"));
    session->cancelWizard();
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(Modified);
    EXPECT_EQ(readAll(path), saved) << "every change since the backup is gone";
    ASSERT_TRUE(data->projectConnected());
    EXPECT_NE(p().asString(QStringLiteral("ProjectName_text")), QStringLiteral("Changed"));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Stena_B")), 18.0);
}

TEST_F(WizardWindowTest, PriceEditRedAtZeroAndBackAtTwelve) {
    newProject();
    goTo(tsOtopneObdobi);
    auto* e = find<QLineEdit>("DBEd_CZK_m3");
    EXPECT_TRUE(e->isEnabled()) << "natural gas is priced per m3";
    EXPECT_EQ(base("DBEd_CZK_m3"), red);
    EXPECT_FALSE(find("DBEd_CZK_kg")->isEnabled());
    EXPECT_NE(base("DBEd_CZK_kg"), red) << "a disabled edit has the button face";
    e->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_EQ(base("DBEd_CZK_m3"), aqua);
    e->selectAll();
    QTest::keyClicks(e, QStringLiteral("12"));
    EXPECT_EQ(base("DBEd_CZK_m3"), windowColour("DBEd_CZK_m3")) << "at once, while typing";
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_EQ(base("DBEd_CZK_m3"), red) << "empty is red";
    QTest::keyClicks(e, QStringLiteral("12"));
    QTest::keyClick(e, Qt::Key_Tab);
    settle();
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Cena_Kc_m3")), 12.0);
    EXPECT_EQ(base("DBEd_CZK_m3"), windowColour("DBEd_CZK_m3"));
    // Propane is priced per kg: only its edit is enabled.
    choose("cbDruhPaliva", 1);
    EXPECT_TRUE(find<QRadioButton>("rbCZK_kg")->isChecked());
    EXPECT_TRUE(find("DBEd_CZK_kg")->isEnabled());
    EXPECT_FALSE(find("DBEd_CZK_m3")->isEnabled());
}

TEST_F(WizardWindowTest, RegionControlMethodAndVentilation) {
    newProject();
    goTo(tsOtopneObdobi);
    // A region of the list fills the climate; a name of one's own only the name.
    auto* region = find<QComboBox>("DBcb_Oblast");
    region->setFocus();
    settle();
    QTest::keyClick(region, Qt::Key_Down);
    settle();
    EXPECT_EQ(p().asString(QStringLiteral("Oblast_text")), region->itemText(1));
    EXPECT_FALSE(find<QLabel>("lbLocation")->text().isEmpty());
    const double te = p().asFloat(QStringLiteral("Te"));
    region->lineEdit()->selectAll();
    QTest::keyClicks(region, QStringLiteral("Hilltop"));
    QTest::keyClick(region, Qt::Key_Tab);
    settle();
    EXPECT_EQ(p().asString(QStringLiteral("Oblast_text")), QStringLiteral("Hilltop"));
    EXPECT_TRUE(find<QLabel>("lbLocation")->text().isEmpty());
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Te")), te);
    EXPECT_EQ(region->count(), wizard->state().regionList.size()) << "a typed name is not listed";

    // Self-control enables its efficiency and gives it the focus.
    EXPECT_FALSE(find("DBEd_Ucinnost_regulace")->isEnabled());
    choose("cbRegulace", int(ControlMethod::SelfControl));
    EXPECT_TRUE(find("DBEd_Ucinnost_regulace")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), find("DBEd_Ucinnost_regulace"));
    choose("cbRegulace", int(ControlMethod::Modulated));
    EXPECT_FALSE(find("DBEd_Ucinnost_regulace")->isEnabled());
    EXPECT_EQ(find<QLineEdit>("DBEd_Ucinnost_regulace")->text(), QStringLiteral("1.1"));

    // Ventilation enables the fresh air and ticks the mixing-chamber units.
    goTo(tsProvozniRezim);
    EXPECT_FALSE(find("DBEd_Vcz")->isEnabled());
    EXPECT_FALSE(find("cbChlazeni")->isEnabled());
    click("cbVetrani");
    EXPECT_TRUE(find("DBEd_Vcz")->isEnabled());
    auto* families = find<QListWidget>("cblbPouziteJednotky");
    EXPECT_EQ(families->item(2)->checkState(), Qt::Checked);
    families->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(wizard->state().families, int(FamilyRD | FamilyMK));
}

// A message box belongs to the window the user works in: over the wizard, which
// stays on top, not behind it.
TEST_F(WizardWindowTest, MessageBoxesComeOverTheWizard) {
    newProject();
    ASSERT_EQ(QApplication::activeWindow(), window.get());
    QtDialogs port;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            owner = box->parentWidget();
            box->close();
        }
    });
    port.messageBox(LanguageText(5004), QStringLiteral("Zefrant"), MbWarning);
    EXPECT_EQ(owner, window.get());
}

TEST_F(WizardWindowTest, NumbersTypedUnderCzechAndEnglishLocales) {
    newProject();
    goTo(tsRozmeryHaly);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    type("DBEd_A", QStringLiteral("1 234,5"));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Stena_A")), 1234.5);
    EXPECT_EQ(find<QLineEdit>("DBEd_A")->text(), QString::fromUtf8("1\u00a0234,5"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    type("DBEd_A", QStringLiteral("1,234.75"));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Stena_A")), 1234.75);
    EXPECT_EQ(find<QLineEdit>("DBEd_A")->text(), QStringLiteral("1,234.75"));
    type("DBEd_H2", QString::fromUtf8("\u22122"));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Stena_H2")), -2.0) << "the minus sign U+2212";

    // Not a number: the message, the value as it was, the focus in the edit.
    const size_t before = dlg.boxes.size();
    type("DBEd_A", QStringLiteral("12 m"));
    ASSERT_EQ(dlg.boxes.size(), before + 1);
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("not a valid number")));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), find("DBEd_A"));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Stena_A")), 1234.75);
    EXPECT_EQ(find<QLineEdit>("DBEd_A")->text(), QStringLiteral("1234.75"));
    // The days of the season are whole.
    goTo(tsOtopneObdobi);
    type("DBEd_OtopneObdobi", QStringLiteral("212.5"));
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("not a valid whole number")));
}

TEST_F(WizardWindowTest, BadInputIsRefusedOrRuledNeverLost) {
    newProject();
    // A text edit stops at its column's length: typed or pasted, nothing more
    // is taken, and nothing is refused.
    const size_t before = dlg.boxes.size();
    type("DBEd_ProjectName", QString(300, QLatin1Char('x')));
    EXPECT_EQ(p().asString(QStringLiteral("ProjectName_text")), QString(255, QLatin1Char('x')));
    type("DBEd_Phone", QString(60, QLatin1Char('7')));
    EXPECT_EQ(p().asString(QStringLiteral("Phone")), QString(50, QLatin1Char('7')));
    auto* investor = find<QLineEdit>("DBed_Investor");
    investor->setFocus();
    settle();
    QApplication::clipboard()->setText(QString(100, QLatin1Char('i')));
    investor->selectAll();
    investor->paste();
    QTest::keyClick(investor, Qt::Key_Tab);
    settle();
    EXPECT_EQ(p().asString(QStringLiteral("Investor_text")), QString(64, QLatin1Char('i')));
    EXPECT_EQ(dlg.boxes.size(), before);
    goTo(tsOtopneObdobi);
    auto* region = find<QComboBox>("DBcb_Oblast");
    region->setFocus();
    settle();
    region->lineEdit()->selectAll();
    QTest::keyClicks(region, QString(60, QLatin1Char('r')));
    QTest::keyClick(region, Qt::Key_Tab);
    settle();
    EXPECT_EQ(p().asString(QStringLiteral("Oblast_text")), QString(50, QLatin1Char('r')));
    // What a field refuses: the data layer's message, the value as it was and
    // the focus in the edit.
    const double tes = p().asFloat(QStringLiteral("Tes"));
    type("DBEd_Tes", QStringLiteral("mild"));
    ASSERT_EQ(dlg.boxes.size(), before + 1);
    EXPECT_EQ(dlg.last().flags, int(MbError));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Tes")), tes);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), find("DBEd_Tes"));
    EXPECT_EQ(find<QLineEdit>("DBEd_Tes")->text(),
              formatFloat(QStringLiteral("0.##"), p().asFloat(QStringLiteral("Tes"))));
    goTo(tsUvodniText);
    // Escape takes back what was typed.
    auto* name = find<QLineEdit>("DBEd_ProjectName");
    name->setFocus();
    settle();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("abc"));
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(name->text(), QString(255, QLatin1Char('x')));

    // Several lines pasted into a one-line field are one line.
    QApplication::clipboard()->setText(QStringLiteral("Hall\nnorth wing\r\n"));
    name->setFocus();
    settle();
    name->selectAll();
    name->paste();
    QTest::keyClick(name, Qt::Key_Tab);
    settle();
    EXPECT_EQ(p().asString(QStringLiteral("ProjectName_text")), QStringLiteral("Hall north wing"));
    EXPECT_EQ(name->text(), QStringLiteral("Hall north wing")) << "shown as stored";
    // A memo keeps its lines.
    auto* memo = find<QPlainTextEdit>("DBmemo_ProjectDesc");
    memo->setFocus();
    settle();
    QTest::keyClicks(memo, QStringLiteral("first"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("second"));
    QTest::keyClick(memo, Qt::Key_Tab);
    settle();
    EXPECT_EQ(p().asString(QStringLiteral("ProjectDesc_memo")), QStringLiteral("first\nsecond"));

    // A huge or negative number and an empty field: the rule, no crash.
    goTo(tsRozmeryHaly);
    type("DBEd_A", QStringLiteral("999999999999999999999999"));
    EXPECT_GT(p().asFloat(QStringLiteral("Stena_A")), 1e20);
    EXPECT_TRUE(std::isfinite(p().asFloat(QStringLiteral("Vhala"))));
    type("DBEd_B", QStringLiteral("-12"));
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Stena_B")), -12.0);
    type("DBEd_H1", QString());
    EXPECT_TRUE(p().isNull(QStringLiteral("Stena_H1"))) << "an emptied number is empty";
    EXPECT_EQ(base("DBEd_H1"), red);
    goTo(tsZaver);
    click("btNext");
    EXPECT_EQ(dlg.last().text, LanguageText(5004)) << "Finish asks for a positive value";
    EXPECT_EQ(page(), tsRozmeryHaly);
}

TEST_F(WizardWindowTest, KeyboardMovesBetweenControls) {
    newProject();
    auto focused = [] { return QApplication::focusWidget(); };
    ASSERT_EQ(focused(), find("DBEd_ProjectName"));
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(focused(), find("DBmemo_ProjectDesc")) << "Enter to the next control";
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(focused(), find("DBmemo_ProjectDesc")) << "a memo takes its lines";
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), find("DBed_Investor"));
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(focused(), find("DBmemo_ProjectDesc")) << "Up to the previous control";
    QTest::keyClick(focused(), Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(focused(), find("DBed_Person")) << "the default buttons are not in the tab order";

    // Lists and the date picker: Enter to the next control, the choice kept.
    goTo(tsOtopneObdobi);
    auto* fuel = find<QComboBox>("cbDruhPaliva");
    fuel->setFocus();
    settle();
    QTest::keyClick(fuel, Qt::Key_Return);
    EXPECT_NE(focused(), fuel);
    EXPECT_EQ(fuel->currentIndex(), 0);
    goTo(tsZaver);
    auto* date = find<QDateTimeEdit>("dtVypracovani");
    const QDateTime when = wizard->state().datePicker;
    date->setFocus();
    settle();
    QTest::keyClick(date, Qt::Key_Enter);
    EXPECT_NE(focused(), date);
    EXPECT_EQ(wizard->state().datePicker, when);
    // The check boxes and the thermal losses page: Enter to the next control.
    goTo(tsProvozniRezim);
    auto* heating = find<QCheckBox>("cbVytapeni");
    heating->setFocus();
    settle();
    QTest::keyClick(heating, Qt::Key_Return);
    EXPECT_NE(focused(), heating);
    EXPECT_TRUE(heating->isChecked());
    goTo(tsTepelneZtraty);
    auto* calc = find<QRadioButton>("rgTepZtraty0");
    calc->setFocus();
    settle();
    QTest::keyClick(calc, Qt::Key_Return);
    EXPECT_NE(focused(), calc);

    // The grids: Enter acts as Tab.
    goTo(tsStavebniKonstrukce);
    auto* walls = find<DatasetGrid>("ExDBGrid_Steny");
    walls->setFocus();
    walls->setCurrentIndex(walls->model()->index(0, ConstructionsPage::MaterialColumn));
    settle();
    QTest::keyClick(walls, Qt::Key_Return);
    EXPECT_EQ(walls->currentIndex().column(), ConstructionsPage::UColumn);
}

// In the grids Enter leaves an open cell as Tab does (written, on to the next
// cell, open there), typing into a filled name or material cell replaces its
// text, and a text cell takes no more than its column holds.
TEST_F(WizardWindowTest, GridCellsEnterTypingOverAndLength) {
    newProject();
    goTo(tsStavebniKonstrukce);
    auto* walls = find<DatasetGrid>("ExDBGrid_Steny");
    Dataset& w = data->tSteny;
    auto leaveWith = [&](int row, Qt::Key key, const QString& text) {
        walls->setFocus(Qt::MouseFocusReason);
        walls->setCurrentIndex(walls->model()->index(row, ConstructionsPage::UColumn));
        settle();
        walls->edit(walls->currentIndex());
        settle();
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        EXPECT_NE(editor, nullptr);
        if (!editor)
            return;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, key);
        settle();
    };
    leaveWith(0, Qt::Key_Tab, QStringLiteral("0.4"));
    const QModelIndex afterTab = walls->currentIndex();
    const bool openAfterTab = walls->editing();
    EXPECT_DOUBLE_EQ(w.asFloat(QStringLiteral("k")), 0.4);
    leaveWith(1, Qt::Key_Return, QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(w.asFloat(QStringLiteral("k")), 0.5) << "Enter writes the cell";
    EXPECT_EQ(walls->currentIndex().row(), 1);
    EXPECT_EQ(walls->currentIndex().column(), afterTab.column()) << "and moves on as Tab";
    EXPECT_EQ(walls->editing(), openAfterTab);
    EXPECT_EQ(walls->currentIndex().column(), 6);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();

    // So also in a material cell, whose editor is a drop-down.
    auto leaveMaterialWith = [&](int row, Qt::Key key, const QString& text) {
        walls->setFocus(Qt::MouseFocusReason);
        walls->setCurrentIndex(walls->model()->index(row, ConstructionsPage::MaterialColumn));
        settle();
        walls->edit(walls->currentIndex());
        settle();
        auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
        ASSERT_NE(combo, nullptr);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, text);
        QTest::keyClick(combo, key);
        settle();
    };
    leaveMaterialWith(2, Qt::Key_Tab, QStringLiteral("Tabbed wall"));
    const int tabColumn = walls->currentIndex().column();
    const bool tabOpen = walls->editing();
    if (walls->editing())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();
    leaveMaterialWith(3, Qt::Key_Return, QStringLiteral("Entered wall"));
    EXPECT_EQ(w.asString(QStringLiteral("Material")), QStringLiteral("Entered wall"));
    EXPECT_EQ(walls->currentIndex().row(), 3);
    EXPECT_EQ(walls->currentIndex().column(), tabColumn) << "Enter moves on as Tab";
    EXPECT_EQ(walls->editing(), tabOpen);
    if (walls->editing())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();

    // Typing into a filled cell, its editor not open, replaces what it held.
    auto typeOver = [&](DatasetGrid* grid, int row, int column, const QString& text) {
        grid->setFocus(Qt::MouseFocusReason);
        grid->setCurrentIndex(grid->model()->index(row, column));
        settle();
        ASSERT_FALSE(grid->editing());
        QTest::keyClicks(grid, text.left(1));
        settle();
        ASSERT_TRUE(grid->editing()) << "the first key opens the cell";
        QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        settle();
    };
    typeCell("ExDBGrid_Steny", 2, ConstructionsPage::MaterialColumn, QStringLiteral("Old wall"));
    ASSERT_EQ(w.asString(QStringLiteral("Material")), QStringLiteral("Old wall"));
    typeOver(walls, 2, ConstructionsPage::MaterialColumn, QStringLiteral("New wall"));
    EXPECT_EQ(w.currentRow(), 2);
    EXPECT_EQ(w.asString(QStringLiteral("Material")), QStringLiteral("New wall"));
    click("tbNovyOtvor");
    Dataset& o = data->tStavOtvory;
    typeCell("ExDBGrid_Otvory", 0, ConstructionsPage::OpeningNameColumn, QStringLiteral("Door"));
    ASSERT_EQ(o.asString(QStringLiteral("Nazev")), QStringLiteral("Door"));
    auto* openings = find<DatasetGrid>("ExDBGrid_Otvory");
    if (openings->editing())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();
    typeOver(openings, 0, ConstructionsPage::OpeningNameColumn, QStringLiteral("Gate"));
    EXPECT_EQ(o.asString(QStringLiteral("Nazev")), QStringLiteral("Gate"));

    // A text cell stops at its column's length; nothing is refused.
    const size_t boxes = dlg.boxes.size();
    typeCell("ExDBGrid_Otvory", 0, ConstructionsPage::OpeningNameColumn,
             QString(80, QLatin1Char('n')));
    EXPECT_EQ(o.asString(QStringLiteral("Nazev")), QString(50, QLatin1Char('n')));
    if (openings->editing())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();
    typeCell("ExDBGrid_Steny", 3, ConstructionsPage::MaterialColumn, QString(80, QLatin1Char('m')));
    EXPECT_EQ(w.asString(QStringLiteral("Material")), QString(50, QLatin1Char('m')));
    for (size_t i = boxes; i < dlg.boxes.size(); ++i)
        EXPECT_NE(dlg.boxes[i].flags, int(MbError)) << qPrintable(dlg.boxes[i].text);
}

TEST_F(WizardWindowTest, SurfaceGridColumnsRedCellsAndCopyActual) {
    newProject();
    goTo(tsRozmeryHaly);
    choose("cbTypStrechy", int(RoofType::Saddle));
    EXPECT_TRUE(find("DBEd_H2")->isVisible());
    goTo(tsStavebniKonstrukce);
    auto* grid = find<DatasetGrid>("ExDBGrid_Steny");
    QAbstractItemModel* m = grid->model();
    ASSERT_EQ(m->rowCount(), 9);
    ASSERT_EQ(m->columnCount(), 8);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), LanguageText(860 + c));
    EXPECT_EQ(m->data(m->index(0, 0)).toString(), QStringLiteral("Wall 1"));
    EXPECT_EQ(find<QLabel>("lbStavOtvory")->text(), QStringLiteral("Building openings (Wall 1)"));
    EXPECT_TRUE(find<SvgPicture>("imgStena")->file().endsWith(QLatin1String("Building/hB1.svg")));
    // The material column takes the rest of the width.
    int others = 0;
    for (int c = 0; c < 8; ++c)
        if (c != ConstructionsPage::MaterialColumn)
            others += grid->columnWidth(c);
    EXPECT_EQ(grid->columnWidth(ConstructionsPage::MaterialColumn),
              grid->viewport()->width() - others - 14);

    // Entering a column before the material goes on to it.
    grid->setFocus();
    grid->setCurrentIndex(m->index(2, 1));
    settle();
    EXPECT_EQ(grid->currentIndex(), m->index(2, ConstructionsPage::MaterialColumn));
    EXPECT_EQ(data->tSteny.currentRow(), 2);
    EXPECT_TRUE(find<QLabel>("lbStavOtvory")->text().endsWith(QLatin1String("(Wall 3)")));
    // A click into the material opens its pick list: the kind's constructions.
    const QRect cell = grid->visualRect(m->index(3, ConstructionsPage::MaterialColumn));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    settle();
    auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(list, nullptr) << "the pick list is open";
    EXPECT_EQ(list->count(), wizard->constructions.materialPickList().size());
    EXPECT_GT(list->count(), 0);
    QTest::keyClick(list, Qt::Key_Escape);
    settle();

    // Red cells: no material (except in the selected row), U not above 0.
    auto background = [&](int row, int column) {
        return m->data(m->index(row, column), Qt::BackgroundRole).value<QColor>();
    };
    EXPECT_EQ(background(0, ConstructionsPage::MaterialColumn), red);
    EXPECT_EQ(background(0, ConstructionsPage::UColumn), red);
    EXPECT_NE(background(data->tSteny.currentRow(), ConstructionsPage::MaterialColumn), red);

    // Copy actual: the first wall's construction to every wall and gable.
    typeCell("ExDBGrid_Steny", 0, ConstructionsPage::MaterialColumn, QStringLiteral("Own wall"));
    typeCell("ExDBGrid_Steny", 0, ConstructionsPage::UColumn, QStringLiteral("0.35"));
    EXPECT_NE(background(0, ConstructionsPage::UColumn), red);
    data->tSteny.first();
    click("tbSetAll");
    Dataset& w = data->tSteny;
    for (w.first(); !w.eof(); w.next()) {
        const int kind = w.asInteger(QStringLiteral("TypSteny"));
        SCOPED_TRACE(qPrintable(w.asString(QStringLiteral("NazevEN"))));
        EXPECT_EQ(w.asFloat(QStringLiteral("k")) == 0.35, kind == 1);
        EXPECT_EQ(w.asString(QStringLiteral("Material")) == QLatin1String("Own wall"), kind == 1);
    }
}

TEST_F(WizardWindowTest, OpeningsQuestionAddsOneBlankRow) {
    newProject();
    goTo(tsStavebniKonstrukce);
    const QStringList materials = wizard->constructions.materialPickList();
    ASSERT_GE(materials.size(), 2);
    dlg.answers = {IdYes};
    typeCell("ExDBGrid_Steny", 0, ConstructionsPage::MaterialColumn, materials[0]);
    ASSERT_FALSE(dlg.boxes.empty());
    EXPECT_EQ(dlg.last().text, formatText(LanguageText(5007), {QStringLiteral("Wall 1")}));
    Dataset& o = data->tStavOtvory;
    ASSERT_EQ(o.recordCount(), 1);
    EXPECT_EQ(o.asInteger(QStringLiteral("Pocet")), 1);
    EXPECT_DOUBLE_EQ(o.asFloat(QStringLiteral("Te")), data->tSteny.asFloat(QStringLiteral("Te")));
    auto* openings = find<DatasetGrid>("ExDBGrid_Otvory");
    EXPECT_EQ(openings->currentIndex().column(), ConstructionsPage::OpeningNameColumn);
    EXPECT_TRUE(openings->isAncestorOf(QApplication::focusWidget()))
        << "the name cell's editor is open";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    settle();

    dlg.answers = {IdYes};
    typeCell("ExDBGrid_Steny", 0, ConstructionsPage::MaterialColumn, materials[1]);
    EXPECT_EQ(o.recordCount(), 1) << "a blank opening is not added twice";
    click("tbNovyOtvor");
    EXPECT_EQ(o.recordCount(), 1);
    // A name from the catalog fills the U-value and leads on to the height.
    const QString name = wizard->constructions.openingPickList().value(0);
    ASSERT_FALSE(name.isEmpty());
    typeCell("ExDBGrid_Otvory", 0, 0, name);
    EXPECT_GT(o.asFloat(QStringLiteral("k")), 0.0);
    EXPECT_EQ(openings->currentIndex().column(), 2);
    click("tbNovyOtvor");
    EXPECT_EQ(o.recordCount(), 2);
    click("tbDelete");
    click("tbDelete");
    EXPECT_EQ(o.recordCount(), 0);
    click("tbDelete");
    EXPECT_EQ(o.recordCount(), 0) << "nothing to delete, nothing happens";
}

// A catalog name typed into the material cell and left with Enter or Tab, or
// picked from the list, asks about the openings once the cell is written and
// its editor is done with: the question never runs inside the editor's commit.
TEST_F(WizardWindowTest, OpeningsQuestionComesAfterTheMaterialCellIsWritten) {
    newProject();
    goTo(tsStavebniKonstrukce);
    boxesTakeTheFocus();
    auto* walls = find<DatasetGrid>("ExDBGrid_Steny");
    Dataset& w = data->tSteny;
    Dataset& o = data->tStavOtvory;
    bool writtenBeforeAsked = true;
    dlg.onBox = [&, modal = dlg.onBox](const TestDialogs::Box& box) {
        writtenBeforeAsked = writtenBeforeAsked && !w.database()->inTransaction() &&
                             w.state() == Dataset::State::Browse;
        modal(box);
    };
    enum class Leave { Enter, Tab, Pick };
    int row = 0;
    for (const Leave leave : {Leave::Enter, Leave::Tab, Leave::Pick}) {
        for (const int answer : {IdYes, IdNo}) {
            SCOPED_TRACE(::testing::Message() << "row " << row << " answer " << answer);
            walls->setFocus(Qt::MouseFocusReason);
            const QModelIndex cell = walls->model()->index(row, ConstructionsPage::MaterialColumn);
            walls->setCurrentIndex(cell);
            settle();
            ASSERT_EQ(w.currentRow(), row);
            // A construction of the surface's kind from the catalog.
            const QStringList offered = wizard->constructions.materialPickList();
            ASSERT_GT(offered.size(), 1);
            const int entry = row % int(offered.size());
            const QString name = offered[entry];
            const double k =
                data->tMaterialy.lookup(QStringLiteral("Material"), name, QStringLiteral("k"))
                    .toDouble();
            const int question = w.asInteger(QStringLiteral("TypSteny")) == 2 ? 5024 : 5007;
            const QString surface = w.asString(QStringLiteral("NazevEN"));
            walls->edit(cell);
            settle();
            auto* editor = qobject_cast<QComboBox*>(QApplication::focusWidget());
            ASSERT_NE(editor, nullptr);
            const size_t asked = dlg.boxes.size();
            dlg.answers = {answer};
            if (leave == Leave::Pick) {
                QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);
                settle();
                ASSERT_TRUE(editor->view()->isVisible());
                QTest::keyClick(editor->view(), Qt::Key_Home);
                for (int i = 0; i < entry; ++i)
                    QTest::keyClick(editor->view(), Qt::Key_Down);
                QTest::keyClick(editor->view(), Qt::Key_Return);
            } else {
                editor->lineEdit()->selectAll();
                QTest::keyClicks(editor, name);
                QTest::keyClick(editor, leave == Leave::Enter ? Qt::Key_Return : Qt::Key_Tab);
            }
            settle();
            settle();
            ASSERT_EQ(dlg.boxes.size(), asked + 1) << "asked once";
            EXPECT_EQ(dlg.last().text, formatText(LanguageText(question), {surface}));
            EXPECT_EQ(w.currentRow(), row);
            EXPECT_EQ(w.asString(QStringLiteral("Material")), name);
            EXPECT_DOUBLE_EQ(w.asFloat(QStringLiteral("k")), k);
            EXPECT_EQ(o.recordCount(), answer == IdYes ? 1 : 0);
            if (answer == IdYes) {
                auto* openings = find<DatasetGrid>("ExDBGrid_Otvory");
                EXPECT_TRUE(openings->isAncestorOf(QApplication::focusWidget()))
                    << "the new opening's name cell is open";
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                settle();
            }
            ++row;
        }
    }
    EXPECT_TRUE(writtenBeforeAsked) << "the material was stored before the question";
    dlg.onBox = nullptr;
}

// The messages about a cell (an opening higher or wider than its surface, a
// negative height, a value the data layer refuses) come once the cell is
// written and its editor done with; a value refused as the focus leaves its
// edit for Next is said once the focus has moved, and the page stays.
TEST_F(WizardWindowTest, MessagesComeAfterTheEditIsLeft) {
    newProject();
    goTo(tsStavebniKonstrukce);
    boxesTakeTheFocus();
    bool outsideWrites = true;
    dlg.onBox = [&, modal = dlg.onBox](const TestDialogs::Box& box) {
        outsideWrites = outsideWrites && !data->tSteny.database()->inTransaction();
        modal(box);
    };
    Dataset& w = data->tSteny;
    Dataset& o = data->tStavOtvory;
    click("tbNovyOtvor");
    ASSERT_EQ(o.recordCount(), 1);
    auto number = [](double v) { return formatFloat(QStringLiteral("0.##"), v); };
    auto told = [&](const char* grid, int column, const QString& text) {
        const size_t before = dlg.boxes.size();
        typeCell(grid, 0, column, text);
        settle();
        EXPECT_EQ(dlg.boxes.size(), before + 1) << "told once: " << qPrintable(text);
        return dlg.boxes.size() > before ? dlg.last() : TestDialogs::Box{};
    };
    const double height = w.asFloat(QStringLiteral("Vyska"));
    const double width = w.asFloat(QStringLiteral("Sirka"));
    EXPECT_EQ(told("ExDBGrid_Otvory", 2, number(height + 1)).text, LanguageText(5022));
    EXPECT_DOUBLE_EQ(o.asFloat(QStringLiteral("Vyska")), height + 1) << "a warning only";
    const TestDialogs::Box negative = told("ExDBGrid_Otvory", 2, QStringLiteral("-1"));
    EXPECT_EQ(negative.text, LanguageText(5021));
    EXPECT_EQ(negative.flags, int(MbError));
    EXPECT_DOUBLE_EQ(o.asFloat(QStringLiteral("Vyska")), 0.0);
    EXPECT_EQ(told("ExDBGrid_Otvory", 3, number(width + 1)).text, LanguageText(5023));
    w.first();
    const double k = w.asFloat(QStringLiteral("k"));
    EXPECT_EQ(told("ExDBGrid_Steny", ConstructionsPage::UColumn, QStringLiteral("abc")).flags,
              int(MbError));
    EXPECT_DOUBLE_EQ(w.asFloat(QStringLiteral("k")), k) << "the refused value is not stored";
    EXPECT_TRUE(outsideWrites) << "no message while a value was being written";

    goTo(tsRozmeryHaly);
    auto* a = find<QLineEdit>("DBEd_A");
    const double length = p().asFloat(QStringLiteral("Stena_A"));
    a->setFocus(Qt::MouseFocusReason);
    settle();
    a->selectAll();
    QTest::keyClicks(a, QStringLiteral("wide"));
    const size_t before = dlg.boxes.size();
    click("btNext");
    settle();
    EXPECT_EQ(dlg.boxes.size(), before + 1);
    EXPECT_EQ(page(), tsRozmeryHaly) << "the refused value keeps the page";
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_DOUBLE_EQ(p().asFloat(QStringLiteral("Stena_A")), length);
    click("btNext");
    EXPECT_EQ(page(), tsRozmerySvetliku) << "the value as it was is taken";
    dlg.onBox = nullptr;
}

TEST_F(WizardWindowTest, CatalogButtonsNeedTheCatalog) {
    newProject();
    goTo(tsStavebniKonstrukce);
    EXPECT_FALSE(find("tbKatalogSteny")->isEnabled()) << "disabled, never silent";
    EXPECT_FALSE(find("tbKatalogOtvory")->isEnabled());
    class Catalog : public SessionView {
    public:
        using SessionView::SessionView;
        bool providesDialog(Window w) const override { return w == Window::ElementsCatalog; }
        std::optional<bool> execDialog(Window w) override {
            if (w != Window::ElementsCatalog)
                return std::nullopt;
            SessionProbe(session()).catalog().ChosenElementName = QStringLiteral("Catalog wall");
            SessionProbe(session()).catalog().ChosenElementU = QStringLiteral("0.27");
            SessionProbe(session()).catalog().ChosenElementK = 0.27;
            return true;
        }
    } catalog(*session);
    openWizard();
    ASSERT_TRUE(find("tbKatalogSteny")->isEnabled());
    click("tbKatalogSteny");
    EXPECT_EQ(data->tSteny.asString(QStringLiteral("Material")), QStringLiteral("Catalog wall"));
    EXPECT_DOUBLE_EQ(data->tSteny.asFloat(QStringLiteral("k")), 0.27);
    click("tbKatalogOtvory");
    EXPECT_EQ(data->tStavOtvory.asString(QStringLiteral("Nazev")), QStringLiteral("Catalog wall"));
}

TEST_F(WizardWindowTest, HelpDisplayBalloonAndTooltips) {
    newProject();
    auto* assist = find<QCheckBox>("cbAssist");
    EXPECT_FALSE(assist->isChecked());
    EXPECT_TRUE(find("cbDruhPaliva")->toolTip().isEmpty());
    click("cbAssist");
    EXPECT_TRUE(session->helpDisplay()) << "the box sets the program's help display";
    session->setHelpDisplay(false);
    EXPECT_FALSE(assist->isChecked()) << "and mirrors it";
    session->setHelpDisplay(true);
    EXPECT_TRUE(assist->isChecked());
    EXPECT_EQ(find("cbDruhPaliva")->toolTip(), LanguageText(5121));
    EXPECT_EQ(find("ExDBGrid_Hala")->toolTip(), LanguageText(5135));

    HintBalloon* balloon = hints->balloon();
    auto focusOn = [&](const char* name) {
        QWidget* w = find(name);
        w->setFocus(Qt::TabFocusReason);
        settle();
        return w;
    };
    auto checkBeside = [&](QWidget* control) {
        ASSERT_TRUE(balloon->isVisible());
        EXPECT_LE(balloon->width(), HintBalloon::MaxWidth);
        const QRect c(control->mapToGlobal(QPoint(0, 0)), control->size());
        EXPECT_FALSE(balloon->geometry().intersects(c)) << "never over its control";
    };
    QWidget* phone = focusOn("DBEd_Phone");
    EXPECT_EQ(balloon->text(), LanguageText(5106));
    checkBeside(phone);
    goTo(tsOtopneObdobi);
    EXPECT_FALSE(balloon->isVisible()) << "a page change hides it";
    QWidget* days = focusOn("DBEd_OtopneObdobi");
    EXPECT_EQ(balloon->text(), LanguageText(5112));
    checkBeside(days);
    focusOn("cbDruhPaliva");
    EXPECT_FALSE(balloon->isVisible()) << "a list shows its help as a tooltip";
    focusOn("DBCb_Hodiny_za_den");
    EXPECT_EQ(balloon->text(), LanguageText(5118)) << "5117 is never shown";
    // Losing the focus to another window hides it.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    settle();
    EXPECT_FALSE(balloon->isVisible());
    QApplication::setActiveWindow(window.get());
    settle();
    session->setHelpDisplay(false);
    focusOn("DBEd_Tes");
    EXPECT_FALSE(balloon->isVisible());
    EXPECT_TRUE(find("cbDruhPaliva")->toolTip().isEmpty());
}

TEST(HintBalloonPlacement, BesideTheControlNeverOverIt) {
    const QRect screen(0, 0, 1000, 700);
    const QSize balloon(400, 120);
    const QRect cases[] = {{100, 100, 200, 24}, {700, 100, 290, 24}, {10, 10, 980, 24},
                           {10, 650, 980, 40},  {0, 0, 1000, 700},   {600, 600, 120, 90},
                           {300, 580, 390, 110}};
    for (const QRect& control : cases) {
        SCOPED_TRACE(qPrintable(QStringLiteral("%1,%2 %3x%4")
                                    .arg(control.x())
                                    .arg(control.y())
                                    .arg(control.width())
                                    .arg(control.height())));
        const QRect r(HintBalloon::placement(control, balloon, screen), balloon);
        EXPECT_FALSE(r.intersects(control));
    }
    EXPECT_EQ(HintBalloon::placement({100, 100, 200, 24}, balloon, screen),
              QPoint(300 + HintBalloon::Gap, 100))
        << "to the right when there is room";
    EXPECT_EQ(HintBalloon::placement({700, 100, 290, 24}, balloon, screen).x(),
              700 - HintBalloon::Gap - 400)
        << "else to the left";
}

TEST_F(WizardWindowTest, LanguageSwitchRelabelsAndKeepsTheChoices) {
    newProject();
    goTo(tsOtopneObdobi);
    choose("cbDruhPaliva", 2);
    goTo(tsPracovniPodminky);
    choose("cbTridaPrace", 2);
    const QString englishDescription = find<QLabel>("lbTridaPrace")->text();
    ASSERT_FALSE(session->helpDisplay());
    EXPECT_EQ(find<QComboBox>("cbTridaPrace")->toolTip(), englishDescription)
        << "the class's description is the combo's tooltip without help too";
    session->switchLanguage(BaseGE);
    settle();
    EXPECT_EQ(window->windowTitle(), LanguageText(501) + QStringLiteral(" Zefrant"));
    EXPECT_EQ(window->pageControl()->tabText(tsRozmeryHaly), LanguageText(55));
    auto* fuel = find<QComboBox>("cbDruhPaliva");
    EXPECT_EQ(fuel->currentIndex(), 2) << "the choice is kept";
    EXPECT_EQ(fuel->itemText(2), LanguageText(572));
    EXPECT_TRUE(find<QRadioButton>("rbCZK_kg")->text().contains(QStringLiteral("EUR")));
    EXPECT_EQ(find<QLabel>("lbDelka")->text(), LanguageText(707));
    EXPECT_EQ(find<QGroupBox>("gbRozmeryHaly")->title(), LanguageText(701));
    EXPECT_EQ(find<QPushButton>("btCancel")->text(), LanguageText(152));
    EXPECT_EQ(find<QCheckBox>("cbAssist")->text(), LanguageText(502));
    EXPECT_NE(find<QLabel>("lbTridaPrace")->text(), englishDescription);
    EXPECT_FALSE(find<QLabel>("lbTridaPrace")->text().isEmpty());
    auto* region = find<QComboBox>("DBcb_Oblast");
    EXPECT_EQ(region->itemText(0), LanguageText(516));
    EXPECT_EQ(region->currentText(), QStringLiteral("* not defined")) << "the stored choice";
    auto* walls = find<DatasetGrid>("ExDBGrid_Steny");
    EXPECT_EQ(walls->model()->headerData(4, Qt::Horizontal).toString(), LanguageText(864));
    EXPECT_EQ(walls->model()->data(walls->model()->index(0, 0)).toString(),
              QStringLiteral("Wand 1"));
    EXPECT_EQ(find("DBEd_A")->accessibleName(), QString()) << "named by its label";
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(find("DBEd_A"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name).trimmed(), LanguageText(707).trimmed());
    session->switchLanguage(BaseEN);
}

// Russian on a Central European system: the windows show Russian, the project
// and the catalog hold the re-encoded copies.
TEST_F(WizardWindowTest, RussianOnACentralEuropeanSystem) {
    newProject();
    setSystemCodePage(1250);
    session->switchLanguage(BaseRU);
    setSystemCodePage(0);
    ASSERT_EQ(LanguageBase, BaseRU1250);
    settle();
    EXPECT_EQ(find<QLabel>("lbDelka")->text(), LanguageTextIn(BaseRU, 707));
    goTo(tsStavebniKonstrukce);
    auto* walls = find<DatasetGrid>("ExDBGrid_Steny");
    EXPECT_EQ(walls->model()->data(walls->model()->index(0, 0)).toString(),
              QString::fromUtf8("Стена 1"));
    const QString stored = wizard->constructions.materialPickList().value(0);
    ASSERT_FALSE(stored.isEmpty());
    ASSERT_NE(readableText(stored), stored) << "the catalog holds re-encoded copies";
    auto* list = qobject_cast<QComboBox*>([&] {
        walls->setFocus();
        const QModelIndex cell = walls->model()->index(0, ConstructionsPage::MaterialColumn);
        walls->setCurrentIndex(cell);
        walls->edit(cell);
        settle();
        return QApplication::focusWidget();
    }());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->itemText(0), readableText(stored)) << "the pick list shows Russian";
    QTest::keyClick(list, Qt::Key_Escape);
    settle();
    typeCell("ExDBGrid_Steny", 0, ConstructionsPage::MaterialColumn, readableText(stored));
    EXPECT_EQ(data->tSteny.asString(QStringLiteral("Material")), stored)
        << "the catalog's own form is stored";
    EXPECT_DOUBLE_EQ(
        data->tSteny.asFloat(QStringLiteral("k")),
        data->tMaterialy.lookup(QStringLiteral("Material"), stored, QStringLiteral("k")).toDouble())
        << "and its U-value found";
    EXPECT_EQ(walls->model()
                  ->data(walls->model()->index(0, ConstructionsPage::MaterialColumn))
                  .toString(),
              readableText(stored));
    session->switchLanguage(BaseEN);
}

TEST_F(WizardWindowTest, AccessibilityWalkFindsEveryControlNamed) {
    newProject();
    goTo(tsRozmeryHaly);
    choose("cbTypStrechy", 1);
    goTo(tsRozmerySvetliku);
    choose("cbTypSvetliku", 2);
    const QSet<QAccessible::Role> interactive = {
        QAccessible::PushButton, QAccessible::CheckBox,     QAccessible::RadioButton,
        QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::SpinBox,
        QAccessible::Table,      QAccessible::List,         QAccessible::PageTab,
        QAccessible::Graphic,    QAccessible::ButtonMenu,   QAccessible::Slider};
    QStringList unnamed;
    int seen = 0;
    std::function<void(QAccessibleInterface*, const QString&)> walk =
        [&](QAccessibleInterface* iface, const QString& path) {
            for (int i = 0; i < iface->childCount(); ++i) {
                QAccessibleInterface* c = iface->child(i);
                if (!c || c->state().invisible)
                    continue;
                QObject* o = c->object();
                const QString where =
                    path + QLatin1Char('/') +
                    (o && !o->objectName().isEmpty() ? o->objectName() : QString::number(i));
                if (interactive.contains(c->role()) ||
                    (o && o->objectName().startsWith(QLatin1String("im")))) {
                    ++seen;
                    if (c->text(QAccessible::Name).trimmed().isEmpty())
                        unnamed << where;
                }
                if (c->role() != QAccessible::Table && c->role() != QAccessible::ComboBox)
                    walk(c, where);
            }
        };
    for (int p = 0; p < WizardPageCount; ++p) {
        goTo(p);
        ASSERT_EQ(page(), p);
        walk(QAccessible::queryAccessibleInterface(window.get()), wizardPageName(p));
    }
    EXPECT_GT(seen, 100);
    EXPECT_TRUE(unnamed.isEmpty()) << qPrintable(unnamed.join(QStringLiteral("\n")));
}

// The edits of the heating season page that no label stands before are named
// for screen readers in the language: the prices by their radio buttons, the
// control efficiency by its own text; the region's list and its edit by the
// region's label.
TEST_F(WizardWindowTest, PriceEfficiencyAndRegionNamedInTheLanguage) {
    newProject();
    goTo(tsOtopneObdobi);
    auto name = [&](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Name) : QString();
    };
    auto stripped = [](QString caption) {
        return caption.remove(QLatin1Char('&'))
            .trimmed()
            .remove(QRegularExpression(QStringLiteral(":$")));
    };
    for (const int base : {BaseEN, BaseGE, BaseCZ}) {
        session->switchLanguage(base);
        settle();
        SCOPED_TRACE(base);
        QStringList prices;
        for (int i = 0; i < 3; ++i) {
            const char* edits[] = {"DBEd_CZK_m3", "DBEd_CZK_kWh", "DBEd_CZK_kg"};
            const QString expected =
                stripped(formatText(LanguageText(590 + i), {CurrencyName(LanguageBase)}));
            EXPECT_EQ(name(find(edits[i])), expected);
            EXPECT_TRUE(expected.contains(CurrencyName(LanguageBase)));
            prices << name(find(edits[i]));
        }
        prices.removeDuplicates();
        EXPECT_EQ(prices.size(), 3) << "each price named apart";
        EXPECT_EQ(name(find("DBEd_Ucinnost_regulace")), LanguageText(3300));
        EXPECT_NE(name(find("DBEd_Ucinnost_regulace")), stripped(LanguageText(564)));
        auto* region = find<QComboBox>("DBcb_Oblast");
        EXPECT_EQ(name(region->lineEdit()), stripped(LanguageText(552)));
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(region);
        ASSERT_NE(list, nullptr);
        QStringList labels;
        for (const auto& relation : list->relations(QAccessible::Label))
            labels << relation.first->text(QAccessible::Name);
        EXPECT_TRUE(labels.contains(LanguageText(552)))
            << qPrintable(labels.join(QLatin1Char('|')));
    }
    session->switchLanguage(BaseEN);
}

namespace {

using CliRun = zf::test::CliRun;

CliRun cli(const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return zf::test::runCliProcess(args, 120000, env);
}

QJsonObject exported(const QString& file) {
    const CliRun r = cli({QStringLiteral("export"), file});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    return QJsonDocument::fromJson(r.out).object();
}

} // namespace

// A whole hall entered through the window, page by page, finished and saved,
// gives the same file as the command-line tool's input of the same design.
TEST_F(WizardWindowTest, WholeHallThroughTheWindowEqualsTheToolsInput) {
    newProject();
    QJsonObject project;
    auto entered = [&](const char* edit, const char* field, const QString& text, double value) {
        type(edit, text);
        project.insert(QLatin1String(field), value);
    };
    // 1: the project and its compiler.
    type("DBEd_ProjectName", QStringLiteral("Hall 7"));
    type("DBed_Investor", QStringLiteral("Works"));
    type("DBed_Person", QStringLiteral("J. Smith"));
    project.insert(QStringLiteral("ProjectName_text"), QStringLiteral("Hall 7"));
    project.insert(QStringLiteral("Investor_text"), QStringLiteral("Works"));
    project.insert(QStringLiteral("Vypracoval_text"), QStringLiteral("J. Smith"));
    click("btNext");
    ASSERT_EQ(page(), tsOtopneObdobi);
    // 2: the region (the first of the list), the operation, the fuel.
    auto* region = find<QComboBox>("DBcb_Oblast");
    region->setFocus();
    settle();
    QTest::keyClick(region, Qt::Key_Down);
    settle();
    ASSERT_EQ(region->currentIndex(), 1);
    project.insert(QStringLiteral("Oblast_text"), region->currentText());
    EXPECT_FALSE(find<QLabel>("lbLocation")->text().isEmpty());
    choose("DBCb_Dny_za_tyden", 5);
    project.insert(QStringLiteral("Provoz_dny_tyden"), 6);
    choose("DBCb_Hodiny_za_den", 15);
    project.insert(QStringLiteral("Provoz_hodiny_den"), 16);
    entered("DBEd_Ti", "Ti", QStringLiteral("17"), 17);
    entered("DBEd_Ttlumena", "Ttlumena", QStringLiteral("12"), 12);
    entered("DBEd_Tzeme", "Tzeme", QStringLiteral("4"), 4);
    choose("cbDruhPaliva", 1);
    project.insert(QStringLiteral("Druh_paliva_enum"), 1);
    entered("DBEd_CZK_kg", "Cena_Kc_kg", QStringLiteral("28.5"), 28.5);
    choose("cbRegulace", 2);
    project.insert(QStringLiteral("Ucinnost_regulace_enum"), 2);
    entered("DBEd_Technologie", "TZ_technologie", QStringLiteral("3"), 3);
    click("btNext");
    // 3: heating and ventilation.
    click("cbVetrani");
    project.insert(QStringLiteral("Vetrani_bool"), true);
    entered("DBEd_Vcz", "Vc_zima", QStringLiteral("6000"), 6000);
    entered("DBEd_Vcl", "Vc_leto", QStringLiteral("8000"), 8000);
    entered("DBEd_Rekuperace", "Rekuperace", QStringLiteral("50"), 50);
    project.insert(QStringLiteral("PouziteJednotky"), wizard->state().families);
    click("btNext");
    // 4 and 5: a saddle roof with a skylight of type 2.
    ASSERT_EQ(page(), tsRozmeryHaly);
    choose("cbTypStrechy", 1);
    project.insert(QStringLiteral("Typ_strechy_enum"), 1);
    entered("DBEd_A", "Stena_A", QStringLiteral("42"), 42);
    entered("DBEd_B", "Stena_B", QStringLiteral("21"), 21);
    entered("DBEd_H1", "Stena_H1", QStringLiteral("6.5"), 6.5);
    entered("DBEd_H2", "Stena_H2", QStringLiteral("2.2"), 2.2);
    click("btNext");
    choose("cbTypSvetliku", 2);
    project.insert(QStringLiteral("Typ_svetliku_enum"), 2);
    entered("DBEd_svA", "Svetlik_A", QStringLiteral("24"), 24);
    entered("DBEd_svB", "Svetlik_B", QStringLiteral("3"), 3);
    entered("DBEd_svH1", "Svetlik_H1", QStringLiteral("0.9"), 0.9);
    entered("DBEd_svH2", "Svetlik_H2", QStringLiteral("0.7"), 0.7);
    click("btNext");
    // 6: by calculation.
    ASSERT_EQ(page(), tsTepelneZtraty);
    click("rgTepZtraty0");
    project.insert(QStringLiteral("Tepelne_ztraty_enum"), 0);
    click("btNext");
    // 7: infiltration, materials and openings on several surfaces.
    ASSERT_EQ(page(), tsStavebniKonstrukce);
    choose("cbInfiltrace", 2);
    project.insert(QStringLiteral("n_enum"), 2);
    QJsonArray walls;
    const QStringList wallMaterials = wizard->constructions.materialPickList();
    const QString opening = wizard->constructions.openingPickList().value(0);
    ASSERT_FALSE(wallMaterials.isEmpty());
    ASSERT_FALSE(opening.isEmpty());
    auto surface = [&](int row) {
        Dataset& w = data->tSteny;
        w.moveToRow(row);
        return QJsonObject{{"VariantaHaly", w.asString(QStringLiteral("VariantaHaly"))},
                           {"CisloSteny", w.asInteger(QStringLiteral("CisloSteny"))}};
    };
    // Wall 1: a material from the list, two openings.
    QJsonObject wall1 = surface(0);
    typeCell("ExDBGrid_Steny", 0, ConstructionsPage::MaterialColumn, wallMaterials[0]);
    wall1.insert(QStringLiteral("Material"), wallMaterials[0]);
    click("tbNovyOtvor");
    typeCell("ExDBGrid_Otvory", 0, 0, opening);
    typeCell("ExDBGrid_Otvory", 0, 2, QStringLiteral("2"));
    typeCell("ExDBGrid_Otvory", 0, 3, QStringLiteral("1.5"));
    typeCell("ExDBGrid_Otvory", 0, 4, QStringLiteral("4"));
    click("tbNovyOtvor");
    typeCell("ExDBGrid_Otvory", 1, 0, QStringLiteral("Gate"));
    typeCell("ExDBGrid_Otvory", 1, 1, QStringLiteral("3.1"));
    typeCell("ExDBGrid_Otvory", 1, 2, QStringLiteral("4"));
    typeCell("ExDBGrid_Otvory", 1, 3, QStringLiteral("4"));
    wall1.insert(
        QStringLiteral("openings"),
        QJsonArray{QJsonObject{{"Nazev", opening}, {"Vyska", 2}, {"Sirka", 1.5}, {"Pocet", 4}},
                   QJsonObject{{"Nazev", "Gate"}, {"k", 3.1}, {"Vyska", 4}, {"Sirka", 4}}});
    walls.append(wall1);
    // Wall 2: a material and its own U-value and indoor temperature.
    QJsonObject wall2 = surface(1);
    typeCell("ExDBGrid_Steny", 1, ConstructionsPage::MaterialColumn, wallMaterials.value(1));
    typeCell("ExDBGrid_Steny", 1, ConstructionsPage::UColumn, QStringLiteral("0.35"));
    typeCell("ExDBGrid_Steny", 1, 6, QStringLiteral("15"));
    wall2.insert(QStringLiteral("Material"), wallMaterials.value(1));
    wall2.insert(QStringLiteral("k"), 0.35);
    wall2.insert(QStringLiteral("Ti"), 15);
    walls.append(wall2);
    // Roof 6 and the first skylight surface: U-values typed, one window.
    QJsonObject roof = surface(5);
    typeCell("ExDBGrid_Steny", 5, ConstructionsPage::UColumn, QStringLiteral("0.28"));
    roof.insert(QStringLiteral("k"), 0.28);
    walls.append(roof);
    QJsonObject sky = surface(9);
    typeCell("ExDBGrid_Steny", 9, ConstructionsPage::UColumn, QStringLiteral("1.9"));
    click("tbNovyOtvor");
    typeCell("ExDBGrid_Otvory", 0, 1, QStringLiteral("1.4"));
    typeCell("ExDBGrid_Otvory", 0, 2, QStringLiteral("0.5"));
    typeCell("ExDBGrid_Otvory", 0, 3, QStringLiteral("2"));
    sky.insert(QStringLiteral("k"), 1.9);
    sky.insert(QStringLiteral("openings"),
               QJsonArray{QJsonObject{{"k", 1.4}, {"Vyska", 0.5}, {"Sirka", 2}}});
    walls.append(sky);
    click("btNext");
    // 8: work class and posture.
    ASSERT_EQ(page(), tsPracovniPodminky);
    choose("cbTridaPrace", 3);
    project.insert(QStringLiteral("Trida_prace_enum"), 3);
    choose("cbPolohaCloveka", 1);
    project.insert(QStringLiteral("Poloha_cloveka_enum"), 1);
    click("btNext");
    // 9: the closing text; Finish, Save.
    ASSERT_EQ(page(), tsZaver);
    type("DBEdZaver_text", QStringLiteral("Conclusion"));
    project.insert(QStringLiteral("Zaver_text"), QStringLiteral("Conclusion"));
    click("btNext");
    ASSERT_FALSE(window->isVisible())
        << qPrintable(dlg.boxes.empty() ? QString() : dlg.last().text);
    const QString byWindow = work.filePath(QStringLiteral("window.zfp"));
    dlg.saveNames = {byWindow};
    ASSERT_EQ(session->commandSaveAs(), ResultOk);
    files->CloseProject(true);
    window.reset();

    // The same design through the tool.
    const QString byTool = work.filePath(QStringLiteral("tool.zfp"));
    const QString design = work.filePath(QStringLiteral("design.json"));
    {
        QFile f(design);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QJsonDocument(QJsonObject{{"project", project}, {"walls", walls}}).toJson());
    }
    ASSERT_EQ(cli({QStringLiteral("new"), byTool}).status, 0);
    const CliRun input = cli({QStringLiteral("input"), byTool, design});
    ASSERT_EQ(input.status, 0) << input.err.constData();

    const QJsonObject a = exported(byWindow), b = exported(byTool);
    ASSERT_FALSE(a.isEmpty());
    for (const char* table : {"tRozmery", "tSteny", "tStavOtvory", "tTempTable"}) {
        const QJsonArray ra = a.value(QLatin1String(table)).toArray();
        const QJsonArray rb = b.value(QLatin1String(table)).toArray();
        ASSERT_EQ(ra.size(), rb.size()) << table;
        for (qsizetype i = 0; i < ra.size(); ++i) {
            QJsonObject x = ra[i].toObject(), y = rb[i].toObject();
            // The date of the elaboration is the day each was made.
            x.remove(QStringLiteral("Datum_vypracovani"));
            y.remove(QStringLiteral("Datum_vypracovani"));
            auto json = [](const QJsonValue& v) {
                return QString::fromUtf8(
                    QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact));
            };
            for (auto it = x.begin(); it != x.end(); ++it)
                EXPECT_EQ(json(it.value()), json(y.value(it.key())))
                    << table << " row " << i << " " << qPrintable(it.key());
        }
    }
    EXPECT_GT(a.value(QStringLiteral("tRozmery"))
                  .toArray()[0]
                  .toObject()
                  .value(QStringLiteral("Q_kW"))
                  .toDouble(),
              0.0);
    EXPECT_EQ(a.value(QStringLiteral("tStavOtvory")).toArray().size(), 3);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Every window and dialog of the program as assistive technology sees it, in
// every language: each interactive control has a name, on a project with placed
// units made by zefrant-cli.
#include "accessibilitywalk.h"
#include "clirun.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/codepage.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "langsel.h"
#include "mainwindow.h"
#include "optionsdialog.h"
#include "projectwindow/unitlistpage.h"
#include "report/reportlayout.h"
#include "reportoutput.h"
#include "startup.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

using namespace zf;
using zf::test::AccessibilityWalk;
using zf::test::TestDialogs;

namespace {

using CliRun = zf::test::CliRun;

CliRun cli(const QStringList& args) {
    return zf::test::runCliProcess(args, 120000);
}

const int languages[] = {BaseCZ, BaseEN, BaseGE, BasePL, BaseRU};

class AccessibilityTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        designs = new QTemporaryDir;
        placed = designs->filePath(QStringLiteral("placed.zfp"));
        const QString d = QStringLiteral(ZEFRANT_DESIGNS "/");
        for (const QStringList& args :
             {QStringList{QStringLiteral("new"), placed},
              QStringList{QStringLiteral("input"), placed, d + QStringLiteral("ventilation.json")},
              QStringList{QStringLiteral("units"), placed,
                          d + QStringLiteral("ventilation-units.json")}}) {
            const CliRun r = cli(args);
            ASSERT_EQ(r.status, 0) << r.err.constData();
        }
    }
    static void TearDownTestSuite() {
        delete designs;
        designs = nullptr;
    }

    void SetUp() override {
        setSystemCodePage(65001);
        const QString settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                   QStringLiteral("EN"));
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/ShowHints"),
                   QStringLiteral("0"));
        s.sync();
        TempPath = withTrailingSlash(dir.path());
        const QString path = dir.filePath(QStringLiteral("placed.zfp"));
        ASSERT_TRUE(QFile::copy(placed, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        Zefrant::Options o;
        o.settingsFile = settingsFile;
        o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
        o.dialogs = &dlg;
        o.askLanguage = [] { return BaseEN; };
        z = std::make_unique<Zefrant>();
        ASSERT_TRUE(z->start({path}, o));
        z->mainWindow->resize(1100, 800);
        z->mainWindow->show();
        QApplication::processEvents();
        ASSERT_TRUE(z->projectWindows->window());
    }
    void TearDown() override {
        z.reset();
        setSystemCodePage(0);
    }

    void switchLanguage(int base) {
        z->session->switchLanguage(base);
        QApplication::processEvents();
    }
    // The unnamed controls of a window shown for the walk.
    static QStringList unnamedIn(QWidget* window) {
        const bool shown = window->isVisible();
        window->show();
        QApplication::processEvents();
        AccessibilityWalk walk = AccessibilityWalk::of(window);
        if (!shown)
            window->hide();
        EXPECT_GT(walk.seen, 0) << qPrintable(window->objectName());
        return walk.unnamed;
    }

    static QTemporaryDir* designs;
    static QString placed;
    QTemporaryDir dir;
    TestDialogs dlg;
    std::unique_ptr<Zefrant> z;
};

QTemporaryDir* AccessibilityTest::designs = nullptr;
QString AccessibilityTest::placed;

} // namespace

TEST_F(AccessibilityTest, EveryControlOfEveryWindowIsNamedInEveryLanguage) {
    for (int base : languages) {
        switchLanguage(base);
        QStringList unnamed;
        TfrmZFDraw* pw = z->projectWindows->window();
        QTabWidget* pages = pw->pages();
        ASSERT_TRUE(pages);
        for (int p = 0; p < pages->count(); ++p) {
            pages->setCurrentIndex(p);
            QApplication::processEvents();
            unnamed << unnamedIn(z->mainWindow.get());
        }
        for (int p = 0; p < WizardPageCount; ++p) {
            z->wizard->pageControl()->setCurrentIndex(p);
            unnamed << unnamedIn(z->wizard.get());
        }
        unnamed << unnamedIn(z->about.get());
        unnamed << unnamedIn(z->unitsCatalog.get());
        unnamed << unnamedIn(z->elementsCatalog.get());
        unnamed << unnamedIn(z->newElement.get());
        unnamed << unnamedIn(z->objProp.get());
        unnamed << unnamedIn(z->mainWindow->optionsDialog());
        TfrmLangSel languageDialog;
        unnamed << unnamedIn(&languageDialog);
        ReportSetupDialog setup;
        unnamed << unnamedIn(&setup);
        QPrinter printer;
        QPrintPreviewDialog preview(&printer);
        const ReportDocument doc;
        QtReportPresenter::setUpPreview(preview, doc, nullptr);
        preview.setWindowState(Qt::WindowNoState);
        unnamed << unnamedIn(&preview);
        unnamed.removeDuplicates();
        EXPECT_TRUE(unnamed.isEmpty()) << "language " << base << ":\n"
                                       << qPrintable(unnamed.join(QLatin1Char('\n')));
    }
    switchLanguage(BaseEN);
}

// A list of the list page is told by its column and its unit, not by the
// value it shows, and each unit's list by its own unit.
TEST_F(AccessibilityTest, ListPagePropertyListsAreNamedByColumnAndUnit) {
    TfrmZFDraw* pw = z->projectWindows->window();
    pw->pages()->setCurrentIndex(tsSeznamJednotek);
    QApplication::processEvents();
    const Dataset& u = SessionProbe(*z->session).data().tJednotky;
    ASSERT_GE(u.recordCount(), 2);
    const struct {
        UnitProperty property;
        int header;
    } columns[] = {{UnitProperty::Location, 2266},
                   {UnitProperty::FlueGasExhaust, 2267},
                   {UnitProperty::AirSupply, 2268},
                   {UnitProperty::ControlMethod, 2269}};
    for (int base : {BaseEN, BaseCZ, BaseRU}) {
        switchLanguage(base);
        for (int row = 0; row < 2; ++row) {
            UnitPanel* panel = pw->listPage()->panel(row);
            ASSERT_TRUE(panel);
            const int number = u.valueAt(row, u.fieldIndex(QStringLiteral("IDJednotky"))).toInt();
            const QString typ =
                readableText(u.valueAt(row, u.fieldIndex(QStringLiteral("Typ"))).toString());
            for (const auto& c : columns) {
                QAccessibleInterface* list =
                    QAccessible::queryAccessibleInterface(panel->list(c.property));
                const auto labels = list->relations(QAccessible::Label);
                ASSERT_EQ(labels.size(), 1) << row << " " << int(c.property);
                EXPECT_EQ(labels.first().first->text(QAccessible::Name),
                          formatText(LanguageText(3051), {LanguageText(c.header), number, typ}));
            }
        }
    }
    switchLanguage(BaseEN);
    const int typColumn = u.fieldIndex(QStringLiteral("Typ"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(
                  pw->listPage()->panel(1)->list(UnitProperty::FlueGasExhaust))
                  ->relations(QAccessible::Label)
                  .first()
                  .first->text(QAccessible::Name),
              QStringLiteral("Flue gas exhaust – unit #2: ") +
                  SessionProbe(*z->session).data().tJednotky.valueAt(1, typColumn).toString());
}

TEST_F(AccessibilityTest, MainToolBarIsNamedInTheLanguage) {
    QToolBar* bar = z->mainWindow->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"));
    ASSERT_TRUE(bar);
    for (int base : languages) {
        switchLanguage(base);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar);
        EXPECT_EQ(iface->text(QAccessible::Name), LanguageText(3050)) << base;
        EXPECT_EQ(bar->windowTitle(), LanguageText(3050)) << "its entry in the bar's menu";
    }
    switchLanguage(BaseEN);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name),
              QStringLiteral("Main tool bar"));
}

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

QChar accessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// The access keys of the visible entries of a menu that clash, and of its
// submenus in turn.
void clashes(const QString& where, const QList<QAction*>& actions, QStringList& out) {
    QHash<QChar, QString> seen;
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        const QChar key = accessKey(a->text());
        if (!key.isNull()) {
            if (seen.contains(key))
                out << where + QStringLiteral(": ") + seen[key] + QStringLiteral(" / ") + a->text();
            seen.insert(key, a->text());
        }
        if (a->menu())
            clashes(where + QLatin1Char('/') + a->text(), a->menu()->actions(), out);
    }
}

} // namespace

TEST_F(AccessibilityTest, AboutBoxWebAddressIsReachedAndOpenedByKeyboard) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    TfrmAbout& about = *z->about;
    about.show();
    QApplication::setActiveWindow(&about);
    QApplication::processEvents();
    QLabel* web = about.webLabel();
    for (int i = 0; i < 10 && QApplication::focusWidget() != web; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                    : static_cast<QWidget*>(&about),
                        Qt::Key_Tab);
        QApplication::processEvents();
    }
    ASSERT_EQ(QApplication::focusWidget(), web) << "Tab reaches the web address";
    EXPECT_TRUE(web->font().underline()) << "the focused address shows it is a link";
    QTest::keyClick(web, Qt::Key_Return);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.first(), QUrl(QStringLiteral("http://") + web->text()));
    EXPECT_TRUE(about.isVisible()) << "Enter on the address opens it, not the OK button";
    QTest::keyClick(web, Qt::Key_Space);
    EXPECT_EQ(catcher.opened.size(), 2);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    about.hide();
}

// Within one menu no two entries share an access key, in any language, so that
// a key selects its entry (E chose Preview in English, not Exit).
TEST_F(AccessibilityTest, MenuAccessKeysDifferInEveryMenuInEveryLanguage) {
    for (int base : languages) {
        switchLanguage(base);
        z->mainWindow->updateActions();
        QStringList found;
        clashes(QStringLiteral("menu bar"), z->mainWindow->menuBar()->actions(), found);
        EXPECT_TRUE(found.isEmpty()) << "language " << base << ":\n"
                                     << qPrintable(found.join(QLatin1Char('\n')));
    }
    switchLanguage(BaseEN);
    const QAction* exit = z->mainWindow->action(QStringLiteral("acFileExit"));
    EXPECT_EQ(accessKey(exit->text()), QLatin1Char('e'));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "test_accessibility.moc"

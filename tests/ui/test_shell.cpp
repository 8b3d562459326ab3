// The application shell under the offscreen platform: start-up, commands and
// their enabling, the close rule, the user settings and the language switch.
#include "aboutbox.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "langsel.h"
#include "mainwindow.h"
#include "qtdialogs.h"
#include "qttranslations.h"
#include "screenstacking.h"
#include "startup.h"
#include "testsupport.h"
#include "worktracker.h"

#include <QClipboard>
#include <QCursor>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMessageBox>
#include <QStandardPaths>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zf;
using zf::test::TestDialogs;

namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                   QStringLiteral("EN"));
        s.sync();
        TempPath = withTrailingSlash(dir.path());
    }
    Zefrant::Options options() {
        Zefrant::Options o;
        o.settingsFile = settingsFile;
        o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
        o.dialogs = &dlg;
        o.askLanguage = [this] {
            ++asked;
            return BaseEN;
        };
        return o;
    }
    QString projectCopy(const QString& name) {
        const QString path = dir.filePath(name);
        QFile::copy(QStringLiteral(ZEFRANT_PROGRAM_DIR "/DB/ZFData.zft"), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    QTemporaryDir dir;
    QString settingsFile;
    TestDialogs dlg;
    int asked = 0;
};

} // namespace

TEST_F(ShellTest, StartUpOrderAndTheFatalStart) {
    {
        Zefrant z;
        ASSERT_TRUE(z.start({}, options()));
        EXPECT_EQ(z.created,
                  (QStringList{"TfrmZMain", "TZFData", "TfrmZInput", "TfrmKatalog", "TfrmObjProp",
                               "TfrmPrvky", "TfrmPrvekNew", "TfrmAbout", "TfrmZFDraw"}));
        EXPECT_EQ(z.splashProgress, 9);
        EXPECT_TRUE(dlg.boxes.empty());
        EXPECT_EQ(z.mainWindow->windowTitle(), QStringLiteral("Zefrant"));
        EXPECT_EQ(z.mainWindow->menuBar()->actions().first()->text(), QStringLiteral("&File"));
    }
    // Without a reference database: the fatal message once, no other window.
    QTemporaryDir empty;
    Zefrant::Options o = options();
    o.appFolder = empty.path();
    Zefrant z;
    EXPECT_FALSE(z.start({}, o));
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_TRUE(dlg.last().text.startsWith(
        QLatin1String("Application fatal error. Please do the following:")));
    EXPECT_EQ(z.created, QStringList{"TfrmZMain"});
    EXPECT_FALSE(z.about);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << qPrintable(w->objectName());
}

TEST_F(ShellTest, ProjectOnTheCommandLine) {
    const QString f = projectCopy(QStringLiteral("Hall 3.zfp"));
    Zefrant z;
    ASSERT_TRUE(z.start({f}, options()));
    EXPECT_EQ(SessionProbe(*z.session).files().CurrentFile, f);
    EXPECT_FALSE(Modified);
    EXPECT_EQ(z.mainWindow->windowTitle(), QStringLiteral("Zefrant - Hall 3.zfp"));
    SessionProbe(*z.session).files().CloseProject(true);

    Zefrant missing;
    ASSERT_TRUE(missing.start({dir.filePath(QStringLiteral("none.zfp"))}, options()));
    EXPECT_TRUE(SessionProbe(*missing.session).files().CurrentFile.isEmpty()) << "a missing file is ignored";
    EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(ShellTest, EnablingRules) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    TfrmZMain& w = *z.mainWindow;
    ProjectSession& s = *z.session;
    auto enabled = [&](const char* name) {
        w.updateActions();
        return w.action(QLatin1String(name))->isEnabled();
    };
    EXPECT_TRUE(enabled("acFileNew"));
    EXPECT_TRUE(enabled("acFileOpen"));
    EXPECT_FALSE(enabled("acClose"));
    EXPECT_FALSE(enabled("acInput"));
    EXPECT_FALSE(enabled("acFileSave"));
    EXPECT_TRUE(enabled("acKatalogStavPrvky"));
    EXPECT_FALSE(enabled("acSL")) << "Slovak is not offered";
    EXPECT_TRUE(enabled("acRU"));

    ASSERT_EQ(SessionProbe(*z.session).files().OpenProject(projectCopy(QStringLiteral("e.zfp"))), ResultOk);
    EXPECT_TRUE(enabled("acClose"));
    EXPECT_TRUE(enabled("acZaver"));
    EXPECT_FALSE(enabled("acFileSave"));
    Modified = true;
    EXPECT_TRUE(enabled("acFileSave"));
    w.action(QStringLiteral("acTepelneZtraty"))->trigger();
    EXPECT_TRUE(SessionProbe(s).wizard().visible());
    EXPECT_EQ(SessionProbe(s).wizard().activePage(), tsTepelneZtraty);
    EXPECT_FALSE(enabled("acFileNew")) << "New is disabled while the wizard shows";
    EXPECT_TRUE(enabled("acFileOpen"));
    SessionProbe(s).wizard().chooseLossWay(LossWay::Estimate);
    EXPECT_FALSE(enabled("acStavebniKonstrukce")) << "the wizard hides its page";
    SessionProbe(s).wizard().chooseLossWay(LossWay::Calculation);
    EXPECT_TRUE(enabled("acStavebniKonstrukce"));
    SessionProbe(s).wizard().hide();
    w.action(QStringLiteral("acInput"))->trigger();
    EXPECT_EQ(SessionProbe(s).wizard().activePage(), tsTepelneZtraty) << "Input keeps the current page";

    EXPECT_TRUE(s.helpDisplay());
    w.action(QStringLiteral("acShowHelp"))->trigger();
    EXPECT_FALSE(s.helpDisplay()) << "one flag, the session's";
    EXPECT_FALSE(w.action(QStringLiteral("acShowHelp"))->isChecked());
    w.action(QStringLiteral("acShowHelp"))->trigger();
    EXPECT_TRUE(w.action(QStringLiteral("acShowHelp"))->isChecked());
    Modified = false;
    SessionProbe(*z.session).files().CloseProject(true);
}

TEST_F(ShellTest, ClosingWithAnUnsavedNewProject) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    ASSERT_EQ(SessionProbe(*z.session).files().commandNew(), ResultOk);
    EXPECT_EQ(z.mainWindow->windowTitle(), QStringLiteral("Zefrant - Unsaved"));
    dlg.answers = {IdCancel};
    EXPECT_FALSE(z.mainWindow->close()) << "Cancel keeps the program running";
    EXPECT_EQ(dlg.last().text, QStringLiteral("Do you want to save changes?"));
    EXPECT_TRUE(SessionProbe(*z.session).data().projectConnected());
    const QString temp = SessionProbe(*z.session).files().CurrentFile;
    dlg.answers = {IdNo};
    EXPECT_TRUE(z.mainWindow->close());
    z.finish();
    EXPECT_FALSE(QFile::exists(temp));
}

TEST_F(ShellTest, EditCommandsWorkOnTheFocusedField) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    TfrmZMain& w = *z.mainWindow;
    w.show();
    auto* edit = new QLineEdit(&w);
    edit->show();
    edit->setText(QStringLiteral("hall"));
    QApplication::setActiveWindow(&w);
    edit->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != edit)
        GTEST_SKIP() << "the platform gives no focus";
    w.updateActions();
    EXPECT_FALSE(w.action(QStringLiteral("acEditCopy"))->isEnabled()) << "nothing selected";
    w.action(QStringLiteral("acEditSelectAll"))->trigger();
    w.updateActions();
    EXPECT_TRUE(w.action(QStringLiteral("acEditCut"))->isEnabled());
    w.action(QStringLiteral("acEditDelete"))->trigger();
    EXPECT_TRUE(edit->text().isEmpty());
    w.updateActions();
    EXPECT_TRUE(w.action(QStringLiteral("acEditUndo"))->isEnabled());
    w.action(QStringLiteral("acEditUndo"))->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("hall"));
}

TEST_F(ShellTest, LanguageSwitchRelabelsEveryWindow) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    TfrmZMain& w = *z.mainWindow;
    w.action(QStringLiteral("acCZ"))->trigger();
    EXPECT_EQ(LanguageBase, BaseCZ);
    EXPECT_EQ(w.menuBar()->actions().first()->text(), QStringLiteral("&Soubor"));
    EXPECT_EQ(w.action(QStringLiteral("acFileOpen"))->text(), LanguageTextIn(BaseCZ, 3));
    EXPECT_TRUE(w.action(QStringLiteral("acCZ"))->isChecked());
    EXPECT_FALSE(w.action(QStringLiteral("acEN"))->isChecked());
    EXPECT_TRUE(
        w.supplierLabel()->text().startsWith(LanguageTextIn(BaseCZ, 91) + QStringLiteral(": ")));
    EXPECT_TRUE(w.supplierLabel()->text().contains(QStringLiteral("Tepelná")))
        << "diacritics under Czech";
    EXPECT_EQ(z.about->windowTitle(), LanguageTextIn(BaseCZ, 122) + QStringLiteral(" Zefrant"));

    setSystemCodePage(1250);
    w.action(QStringLiteral("acRU"))->trigger();
    setSystemCodePage(0);
    EXPECT_EQ(LanguageBase, BaseRU1250);
    ASSERT_FALSE(dlg.boxes.empty());
    EXPECT_TRUE(dlg.last().text.startsWith(QStringLiteral("* Místní nastavení")));
    EXPECT_TRUE(w.action(QStringLiteral("acRU"))->isChecked());
    EXPECT_EQ(w.menuBar()->actions().first()->text(), LanguageTextIn(BaseRU, 1))
        << "the windows stay readable: this platform shows Cyrillic";
    EXPECT_NE(LanguageTextIn(BaseRU1250, 1), LanguageTextIn(BaseRU, 1));
    EXPECT_FALSE(w.supplierLabel()->text().contains(QStringLiteral("á")))
        << "unaccented under other bases";

    w.action(QStringLiteral("acGE"))->trigger();
    EXPECT_EQ(w.menuBar()->actions().first()->text(), QStringLiteral("&Datei"));
    z.finish();
    QSettings s(settingsFile, QSettings::IniFormat);
    EXPECT_EQ(s.value(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language")).toString(),
              QStringLiteral("GE"));
}

TEST_F(ShellTest, AboutBox) {
    TfrmAbout about(QStringLiteral("/x/ZF.zft"));
    setLanguage(BaseEN);
    about.applyLanguage(BaseEN);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Zefrant"));
    EXPECT_FALSE(about.databaseLabel()->isVisible());
    about.show();
    QTest::keyClick(&about, Qt::Key_Insert);
    EXPECT_TRUE(about.databaseLabel()->isVisible());
    EXPECT_EQ(about.databaseLabel()->text(), QStringLiteral("Database: /x/ZF.zft"));
    QTest::keyClick(&about, Qt::Key_Insert);
    EXPECT_FALSE(about.databaseLabel()->isVisible());
    const auto labels = about.findChildren<QLabel*>();
    bool version = false, build = false, sqlite = false, notice = false;
    for (QLabel* l : labels) {
        version |= l->text() == QLatin1String("Application version: 1.0.7");
        build |= l->text() == QLatin1String("Build: 1.7.2010");
        sqlite |= l->text().startsWith(QLatin1String("SQLite version: 3."));
        notice |= l->text() == LanguageTextIn(BaseEN, 131);
    }
    EXPECT_TRUE(version && build && sqlite && notice);
}

TEST(LanguageDialog, OfferedLanguagesAndCzechFirst) {
    TfrmLangSel dlg;
    EXPECT_EQ(dlg.selectedBase(), BaseCZ);
    EXPECT_TRUE(dlg.choice(BaseCZ)->isChecked());
    for (int b : {BaseEN, BaseCZ, BaseGE, BasePL, BaseRU})
        EXPECT_TRUE(dlg.choice(b)->isEnabled()) << b;
    EXPECT_FALSE(dlg.choice(BaseSL)->isEnabled());
    dlg.choice(BaseEN)->setChecked(true);
    dlg.reject();
    EXPECT_EQ(dlg.selectedBase(), BaseEN) << "the choice counts however the dialog closes";
}

TEST(Settings, EveryCase) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.ini"));
    const QString key = QStringLiteral("Software/Quadrel/Zefrant/1.0/General/");
    auto fresh = [&](const QHash<QString, QString>& values) {
        QFile::remove(file);
        QSettings s(file, QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it)
            s.setValue(it.key(), it.value());
        s.sync();
    };
    auto stored = [&](const QString& name) {
        QSettings s(file, QSettings::IniFormat);
        return s.value(key + name).toString();
    };
    setSystemCodePage(65001);

    // First start: the dialog; English chosen is written as EN at exit.
    fresh({});
    {
        UserSettings u(file);
        int asked = 0;
        u.read([&] {
            ++asked;
            return BaseEN;
        });
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(u.languageBase, BaseEN);
        EXPECT_TRUE(u.showHints) << "missing ShowHints means on";
        u.write(QStringLiteral("/opt/zefrant/"));
    }
    EXPECT_EQ(stored(QStringLiteral("Language")), QStringLiteral("EN"));
    EXPECT_EQ(stored(QStringLiteral("ShowHints")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("AppPath")), QStringLiteral("/opt/zefrant/"));

    struct Case {
        const char* code;
        int base;
        const char* written;
    };
    for (const Case& c : {Case{"DE", BaseGE, "GE"}, Case{"SL", BaseSL, "SL"},
                          Case{"XX", BaseCZ, "CZ"}, Case{"RU", BaseRU, "RU"}}) {
        fresh({{key + QStringLiteral("Language"), QLatin1String(c.code)},
               {key + QStringLiteral("ShowHints"), QStringLiteral("0")},
               {key + QStringLiteral("MRUFolder"), QStringLiteral("/home/e/projects/")}});
        UserSettings u(file);
        u.read([] { return -1; });
        EXPECT_FALSE(u.askedLanguage) << c.code;
        EXPECT_EQ(u.languageBase, c.base) << c.code;
        EXPECT_EQ(u.checkedLanguage, c.base) << c.code;
        EXPECT_FALSE(u.showHints);
        EXPECT_EQ(u.lastFolder, QStringLiteral("/home/e/projects/"));
        u.write(QString());
        EXPECT_EQ(stored(QStringLiteral("Language")), QLatin1String(c.written)) << c.code;
    }
    fresh({{key + QStringLiteral("Language"), QStringLiteral("EN")},
           {key + QStringLiteral("ShowHints"), QStringLiteral("yes")}});
    {
        UserSettings u(file);
        u.read({});
        EXPECT_TRUE(u.showHints) << "a text that is not a number counts as missing";
    }

    // Russian on a Central European system: base 50000, the check stays on RU.
    fresh({{key + QStringLiteral("Language"), QStringLiteral("RU")}});
    setSystemCodePage(1250);
    {
        UserSettings u(file);
        u.read({});
        EXPECT_EQ(u.languageBase, BaseRU1250);
        EXPECT_EQ(u.checkedLanguage, BaseRU);
    }
    setSystemCodePage(65001);

    // Settings of the previous key are taken over once.
    fresh({{QStringLiteral("Software/T_NOVA/Zefrant/1.0/General/Language"), QStringLiteral("PL")},
           {QStringLiteral("Software/T_NOVA/Zefrant/1.0/General/MRUFolder"),
            QStringLiteral("/old/")}});
    {
        UserSettings u(file);
        u.read({});
        EXPECT_TRUE(u.migrated);
        EXPECT_EQ(u.languageBase, BasePL);
        EXPECT_EQ(u.lastFolder, QStringLiteral("/old/"));
        u.write(QString());
    }
    {
        QSettings s(file, QSettings::IniFormat);
        EXPECT_FALSE(s.contains(QStringLiteral("Software/T_NOVA/Zefrant/1.0/General/Language")));
    }
    EXPECT_EQ(stored(QStringLiteral("Language")), QStringLiteral("PL"));
    EXPECT_EQ(stored(QStringLiteral("MRUFolder")), QStringLiteral("/old/"));
    setSystemCodePage(0);
}

TEST(Settings, TheReportsLanguageIsOneOfTheOfferedOrNone) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.ini"));
    const QString key = QStringLiteral("Software/Quadrel/Zefrant/1.0/General/ReportLanguage");
    for (const auto& [value, read] :
         std::vector<std::pair<QString, QString>>{{QStringLiteral("GE"), QStringLiteral("GE")},
                                                  {QStringLiteral("RU"), QStringLiteral("RU")},
                                                  {QStringLiteral("DE"), QString()},
                                                  {QStringLiteral("SL"), QString()},
                                                  {QStringLiteral("xx"), QString()}}) {
        {
            QSettings s(file, QSettings::IniFormat);
            s.clear();
            s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                       QStringLiteral("CZ"));
            s.setValue(key, value);
        }
        UserSettings u(file);
        u.read({});
        EXPECT_EQ(u.reportLanguage, read) << value.toStdString();
        u.write(QString());
        QSettings s(file, QSettings::IniFormat);
        EXPECT_EQ(s.contains(key), !read.isEmpty()) << "none: the windows' language";
    }
}

// What a new user met at the first start and after it.
TEST_F(ShellTest, FirstStartDialogsAreNeverBehindTheSplash) {
    QFile::remove(settingsFile);
    Zefrant::Options o = options();
    bool splashShown = true;
    o.askLanguage = [&] {
        splashShown = false;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("ZFSplash") && w->isVisible())
                splashShown = true;
        return BaseGE;
    };
    Zefrant z;
    ASSERT_TRUE(z.start({}, o));
    EXPECT_FALSE(splashShown) << "the language dialog would be hidden behind the splash";
    // The choice is kept at once: a second instance started now does not ask.
    QSettings s(settingsFile, QSettings::IniFormat);
    EXPECT_EQ(s.value(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language")).toString(),
              QStringLiteral("GE"));
}

TEST(QtDialogsPort, AWindowOnTopIsHiddenBeforeAnyDialog) {
    QWidget onTop(nullptr, Qt::WindowStaysOnTopHint);
    onTop.show();
    QtDialogs port;
    port.hideBeforeDialogs(&onTop);
    bool visibleDuringBox = true;
    QTimer::singleShot(0, [&] {
        visibleDuringBox = onTop.isVisible();
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    port.messageBox(QStringLiteral("The file is open in another instance."),
                    QStringLiteral("Zefrant"), MbError);
    EXPECT_FALSE(visibleDuringBox);
}

TEST_F(ShellTest, NoSaveWithoutAProject) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    TfrmZMain& w = *z.mainWindow;
    ASSERT_EQ(z.session->commandNew(), ResultOk);
    dlg.answers = {IdNo};
    w.updateActions();
    w.action(QStringLiteral("acClose"))->trigger();
    EXPECT_FALSE(SessionProbe(*z.session).data().projectConnected());
    w.updateActions();
    EXPECT_FALSE(w.action(QStringLiteral("acFileSave"))->isEnabled())
        << "nothing to save without a project";
    const size_t boxes = dlg.boxes.size();
    EXPECT_EQ(z.session->commandSave(), ResultOk);
    EXPECT_EQ(dlg.boxes.size(), boxes) << "no \"Cannot write to file\"";
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.lock")}).isEmpty())
        << "no stray lock";
}

TEST_F(ShellTest, ARefusedFileClosesTheOpenProjectWithItsBackup) {
    const QString good = projectCopy(QStringLiteral("good.zfp"));
    const QString bad = dir.filePath(QStringLiteral("bad.zfp"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a project at all");
    f.close();
    Zefrant z;
    ASSERT_TRUE(z.start({good}, options()));
    ASSERT_TRUE(QFile::exists(good + QStringLiteral(".tmp")));
    EXPECT_NE(z.session->openFile(bad), ResultOk);
    EXPECT_FALSE(SessionProbe(*z.session).data().projectConnected());
    EXPECT_FALSE(QFile::exists(good + QStringLiteral(".tmp")))
        << "a backup exists exactly while its project is open";
    EXPECT_FALSE(QFile::exists(bad + QStringLiteral(".tmp")));
}

TEST_F(ShellTest, QtsOwnTextsFollowTheLanguage) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    TfrmZMain& w = *z.mainWindow;
    ASSERT_TRUE(QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                              QStringLiteral("/qtbase_de.qm")))
        << "Qt's translations (qt6-translations-l10n) are installed by the setup";
    w.action(QStringLiteral("acGE"))->trigger();
    EXPECT_TRUE(z.translations->loaded());
    EXPECT_EQ(QKeySequence(QStringLiteral("Ctrl+S")).toString(QKeySequence::NativeText),
              QStringLiteral("Strg+S"));
    w.action(QStringLiteral("acEN"))->trigger();
    EXPECT_FALSE(z.translations->loaded());
    EXPECT_EQ(QKeySequence(QStringLiteral("Ctrl+S")).toString(QKeySequence::NativeText),
              QStringLiteral("Ctrl+S"));
}

namespace {

void activate(QWidget* window) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
}

// What a modal dialog looked like while it was up.
struct SeenDialog {
    QWidget* parent = nullptr;
    bool onTop = false;
};

} // namespace

// Every dialog opens over the window the user works in and on top of it: the
// wizard, which stays on top of the main window, while the user works there;
// on top also while the user works in the main window under the shown wizard.
TEST_F(ShellTest, DialogsOpenOverTheWindowTheUserWorksIn) {
    Zefrant z;
    ASSERT_TRUE(z.start({projectCopy(QStringLiteral("over.zfp"))}, options()));
    QtDialogs& port = *z.dialogs;
    QWidget* main = z.mainWindow.get();
    QWidget* wizard = z.wizard.get();
    z.session->openWizard();
    ASSERT_TRUE(wizard->isVisible());
    activate(wizard);
    ASSERT_EQ(QApplication::activeWindow(), wizard);
    ASSERT_EQ(WorkTracker::instance().window(), wizard);

    auto box = [&] {
        SeenDialog seen;
        QTimer::singleShot(0, [&seen] {
            QWidget* m = QApplication::activeModalWidget();
            ASSERT_TRUE(m);
            seen.parent = m->parentWidget();
            seen.onTop = m->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            static_cast<QDialog*>(m)->reject();
        });
        port.messageBox(QStringLiteral("Do you want to save changes?"), QStringLiteral("Zefrant"),
                        MbWarningYesNoCancel);
        return seen;
    };
    auto fileDialog = [&](bool save) {
        SeenDialog seen;
        QTimer::singleShot(0, [&seen] {
            QWidget* m = QApplication::activeModalWidget();
            ASSERT_TRUE(qobject_cast<QFileDialog*>(m));
            seen.parent = m->parentWidget();
            seen.onTop = m->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            static_cast<QDialog*>(m)->reject();
        });
        if (save) {
            SaveDialogOptions o;
            o.title = LanguageText(125);
            o.filter = LanguageText(126);
            EXPECT_TRUE(port.saveFileName(o).isEmpty());
        } else {
            EXPECT_TRUE(
                port.openFileName(LanguageText(123), LanguageText(124), dir.path()).isEmpty());
        }
        return seen;
    };
    auto about = [&] {
        SeenDialog seen;
        QTimer::singleShot(0, [&seen, &z] {
            QWidget* m = QApplication::activeModalWidget();
            ASSERT_EQ(m, z.about.get());
            seen.parent = m->parentWidget();
            seen.onTop = m->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            z.about->reject();
        });
        z.mainWindow->execute(QStringLiteral("acAbout"));
        return seen;
    };

    // Working in the wizard. (A window manager gives the focus back to the
    // wizard when a dialog over it closes; the offscreen platform does not.)
    const std::vector<std::function<SeenDialog()>> all = {box, [&] { return fileDialog(true); },
                                                          [&] { return fileDialog(false); }, about};
    for (const auto& dialog : all) {
        activate(wizard);
        const SeenDialog seen = dialog();
        EXPECT_EQ(seen.parent, wizard);
        EXPECT_TRUE(seen.onTop);
    }
    EXPECT_EQ(z.about->parentWidget(), main) << "the About box goes back to its window";
    EXPECT_FALSE(z.about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // A click on the main window's menu bar leaves the work in the wizard.
    activate(wizard);
    QCursor::setPos(main->mapToGlobal(z.mainWindow->menuBar()->geometry().center()));
    activate(main);
    EXPECT_EQ(WorkTracker::instance().window(), wizard);
    EXPECT_EQ(box().parent, wizard);

    // Working in the main window with the wizard shown: over the main window,
    // and on top, so that the wizard cannot hide it.
    QCursor::setPos(main->mapToGlobal(main->rect().center()));
    for (const auto& dialog : all) {
        activate(wizard);
        activate(main);
        ASSERT_EQ(WorkTracker::instance().window(), main);
        const SeenDialog seen = dialog();
        EXPECT_EQ(seen.parent, main);
        EXPECT_TRUE(seen.onTop);
    }

    // Without a window on top, a dialog is an ordinary one.
    SessionProbe(*z.session).wizard().hide();
    QApplication::processEvents();
    const SeenDialog plain = box();
    EXPECT_EQ(plain.parent, main);
    EXPECT_FALSE(plain.onTop);

    // A window of a modal dialog's own that the user works in (the new item
    // over the modal catalog): the box belongs to it, not to the dialog under it.
    QDialog outer(main);
    outer.setModal(true);
    outer.show();
    QDialog inner(&outer);
    inner.show();
    activate(&inner);
    ASSERT_EQ(QApplication::activeModalWidget(), &outer);
    ASSERT_EQ(WorkTracker::instance().window(), &inner);
    EXPECT_EQ(box().parent, &inner);
    activate(&outer);
    EXPECT_EQ(box().parent, &outer) << "working in the dialog itself";
    inner.hide();
    outer.hide();
    SessionProbe(*z.session).files().CloseProject(true);
}

// Waits until the window manager manages the window, at most five seconds.
bool managed(const QWidget* w) {
    for (int i = 0; i < 100; ++i) {
        if (zf::test::screenStacking().contains(w->winId()))
            return true;
        QTest::qWait(50);
    }
    return false;
}

// On a real screen (tests/ui/under_wm.sh runs this under Xvfb with openbox):
// with the wizard and the units catalog shown, both on top, the dialogs of
// the main window come over both of them, and the catalog stays over the main
// window. A window manager lays a modal dialog over its owner's own windows
// only, and raising it raises its owner, so the dialogs stayed under the
// catalog.
TEST_F(ShellTest, DialogsComeOverTheUnitsCatalogOnTheScreen) {
    if (QGuiApplication::platformName() != u"xcb" ||
        QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        GTEST_SKIP() << "needs a screen with a window manager: tests/ui/under_wm.sh";
    Zefrant z;
    ASSERT_TRUE(z.start({projectCopy(QStringLiteral("stacking.zfp"))}, options()));
    QtDialogs& port = *z.dialogs;
    QWidget* main = z.mainWindow.get();
    QWidget* catalog = z.unitsCatalog.get();
    z.session->openWizard();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(z.wizard.get()));
    z.session->openUnitsCatalog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(catalog));
    QTest::qWait(300);
    ASSERT_TRUE(managed(main) && managed(z.wizard.get()) && managed(catalog));
    main->raise();
    activate(main);
    QTest::qWait(300);

    struct Seen {
        QList<quint64> order;
        quint64 dialog = 0;
    };
    auto look = [](Seen& seen) {
        QWidget* m = QApplication::activeModalWidget();
        ASSERT_TRUE(m);
        // Long enough for the window manager to have placed it.
        if (managed(m))
            QTest::qWait(300);
        seen.order = zf::test::screenStacking();
        seen.dialog = m->winId();
        static_cast<QDialog*>(m)->reject();
    };
    const std::vector<std::pair<const char*, std::function<void()>>> dialogs = {
        {"message box",
         [&] {
             port.messageBox(QStringLiteral("Do you want to save changes?"), QStringLiteral("Zefrant"),
                             MbWarningYesNoCancel);
         }},
        {"About box", [&] { z.mainWindow->execute(QStringLiteral("acAbout")); }},
        {"report's output options", [&] { z.mainWindow->execute(QStringLiteral("acPrint")); }},
    };
    for (const auto& [name, open] : dialogs) {
        SCOPED_TRACE(name);
        main->raise();
        activate(main);
        Seen seen;
        QTimer::singleShot(0, [&] { look(seen); });
        open();
        const qsizetype at = seen.order.indexOf(seen.dialog);
        ASSERT_GE(at, 0) << "the dialog was not on the screen";
        for (QWidget* w : {main, static_cast<QWidget*>(z.wizard.get()), catalog})
            EXPECT_LT(seen.order.indexOf(w->winId()), at) << w->objectName().toStdString() << " lies over it";
        EXPECT_LT(seen.order.indexOf(main->winId()), seen.order.indexOf(catalog->winId()))
            << "the catalog went under the main window";
        QTest::qWait(100);
    }
    SessionProbe(*z.session).files().CloseProject(true);
}

// With the wizard active, the Edit menu acts on the wizard's field, also after
// the click on the menu bar took the focus; what it changes is written as
// leaving the field would, and the user goes on in the wizard.
TEST_F(ShellTest, EditMenuActsOnTheWizardsFieldAfterTheMenuBarTookTheFocus) {
    Zefrant z;
    ASSERT_TRUE(z.start({projectCopy(QStringLiteral("edit.zfp"))}, options()));
    TfrmZMain& w = *z.mainWindow;
    QWidget* wizard = z.wizard.get();
    z.session->openWizard(QStringLiteral("tsUvodniText"));
    activate(wizard);
    auto* name = wizard->findChild<QLineEdit*>(QStringLiteral("DBEd_ProjectName"));
    ASSERT_TRUE(name);
    name->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != name)
        GTEST_SKIP() << "the platform gives no focus";
    QTest::keyClicks(name, QStringLiteral("Hall 12"));
    name->selectAll();

    QCursor::setPos(w.mapToGlobal(w.menuBar()->geometry().center()));
    activate(&w);
    ASSERT_NE(QApplication::focusWidget(), name) << "the menu bar's window took the focus";
    EXPECT_EQ(w.editTarget(), name);
    w.updateActions();
    EXPECT_TRUE(w.action(QStringLiteral("acEditCopy"))->isEnabled()) << "not grey";
    w.action(QStringLiteral("acEditCopy"))->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Hall 12"));
    EXPECT_EQ(SessionProbe(*z.session).data().tADOProject.asString(QStringLiteral("ProjectName_text")),
              QStringLiteral("Hall 12"))
        << "leaving the wizard wrote the field";

    QApplication::clipboard()->setText(QStringLiteral("Hall 13"));
    activate(&w);
    w.action(QStringLiteral("acEditSelectAll"))->trigger();
    activate(&w);
    w.updateActions();
    ASSERT_TRUE(w.action(QStringLiteral("acEditPaste"))->isEnabled());
    w.action(QStringLiteral("acEditPaste"))->trigger();
    QApplication::processEvents();
    EXPECT_EQ(name->text(), QStringLiteral("Hall 13"));
    EXPECT_EQ(SessionProbe(*z.session).data().tADOProject.asString(QStringLiteral("ProjectName_text")),
              QStringLiteral("Hall 13"))
        << "the paste is written as leaving the field writes it";
    EXPECT_EQ(QApplication::activeWindow(), wizard) << "the user goes on in the wizard";
    Modified = false;
    SessionProbe(*z.session).files().CloseProject(true);
}

// The main window's keys work in the wizard with the rules of the command
// table: Ctrl+S writes what is being typed and saves, Ctrl+O opens.
TEST_F(ShellTest, TheShortcutsWorkInTheWizard) {
    const QString file = projectCopy(QStringLiteral("keys.zfp"));
    const QString other = projectCopy(QStringLiteral("other.zfp"));
    Zefrant z;
    ASSERT_TRUE(z.start({file}, options()));
    TfrmZMain& w = *z.mainWindow;
    QWidget* wizard = z.wizard.get();
    for (const char* name : {"acFileOpen", "acFileSave", "acPrint"})
        EXPECT_TRUE(w.action(QLatin1String(name))->associatedObjects().contains(wizard)) << name;
    EXPECT_TRUE(wizard->findChild<QShortcut*>(QStringLiteral("acKatalogBrisantShortcut")))
        << "the units catalog's key too";

    z.session->openWizard(QStringLiteral("tsUvodniText"));
    activate(wizard);
    auto* name = wizard->findChild<QLineEdit*>(QStringLiteral("DBEd_ProjectName"));
    ASSERT_TRUE(name);
    name->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != name)
        GTEST_SKIP() << "the platform gives no focus";
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Hall 14"));
    ASSERT_FALSE(Modified) << "typed, not yet written";
    QTest::keyClick(name, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(Modified) << "written and saved";
    EXPECT_EQ(SessionProbe(*z.session).data().tADOProject.asString(QStringLiteral("ProjectName_text")),
              QStringLiteral("Hall 14"));
    QFile f(file), b(file + QStringLiteral(".tmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), b.readAll()) << "the backup holds the saved state";
    EXPECT_EQ(QApplication::focusWidget(), name) << "the typing goes on in the field";

    dlg.openNames = {other};
    QTest::keyClick(name, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(SessionProbe(*z.session).files().CurrentFile, other);
    SessionProbe(*z.session).files().CloseProject(true);
}

// The splash comes back after the first-start language dialog and after a
// message of the start, until the main window shows.
TEST_F(ShellTest, TheSplashComesBackAfterTheDialogsOfTheStart) {
    QFile::remove(settingsFile);
    auto splashShown = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("ZFSplash") && w->isVisible())
                return true;
        return false;
    };
    Zefrant::Options o = options();
    o.dialogs = nullptr; // Qt's own boxes, which clear the way
    bool shownDuringQuestion = true;
    o.askLanguage = [&] {
        shownDuringQuestion = splashShown();
        return BaseRU;
    };
    // The code-page warning after the Russian choice; the splash while the
    // start goes on after it.
    setSystemCodePage(1250);
    bool shownDuringBox = true, boxSeen = false, shownAfter = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxSeen = true;
            shownDuringBox = splashShown();
            m->accept();
        } else if (boxSeen && !shownAfter) {
            shownAfter = splashShown();
        }
    });
    poll.start(0);
    Zefrant z;
    const bool started = z.start({}, o);
    poll.stop();
    setSystemCodePage(0);
    ASSERT_TRUE(started);
    EXPECT_FALSE(shownDuringQuestion);
    ASSERT_TRUE(boxSeen);
    EXPECT_FALSE(shownDuringBox);
    EXPECT_TRUE(shownAfter) << "the splash is back until the main window shows";
    EXPECT_FALSE(splashShown());
    EXPECT_TRUE(z.mainWindow->isVisible());
}

// Hints stay visible 20 s; a checked command with a picture shows its check
// in the picture.
TEST_F(ShellTest, HintsLastTwentySecondsAndCheckedPicturesAreMarked) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    TfrmZMain& w = *z.mainWindow;
    w.show();
    QToolButton* button = nullptr;
    for (QToolButton* b : w.findChildren<QToolBar*>().first()->findChildren<QToolButton*>())
        if (b->defaultAction() == w.action(QStringLiteral("acFileOpen")))
            button = b;
    ASSERT_TRUE(button);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &help);
    EXPECT_EQ(button->toolTipDuration(), 20000);

    emit w.menuBar()->actions().at(3)->menu()->aboutToShow(); // the menus' pictures
    for (const char* name : {"acShowHelp", "acEN", "acCZ"}) {
        const QIcon icon = w.action(QLatin1String(name))->icon();
        ASSERT_FALSE(icon.isNull()) << name;
        const QImage off = icon.pixmap(QSize(16, 16), 2.0, QIcon::Normal, QIcon::Off).toImage();
        const QImage on = icon.pixmap(QSize(16, 16), 2.0, QIcon::Normal, QIcon::On).toImage();
        EXPECT_EQ(on.size(), QSize(32, 32)) << "sharp at 200 %";
        EXPECT_NE(on, off) << name << ": the check is in the picture";
    }
}

// Not a check: pictures of the Edit and Options menus (their pictures, the
// check marks) in every language, for a person to look at. Set ZEFRANT_SHOTS
// to a folder and run under xvfb-run with QT_QPA_PLATFORM=xcb (and
// QT_SCALE_FACTOR=2).
TEST_F(ShellTest, FileExportWritesItsFileOrSaysWhy) {
    Zefrant z;
    ASSERT_TRUE(z.start({}, options()));
    TfrmZMain& w = *z.mainWindow;
    auto* menu = w.findChild<QAction*>(QStringLiteral("acExportMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->menu(), nullptr);
    ASSERT_EQ(menu->menu()->actions().size(), 2);
    EXPECT_EQ(menu->menu()->actions()[0], w.action(QStringLiteral("acExportPlan")));
    EXPECT_EQ(menu->menu()->actions()[1], w.action(QStringLiteral("acExportWorkbook")));
    EXPECT_EQ(menu->text(), QStringLiteral("E&xport"));
    w.updateActions();
    EXPECT_FALSE(menu->isEnabled()) << "no project";
    EXPECT_FALSE(w.action(QStringLiteral("acExportPlan"))->isEnabled());

    ASSERT_EQ(z.session->openFile(projectCopy(QStringLiteral("x.zfp"))), ResultOk);
    w.updateActions();
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_TRUE(w.action(QStringLiteral("acExportWorkbook"))->isEnabled());
    const QString book = dir.filePath(QStringLiteral("x.xlsx"));
    dlg.saveNames = {book};
    w.action(QStringLiteral("acExportWorkbook"))->trigger();
    ASSERT_EQ(dlg.saveDialogs.size(), 1u);
    EXPECT_EQ(dlg.saveDialogs[0].title, LanguageText(3553));
    EXPECT_TRUE(QFile::exists(book));
    EXPECT_TRUE(dlg.boxes.empty());

    // A folder that is not there: the program's message, no file.
    const QString gone = dir.filePath(QStringLiteral("gone/x.dxf"));
    dlg.saveNames = {gone};
    w.action(QStringLiteral("acExportPlan"))->trigger();
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_FALSE(QFile::exists(gone));
    SessionProbe(*z.session).files().CloseProject(true);
    // The access keys of the File menu stay distinct in every language.
    for (const int base : {BaseCZ, BaseEN, BaseGE, BasePL, BaseRU}) {
        QStringList keys;
        for (const QString& c : mainMenu()[0].items) {
            const QString name = c.startsWith(QLatin1Char('>')) ? c.mid(1) : c;
            if (name == QLatin1String("-"))
                continue;
            const QString t = LanguageTextIn(base, findCommand(name)->textId);
            const qsizetype amp = t.indexOf(QLatin1Char('&'));
            ASSERT_GE(amp, 0) << qPrintable(name);
            const QString key = t.mid(amp + 1, 1).toLower();
            EXPECT_FALSE(keys.contains(key)) << base << " " << qPrintable(t);
            keys << key;
        }
    }
}

TEST_F(ShellTest, MenusLook) {
    const QString out = qEnvironmentVariable("ZEFRANT_SHOTS");
    if (out.isEmpty())
        GTEST_SKIP() << "set ZEFRANT_SHOTS to a folder to grab the menus";
    QDir().mkpath(out);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    Zefrant z;
    ASSERT_TRUE(z.start({projectCopy(QStringLiteral("look.zfp"))}, options()));
    TfrmZMain& w = *z.mainWindow;
    auto grab = [&](QMenu* menu, const QString& name) {
        menu->popup(w.mapToGlobal(QPoint(40, 40)));
        QApplication::processEvents();
        QTest::qWait(150);
        menu->grab().save(QStringLiteral("%1/%2-x%3.png").arg(out, name, scale));
        menu->hide();
    };
    const std::pair<const char*, const char*> languages[] = {
        {"acCZ", "CZ"}, {"acEN", "EN"}, {"acGE", "GE"}, {"acPL", "PL"}, {"acRU", "RU"}};
    for (const auto& [command, code] : languages) {
        w.action(QLatin1String(command))->trigger();
        const QString c = QLatin1String(code);
        const QList<QAction*> menus = w.menuBar()->actions();
        z.session->openWizard(QStringLiteral("tsUvodniText"));
        activate(z.wizard.get());
        if (auto* name = z.wizard->findChild<QLineEdit*>(QStringLiteral("DBEd_ProjectName"))) {
            name->setFocus();
            name->selectAll();
        }
        QCursor::setPos(w.mapToGlobal(w.menuBar()->geometry().center()));
        activate(&w);
        w.updateActions();
        grab(menus.at(1)->menu(), QStringLiteral("menu-edit-") + c);
        SessionProbe(*z.session).wizard().hide();
        w.updateActions();
        grab(menus.at(0)->menu(), QStringLiteral("menu-file-") + c);
        for (QAction* a : menus.at(0)->menu()->actions())
            if (a->menu())
                grab(a->menu(), QStringLiteral("menu-export-") + c);
        for (const bool help : {false, true}) {
            z.session->setHelpDisplay(help);
            w.updateActions();
            grab(menus.at(3)->menu(), QStringLiteral("menu-options-help%1-").arg(int(help)) + c);
        }
        for (QAction* a : menus.at(3)->menu()->actions())
            if (a->menu())
                grab(a->menu(), QStringLiteral("menu-language-") + c);
    }
    w.action(QStringLiteral("acEN"))->trigger();
    SessionProbe(*z.session).files().CloseProject(true);
}

int main(int argc, char** argv) {
    // Offscreen, unless a screen is given (tests/ui/under_wm.sh).
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "startup.h"

#include "common/globals.h"
#include "helphints.h"
#include "i18n/language.h"
#include "langsel.h"
#include "qttranslations.h"

#include <QApplication>
#include <QFileInfo>

namespace zf {

Zefrant::Zefrant() = default;

Zefrant::~Zefrant() {
    finish();
    // The windows go before the session they view.
    projectWindows.reset();
    objProp.reset();
    newElement.reset();
    elementsCatalog.reset();
    unitsCatalog.reset();
    about.reset();
    wizard.reset();
    mainWindow.reset();
    session.reset();
    setDialogs(nullptr);
}

bool Zefrant::start(const QStringList& args, const Options& options) {
    initProgramPaths(options.appFolder);
    // 1. The splash, painted at once.
    auto splash = std::make_unique<ZFSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    // 2. The application. No dialog of the start may hide behind the splash.
    dialogs = std::make_unique<QtDialogs>();
    dialogs->hideBeforeDialogs(splash.get());
    setDialogs(options.dialogs ? options.dialogs : dialogs.get());
    translations = std::make_unique<QtTranslations>();
    splash->step();
    // 3. The main window: paths, settings (the language dialog on the first
    // start), the project state.
    Modified = false;
    settings = std::make_unique<UserSettings>(options.settingsFile);
    settings->read([&] {
        // The first-start question comes over everything: the splash goes, and
        // comes back after it until the main window shows.
        splash->hide();
        const int base = options.askLanguage ? options.askLanguage() : TfrmLangSel::ask();
        splash->show();
        splash->raise();
        splash->repaint();
        return base;
    });
    LanguageBase = settings->languageBase;
    setLanguage(LanguageBase);
    session = std::make_unique<ProjectSession>();
    session->setSettings(settings.get());
    // The language chosen at the first start is kept at once, so that a second
    // instance does not ask again.
    if (settings->askedLanguage || settings->migrated)
        session->writeSettings();
    mainWindow = std::make_unique<TfrmZMain>(*session);
    dialogs->setParent(mainWindow.get());
    created << QStringLiteral("TfrmZMain");
    splash->step();
    // 4. The data module opens the reference database.
    const bool ok = session->start();
    splash->step();
    // 5. It could not: the program ends.
    if (!ok) {
        splash->hide();
        splashProgress = splash->progress();
        return false;
    }
    created << QStringLiteral("TZFData");
    // 6. The input wizard, the units catalog, the unit properties, the structural
    // elements catalog and its new-element dialog, with a step after each.
    wizard = std::make_unique<TfrmZInput>(*session, mainWindow->helpHints(), mainWindow.get());
    mainWindow->shareShortcuts(wizard.get());
    created << QStringLiteral("TfrmZInput");
    splash->step();
    // --- the units catalog viewer
    unitsCatalog = std::make_unique<TfrmKatalog>(*session, mainWindow.get());
    created << QStringLiteral("TfrmKatalog");
    splash->step();
    // --- end of the units catalog viewer
    objProp = std::make_unique<TfrmObjProp>(*session, mainWindow.get());
    created << QStringLiteral("TfrmObjProp");
    splash->step();
    // --- the structural elements catalog and its new-element dialog
    elementsCatalog = std::make_unique<TfrmPrvky>(*session, mainWindow.get());
    created << QStringLiteral("TfrmPrvky");
    splash->step();
    newElement = std::make_unique<TfrmPrvekNew>(*session, elementsCatalog.get());
    created << QStringLiteral("TfrmPrvekNew");
    splash->step();
    // --- end of the structural elements catalog
    splash->step();
    splashProgress = splash->progress();
    // 7. The About box.
    about = std::make_unique<TfrmAbout>(session->referencePath(), mainWindow.get());
    mainWindow->setAboutBox(about.get());
    created << QStringLiteral("TfrmAbout");
    // ... and with it the project window; 8. its first page.
    projectWindows = std::make_unique<ProjectWindowHost>(*session, *mainWindow);
    projectWindows->ensureWindow()->pages()->setCurrentIndex(0);
    created << QStringLiteral("TfrmZFDraw");
    // 9. The language, to every window; 10. nothing is modified yet.
    LoadLanguage(LanguageBase);
    Modified = false;
    splash->hide();
    dialogs->hideBeforeDialogs(nullptr);
    mainWindow->showMaximized();
    // 11. A project named on the command line.
    if (!args.isEmpty() && QFileInfo(args.first()).isFile())
        session->openFile(QFileInfo(args.first()).absoluteFilePath());
    // 12.
    mainWindow->updateActions();
    return true;
}

int Zefrant::run() {
    const int rc = QApplication::exec();
    finish();
    return rc;
}

void Zefrant::finish() {
    if (finished_ || !session)
        return;
    finished_ = true;
    session->finish();
}

} // namespace zf

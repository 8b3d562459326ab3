#include "startup.h"

#include "common/globals.h"
#include "i18n/language.h"
#include "langsel.h"

#include <QApplication>
#include <QFileInfo>

namespace zf {

Zefrant::Zefrant() = default;

Zefrant::~Zefrant() {
    finish();
    setDialogs(nullptr);
}

bool Zefrant::start(const QStringList& args, const Options& options) {
    initProgramPaths(options.appFolder);
    // 1. The splash, painted at once.
    auto splash = std::make_unique<ZFSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    // 2. The application.
    dialogs = std::make_unique<QtDialogs>();
    setDialogs(options.dialogs ? options.dialogs : dialogs.get());
    splash->step();
    // 3. The main window: paths, settings (the language dialog on the first
    // start), the project state.
    Modified = false;
    settings = std::make_unique<UserSettings>(options.settingsFile);
    settings->read(options.askLanguage ? options.askLanguage : [] { return TfrmLangSel::ask(); });
    LanguageBase = settings->languageBase;
    data = std::make_unique<TZFData>();
    files = std::make_unique<ProjectFiles>(*data);
    mainWindow = std::make_unique<TfrmZMain>(*data, *files, *settings);
    dialogs->setParent(mainWindow.get());
    created << QStringLiteral("TfrmZMain");
    splash->step();
    // 4. The data module opens the reference database.
    const bool ok = data->startUp();
    splash->step();
    // 5. It could not: the program ends.
    if (!ok) {
        splash->hide();
        splashProgress = splash->progress();
        return false;
    }
    created << QStringLiteral("TZFData");
    // The input wizard's controller; its window comes with it as it arrives.
    wizard = std::make_unique<InputWizard>(*data, *files, project);
    wizard->helpOn = settings->showHints;
    mainWindow->setWizardController(wizard.get());
    // 6. The windows of the later steps are created here as they arrive: the
    // input wizard, the units catalog, the unit properties, the structural
    // elements catalog and its new-element dialog.
    for (int i = 0; i < 5; ++i)
        splash->step();
    splash->step();
    splashProgress = splash->progress();
    // 7. The About box.
    about = std::make_unique<TfrmAbout>(data->ReferencePath, mainWindow.get());
    mainWindow->setAboutBox(about.get());
    created << QStringLiteral("TfrmAbout");
    // 9. The language, to every window; 10. nothing is modified yet.
    LoadLanguage(LanguageBase);
    Modified = false;
    mainWindow->showMaximized();
    // 11. A project named on the command line.
    if (!args.isEmpty() && QFileInfo(args.first()).isFile())
        files->OpenProject(QFileInfo(args.first()).absoluteFilePath());
    // 12.
    splash->hide();
    mainWindow->updateActions();
    return true;
}

int Zefrant::run() {
    const int rc = QApplication::exec();
    finish();
    return rc;
}

void Zefrant::finish() {
    if (finished_ || !files)
        return;
    finished_ = true;
    files->atExit();
}

} // namespace zf

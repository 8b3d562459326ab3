#pragma once

#include "aboutbox.h"
#include "elementscatalogwindow.h"
#include "mainwindow.h"
#include "projectwindow/objprop.h"
#include "projectwindow/projectwindow.h"
#include "qtdialogs.h"
#include "session/projectsession.h"
#include "shell/settings.h"
#include "splash.h"
#include "unitscatalogwindow.h"
#include "wizard/tfrmzinput.h"

#include <functional>
#include <memory>

namespace zf {

class QtTranslations;

// The program from start to exit: the start-up sequence with the splash, the
// windows in their order over one project session, the project named on the
// command line, and the clean-up after the main window has closed.
class Zefrant {
public:
    struct Options {
        QString settingsFile;             // empty: the user's settings
        std::function<int()> askLanguage; // empty: the language dialog
        QString appFolder;                // empty: the executable's folder
        Dialogs* dialogs = nullptr;       // empty: Qt's message boxes and file dialogs
    };

    Zefrant();
    ~Zefrant();

    // Runs the start-up; false when the program must end (the reference database
    // could not be opened: the fatal message has been shown). args are the
    // command-line arguments without the program name.
    bool start(const QStringList& args, const Options& options);
    // The message loop, then the clean-up at exit.
    int run();
    void finish();

    // Observed by the tests: the windows created, in order.
    QStringList created;
    int splashProgress = 0;

    std::unique_ptr<QtDialogs> dialogs;
    std::unique_ptr<UserSettings> settings;
    std::unique_ptr<ProjectSession> session;
    std::unique_ptr<QtTranslations> translations;
    std::unique_ptr<TfrmZMain> mainWindow;
    std::unique_ptr<TfrmZInput> wizard;
    std::unique_ptr<TfrmAbout> about;
    // --- the catalogs: the units catalog viewer, the structural elements catalog
    // and its new-element dialog (a child of the catalog, usable while it is modal).
    std::unique_ptr<TfrmKatalog> unitsCatalog;
    std::unique_ptr<TfrmPrvky> elementsCatalog;
    std::unique_ptr<TfrmPrvekNew> newElement;
    // --- end of the catalogs
    // The unit properties dialog, and the keeper of the project window (which
    // lives in the main window's frame and may be closed and made again).
    std::unique_ptr<TfrmObjProp> objProp;
    std::unique_ptr<ProjectWindowHost> projectWindows;

private:
    bool finished_ = false;
};

} // namespace zf

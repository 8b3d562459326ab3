#pragma once

#include "aboutbox.h"
#include "mainwindow.h"
#include "qtdialogs.h"
#include "session/projectsession.h"
#include "shell/settings.h"
#include "splash.h"
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

private:
    bool finished_ = false;
};

} // namespace zf

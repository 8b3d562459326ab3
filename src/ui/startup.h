#pragma once

#include "aboutbox.h"
#include "mainwindow.h"
#include "qtdialogs.h"
#include "shell/settings.h"
#include "splash.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"
#include "wizard/inputwizard.h"

#include <functional>
#include <memory>

namespace zf {

// The program from start to exit: the start-up sequence with the splash, the
// windows in their order, the project named on the command line, and the
// clean-up after the main window has closed.
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
    std::unique_ptr<TZFData> data;
    std::unique_ptr<ProjectFiles> files;
    std::unique_ptr<UserSettings> settings;
    std::unique_ptr<TfrmZMain> mainWindow;
    std::unique_ptr<TfrmAbout> about;
    TProject project;
    std::unique_ptr<InputWizard> wizard;

private:
    bool finished_ = false;
};

} // namespace zf

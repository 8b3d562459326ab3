#pragma once

#include "building/tproject.h"
#include "clidialogs.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"
#include "wizard/inputwizard.h"

namespace zf {

// What the tool runs on: the data module, the project files, the building and
// the input wizard's controller, wired as the windows wire them.
class CliSession : public ProjectHooks {
public:
    explicit CliSession(CliDialogs& dialogs);
    ~CliSession() override;
    bool start(); // opens the reference database; false after the fatal message

    void loadProjectIntoWizard(bool newProject) override {
        wizard.LoadProjectIntoWizard(newProject);
    }
    void openWizardForNewProject() override {
        wizard.open();
        wizard.closeButtonVisible = false;
    }

    CliDialogs& dialogs;
    TZFData data;
    ProjectFiles files;
    TProject project;
    InputWizard wizard;
};

int commandNewProject(CliSession& s, const QString& file);
int commandInput(CliSession& s, const QString& file, const QString& designJson);

} // namespace zf

#pragma once

#include "storage/projectlock.h"
#include "storage/zfdata.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace zf {

// The steps around the project file operations that belong to other parts of
// the program (the wizard, the plan, the windows). The project session
// implements them; every member does nothing by default, so the file
// operations also run on their own.
class ProjectHooks {
public:
    virtual ~ProjectHooks() = default;
    virtual void hideWizard() {}
    virtual void showStartPanel() {}
    virtual void hideProjectWindow() {}
    virtual void setMainCaption(const QString&) {}
    virtual void setApplicationTitle(const QString&) {}
    virtual void setProjectWindowCaption(const QString&) {} // when the project window exists
    virtual void loadProjectIntoWizard(bool /*newProject*/) {}
    // Shows the opened project: project window, plan, coverage, summary, focus.
    virtual void showProject() {}
    // Writes the plan into tJednotky when it changed.
    virtual void storePlanIfChanged() {}
    // New: hide the wizard's close button, open it as the Input command does and
    // put the focus on the project name.
    virtual void openWizardForNewProject() {}
    virtual void writeSettings() {}
};

// The life of the one open project: New, Open, Save, Save As, Close, the backup
// copy that holds the last saved state, and the temporary files of a run.
class ProjectFiles {
public:
    explicit ProjectFiles(TZFData& data, ProjectHooks* hooks = nullptr);
    ~ProjectFiles();
    ProjectFiles(const ProjectFiles&) = delete;
    ProjectFiles& operator=(const ProjectFiles&) = delete;

    void setHooks(ProjectHooks* hooks);

    static bool IsTempProjectFile(const QString& path);
    bool NeedsSavePrompt() const;

    int ConnectProject(const QString& path);
    int OpenProject(const QString& path);
    void PostPendingEdits();
    int SaveProjectAs(const QString& path);
    int SaveProjectAsDialog();
    int AskSaveChanges(bool reopen);
    void RevertFromBackup(bool reopen);
    bool RefreshBackup();
    int CloseProject(bool deleteBackup);
    int CloseProjectAsk(bool reopen);
    void SetProjectTitle(const QString& path);

    // The commands.
    int commandNew();
    int commandOpen();
    int commandSave();
    int commandSaveAs() { return SaveProjectAsDialog(); }
    int commandClose() { return CloseProjectAsk(false); }
    // Closing the main window: false when it stays open.
    bool closeMainWindow();
    // At exit, after the main window has closed.
    void atExit();
    // The input wizard's finish and cancel.
    void wizardFinished();
    void wizardCancelled();

    // Creates the new project (New after the current project was closed).
    int createNewProject();

    QString CurrentFile;
    QString BackupFile;
    QStringList TempFiles;
    QString LastFolder;
    bool NewProject = false;
    QString ApplicationTitle = QStringLiteral("Zefrant");
    QString ProjectTitle;

    // The lock file that keeps other instances off an open project.
    static QString lockFileOf(const QString& path) { return path + QStringLiteral(".lock"); }
    static QString backupFileOf(const QString& path) { return path + QStringLiteral(".tmp"); }

    // What the last open found beside the file: a backup that no running
    // instance owns means the session before ended without closing the project.
    enum class Recovery { None, KeptChanges, ReturnedToSaved };
    Recovery LastRecovery = Recovery::None;

private:
    enum class Backup { Make, Keep };
    int connect(const QString& path, Backup backup);
    int openProject(const QString& path, Backup backup, bool keepModified);
    int reopenKeepingBackup(const QString& path);
    int failOpen(const QString& path, int result, const QString& previousBackup = QString());
    int recoverUnclosed(const QString& path, const QString& backupFile);
    void restoreSavedState(const QString& file, const QString& backup);
    bool sameAsBackup();
    bool deleteIfOurs(const QString& path);
    bool acquireLock(const QString& path);
    void releaseLock();
    ProjectHooks& hooks();

    TZFData& data_;
    ProjectHooks* hooks_;
    std::unique_ptr<ProjectLock> lock_;
    QString lockedPath_;
    // The backup of the open project was left by a session that did not close:
    // it joins the files of this run only once the project is open.
    bool adoptBackup_ = false;
    bool madeBackup_ = false; // the open under way copied the file to its backup
    QString lockProblem_;     // why the lock file could not be made
};

} // namespace zf

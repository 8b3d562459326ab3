#include "storage/projectfiles.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "storage/filecopy.h"
#include "storage/operation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace zf {

namespace {
ProjectHooks noHooks;
const QString caption() {
    return QString::fromLatin1(ProductName);
}
} // namespace

ProjectFiles::ProjectFiles(TZFData& data, ProjectHooks* hooks) : data_(data), hooks_(hooks) {}

ProjectFiles::~ProjectFiles() {
    releaseLock();
}

void ProjectFiles::setHooks(ProjectHooks* hooks) {
    hooks_ = hooks;
}

ProjectHooks& ProjectFiles::hooks() {
    return hooks_ ? *hooks_ : noHooks;
}

bool ProjectFiles::IsTempProjectFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.startsWith(QLatin1Char('~')) && name.toLower().endsWith(QLatin1String(".tmp"));
}

bool ProjectFiles::NeedsSavePrompt() const {
    return Modified || IsTempProjectFile(CurrentFile);
}

// Only files this run created itself (backups and new projects) are ever deleted.
bool ProjectFiles::deleteIfOurs(const QString& path) {
    if (path.isEmpty() || !TempFiles.contains(path))
        return false;
    return QFile::remove(path);
}

bool ProjectFiles::acquireLock(const QString& path) {
    if (lock_ && lockedPath_ == path)
        return true;
    releaseLock();
    auto lock = std::make_unique<ProjectLock>(lockFileOf(path));
    switch (lock->lock()) {
    case ProjectLock::Result::Locked:
        lock_ = std::move(lock);
        lockedPath_ = path;
        return true;
    case ProjectLock::Result::HeldElsewhere:
        LastError =
            lock->detail().isEmpty()
                ? formatText(LanguageText(3040), {QDir::toNativeSeparators(path)})
                : formatText(LanguageText(3041), {QDir::toNativeSeparators(path), lock->detail()});
        return false;
    case ProjectLock::Result::CannotCreate:
        break;
    }
    LastError.clear(); // the caller names the backup that cannot be made either
    lockProblem_ = lock->detail();
    return false;
}

void ProjectFiles::releaseLock() {
    lock_.reset();
    lockedPath_.clear();
}

int ProjectFiles::ConnectProject(const QString& path) {
    return connect(path, Backup::Make);
}

// The backup beside the file holds the last saved state of a session that ended
// without closing the project, and the file what that session left. The user
// chooses which to keep; nothing is deleted before. The command-line tool, which
// has nobody to ask, returns to the last saved state.
int ProjectFiles::recoverUnclosed(const QString& path, const QString& backupFile) {
    const QString question = formatText(LanguageText(5028), {QFileInfo(path).fileName()});
    int answer = ShowMessageBox(question, caption(), MbQuestionYesNo);
    if (!dialogs().interactive())
        answer = IdNo;
    if (answer == IdYes) {
        LastRecovery = Recovery::KeptChanges;
        return ResultOk;
    }
    // A backup that is no project file would take the file's last state with it:
    // then nothing is changed and the user learns why.
    try {
        Database probe;
        Database::OpenOptions o;
        o.readOnly = true;
        o.applicationId = ProjectApplicationId;
        probe.open(backupFile, o);
    } catch (const DbError& e) {
        LastError =
            formatText(LanguageText(3042), {QDir::toNativeSeparators(backupFile), e.message()});
        return ResultInvalidFile;
    }
    // A transaction the session left unfinished is rolled back first: its
    // journal must not be played into the restored file.
    try {
        data_.openProjectConnection(path);
    } catch (const DbError&) {
        // A file that does not open is replaced all the same.
    }
    data_.closeProjectConnection();
    QFile::remove(path + QStringLiteral("-journal"));
    QString err;
    if (!copyFileReplacing(backupFile, path, &err)) {
        LastError =
            QStringLiteral("Cannot write to file (Nelze zapsat do souboru) %1. %2").arg(path, err);
        return ResultNotWritable;
    }
    LastRecovery = Recovery::ReturnedToSaved;
    if (!dialogs().interactive())
        ShowMessageBox(formatText(LanguageText(3043), {QDir::toNativeSeparators(path),
                                                       QDir::toNativeSeparators(backupFile)}),
                       caption(), MbInformation);
    return ResultOk;
}

int ProjectFiles::connect(const QString& path, Backup backup) {
    LastError.clear();
    lockProblem_.clear();
    LastRecovery = Recovery::None;
    adoptBackup_ = false;
    madeBackup_ = false;
    if (!QFileInfo::exists(path) || QFileInfo(path).isDir()) {
        LastError = QStringLiteral("File not found %1.").arg(path);
        return ResultFileNotFound;
    }
    data_.CloseProjectTables();
    data_.closeProjectConnection();
    const QString backupFile = backupFileOf(path);
    // The backup joins the files of this run only once this run has made it (or
    // taken it over with the project): a backup of a project open in another
    // instance is never ours to delete.
    if (!acquireLock(path)) {
        if (LastError.isEmpty()) {
            // The folder does not let us create the lock, so neither the backup.
            LastError = QStringLiteral("Cannot create temporary project file %1. %2")
                            .arg(backupFile, lockProblem_)
                            .trimmed();
            return ResultNoBackup;
        }
        return ResultInvalidFile;
    }
    // Copies to the file or its backup that a killed run left are litter now.
    removeInterruptedCopies(path);
    removeInterruptedCopies(backupFile);
    bool makeBackup = backup == Backup::Make;
    if (makeBackup && QFileInfo(backupFile).isFile() && !TempFiles.contains(backupFile)) {
        const int r = recoverUnclosed(path, backupFile);
        if (r != ResultOk) {
            releaseLock();
            return r;
        }
        // The backup stays the last saved state.
        makeBackup = false;
        adoptBackup_ = true;
    }
    // The connection comes first: opening rolls back a transaction that a crash
    // left in a journal, so the backup below copies a consistent file.
    try {
        data_.openProjectConnection(path);
    } catch (const DbError& e) {
        LastError = e.storage() ? e.message()
                                : QStringLiteral("Invalid project file format. ") + e.message();
        releaseLock();
        return e.storage() ? ResultNotWritable : ResultInvalidFile;
    }
    if (makeBackup) {
        QString err;
        if (!copyFileReplacing(path, backupFile, &err)) {
            LastError =
                QStringLiteral("Cannot create temporary project file %1. %2").arg(backupFile, err);
            data_.closeProjectConnection();
            releaseLock();
            return ResultNoBackup;
        }
        if (!TempFiles.contains(backupFile))
            TempFiles << backupFile;
        madeBackup_ = true;
    }
    if (backup == Backup::Make)
        BackupFile = backupFile;
    return ResultOk;
}

int ProjectFiles::failOpen(const QString& path, int result, const QString& previousBackup) {
    // The project open before is closed with it, and so is its backup; never a
    // backup of the file that failed that this open did not make itself, which
    // may be all that is left of it.
    const QString failedBackup = backupFileOf(path);
    if (BackupFile == failedBackup && !madeBackup_)
        TempFiles.removeAll(failedBackup);
    CloseProject(true);
    if (previousBackup != failedBackup)
        deleteIfOurs(previousBackup);
    releaseLock();
    ShowErrorBox(formatText(LanguageText(5025), {path}), caption(), MbError);
    return result;
}

int ProjectFiles::OpenProject(const QString& path) {
    return openProject(path, Backup::Make, false);
}

int ProjectFiles::openProject(const QString& path, Backup backup, bool keepModified) {
    BusyCursor busy;
    const bool modified = Modified;
    if (!IsTempProjectFile(path))
        LastFolder = withTrailingSlash(QFileInfo(path).absolutePath());
    const QString previousBackup = BackupFile;
    int r = connect(path, backup);
    if (r != ResultOk)
        return failOpen(path, r, previousBackup);
    r = data_.OpenProjectTables();
    if (r != ResultOk)
        return failOpen(path, r, previousBackup);
    if (IsTempProjectFile(CurrentFile) && CurrentFile != path)
        deleteIfOurs(CurrentFile);
    // The backup of the project open before belongs to a file no longer open.
    if (previousBackup != BackupFile)
        deleteIfOurs(previousBackup);
    CurrentFile = path;
    SetProjectTitle(CurrentFile);
    // Loading writes (choices out of their lists are written back, the coverage
    // is recomputed): one transaction, and a file that fails here is refused.
    try {
        Database& db = data_.projectConnection();
        Database::Transaction transaction(db);
        const qint64 changes = db.totalChanges();
        hooks().loadProjectIntoWizard(false);
        data_.tADOProject.refresh();
        data_.tADOProject.first();
        hooks().showProject();
        // The load's steps write values on their way (the geometry of the roof
        // before the skylight's): a load that ends where the file was, as its
        // backup made by this open holds it, writes nothing, so that the file
        // keeps its modification time.
        if (db.totalChanges() != changes && !(madeBackup_ && sameAsBackup()))
            transaction.commit();
    } catch (const DbError& e) {
        LastError = e.storage() ? e.message()
                                : QStringLiteral("Invalid project file format. ") + e.message();
        return failOpen(path, e.storage() ? ResultNotWritable : ResultInvalidFile);
    }
    if (adoptBackup_ && !TempFiles.contains(BackupFile))
        TempFiles << BackupFile;
    // Kept changes of a session that did not close are not saved yet.
    Modified = (keepModified && modified) || LastRecovery == Recovery::KeptChanges;
    return ResultOk;
}

// Whether the open project, as its connection sees it, holds what its backup
// holds.
bool ProjectFiles::sameAsBackup() {
    try {
        Database backup;
        Database::OpenOptions o;
        o.readOnly = true;
        o.applicationId = ProjectApplicationId;
        o.quickCheck = false;
        backup.open(BackupFile, o);
        const QByteArray saved = backup.contentDigest();
        return !saved.isEmpty() && saved == data_.projectConnection().contentDigest();
    } catch (const DbError&) {
        return false;
    }
}

// Opens the project again after a failed save, without touching its backup: the
// backup still holds the last saved state and the edits since stay unsaved.
int ProjectFiles::reopenKeepingBackup(const QString& path) {
    return openProject(path, Backup::Keep, true);
}

void ProjectFiles::PostPendingEdits() {
    hooks().storePlanIfChanged();
    for (Dataset* ds : {&data_.tADOProject, &data_.tJednotky, &data_.tSteny, &data_.tStavOtvory}) {
        if (ds->state() == Dataset::State::Edit || ds->state() == Dataset::State::Insert) {
            try {
                ds->post();
            } catch (const DbError&) {
                // Errors in the posting are ignored.
            }
        }
    }
}

int ProjectFiles::SaveProjectAs(const QString& path) {
    PostPendingEdits();
    data_.CloseProjectTables();
    data_.closeProjectConnection();
    const QString target = QFileInfo(path).absoluteFilePath();
    const bool same = sameFile(CurrentFile, target);
    auto fail = [&](const QString& detail) {
        LastError = detail;
        ShowErrorBox(QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") + target,
                     caption(), MbError);
        reopenKeepingBackup(CurrentFile);
        return int(ResultNotWritable);
    };
    const QString oldBackup = BackupFile;
    const QString oldFile = CurrentFile;
    // The original keeps its lock until it has its last saved state back.
    std::unique_ptr<ProjectLock> originalLock;
    QString originalLocked;
    auto keepOriginal = [&] {
        if (!originalLock)
            return;
        releaseLock();
        lock_ = std::move(originalLock);
        lockedPath_ = originalLocked;
    };
    if (same) {
        const int r = ConnectProject(target);
        if (r != ResultOk) {
            const QString detail = LastError;
            BackupFile = oldBackup;
            return fail(detail);
        }
    } else {
        // Another instance may have the target open: never overwrite it. The lock
        // is held from here on and becomes the open project's.
        auto targetLock = std::make_unique<ProjectLock>(lockFileOf(target));
        switch (targetLock->lock()) {
        case ProjectLock::Result::Locked:
            break;
        case ProjectLock::Result::HeldElsewhere:
            return fail(formatText(LanguageText(3040), {target}));
        case ProjectLock::Result::CannotCreate:
            return fail(formatText(LanguageText(3044),
                                   {QFileInfo(target).absolutePath(), targetLock->detail()}));
        }
        // The target's backup first, then the target: when either copy fails
        // (a full disk) the target is as it was and no copy of ours is left.
        const QString targetBackup = backupFileOf(target);
        const bool hadBackup = QFileInfo::exists(targetBackup);
        QString err;
        if (!copyFileReplacing(CurrentFile, targetBackup, &err))
            return fail(err);
        if (!copyFileReplacing(CurrentFile, target, &err)) {
            if (!hadBackup)
                QFile::remove(targetBackup);
            return fail(err);
        }
        originalLock = std::move(lock_);
        originalLocked = lockedPath_;
        lock_ = std::move(targetLock);
        lockedPath_ = target;
        const int r = connect(target, Backup::Keep);
        if (r != ResultOk) {
            const QString detail = LastError;
            QFile::remove(targetBackup);
            keepOriginal();
            return fail(detail);
        }
        BackupFile = targetBackup;
        if (!TempFiles.contains(BackupFile))
            TempFiles << BackupFile;
    }
    if (data_.OpenProjectTables() != ResultOk) {
        // The saved copy cannot be read back (a failing disk): the project
        // stays the one it was, with the backup of its last saved state.
        const QString detail = LastError;
        data_.CloseProjectTables();
        data_.closeProjectConnection();
        if (BackupFile != oldBackup) {
            QFile::remove(BackupFile);
            TempFiles.removeAll(BackupFile);
            BackupFile = oldBackup;
        }
        keepOriginal();
        return fail(detail);
    }
    // The edits since the last save went with the new file: the original
    // gets its last saved state back from its backup.
    if (!same && !IsTempProjectFile(oldFile))
        restoreSavedState(oldFile, oldBackup);
    originalLock.reset();
    if (oldBackup != BackupFile)
        deleteIfOurs(oldBackup);
    if (IsTempProjectFile(oldFile) && !same)
        deleteIfOurs(oldFile);
    CurrentFile = target;
    return ResultOk;
}

// A file that is no longer open gets the state its backup holds; the backup
// is used up. When that cannot be done, the backup stays (also at exit) and
// the user is told.
void ProjectFiles::restoreSavedState(const QString& file, const QString& backup) {
    if (backup.isEmpty() || !QFileInfo::exists(backup))
        return;
    QString err;
    if (sameContent(backup, file) || renameReplacing(backup, file, &err) ||
        copyFileReplacing(backup, file, &err)) {
        return;
    }
    TempFiles.removeAll(backup);
    LastError = err;
    ShowErrorBox(QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") + file,
                 caption(), MbError);
}

int ProjectFiles::SaveProjectAsDialog() {
    SaveDialogOptions o;
    o.title = LanguageText(125);
    o.filter = LanguageText(126);
    o.defaultSuffix = QStringLiteral("zfp");
    o.initialFolder = LastFolder;
    o.promptOverwrite = true;
    const QString path = dialogs().saveFileName(o);
    if (path.isEmpty())
        return ResultCancelled;
    if (SaveProjectAs(path) != ResultOk)
        return ResultNotWritable;
    CurrentFile = QFileInfo(path).absoluteFilePath();
    SetProjectTitle(CurrentFile);
    return ResultOk;
}

int ProjectFiles::AskSaveChanges(bool reopen) {
    if (CurrentFile.isEmpty())
        return ResultOk;
    const bool temp = IsTempProjectFile(CurrentFile);
    const QString question =
        temp ? LanguageText(5001)
             : formatText(LanguageText(5002), {QFileInfo(CurrentFile).fileName()});
    const int answer = ShowMessageBox(question, caption(), MbWarningYesNoCancel);
    if (answer == IdYes)
        return temp ? SaveProjectAsDialog() : SaveProjectAs(CurrentFile);
    if (answer == IdNo) {
        RevertFromBackup(reopen);
        return ResultOk;
    }
    return ResultCancelled;
}

void ProjectFiles::RevertFromBackup(bool reopen) {
    if (BackupFile.isEmpty())
        return;
    if (!QFileInfo::exists(BackupFile)) {
        ShowMessageBox(QStringLiteral("Backup file name not found (") + BackupFile +
                           QStringLiteral(")"),
                       caption(), MbError);
        return;
    }
    const QString file = CurrentFile;
    CloseProject(false);
    // Discarding a new project: its file is gone with the close, there is nothing
    // to restore it for. A file that holds its saved state already is left as
    // it is, with its modification time.
    const bool discardNew = !reopen && IsTempProjectFile(file) && TempFiles.contains(file);
    const bool restore = !discardNew && !sameContent(BackupFile, file);
    QString err;
    // A backup that goes anyway is moved back: that needs no free space, so a
    // full disk cannot keep the file from its saved state.
    const bool moved = restore && !reopen && TempFiles.contains(BackupFile) &&
                       renameReplacing(BackupFile, file, &err);
    if (restore && !moved && !copyFileReplacing(BackupFile, file, &err)) {
        // The backup is all that holds the saved state: keep it, also at exit.
        LastError = err;
        ShowErrorBox(QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") + file,
                     caption(), MbError);
        TempFiles.removeAll(BackupFile);
        CurrentFile.clear();
        BackupFile.clear();
        releaseLock();
        return;
    }
    CurrentFile.clear();
    if (reopen) {
        // The backup and the file are now the same: the backup stays as it is.
        openProject(file, Backup::Keep, false);
        return;
    }
    deleteIfOurs(BackupFile);
    BackupFile.clear();
    releaseLock();
}

bool ProjectFiles::RefreshBackup() {
    if (CurrentFile.isEmpty() || BackupFile.isEmpty())
        return false;
    // Between operations no transaction is open and no journal exists, so a copy
    // of the file is a consistent database.
    QString err;
    if (data_.projectConnection().inTransaction() ||
        !copyFileReplacing(CurrentFile, BackupFile, &err)) {
        LastError = err.isEmpty() ? QStringLiteral("A transaction is still open.") : err;
        ShowErrorBox(
            formatText(QStringLiteral("Cannot create temporary project file %s."), {BackupFile}),
            caption(), MbError);
        return false;
    }
    return true;
}

int ProjectFiles::CloseProject(bool deleteBackup) {
    hooks().hideWizard();
    hooks().showStartPanel();
    dialogs().processEvents();
    data_.CloseProjectTables();
    data_.closeProjectConnection();
    if (IsTempProjectFile(CurrentFile))
        deleteIfOurs(CurrentFile);
    // Without a project nothing is left unsaved.
    Modified = false;
    hooks().setMainCaption(caption());
    hooks().hideProjectWindow();
    SetProjectTitle(QString());
    if (deleteBackup) {
        deleteIfOurs(BackupFile);
        CurrentFile.clear();
        BackupFile.clear();
        releaseLock();
    }
    return ResultOk;
}

int ProjectFiles::CloseProjectAsk(bool reopen) {
    if (NeedsSavePrompt()) {
        const int r = AskSaveChanges(reopen);
        // A failed save stops the close as a cancel does: nothing is lost.
        if (r == ResultCancelled || r == ResultNotWritable)
            return r;
    }
    CloseProject(true);
    return ResultOk;
}

void ProjectFiles::SetProjectTitle(const QString& path) {
    const QString text =
        path.isEmpty() ? QString() : (IsTempProjectFile(path) ? QStringLiteral("Unsaved") : path);
    ProjectTitle = text;
    hooks().setProjectWindowCaption(text);
    ApplicationTitle =
        text.isEmpty() ? caption() : caption() + QStringLiteral(" - ") + QFileInfo(text).fileName();
    hooks().setApplicationTitle(ApplicationTitle);
}

int ProjectFiles::commandNew() {
    const int r = CloseProjectAsk(false);
    if (r == ResultCancelled || r == ResultNotWritable)
        return r;
    return createNewProject();
}

int ProjectFiles::commandOpen() {
    const QString path = dialogs().openFileName(LanguageText(123), LanguageText(124), LastFolder);
    if (path.isEmpty())
        return ResultCancelled;
    if (NeedsSavePrompt()) {
        const int r = AskSaveChanges(false);
        if (r == ResultCancelled || r == ResultNotWritable)
            return r;
    }
    return OpenProject(QFileInfo(path).absoluteFilePath());
}

int ProjectFiles::commandSave() {
    if (!data_.projectConnected())
        return ResultOk; // no project, nothing to save
    int r = ResultOk;
    if (CurrentFile.isEmpty() || IsTempProjectFile(CurrentFile)) {
        r = SaveProjectAsDialog();
    } else {
        PostPendingEdits();
        Modified = false;
    }
    if (r != ResultOk)
        return r;
    if (!RefreshBackup()) {
        Modified = true; // the last saved state did not change
        return ResultNotWritable;
    }
    return ResultOk;
}

bool ProjectFiles::closeMainWindow() {
    if (NeedsSavePrompt()) {
        const int r = AskSaveChanges(false);
        if (r == ResultCancelled || r == ResultNotWritable)
            return false;
    }
    CloseProject(true);
    return true;
}

void ProjectFiles::atExit() {
    if (IsTempProjectFile(CurrentFile))
        deleteIfOurs(CurrentFile);
    hooks().writeSettings();
    data_.CloseProjectTables();
    data_.closeProjectConnection();
    for (const QString& f : TempFiles)
        QFile::remove(f);
    releaseLock();
}

void ProjectFiles::wizardFinished() {
    if (NewProject)
        RefreshBackup();
}

void ProjectFiles::wizardCancelled() {
    if (NewProject) {
        Modified = false;
        CloseProjectAsk(true);
    } else if (Modified) {
        RevertFromBackup(true);
    }
}

int ProjectFiles::createNewProject() {
    BusyCursor busy;
    CurrentFile.clear();
    // A unique name in the temporary folder: "~ze", a unique part, ".tmp".
    QString name;
    {
        QTemporaryFile tmp(TempPath + QStringLiteral("~zeXXXXXX.tmp"));
        tmp.setAutoRemove(false);
        if (!tmp.open()) {
            LastError = QStringLiteral("%1: %2").arg(TempPath, tmp.errorString());
            ShowErrorBox(formatText(LanguageText(5025), {TempPath}), caption(), MbError);
            return ResultNotWritable;
        }
        name = QFileInfo(tmp.fileName()).absoluteFilePath();
    }
    if (!name.toLower().endsWith(QLatin1String(".tmp")))
        name += QStringLiteral(".tmp");
    CurrentFile = name;
    TempFiles << name;
    QFile::remove(name);
    if (!QFileInfo::exists(TemplatePath)) {
        LastError = QStringLiteral("File not found %1.").arg(TemplatePath);
        CurrentFile.clear();
        ShowErrorBox(formatText(LanguageText(5025), {TemplatePath}), caption(), MbError);
        return ResultFileNotFound;
    }
    QString err;
    if (!copyFileReplacing(TemplatePath, name, &err)) {
        LastError = err;
        CurrentFile.clear();
        // The failing side is named: the template that cannot be read, or the
        // new file that cannot be written.
        ShowErrorBox(err.startsWith(TemplatePath)
                         ? formatText(LanguageText(5025), {TemplatePath})
                         : QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") + name,
                     caption(), MbError);
        return ResultNotWritable;
    }
    int r = ConnectProject(name);
    if (r == ResultOk)
        r = data_.OpenProjectTables();
    if (r != ResultOk)
        return failOpen(name, r);
    try {
        Database::Transaction transaction(data_.projectConnection());
        data_.ClearTable(data_.tADOProject);
        data_.tADOProject.append();
        data_.tADOProject.post();
        hooks().loadProjectIntoWizard(true);
        data_.tADOProject.refresh();
        data_.tADOProject.first();
        transaction.commit();
    } catch (const DbError& e) {
        LastError = e.message();
        return failOpen(name, ResultNotWritable);
    }
    RefreshBackup();
    data_.tADOProject.first();
    hooks().openWizardForNewProject();
    SetProjectTitle(QStringLiteral("Unsaved"));
    NewProject = true;
    return ResultOk;
}

} // namespace zf

// The life of a project file: New, Open, Save, Save As, Close, the backup copy
// and the temporary files, with real files in temporary folders.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "storage/filecopy.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <sys/wait.h>
#include <unistd.h>

using namespace zf;
using namespace zf::test;

namespace {

class LifecycleTest : public StorageTest {
protected:
    QString newNamed(const QString& name) {
        const QString f = copyTemplate(name);
        EXPECT_EQ(files->OpenProject(f), ResultOk)
            << (dlg.boxes.empty() ? "" : qPrintable(dlg.last().text));
        return f;
    }
    void editProjectName(const QString& text) {
        data->tADOProject.setValue(QStringLiteral("ProjectName_text"), text);
        data->tADOProject.post();
    }
    QString projectName() { return data->tADOProject.asString(QStringLiteral("ProjectName_text")); }
};

} // namespace

TEST_F(LifecycleTest, NewThenClose) {
    ASSERT_EQ(files->commandNew(), ResultOk);
    const QString temp = files->CurrentFile;
    EXPECT_TRUE(ProjectFiles::IsTempProjectFile(temp));
    EXPECT_TRUE(temp.startsWith(TempPath + QStringLiteral("~ze")));
    EXPECT_TRUE(QFileInfo::exists(temp));
    EXPECT_TRUE(files->NewProject);
    EXPECT_EQ(files->ApplicationTitle, QStringLiteral("Zefrant - Unsaved"));
    EXPECT_EQ(data->tADOProject.recordCount(), 1);

    dlg.answers = {IdCancel};
    EXPECT_EQ(files->commandClose(), ResultCancelled);
    EXPECT_EQ(dlg.last().text, QStringLiteral("Do you want to save changes?"));
    EXPECT_EQ(dlg.last().flags, MbWarningYesNoCancel);
    EXPECT_EQ(files->CurrentFile, temp) << "Cancel keeps it open";
    EXPECT_TRUE(data->projectConnected());

    dlg.answers = {IdNo};
    EXPECT_EQ(files->commandClose(), ResultOk);
    EXPECT_TRUE(files->CurrentFile.isEmpty());
    EXPECT_FALSE(data->projectConnected());
    EXPECT_EQ(files->ApplicationTitle, QStringLiteral("Zefrant"));
    files->atExit();
    EXPECT_TRUE(QDir(TempPath).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << qPrintable(QDir(TempPath).entryList(QDir::Files | QDir::Hidden).join(QLatin1Char(' ')));
}

TEST_F(LifecycleTest, NewSavedAsNamedProject) {
    ASSERT_EQ(files->commandNew(), ResultOk);
    const QString temp = files->CurrentFile;
    editProjectName(QStringLiteral("Hall 7"));
    const QString target = work.filePath(QStringLiteral("hall7.zfp"));
    dlg.saveNames = {target};
    EXPECT_EQ(files->commandSave(), ResultOk);
    ASSERT_EQ(dlg.saveDialogs.size(), 1u);
    EXPECT_EQ(dlg.saveDialogs[0].title, QStringLiteral("Save project Zefrant as"));
    EXPECT_EQ(dlg.saveDialogs[0].defaultSuffix, QStringLiteral("zfp"));
    EXPECT_EQ(files->CurrentFile, target);
    EXPECT_EQ(files->ApplicationTitle, QStringLiteral("Zefrant - hall7.zfp"));
    EXPECT_FALSE(QFileInfo::exists(temp)) << "the temporary file is gone";
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral(".tmp")));
    EXPECT_EQ(readAll(target), readAll(target + QStringLiteral(".tmp")))
        << "the backup holds the saved state";
    EXPECT_EQ(projectName(), QStringLiteral("Hall 7"));

    // Save As leaves the project modified: closing asks again and No keeps the
    // saved state.
    EXPECT_TRUE(Modified);
    dlg.answers = {IdNo};
    EXPECT_EQ(files->commandClose(), ResultOk);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("Do you want to save changes in the file hall7.zfp?"));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral(".tmp")));
    ASSERT_EQ(files->OpenProject(target), ResultOk);
    EXPECT_EQ(projectName(), QStringLiteral("Hall 7"));
    EXPECT_FALSE(Modified);
}

TEST_F(LifecycleTest, OpenMakesABackupAndNoOnCloseRestoresTheFileExactly) {
    const QString f = newNamed(QStringLiteral("a.zfp"));
    const QString backup = f + QStringLiteral(".tmp");
    EXPECT_TRUE(QFileInfo::exists(backup));
    EXPECT_EQ(files->ApplicationTitle, QStringLiteral("Zefrant - a.zfp"));
    EXPECT_EQ(files->LastFolder, withTrailingSlash(work.path()));
    EXPECT_FALSE(Modified);
    const QByteArray saved = readAll(f);

    editProjectName(QStringLiteral("changed"));
    data->tSteny.appendRecord({QVariant(), 1, QStringLiteral("hA"), 1});
    EXPECT_TRUE(Modified);
    EXPECT_NE(readAll(f), saved) << "edits land in the file at once";
    dlg.answers = {IdNo};
    EXPECT_EQ(files->commandClose(), ResultOk);
    EXPECT_EQ(readAll(f), saved) << "byte-identical to the last saved state";
    EXPECT_FALSE(QFileInfo::exists(backup));
}

TEST_F(LifecycleTest, SaveMakesTheCurrentStateTheSavedOne) {
    const QString f = newNamed(QStringLiteral("s.zfp"));
    editProjectName(QStringLiteral("first"));
    EXPECT_EQ(files->commandSave(), ResultOk);
    EXPECT_FALSE(Modified);
    EXPECT_EQ(readAll(f), readAll(f + QStringLiteral(".tmp")));
    editProjectName(QStringLiteral("second"));
    dlg.answers = {IdNo};
    files->commandClose();
    ASSERT_EQ(files->OpenProject(f), ResultOk);
    EXPECT_EQ(projectName(), QStringLiteral("first"));

    editProjectName(QStringLiteral("third"));
    dlg.answers = {IdYes};
    EXPECT_EQ(files->commandClose(), ResultOk);
    ASSERT_EQ(files->OpenProject(f), ResultOk);
    EXPECT_EQ(projectName(), QStringLiteral("third")) << "Yes on Close saves";
}

TEST_F(LifecycleTest, SaveAsOntoTheOpenFile) {
    const QString f = newNamed(QStringLiteral("Hall.zfp"));
    editProjectName(QStringLiteral("x"));
    const QString identity = fileIdentity(f);
    EXPECT_EQ(files->SaveProjectAs(f), ResultOk);
    EXPECT_EQ(fileIdentity(f), identity) << "nothing was copied over the open file";
    EXPECT_TRUE(data->projectConnected());
    EXPECT_EQ(projectName(), QStringLiteral("x"));
    EXPECT_EQ(readAll(f), readAll(f + QStringLiteral(".tmp")));

    // Another letter case names another file on this file system: it gets a copy
    // and the original stays as it was.
    const QString other = work.filePath(QStringLiteral("hall.zfp"));
    const QByteArray before = readAll(f);
    EXPECT_EQ(files->SaveProjectAs(other), ResultOk);
    EXPECT_EQ(files->CurrentFile, other);
    EXPECT_EQ(readAll(f), before);
    EXPECT_TRUE(QFileInfo::exists(other));
    EXPECT_FALSE(QFileInfo::exists(f + QStringLiteral(".tmp")))
        << "the old backup went with the old name";

    // A second name of the same file (a link) is the open file itself.
    const QString link = work.filePath(QStringLiteral("link.zfp"));
    ASSERT_EQ(::link(QFile::encodeName(other).constData(), QFile::encodeName(link).constData()), 0);
    const QString id2 = fileIdentity(other);
    EXPECT_EQ(files->SaveProjectAs(link), ResultOk);
    EXPECT_EQ(fileIdentity(other), id2);
}

TEST_F(LifecycleTest, OpenFailures) {
    // Missing file.
    const QString missing = work.filePath(QStringLiteral("missing.zfp"));
    EXPECT_EQ(files->OpenProject(missing), ResultFileNotFound);
    EXPECT_EQ(
        dlg.last().text,
        QStringLiteral("Error while opening the file %1.\n\n#Error message: File not found %1.")
            .arg(missing));
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_TRUE(files->CurrentFile.isEmpty());

    // Not a database: nothing is deleted or overwritten.
    const QString text = work.filePath(QStringLiteral("letter.zfp"));
    {
        QFile t(text);
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write("Dear customer, this is no project.\n");
    }
    const QByteArray content = readAll(text);
    EXPECT_EQ(files->OpenProject(text), ResultInvalidFile);
    EXPECT_TRUE(dlg.last().text.startsWith(
        QStringLiteral("Error while opening the file %1.\n\n#Error message: "
                       "Invalid project file format. ")
            .arg(text)))
        << qPrintable(dlg.last().text);
    EXPECT_TRUE(dlg.last().text.contains(QLatin1String("not a database")));
    EXPECT_EQ(readAll(text), content);
    EXPECT_FALSE(QFileInfo::exists(text + QStringLiteral(".tmp")));
    EXPECT_FALSE(QFileInfo::exists(ProjectFiles::lockFileOf(text)));
    EXPECT_TRUE(LastError.isEmpty());

    // A project with a trigger is refused and its trigger never runs.
    const QString trig = copyTemplate(QStringLiteral("trig.zfp"));
    sql(trig, QStringLiteral("CREATE TABLE log (x LONG); CREATE TRIGGER t AFTER UPDATE ON tRozmery "
                             "BEGIN INSERT INTO log VALUES (1); END;"));
    const QByteArray trigContent = readAll(trig);
    EXPECT_EQ(files->OpenProject(trig), ResultInvalidFile);
    EXPECT_EQ(readAll(trig), trigContent);

    // A failed open closes the project that was open before.
    newNamed(QStringLiteral("before.zfp"));
    EXPECT_EQ(files->OpenProject(missing), ResultFileNotFound);
    EXPECT_TRUE(files->CurrentFile.isEmpty());
    EXPECT_FALSE(data->projectConnected());
    EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("before.zfp.tmp"))));
}

TEST_F(LifecycleTest, ReadOnlyFolderCannotHoldTheBackup) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString dir = work.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString f = dir + QStringLiteral("/p.zfp");
    ASSERT_TRUE(QFile::copy(TemplatePath, f));
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(files->OpenProject(f), ResultNoBackup);
    EXPECT_TRUE(dlg.last().text.startsWith(
        QStringLiteral("Error while opening the file %1.\n\n#Error message: "
                       "Cannot create temporary project file %1.tmp. ")
            .arg(f)))
        << qPrintable(dlg.last().text);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(LifecycleTest, ConnectRefusesAFolderItCannotWrite) {
    // As root the permission bits do not stop us; a folder that is a file does.
    const QString f = copyTemplate(QStringLiteral("b.zfp"));
    ASSERT_TRUE(QDir().mkpath(f + QStringLiteral(".tmp")));
    EXPECT_EQ(files->ConnectProject(f), ResultNoBackup);
    EXPECT_EQ(LastError,
              QStringLiteral("Cannot create temporary project file %1.tmp. %1.tmp: Is a directory")
                  .arg(f));
    EXPECT_FALSE(data->projectConnected());
}

TEST_F(LifecycleTest, TemporaryFileRules) {
    // A user's own file that looks like a new project's temporary file.
    const QString mine = copyTemplate(QStringLiteral("~mine.TMP"));
    files->LastFolder = QStringLiteral("/somewhere/");
    ASSERT_EQ(files->OpenProject(mine), ResultOk);
    EXPECT_EQ(files->ApplicationTitle, QStringLiteral("Zefrant - Unsaved"));
    EXPECT_EQ(files->LastFolder, QStringLiteral("/somewhere/")) << "LastFolder unchanged";
    EXPECT_TRUE(files->NeedsSavePrompt());
    dlg.answers = {IdNo};
    EXPECT_EQ(files->commandClose(), ResultOk);
    files->atExit();
    EXPECT_TRUE(QFileInfo::exists(mine)) << "a file the program did not create is never deleted";
    EXPECT_FALSE(QFileInfo::exists(mine + QStringLiteral(".tmp")));

    EXPECT_TRUE(ProjectFiles::IsTempProjectFile(QStringLiteral("/x/~a.tmp")));
    EXPECT_TRUE(ProjectFiles::IsTempProjectFile(QStringLiteral("~ZE1.TmP")));
    EXPECT_FALSE(ProjectFiles::IsTempProjectFile(QStringLiteral("/x/a~.tmp")));
    EXPECT_FALSE(ProjectFiles::IsTempProjectFile(QStringLiteral("/x/~a.zfp")));
    EXPECT_FALSE(ProjectFiles::IsTempProjectFile(QString()));
}

TEST_F(LifecycleTest, OpeningAnotherProjectDropsTheTemporaryFileAndOldBackup) {
    const QString a = newNamed(QStringLiteral("a.zfp"));
    const QString b = copyTemplate(QStringLiteral("b.zfp"));
    ASSERT_EQ(files->OpenProject(b), ResultOk);
    EXPECT_FALSE(QFileInfo::exists(a + QStringLiteral(".tmp")));
    EXPECT_FALSE(QFileInfo::exists(ProjectFiles::lockFileOf(a)));

    ASSERT_EQ(files->commandNew(), ResultOk);
    const QString temp = files->CurrentFile;
    dlg.openNames = {a};
    dlg.answers = {IdNo};
    ASSERT_EQ(files->commandOpen(), ResultOk);
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_EQ(files->CurrentFile, a);
}

TEST_F(LifecycleTest, AnInterruptedSaveLosesNothing) {
    const QString f = newNamed(QStringLiteral("k.zfp"));
    const QString target = work.filePath(QStringLiteral("target.zfp"));
    {
        QFile t(target);
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write("the user's older file");
    }
    editProjectName(QStringLiteral("unsaved work"));
    const QByteArray backup = readAll(f + QStringLiteral(".tmp"));
    setCopyInterruptHook([](qint64 written) { return written > 0; });
    EXPECT_EQ(files->SaveProjectAs(target), ResultNotWritable);
    setCopyInterruptHook(nullptr);
    EXPECT_TRUE(dlg.last().text.startsWith(
        QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") + target));
    EXPECT_EQ(readAll(target), QByteArray("the user's older file")) << "the target is untouched";
    EXPECT_EQ(QDir(work.path())
                  .entryList({QStringLiteral("target.zfp*")}, QDir::Files | QDir::Hidden)
                  .size(),
              1)
        << "no half-written file is left";
    EXPECT_EQ(files->CurrentFile, f);
    EXPECT_TRUE(data->projectConnected());
    EXPECT_EQ(projectName(), QStringLiteral("unsaved work"));
    EXPECT_TRUE(Modified) << "the work is still unsaved";
    EXPECT_EQ(readAll(f + QStringLiteral(".tmp")), backup)
        << "the backup still holds the last saved state";
}

TEST_F(LifecycleTest, FailedSaveInTheQuestionKeepsTheNewProjectOpen) {
    ASSERT_EQ(files->commandNew(), ResultOk);
    const QString temp = files->CurrentFile;
    editProjectName(QStringLiteral("precious"));
    dlg.answers = {IdYes};
    dlg.saveNames = {work.filePath(QStringLiteral("no/such/folder/p.zfp"))};
    EXPECT_EQ(files->commandClose(), ResultNotWritable);
    EXPECT_EQ(files->CurrentFile, temp);
    EXPECT_TRUE(QFileInfo::exists(temp));
    EXPECT_EQ(projectName(), QStringLiteral("precious"));
    dlg.answers = {IdCancel};
    EXPECT_FALSE(files->closeMainWindow()) << "Cancel keeps the program running";
    EXPECT_EQ(files->CurrentFile, temp);
}

TEST_F(LifecycleTest, AnotherInstanceIsRefusedAStaleLockIsNot) {
    const QString f = newNamed(QStringLiteral("shared.zfp"));
    const QByteArray backup = readAll(f + QStringLiteral(".tmp"));
    ProjectFiles second(*data);
    TZFData otherData;
    ASSERT_TRUE(otherData.startUp());
    ProjectFiles other(otherData);
    EXPECT_EQ(other.OpenProject(f), ResultInvalidFile);
    EXPECT_TRUE(dlg.last().text.contains(QLatin1String("is open in another instance of Zefrant")))
        << qPrintable(dlg.last().text);
    EXPECT_EQ(readAll(f + QStringLiteral(".tmp")), backup) << "the backup copy is not shared";
    dlg.answers = {IdNo};
    files->commandClose();

    // A lock left by a process that died does not block.
    const pid_t child = ::fork();
    if (child == 0) {
        QLockFile lock(ProjectFiles::lockFileOf(f));
        lock.tryLock(0);
        ::_exit(0); // dies holding the lock file
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(QFileInfo::exists(ProjectFiles::lockFileOf(f)));
    EXPECT_EQ(files->OpenProject(f), ResultOk) << qPrintable(dlg.last().text);
}

TEST_F(LifecycleTest, MissingTemplateIsReported) {
    TemplatePath = work.filePath(QStringLiteral("none.zft"));
    EXPECT_EQ(files->commandNew(), ResultFileNotFound);
    EXPECT_TRUE(dlg.last().text.contains(QLatin1String("File not found")))
        << qPrintable(dlg.last().text);
    EXPECT_TRUE(files->CurrentFile.isEmpty());
}

TEST_F(LifecycleTest, RevertWithoutBackupChangesNothing) {
    const QString f = newNamed(QStringLiteral("r.zfp"));
    editProjectName(QStringLiteral("kept"));
    QFile::remove(f + QStringLiteral(".tmp"));
    files->RevertFromBackup(true);
    EXPECT_EQ(dlg.last().text, QStringLiteral("Backup file name not found (%1.tmp)").arg(f));
    EXPECT_EQ(projectName(), QStringLiteral("kept"));
}

TEST_F(LifecycleTest, WizardCancelRevertsANamedProject) {
    const QString f = newNamed(QStringLiteral("w.zfp"));
    editProjectName(QStringLiteral("typed in the wizard"));
    files->wizardCancelled();
    EXPECT_EQ(files->CurrentFile, f);
    EXPECT_EQ(projectName(), QString());
    EXPECT_FALSE(Modified);
}

// Save As under another name: the edits since the last save go with the new
// file, and the original gets its last saved state back from its backup.
TEST_F(LifecycleTest, SaveAsGivesTheOriginalItsSavedStateBack) {
    const QString original = newNamed(QStringLiteral("original.zfp"));
    editProjectName(QStringLiteral("saved"));
    ASSERT_EQ(files->commandSave(), ResultOk);
    const QByteArray saved = readAll(original);
    editProjectName(QStringLiteral("unsaved edit"));
    ASSERT_NE(readAll(original), saved);

    const QString copy = work.filePath(QStringLiteral("copy.zfp"));
    dlg.saveNames = {copy};
    ASSERT_EQ(files->commandSaveAs(), ResultOk);
    EXPECT_EQ(files->CurrentFile, copy);
    EXPECT_EQ(projectName(), QStringLiteral("unsaved edit"));
    EXPECT_EQ(readAll(original), saved) << "the original holds its last saved state";
    EXPECT_FALSE(QFileInfo::exists(original + QStringLiteral(".tmp")));
    EXPECT_FALSE(QFileInfo::exists(ProjectFiles::lockFileOf(original)));
    EXPECT_TRUE(dlg.boxes.empty()) << (dlg.boxes.empty() ? "" : qPrintable(dlg.last().text));

    // The original can be opened by itself again, as it was saved.
    files->CloseProject(true);
    ASSERT_EQ(files->OpenProject(original), ResultOk);
    EXPECT_EQ(projectName(), QStringLiteral("saved"));
    files->CloseProject(true);
    ASSERT_EQ(files->OpenProject(copy), ResultOk);
    EXPECT_EQ(projectName(), QStringLiteral("unsaved edit"));
}

// Project file operations on a large project (51 surfaces, 2,000 openings)
// against a plain copy of the same file.
#include "benchutil.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace zf;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    QTemporaryDir dir;
    TempPath = withTrailingSlash(dir.path());
    setLanguage(BaseEN);
    TZFData data;
    if (!data.startUp())
        return 1;
    ProjectFiles files(data);

    // The large project.
    const QString file = dir.filePath(QStringLiteral("large.zfp"));
    QFile::copy(TemplatePath, file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    if (files.OpenProject(file) != 0)
        return 1;
    {
        Database::Transaction transaction(data.projectConnection());
        for (int w = 0; w < 51; ++w) {
            data.tSteny.appendRecord({QVariant(), 1 + w % 4, QStringLiteral("hA"), w + 1});
            for (int o = 0; o < 2000 / 51 + (w < 2000 % 51 ? 1 : 0); ++o)
                data.tStavOtvory.appendRecord({QVariant(), QVariant(),
                                               QStringLiteral("Window %1").arg(o), 1.4, 1.5, 2.0, 1,
                                               18.0, -12.0});
        }
        transaction.commit();
    }
    files.commandSave();
    files.CloseProject(true);

    const QString copyTarget = dir.filePath(QStringLiteral("copy.zfp"));
    const int runs = 15;
    const double copyMs = bench::medianMs(runs, [&] {
        QFile::remove(copyTarget);
        QFile::copy(file, copyTarget);
    });
    std::printf("file size %lld bytes; plain copy %.3f ms\n", QFile(file).size(), copyMs);

    bool ok = true;
    const double openMs = bench::medianMs(
        runs, [&] { files.OpenProject(file); }, [&] { files.CloseProject(true); });
    ok &= bench::report("open (backup, checks, five tables)", openMs, copyMs, 2);
    files.CloseProject(true);
    files.OpenProject(file);

    const double saveMs = bench::medianMs(
        runs, [&] { files.commandSave(); },
        [&] {
            data.tADOProject.setValue(QStringLiteral("Ti"), 18.0);
            data.tADOProject.post();
        });
    ok &= bench::report("save", saveMs, copyMs, 2);

    const double revertMs = bench::medianMs(
        runs, [&] { files.RevertFromBackup(true); },
        [&] {
            data.tADOProject.setValue(QStringLiteral("Ti"), 19.0);
            data.tADOProject.post();
        });
    ok &= bench::report("revert from the backup", revertMs, copyMs, 2);

    // A walk that rewrites every opening, as the loss calculation does.
    Dataset all(QStringLiteral("openings"));
    all.setDatabase(&data.projectConnection());
    all.setTableName(QStringLiteral("tStavOtvory"));
    all.setIndexName(QStringLiteral("IDSteny"));
    all.open();
    double value = 0;
    const double walkMs = bench::medianMs(runs, [&] {
        Database::Transaction transaction(data.projectConnection());
        Dataset::ControlsSuspended quiet(all);
        value += 1;
        for (all.first(); !all.eof(); all.next()) {
            all.setValue(QStringLiteral("Ztrata"), value);
            all.setValue(QStringLiteral("Ztrata_kW"), value / 1000);
            all.post();
        }
        transaction.commit();
    });
    std::printf("(%d openings)\n", all.recordCount());
    ok &= bench::report("walk rewriting every opening", walkMs, copyMs, 20);
    all.close();
    files.CloseProject(true);
    files.atExit();
    return ok ? 0 : 3;
}

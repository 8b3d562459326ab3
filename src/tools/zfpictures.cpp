// Build-time tool: draws the pictures of the program folder's Images folder.
//
//   zfpictures <program folder>
//
// The building pictures are sketches of the surfaces the wall-record generator
// makes, checked against the areas the hall geometry computes for them; the
// placement pictures are the automatic placement itself on a sample hall, in a
// scratch copy of the project template. Exits with 1 and the reasons on stderr
// when a picture cannot be made.
#include "common/dialogs.h"
#include "common/globals.h"
#include "pictures/buildingsketch.h"
#include "pictures/placementpictures.h"
#include "pictures/surfacerecords.h"
#include "pictures/unitdrawings.h"
#include "storage/dataset.h"
#include "storage/zfdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace zf;
using namespace zf::pictures;

namespace {

// Nothing may ask or warn while the pictures are made: every message is kept
// and fails the run.
class RecordingDialogs final : public Dialogs {
public:
    QStringList messages;
    int messageBox(const QString& text, const QString&, int) override {
        messages << text;
        return IdNo;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const SaveDialogOptions&) override { return {}; }
};

void complain(const QString& text) {
    std::fprintf(stderr, "zfpictures: %s\n", qPrintable(text));
}

bool write(const QString& imagesFolder, const Picture& picture) {
    const QString file = QDir(imagesFolder).filePath(picture.path);
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        complain(file + QStringLiteral(": cannot create its folder"));
        return false;
    }
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(picture.svg) != picture.svg.size() ||
        !f.commit()) {
        complain(file + QStringLiteral(": ") + f.errorString());
        return false;
    }
    return true;
}

int run(const QString& programFolder) {
    initProgramPaths(programFolder);
    const QString images = ImagesPath;
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        complain(QStringLiteral("no temporary folder"));
        return 1;
    }
    TempPath = withTrailingSlash(scratch.path());
    const QString project = scratch.filePath(QStringLiteral("pictures.zfp"));
    if (!QFile::copy(TemplatePath, project) ||
        !QFile::setPermissions(project, QFile::ReadOwner | QFile::WriteOwner)) {
        complain(TemplatePath + QStringLiteral(": cannot copy the project template"));
        return 1;
    }

    RecordingDialogs dialogs;
    setDialogs(&dialogs);
    struct Restore {
        ~Restore() { setDialogs(nullptr); }
    } restore;

    bool ok = true;
    try {
        TZFData data;
        data.openProjectConnection(project);
        if (data.OpenProjectTables() != 0) {
            complain(QStringLiteral("the project template does not open: ") + LastError);
            return 1;
        }

        const std::vector<SurfaceRecord> records = sketchedSurfaceRecords(data);
        for (const QString& problem : compareWithSketches(records)) {
            complain(problem);
            ok = false;
        }
        for (const Picture& p : typePictures())
            ok = write(images, p) && ok;
        for (const SurfaceRecord& r : records) {
            Picture p;
            if (surfacePicture(r.variant, r.number, &p))
                ok = write(images, p) && ok;
        }
        for (const Picture& p : unitPictures())
            ok = write(images, p) && ok;
        for (const QString& problem : writePlacementPictures(data, images)) {
            complain(problem);
            ok = false;
        }
        data.CloseProjectTables();
        data.closeProjectConnection();
    } catch (const DbError& e) {
        complain(e.message());
        return 1;
    }
    for (const QString& m : dialogs.messages) {
        complain(QStringLiteral("unexpected message: ") + m);
        ok = false;
    }
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; nothing is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The plan writes its dimensions with the locale's separators; the pictures
    // serve every language.
    QLocale::setDefault(QLocale::c());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zfpictures <program folder>\n");
        return 2;
    }
    return run(args.at(1));
}

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

// Every picture is made before the first is written, so that a failed run
// leaves no fresh picture behind that the build would take as up to date.
bool makePictures(const QString& scratch, std::vector<Picture>& pictures) {
    const QString project = QDir(scratch).filePath(QStringLiteral("pictures.zfp"));
    if (!QFile::copy(TemplatePath, project) ||
        !QFile::setPermissions(project, QFile::ReadOwner | QFile::WriteOwner)) {
        complain(TemplatePath + QStringLiteral(": cannot copy the project template"));
        return false;
    }
    TZFData data;
    data.openProjectConnection(project);
    if (data.OpenProjectTables() != 0) {
        complain(QStringLiteral("the project template does not open: ") + LastError);
        return false;
    }
    bool ok = true;
    const std::vector<SurfaceRecord> records = sketchedSurfaceRecords(data);
    for (const QString& problem : compareWithSketches(records)) {
        complain(problem);
        ok = false;
    }
    pictures = typePictures();
    for (const SurfaceRecord& r : records) {
        Picture p;
        if (surfacePicture(r.variant, r.number, &p))
            pictures.push_back(p);
    }
    for (Picture& p : unitPictures())
        pictures.push_back(std::move(p));

    const QString placed = QDir(scratch).filePath(QStringLiteral("placement"));
    QDir().mkpath(placed);
    for (const QString& problem : writePlacementPictures(data, placed)) {
        complain(problem);
        ok = false;
    }
    for (const QString& name : QDir(placed).entryList({QStringLiteral("*.svg")}, QDir::Files)) {
        QFile f(QDir(placed).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            complain(f.fileName() + QStringLiteral(": ") + f.errorString());
            ok = false;
            continue;
        }
        pictures.push_back({name, f.readAll()});
    }
    data.CloseProjectTables();
    data.closeProjectConnection();
    return ok;
}

int run(const QString& programFolder) {
    initProgramPaths(programFolder);
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        complain(QStringLiteral("no temporary folder"));
        return 1;
    }
    TempPath = withTrailingSlash(scratch.path());

    RecordingDialogs dialogs;
    setDialogs(&dialogs);
    struct Restore {
        ~Restore() { setDialogs(nullptr); }
    } restore;

    std::vector<Picture> pictures;
    bool ok = false;
    try {
        ok = makePictures(scratch.path(), pictures);
    } catch (const DbError& e) {
        complain(e.message());
    }
    for (const QString& m : dialogs.messages) {
        complain(QStringLiteral("unexpected message: ") + m);
        ok = false;
    }
    if (!ok)
        return 1;
    for (const Picture& p : pictures) {
        if (!write(ImagesPath, p)) {
            // All or nothing: the build makes them again next time.
            for (const Picture& q : pictures)
                QFile::remove(QDir(ImagesPath).filePath(q.path));
            return 1;
        }
    }
    return 0;
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

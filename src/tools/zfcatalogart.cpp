// zfcatalogart REFERENCE_DB PROGRAM_FOLDER MANIFEST: draws the pictures of the units
// catalog from the reference database into PROGRAM_FOLDER/Images (the family
// pictures, the velocity and temperature pictures and the legends) and
// PROGRAM_FOLDER/Images/Sizes (the dimension drawings), under the names the
// catalog gives. MANIFEST receives the list of files written, last.
#include "catalogdata.h"
#include "catalogpictures.h"
#include "jetmodel.h"
#include "storage/sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSet>
#include <cstdio>

namespace {

// A picture name from the catalog: a plain file name, nothing that leaves its folder.
bool plainName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String("..") &&
           name != QLatin1String(".");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: zfcatalogart REFERENCE_DB PROGRAM_FOLDER MANIFEST\n");
        return 2;
    }
    const QString& root = args[2];
    QStringList written;
    QString error;
    bool ok = true;
    auto fail = [&](const QString& message) {
        std::fprintf(stderr, "zfcatalogart: %s\n", qPrintable(message));
        ok = false;
    };
    auto write = [&](const zf::art::Picture& pic, const QString& rel, const QString& title) {
        if (written.contains(rel))
            return;
        if (pic.isNull()) {
            fail(QStringLiteral("no drawing for %1").arg(rel));
            return;
        }
        if (!zf::art::writePicture(pic, root + QLatin1Char('/') + rel, title, &error))
            fail(error);
        else
            written << rel;
    };

    try {
        const zf::art::Catalog catalog(args[1]);
        if (!QDir().mkpath(root + QStringLiteral("/Images/Sizes"))) {
            fail(QStringLiteral("cannot create %1/Images/Sizes").arg(root));
            return 1;
        }
        for (const zf::art::Family& f : catalog.families()) {
            if (f.photo.isEmpty())
                continue;
            if (!plainName(f.photo)) {
                fail(QStringLiteral("picture name %1 of %2 is not a plain file name")
                         .arg(f.photo, f.key));
                continue;
            }
            write(zf::art::familyPhoto(f.key), QStringLiteral("Images/") + f.photo,
                  f.name.value("EN"));
        }
        for (const zf::art::UnitType& t : catalog.types()) {
            for (const QString& name : {t.sizePicture, t.velocityPicture, t.temperaturePicture}) {
                if (!name.isEmpty() && !plainName(name))
                    fail(QStringLiteral("picture name %1 of %2 is not a plain file name")
                             .arg(name, t.typ));
            }
            if (plainName(t.sizePicture))
                write(zf::art::dimensionDrawing(t), QStringLiteral("Images/Sizes/") + t.sizePicture,
                      t.typ);
            if (!plainName(t.velocityPicture) && !plainName(t.temperaturePicture))
                continue;
            const zf::art::JetModel jet = zf::art::JetModel::forType(t);
            if (!jet.valid()) {
                fail(QStringLiteral("%1 names air pictures but has no air flow in tBrisant")
                         .arg(t.typ));
                continue;
            }
            if (plainName(t.velocityPicture))
                write(zf::art::velocityPicture(t, jet),
                      QStringLiteral("Images/") + t.velocityPicture, t.typ);
            if (plainName(t.temperaturePicture))
                write(zf::art::temperaturePicture(t, jet),
                      QStringLiteral("Images/") + t.temperaturePicture, t.typ);
        }
    } catch (const zf::DbError& e) {
        fail(QStringLiteral("%1: %2").arg(args[1], e.message()));
        return 1;
    }
    // The legends have fixed names; SVG stands for the original bitmaps.
    write(zf::art::velocityLegend(false), QStringLiteral("Images/legenda_r.svg"),
          QStringLiteral("v"));
    write(zf::art::velocityLegend(true), QStringLiteral("Images/legenda_r_mk.svg"),
          QStringLiteral("v"));
    write(zf::art::temperatureLegend(), QStringLiteral("Images/legenda_t.svg"),
          QStringLiteral("Ta"));
    if (!ok)
        return 1;

    QSaveFile manifest(args[3]);
    if (!manifest.open(QIODevice::WriteOnly) ||
        manifest.write((written.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 ||
        !manifest.commit()) {
        std::fprintf(stderr, "zfcatalogart: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}

// zfdocuments REFERENCE_DB DOCUMENT_LIST PROGRAM_FOLDER MANIFEST: writes the
// technical documents, leaflets and the project-documentation guide listed in
// DOCUMENT_LIST as PDF files in every document language, under the names the
// Catalogs menu opens. MANIFEST receives "file<TAB>pages" per document, last.
#include "catalogdata.h"
#include "catalogdocs.h"
#include "doctexts.h"
#include "storage/sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr,
                     "usage: zfdocuments REFERENCE_DB DOCUMENT_LIST PROGRAM_FOLDER MANIFEST\n");
        return 2;
    }
    std::vector<zf::art::DocumentEntry> list;
    QString error;
    if (!zf::art::readDocumentList(args[2], &list, &error)) {
        std::fprintf(stderr, "zfdocuments: %s\n", qPrintable(error));
        return 1;
    }
    QStringList manifest;
    try {
        const zf::art::Catalog catalog(args[1]);
        for (const zf::art::DocumentEntry& d : list) {
            if (d.separator())
                continue;
            for (const QString& code : zf::art::documentLanguages()) {
                const QString rel = zf::art::documentFileName(d, code);
                const QString path = args[3] + QLatin1Char('/') + rel;
                if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
                    std::fprintf(stderr, "zfdocuments: cannot create the folder of %s\n",
                                 qPrintable(path));
                    return 1;
                }
                const int pages = zf::art::writeDocument(catalog, list, d, code, path, &error);
                if (pages <= 0) {
                    std::fprintf(stderr, "zfdocuments: %s: %s\n", qPrintable(rel),
                                 qPrintable(error));
                    return 1;
                }
                manifest << rel + QLatin1Char('\t') + QString::number(pages);
            }
        }
    } catch (const zf::DbError& e) {
        std::fprintf(stderr, "zfdocuments: %s: %s\n", qPrintable(args[1]), qPrintable(e.message()));
        return 1;
    }
    QSaveFile out(args[4]);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write((manifest.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 ||
        !out.commit()) {
        std::fprintf(stderr, "zfdocuments: cannot write %s\n", qPrintable(args[4]));
        return 1;
    }
    return 0;
}

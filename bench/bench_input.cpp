// zefrant-cli input of a design with 2,000 openings on 17 surfaces, on the disk
// and on a RAM disk, with the synced writes it costs: the whole design is one
// transaction, so the syncs do not grow with the design.
#include "benchutil.h"
#include "commands.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "storage/syncstats.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdio>

using namespace zf;

namespace {

QByteArray design(int openings) {
    const char* hall[] = {"hB", "hB", "hB", "hB", "hB", "hB", "hB", "hB", "hB",
                          "sB", "sB", "sB", "sB", "sB", "sB", "sB", "sB"};
    const int numbers[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8};
    QJsonArray walls;
    for (int w = 0; w < 17; ++w) {
        QJsonArray list;
        for (int i = w; i < openings; i += 17)
            list.append(QJsonObject{{"Nazev", QStringLiteral("Window %1").arg(i)},
                                    {"k", 1.4},
                                    {"Vyska", 0.5},
                                    {"Sirka", 0.5},
                                    {"Pocet", 1}});
        walls.append(QJsonObject{{"VariantaHaly", QLatin1String(hall[w])},
                                 {"CisloSteny", numbers[w]},
                                 {"k", 0.5},
                                 {"openings", list}});
    }
    const QJsonObject project{
        {"Typ_strechy_enum", 1}, {"Typ_svetliku_enum", 2}, {"Stena_A", 60},   {"Stena_B", 30},
        {"Stena_H1", 8},         {"Stena_H2", 3},          {"Svetlik_A", 20}, {"Svetlik_B", 4},
        {"Svetlik_H1", 1},       {"Svetlik_H2", 0.5},      {"Ti", 18},        {"Te", -15}};
    return QJsonDocument(QJsonObject{{"project", project}, {"walls", walls}}).toJson();
}

// Runs the tool in this process with its output thrown away.
int tool(const QStringList& args) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    const int rc = runCli(args, sink, sink, QStringLiteral(ZEFRANT_PROGRAM_DIR));
    std::fclose(sink);
    return rc;
}

bool run(const char* where, const QString& folder) {
    QTemporaryDir dir(folder + QStringLiteral("/zefrant-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::printf("%s: no temporary folder in %s, skipped\n", where, qPrintable(folder));
        return true;
    }
    qputenv("TMPDIR", dir.path().toLocal8Bit());
    const QString json = dir.filePath(QStringLiteral("design.json"));
    QFile f(json);
    f.open(QIODevice::WriteOnly);
    f.write(design(2000));
    f.close();
    const QString file = dir.filePath(QStringLiteral("hall.zfp"));
    const int runs = 5;
    qint64 syncs = 0;
    bool ok = true;
    const double ms = bench::medianMs(
        runs,
        [&] {
            const qint64 before = syncCounts().total();
            ok &= tool({QStringLiteral("input"), file, json}) == 0;
            syncs = syncCounts().total() - before;
        },
        [&] {
            ok &= tool({QStringLiteral("new"), file}) == 0;
        });
    std::printf("%-9s input of 2,000 openings %8.1f ms, %lld synced writes  (target < 1000 ms)  "
                "%s\n",
                where, ms, static_cast<long long>(syncs),
                !ok         ? "FAILED"
                : ms < 1000 ? "ok"
                            : "OVER");
    return ok && ms < 1000;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    const bool disk = run("disk", QStringLiteral(ZEFRANT_PROGRAM_DIR));
    run("RAM disk", QStringLiteral("/dev/shm"));
    return disk ? 0 : 3;
}

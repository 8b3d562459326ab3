#pragma once

// What the fuzz targets share: zefrant-cli run in-process on files in a private
// folder, and the checks that every run must pass. A failed check aborts, which
// libFuzzer reports as a crash with the input that caused it.
#include "commands.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace zf::fuzz {

class Env {
public:
    static Env& get() {
        static Env env;
        return env;
    }

    // Runs the tool with its output and message boxes thrown away.
    int tool(const QStringList& args) { return runCli(args, null_, null_, programDir_); }

    QString path(const QString& name) const { return dir_.filePath(name); }

    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            fail("cannot write the input file");
    }
    // Removes what a run may leave beside a project; a run that ends normally
    // leaves nothing, which check() asserts.
    static void clean(const QString& project) {
        for (const char* suffix : {".tmp", ".lock", "-journal"})
            QFile::remove(project + QLatin1String(suffix));
    }
    static void check(bool ok, const char* what) {
        if (!ok)
            fail(what);
    }
    static void checkNothingLeft(const QString& project) {
        for (const char* suffix : {".tmp", ".lock", "-journal"})
            check(!QFile::exists(project + QLatin1String(suffix)),
                  "a run left a backup, a lock or a journal beside the project");
    }
    [[noreturn]] static void fail(const char* what) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }

private:
    // A program folder of our own: the tool opens the reference database for
    // writing, and a fuzzing run must not touch the build's.
    Env() {
        if (!dir_.isValid())
            fail("no temporary folder");
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        const QString source = qEnvironmentVariable("ZEFRANT_PROGRAM_DIR",
                                                    QStringLiteral(ZEFRANT_DEFAULT_PROGRAM_DIR));
        programDir_ = dir_.filePath(QStringLiteral("program"));
        QDir().mkpath(programDir_ + QStringLiteral("/DB"));
        for (const char* db : {"DB/ZF.zft", "DB/ZFData.zft"})
            if (!QFile::copy(source + QLatin1Char('/') + QLatin1String(db),
                             programDir_ + QLatin1Char('/') + QLatin1String(db)))
                fail("no program folder: build Zefrant first or set ZEFRANT_PROGRAM_DIR");
        for (const char* folder : {"Images", "Reports"})
            QFile::link(source + QLatin1Char('/') + QLatin1String(folder),
                        programDir_ + QLatin1Char('/') + QLatin1String(folder));
        null_ = std::fopen("/dev/null", "w");
    }

    QTemporaryDir dir_;
    QString programDir_;
    std::FILE* null_ = nullptr;
};

// A project with a design entered and units placed, as the seeds and the
// design target start from.
inline QByteArray sampleProject() {
    Env& env = Env::get();
    const QString project = env.path(QStringLiteral("sample.zfp"));
    const QString design = env.path(QStringLiteral("sample.json"));
    const QString units = env.path(QStringLiteral("sample-units.json"));
    Env::write(design, R"({
      "project": { "Typ_strechy_enum": 1, "Typ_svetliku_enum": 1, "Stena_A": 30, "Stena_B": 15,
                   "Stena_H1": 6, "Stena_H2": 8, "Svetlik_A": 10, "Svetlik_B": 3, "Svetlik_H1": 1,
                   "Ti": 18, "Te": -15, "Vetrani_bool": true, "PouziteJednotky": 7 },
      "walls": [ { "VariantaHaly": "hB", "CisloSteny": 1, "Material": "Brick wall 300 mm, plastered",
                   "openings": [ { "Nazev": "Window, PVC, double glazing", "Vyska": 2,
                                   "Sirka": 1.5, "Pocet": 4 } ] } ] })");
    Env::write(
        units,
        R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 3 }, { "ID": 2, "Pocet_jednotek": 1 } ],
                           "Vyska_jednotek": 4, "Vyska_destrat": 7, "place": true })");
    QFile::remove(project);
    Env::check(env.tool({QStringLiteral("new"), project}) == 0, "new failed");
    Env::check(env.tool({QStringLiteral("input"), project, design}) == 0, "input failed");
    Env::check(env.tool({QStringLiteral("units"), project, units}) == 0, "units failed");
    return Env::read(project);
}

} // namespace zf::fuzz

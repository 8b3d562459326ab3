#include "robustness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <iostream>
#include <sqlite3.h>

namespace zf::robustness {

const char* const SampleDesign = R"({
  "project": { "Typ_strechy_enum": 1, "Typ_svetliku_enum": 1, "Stena_A": 30, "Stena_B": 15,
               "Stena_H1": 6, "Stena_H2": 8, "Svetlik_A": 10, "Svetlik_B": 3, "Svetlik_H1": 1,
               "Ti": 18, "Te": -15, "Vetrani_bool": true, "PouziteJednotky": 7,
               "ProjectName_text": "Hala 7" },
  "walls": [ { "VariantaHaly": "hB", "CisloSteny": 1, "Material": "Brick wall 300 mm, plastered",
               "openings": [ { "Nazev": "Window, PVC, double glazing", "Vyska": 2, "Sirka": 1.5,
                               "Pocet": 4 },
                             { "Nazev": "Gate", "k": 3.5, "Vyska": 4, "Sirka": 4, "Pocet": 1 } ] },
             { "VariantaHaly": "hB", "CisloSteny": 2, "k": 0.35 } ] })";

const char* const ChangedDesign = R"({
  "project": { "Typ_strechy_enum": 2, "Stena_A": 48, "Stena_B": 24, "Stena_H1": 7, "Stena_H2": 9,
               "Ti": 16, "Te": -12, "ProjectName_text": "Hala 8" },
  "walls": [ { "VariantaHaly": "hC", "CisloSteny": 1, "Material": "Brick wall 300 mm, plastered",
               "openings": [ { "Nazev": "Window, PVC, double glazing", "Vyska": 2, "Sirka": 2,
                               "Pocet": 8 } ] } ] })";

const char* const SampleUnits = R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 3 },
                                                 { "ID": 2, "Pocet_jednotek": 2 } ],
                                     "Vyska_jednotek": 4, "Vyska_destrat": 7, "place": true })";

const char* const ChangedUnits = R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 6 },
                                                  { "ID": 3, "Pocet_jednotek": 2 } ],
                                      "Varianta_rozmisteni_enum": 2, "Vyska_jednotek": 5,
                                      "Vyska_destrat": 8, "place": true })";

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray tablesFingerprint(const QString& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return {};
    }
    QByteArray out;
    for (const char* table : {"tRozmery", "tSteny", "tStavOtvory", "tJednotky", "tTempTable"}) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QByteArray("SELECT * FROM ") + table + " ORDER BY rowid";
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return {};
        }
        out += table;
        out += '\n';
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                out += char('0' + sqlite3_column_type(st, i));
                out += reinterpret_cast<const char*>(
                    sqlite3_column_text(st, i) ? sqlite3_column_text(st, i)
                                               : reinterpret_cast<const unsigned char*>(""));
                out += '\t';
            }
            out += '\n';
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) {
            sqlite3_close(db);
            return {};
        }
    }
    sqlite3_close(db);
    return out;
}

QStringList leftoversOf(const QString& project) {
    const QFileInfo fi(project);
    QStringList left;
    for (const QString& name : QDir(fi.absolutePath())
                                   .entryList({fi.fileName() + QStringLiteral("*")},
                                              QDir::AllEntries | QDir::Hidden | QDir::System)) {
        if (name != fi.fileName())
            left << name;
    }
    return left;
}

ToolRun runTool(const QStringList& args, const QStringList& env, int timeoutMs) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env)
        e.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(e);
    p.start(qEnvironmentVariable("ZEFRANT_CLI", QStringLiteral(ZEFRANT_CLI)), args);
    ToolRun r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished();
    }
    r.status = r.finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = p.readAllStandardError();
    return r;
}

QByteArray makeSampleProject(const QString& folder) {
    const QString project = folder + QStringLiteral("/sample.zfp");
    const QString design = folder + QStringLiteral("/sample-design.json");
    const QString units = folder + QStringLiteral("/sample-units.json");
    writeBytes(design, SampleDesign);
    writeBytes(units, SampleUnits);
    for (const QStringList& args : {QStringList{QStringLiteral("new"), project},
                                    QStringList{QStringLiteral("input"), project, design},
                                    QStringList{QStringLiteral("units"), project, units}}) {
        const ToolRun r = runTool(args);
        if (r.status != 0) {
            std::cerr << "making the sample project failed: " << r.err.constData() << '\n';
            return {};
        }
    }
    return fileBytes(project);
}

void reportFigures(const QString& line) {
    const QByteArray text = "[robustness] " + line.toUtf8() + '\n';
    std::cout << text.constData() << std::flush;
    QFile f(QStringLiteral(ZEFRANT_FIGURES_FILE));
    if (f.open(QIODevice::Append))
        f.write(text);
}

} // namespace zf::robustness

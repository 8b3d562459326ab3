// zfdbgen SCHEMA DATA_FOLDER OUTPUT: builds an SQLite database from a text schema.
#include "storage/schema.h"
#include "storage/sqlite.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: zfdbgen SCHEMA DATA_FOLDER OUTPUT\n");
        return 2;
    }
    const QString &schemaPath = args[1], &dataFolder = args[2], &output = args[3];
    const QString temp = output + QStringLiteral(".part");
    QFile::remove(temp);
    try {
        QFile f(schemaPath);
        if (!f.open(QIODevice::ReadOnly))
            throw zf::DbError(QStringLiteral("Cannot read %1").arg(schemaPath));
        const zf::Schema schema = zf::parseSchema(QString::fromUtf8(f.readAll()));
        {
            zf::Database db;
            zf::Database::OpenOptions o;
            o.create = true;
            o.quickCheck = false;
            db.open(temp, o);
            zf::buildDatabase(db, schema, dataFolder);
            db.exec(QStringLiteral("VACUUM"));
        }
        QFile::remove(output);
        if (!QFile::rename(temp, output))
            throw zf::DbError(QStringLiteral("Cannot write %1").arg(output));
    } catch (const zf::DbError& e) {
        QFile::remove(temp);
        std::fprintf(stderr, "zfdbgen: %s: %s\n", qPrintable(schemaPath), qPrintable(e.message()));
        return 1;
    }
    return 0;
}

#pragma once

#include "storage/dataset.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <vector>

namespace zf {

// A database described by a text schema (the files in data/schema): tables with
// their columns in stored order, defaults, indexes, initial rows, rows read from
// tab-separated files and columns or tables derived by re-encoding the Russian
// texts for Central European systems.
struct SchemaColumn {
    ColumnDecl decl;
    QVariant defaultValue; // invalid: no default
    QString derivedFrom;   // re-encoded copy of this column
};

struct SchemaIndex {
    QString name;
    QStringList columns;
};

struct SchemaTable {
    QString name;
    std::vector<SchemaColumn> columns;
    std::vector<SchemaIndex> indexes;
    std::vector<QHash<QString, QVariant>> rows; // initial rows, by column name
    QString rowsFile;                           // tab-separated rows, relative to data/
    QString derivedFromTable;                   // all rows re-encoded from that table

    const SchemaColumn* column(const QString& name) const;
    std::vector<ColumnDecl> declaredColumns() const;
};

struct Schema {
    int applicationId = 0;
    int userVersion = 0;
    std::vector<SchemaTable> tables;

    const SchemaTable* table(const QString& name) const;
};

// Throws DbError naming the line of a malformed schema.
Schema parseSchema(const QString& text);

// The schema of the project files, compiled into the program.
const Schema& projectSchema();

// Creates the tables of the schema in an empty database and fills their rows;
// dataFolder is where rowsFile paths start. The whole build is one transaction.
void buildDatabase(Database& db, const Schema& schema, const QString& dataFolder);

// Reads a tab-separated file: '#' lines are comments, the first other line names
// the columns, an empty field is null. Throws DbError naming file and line.
std::vector<QHash<QString, QString>> readTsv(const QString& path, QStringList* header = nullptr);

} // namespace zf

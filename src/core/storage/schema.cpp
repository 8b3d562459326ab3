#include "storage/schema.h"

#include "i18n/codepage.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <cstddef>

extern const unsigned char zf_project_schema[];
extern const std::size_t zf_project_schema_size;

namespace zf {

const SchemaColumn* SchemaTable::column(const QString& n) const {
    for (const SchemaColumn& c : columns)
        if (c.decl.name.compare(n, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

std::vector<ColumnDecl> SchemaTable::declaredColumns() const {
    std::vector<ColumnDecl> out;
    for (const SchemaColumn& c : columns)
        out.push_back(c.decl);
    return out;
}

const SchemaTable* Schema::table(const QString& n) const {
    for (const SchemaTable& t : tables)
        if (t.name.compare(n, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

namespace {

// Splits a schema line into words; 'quoted' texts stay one word (quotes kept), a
// '#' outside quotes starts a comment.
QStringList words(const QString& line, bool* ok) {
    QStringList out;
    QString cur;
    bool quoted = false, any = false;
    *ok = true;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            cur += c;
            if (c == QLatin1Char('\'')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('\'')) {
                    cur += line[++i];
                } else {
                    quoted = false;
                }
            }
            continue;
        }
        if (c == QLatin1Char('#'))
            break;
        if (c == QLatin1Char('\'')) {
            quoted = true;
            any = true;
            cur += c;
        } else if (c.isSpace()) {
            if (any)
                out << cur;
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (quoted)
        *ok = false;
    if (any)
        out << cur;
    return out;
}

QVariant literal(const QString& s, bool* ok) {
    *ok = true;
    if (s.size() >= 2 && s.startsWith(QLatin1Char('\'')) && s.endsWith(QLatin1Char('\'')))
        return QString(s.mid(1, s.size() - 2)).replace(QLatin1String("''"), QLatin1String("'"));
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    const qlonglong i = s.toLongLong(ok);
    if (*ok)
        return i;
    const double d = s.toDouble(ok);
    if (*ok)
        return d;
    return {};
}

bool parseType(const QString& word, ColumnDecl& decl) {
    static const QRegularExpression textRe(QStringLiteral("^Text\\((\\d+)\\)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = textRe.match(word);
    if (m.hasMatch()) {
        decl.type = JetType::Text;
        decl.size = m.captured(1).toInt();
        return decl.size > 0 && decl.size <= 255;
    }
    static const QHash<QString, JetType> types = {
        {QStringLiteral("autonumber"), JetType::AutoNumber},
        {QStringLiteral("long"), JetType::Long},
        {QStringLiteral("double"), JetType::Double},
        {QStringLiteral("currency"), JetType::Currency},
        {QStringLiteral("memo"), JetType::Memo},
        {QStringLiteral("yesno"), JetType::YesNo},
        {QStringLiteral("datetime"), JetType::DateTime}};
    const auto it = types.find(word.toLower());
    if (it == types.end())
        return false;
    decl.type = *it;
    decl.size = 0;
    return true;
}

// The SQL literal of a default or a bound value for a column kind.
QVariant storedValue(const ColumnDecl& decl, const QVariant& v) {
    if (!v.isValid())
        return {};
    switch (decl.type) {
    case JetType::Currency:
        return QVariant(currencyFromDouble(v.toDouble()));
    case JetType::YesNo:
        return QVariant(v.toBool() ? 1 : 0);
    case JetType::Long:
    case JetType::AutoNumber:
        return QVariant(v.toLongLong());
    case JetType::Double:
        return QVariant(v.toDouble());
    default:
        return QVariant(v.toString());
    }
}

QString sqlLiteral(const QVariant& v) {
    if (!v.isValid())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QString)
        return QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QLatin1String("''")) +
               QLatin1Char('\'');
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 17);
    return QString::number(v.toLongLong());
}

} // namespace

Schema parseSchema(const QString& text) {
    Schema schema;
    SchemaTable* table = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int ln = 0; ln < lines.size(); ++ln) {
        auto fail = [&](const QString& what) -> DbError {
            return DbError(QStringLiteral("Schema line %1: %2").arg(ln + 1).arg(what));
        };
        bool ok = true;
        const QStringList w = words(lines[ln], &ok);
        if (!ok)
            throw fail(QStringLiteral("unterminated text"));
        if (w.isEmpty())
            continue;
        const QString& key = w[0];
        if (key == QLatin1String("database")) {
            for (int i = 1; i < w.size(); ++i) {
                const QString k = w[i].section(QLatin1Char('='), 0, 0);
                const QString v = w[i].section(QLatin1Char('='), 1);
                bool good = false;
                const int n = v.startsWith(QLatin1String("0x")) ? int(v.mid(2).toUInt(&good, 16))
                                                                : v.toInt(&good);
                if (!good)
                    throw fail(QStringLiteral("bad number '%1'").arg(v));
                if (k == QLatin1String("application_id"))
                    schema.applicationId = n;
                else if (k == QLatin1String("user_version"))
                    schema.userVersion = n;
                else
                    throw fail(QStringLiteral("unknown setting '%1'").arg(k));
            }
        } else if (key == QLatin1String("table")) {
            if (w.size() != 2 && !(w.size() == 4 && w[2] == QLatin1String("from")))
                throw fail(QStringLiteral("expected: table NAME [from TABLE]"));
            SchemaTable t;
            t.name = w[1];
            if (w.size() == 4) {
                const SchemaTable* src = schema.table(w[3]);
                if (!src)
                    throw fail(QStringLiteral("unknown table '%1'").arg(w[3]));
                t.columns = src->columns;
                t.indexes = src->indexes;
                t.derivedFromTable = src->name;
            }
            schema.tables.push_back(t);
            table = &schema.tables.back();
        } else if (!table) {
            throw fail(QStringLiteral("a table is expected first"));
        } else if (key == QLatin1String("index")) {
            if (w.size() != 3)
                throw fail(QStringLiteral("expected: index NAME COLUMNS"));
            SchemaIndex idx{w[1], w[2].split(QLatin1Char(','))};
            for (const QString& c : idx.columns)
                if (!table->column(c))
                    throw fail(QStringLiteral("unknown column '%1'").arg(c));
            table->indexes.push_back(idx);
        } else if (key == QLatin1String("row")) {
            QHash<QString, QVariant> row;
            for (int i = 1; i < w.size(); ++i) {
                const qsizetype eq = w[i].indexOf(QLatin1Char('='));
                if (eq <= 0)
                    throw fail(QStringLiteral("expected COLUMN=VALUE"));
                const QString col = w[i].left(eq);
                if (!table->column(col))
                    throw fail(QStringLiteral("unknown column '%1'").arg(col));
                const QVariant v = literal(w[i].mid(eq + 1), &ok);
                if (!ok)
                    throw fail(QStringLiteral("bad value '%1'").arg(w[i].mid(eq + 1)));
                row.insert(table->column(col)->decl.name, v);
            }
            table->rows.push_back(row);
        } else if (key == QLatin1String("rows")) {
            if (w.size() != 2)
                throw fail(QStringLiteral("expected: rows FILE"));
            table->rowsFile = w[1];
        } else {
            SchemaColumn c;
            c.decl.name = key;
            if (w.size() < 2 || !parseType(w[1], c.decl))
                throw fail(QStringLiteral("column '%1' needs a known type").arg(key));
            int i = 2;
            if (i < w.size() && w[i] == QLatin1String("=")) {
                if (i + 1 >= w.size())
                    throw fail(QStringLiteral("default value missing"));
                c.defaultValue = literal(w[i + 1], &ok);
                if (!ok)
                    throw fail(QStringLiteral("bad default '%1'").arg(w[i + 1]));
                i += 2;
            }
            if (i < w.size() && w[i] == QLatin1String("<-")) {
                if (i + 1 >= w.size() || !table->column(w[i + 1]))
                    throw fail(QStringLiteral("unknown source column"));
                c.derivedFrom = w[i + 1];
                i += 2;
            }
            if (i != w.size())
                throw fail(QStringLiteral("unexpected '%1'").arg(w[i]));
            if (table->column(key))
                throw fail(QStringLiteral("column '%1' twice").arg(key));
            table->columns.push_back(c);
        }
    }
    return schema;
}

const Schema& projectSchema() {
    static const Schema schema = parseSchema(QString::fromUtf8(
        reinterpret_cast<const char*>(zf_project_schema), qsizetype(zf_project_schema_size)));
    return schema;
}

std::vector<QHash<QString, QString>> readTsv(const QString& path, QStringList* headerOut) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Cannot read %1: %2").arg(path, f.errorString()));
    const QString text = QString::fromUtf8(f.readAll());
    std::vector<QHash<QString, QString>> rows;
    QStringList header;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int ln = 0; ln < lines.size(); ++ln) {
        QString line = lines[ln];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (header.isEmpty()) {
            header = fields;
            for (QString& h : header)
                h = h.trimmed();
            continue;
        }
        if (fields.size() != header.size())
            throw DbError(QStringLiteral("%1 line %2: %3 fields, the header has %4")
                              .arg(path)
                              .arg(ln + 1)
                              .arg(fields.size())
                              .arg(header.size()));
        QHash<QString, QString> row;
        for (int i = 0; i < header.size(); ++i)
            row.insert(header[i], fields[i]);
        rows.push_back(row);
    }
    if (headerOut)
        *headerOut = header;
    return rows;
}

void buildDatabase(Database& db, const Schema& schema, const QString& dataFolder) {
    db.exec(QStringLiteral("PRAGMA application_id = %1").arg(schema.applicationId));
    db.exec(QStringLiteral("PRAGMA user_version = %1").arg(schema.userVersion));
    db.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    Database::Transaction transaction(db);
    for (const SchemaTable& t : schema.tables) {
        QStringList defs;
        for (const SchemaColumn& c : t.columns) {
            QString def = Database::quoteIdentifier(c.decl.name) + QLatin1Char(' ');
            def += c.decl.type == JetType::AutoNumber
                       ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                       : sqlTypeOf(c.decl.type, c.decl.size);
            if (c.defaultValue.isValid())
                def +=
                    QStringLiteral(" DEFAULT ") + sqlLiteral(storedValue(c.decl, c.defaultValue));
            defs << def;
        }
        db.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                    .arg(Database::quoteIdentifier(t.name), defs.join(QLatin1String(", "))));
        for (const SchemaIndex& idx : t.indexes) {
            QStringList cols;
            for (const QString& c : idx.columns)
                cols << Database::quoteIdentifier(c);
            db.exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                        .arg(Database::quoteIdentifier(t.name + QLatin1Char('_') + idx.name),
                             Database::quoteIdentifier(t.name), cols.join(QLatin1String(", "))));
        }

        // Rows: initial rows of the schema, rows of a file, or a derived table.
        std::vector<QHash<QString, QVariant>> rows = t.rows;
        if (!t.rowsFile.isEmpty()) {
            QStringList header;
            const auto tsv = readTsv(dataFolder + QLatin1Char('/') + t.rowsFile, &header);
            for (const QString& h : header) {
                const SchemaColumn* c = t.column(h);
                if (!c)
                    throw DbError(QStringLiteral("%1: unknown column '%2'").arg(t.rowsFile, h));
                if (!c->derivedFrom.isEmpty())
                    throw DbError(
                        QStringLiteral("%1: the column '%2' is derived").arg(t.rowsFile, h));
            }
            int line = 0;
            for (const auto& r : tsv) {
                ++line;
                QHash<QString, QVariant> row;
                for (auto it = r.begin(); it != r.end(); ++it) {
                    const SchemaColumn* c = t.column(it.key());
                    QVariant v;
                    if (!it.value().isEmpty()) {
                        v = it.value();
                        if (c->decl.type == JetType::Long || c->decl.type == JetType::Double ||
                            c->decl.type == JetType::Currency) {
                            bool ok = false;
                            it.value().trimmed().toDouble(&ok);
                            if (!ok)
                                throw DbError(
                                    QStringLiteral("%1 row %2: '%3' is not a number (column %4)")
                                        .arg(t.rowsFile)
                                        .arg(line)
                                        .arg(it.value(), it.key()));
                            v = it.value().trimmed().toDouble();
                        }
                        if (c->decl.type == JetType::Text && it.value().size() > c->decl.size)
                            throw DbError(
                                QStringLiteral(
                                    "%1 row %2: the text of %3 is longer than %4 characters")
                                    .arg(t.rowsFile)
                                    .arg(line)
                                    .arg(it.key())
                                    .arg(c->decl.size));
                    }
                    row.insert(c->decl.name, v);
                }
                rows.push_back(row);
            }
        }
        if (!t.derivedFromTable.isEmpty()) {
            const SchemaTable* src = schema.table(t.derivedFromTable);
            Statement st(db, QStringLiteral("SELECT * FROM %1 ORDER BY rowid")
                                 .arg(Database::quoteIdentifier(src->name)));
            while (st.step()) {
                QHash<QString, QVariant> row;
                for (int i = 0; i < st.columnCount(); ++i) {
                    const SchemaColumn& c = t.columns[size_t(i)];
                    QVariant v = st.column(i);
                    if (v.typeId() == QMetaType::QString)
                        v = reencode1251As1250(v.toString());
                    if (c.decl.type == JetType::Currency && v.isValid())
                        v = currencyToDouble(v.toLongLong());
                    row.insert(c.decl.name, v);
                }
                rows.push_back(row);
            }
        }
        for (auto& row : rows) {
            for (const SchemaColumn& c : t.columns)
                if (!c.derivedFrom.isEmpty()) {
                    const QVariant src = row.value(t.column(c.derivedFrom)->decl.name);
                    row.insert(c.decl.name, src.isValid()
                                                ? QVariant(reencode1251As1250(src.toString()))
                                                : QVariant());
                }
            QStringList names, marks;
            QVariantList values;
            for (const SchemaColumn& c : t.columns) {
                if (!row.contains(c.decl.name))
                    continue;
                names << Database::quoteIdentifier(c.decl.name);
                marks << QStringLiteral("?");
                values << storedValue(c.decl, row.value(c.decl.name));
            }
            if (names.isEmpty())
                db.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES")
                            .arg(Database::quoteIdentifier(t.name)));
            else
                db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(Database::quoteIdentifier(t.name), names.join(QLatin1String(", ")),
                                 marks.join(QLatin1String(", "))),
                        values);
        }
    }
    transaction.commit();
}

} // namespace zf

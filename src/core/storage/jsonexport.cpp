#include "storage/jsonexport.h"

#include "storage/dataset.h"
#include "storage/schema.h"

#include <charconv>
#include <cmath>

namespace zf {

QByteArray jsonString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    out += '"';
    return out;
}

QByteArray jsonDouble(double value) {
    if (!std::isfinite(value))
        return "null";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return QByteArray(buf, int(res.ptr - buf));
}

namespace {

QByteArray jsonValue(const Dataset::Field& f, const QVariant& raw) {
    if (!raw.isValid() || raw.isNull())
        return "null";
    switch (f.type) {
    case JetType::AutoNumber:
    case JetType::Long:
        return QByteArray::number(raw.toLongLong());
    case JetType::Double:
        return jsonDouble(raw.toDouble());
    case JetType::Currency: {
        const qint64 units = raw.toLongLong();
        // Unsigned, so that even the most negative amount has a magnitude.
        const quint64 a = units < 0 ? 0 - quint64(units) : quint64(units);
        return QStringLiteral("%1%2.%3")
            .arg(units < 0 ? QStringLiteral("-") : QString())
            .arg(a / 10000)
            .arg(a % 10000, 4, 10, QLatin1Char('0'))
            .toUtf8();
    }
    case JetType::YesNo:
        return raw.toBool() ? "true" : "false";
    case JetType::DateTime:
        return jsonString(raw.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    case JetType::Text:
    case JetType::Memo:
        return jsonString(raw.toString());
    case JetType::Variant:
        break;
    }
    switch (raw.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QByteArray::number(raw.toLongLong());
    case QMetaType::Double:
        return jsonDouble(raw.toDouble());
    default:
        return jsonString(raw.toString());
    }
}

} // namespace

QByteArray exportProjectJson(Database& db) {
    struct Table {
        const char* name;
        const char* index;
    };
    const Table tables[] = {{"tRozmery", "ID"},
                            {"tSteny", ""},
                            {"tStavOtvory", "IDSteny"},
                            {"tJednotky", "ID"},
                            {"tTempTable", "ID"}};
    QByteArray out = "{";
    bool firstTable = true;
    for (const Table& t : tables) {
        Dataset ds;
        ds.setDatabase(&db);
        ds.setTableName(QString::fromLatin1(t.name));
        ds.setIndexName(QString::fromLatin1(t.index));
        ds.setReadOnly(true);
        ds.open();
        out += firstTable ? "\n  " : ",\n  ";
        firstTable = false;
        out += jsonString(QString::fromLatin1(t.name)) + ": [";
        bool firstRow = true;
        for (ds.first(); !ds.eof(); ds.next()) {
            out += firstRow ? "\n    {" : ",\n    {";
            firstRow = false;
            const auto& fields = ds.fields();
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i)
                    out += ", ";
                out +=
                    jsonString(fields[i].name) + ": " + jsonValue(fields[i], ds.rawValue(int(i)));
            }
            out += '}';
        }
        out += firstRow ? "]" : "\n  ]";
    }
    out += "\n}\n";
    return out;
}

} // namespace zf

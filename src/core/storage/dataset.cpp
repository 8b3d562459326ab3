#include "storage/dataset.h"

#include "common/numberformat.h"
#include "i18n/refusals.h"
#include "storage/filter.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace zf {

// --- types -------------------------------------------------------------------

QString sqlTypeOf(JetType type, int size) {
    switch (type) {
    case JetType::AutoNumber:
        return QStringLiteral("INTEGER");
    case JetType::Long:
        return QStringLiteral("LONG");
    case JetType::Double:
        return QStringLiteral("DOUBLE");
    case JetType::Currency:
        return QStringLiteral("CURRENCY");
    case JetType::Text:
        return QStringLiteral("TEXT(%1)").arg(size);
    case JetType::Memo:
        return QStringLiteral("LONGTEXT");
    case JetType::YesNo:
        return QStringLiteral("YESNO");
    case JetType::DateTime:
        return QStringLiteral("DATETIME");
    case JetType::Variant:
        break;
    }
    return QString();
}

JetType jetTypeOfSql(const QString& declared, bool primaryKey, int* size) {
    const QString t = declared.trimmed().toUpper();
    if (size)
        *size = 0;
    if (t == QLatin1String("INTEGER"))
        return primaryKey ? JetType::AutoNumber : JetType::Long;
    if (t == QLatin1String("LONG"))
        return JetType::Long;
    if (t == QLatin1String("DOUBLE"))
        return JetType::Double;
    if (t == QLatin1String("CURRENCY"))
        return JetType::Currency;
    if (t == QLatin1String("LONGTEXT"))
        return JetType::Memo;
    if (t == QLatin1String("YESNO"))
        return JetType::YesNo;
    if (t == QLatin1String("DATETIME"))
        return JetType::DateTime;
    static const QRegularExpression textRe(QStringLiteral("^TEXT\\s*\\(\\s*(\\d+)\\s*\\)$"));
    const auto m = textRe.match(t);
    if (m.hasMatch()) {
        // A length no text column has is a damaged declaration, not a text column.
        bool ok = false;
        const int n = m.captured(1).toInt(&ok);
        if (!ok || n < 1 || n > MaxTextSize)
            return JetType::Variant;
        if (size)
            *size = n;
        return JetType::Text;
    }
    if (t == QLatin1String("TEXT")) {
        if (size)
            *size = 255;
        return JetType::Text;
    }
    // Columns of other origins: by SQLite's affinity rules.
    if (t.contains(QLatin1String("INT")))
        return JetType::Long;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) ||
        t.contains(QLatin1String("TEXT")))
        return JetType::Memo;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")))
        return JetType::Double;
    return JetType::Variant;
}

QString jetTypeName(JetType type, int size) {
    switch (type) {
    case JetType::AutoNumber:
        return QStringLiteral("AutoNumber");
    case JetType::Long:
        return QStringLiteral("Long");
    case JetType::Double:
        return QStringLiteral("Double");
    case JetType::Currency:
        return QStringLiteral("Currency");
    case JetType::Text:
        return QStringLiteral("Text(%1)").arg(size);
    case JetType::Memo:
        return QStringLiteral("Memo");
    case JetType::YesNo:
        return QStringLiteral("Yes/No");
    case JetType::DateTime:
        return QStringLiteral("Date/Time");
    case JetType::Variant:
        break;
    }
    return QStringLiteral("Variant");
}

QString oneLineText(const QString& text) {
    static const QRegularExpression ends(
        QStringLiteral("^[\\r\\n\\x{2028}\\x{2029}]+|[\\r\\n\\x{2028}\\x{2029}]+$"));
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+"));
    return QString(text).remove(ends).replace(breaks, QStringLiteral(" "));
}

qint64 currencyFromDouble(double value) {
    if (!std::isfinite(value))
        return 0;
    value = std::clamp(value, -MaxCurrency, MaxCurrency);
    // Half away from zero on the decimal form, as the value was typed.
    const QString s = QString::number(value * 10000.0, 'f', 3);
    return qint64(std::llround(s.toDouble()));
}

namespace {

bool isNumericType(int typeId) {
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

int compareValues(const QVariant& a, const QVariant& b) {
    const bool an = !a.isValid() || a.isNull(), bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    if (isNumericType(a.typeId()) && isNumericType(b.typeId())) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString());
}

// A literal of a DEFAULT clause: a number, a quoted text, NULL, TRUE/FALSE.
QVariant parseDefault(const QString& sql) {
    QString s = sql.trimmed();
    while (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')')))
        s = s.mid(1, s.size() - 2).trimmed();
    if (s.isEmpty() || s.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return {};
    if (s.size() >= 2 && s.startsWith(QLatin1Char('\'')) && s.endsWith(QLatin1Char('\'')))
        return s.mid(1, s.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
    if (s.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
        return 1;
    if (s.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        return 0;
    bool ok = false;
    const qlonglong i = s.toLongLong(&ok);
    if (ok)
        return i;
    const double d = s.toDouble(&ok);
    if (ok)
        return d;
    return {}; // an expression: the database applies it on insert
}

bool isNullVariant(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

} // namespace

// --- Dataset -----------------------------------------------------------------

Dataset::Dataset(QString name) : name_(std::move(name)) {}

Dataset::~Dataset() {
    if (active() && db_ && rollbackHandle_)
        db_->removeRollbackListener(rollbackHandle_);
    setMaster(nullptr, QString(), QString());
    for (DataSource* s : sources_)
        s->dataset_ = nullptr;
}

void Dataset::setTableName(const QString& table) {
    if (active())
        close();
    table_ = table;
}

void Dataset::setIndexName(const QString& index) {
    index_ = index;
    if (active()) {
        orderColumns_ = db_->indexColumns(table_, index_);
        load(cur_ >= 0 ? rows_[cur_].rowid : 0);
    }
}

void Dataset::setMaster(DataSource* master, const QString& masterField,
                        const QString& detailField) {
    if (master_) {
        master_->removeDataChange(masterHandle_);
        auto& d = master_->details_;
        d.erase(std::remove(d.begin(), d.end(), this), d.end());
    }
    master_ = master;
    masterField_ = masterField;
    detailField_ = detailField;
    masterHandle_ = 0;
    if (master_) {
        master_->details_.push_back(this);
        masterHandle_ = master_->addDataChange([this](DataSource&, const QString& field) {
            if (field.isEmpty() || field.compare(masterField_, Qt::CaseInsensitive) == 0)
                masterChanged();
        });
    }
}

void Dataset::masterChanged() {
    if (!active() || !master_)
        return;
    checkBrowseMode();
    load(0);
    notifyRecordChange();
}

void Dataset::requireActive() const {
    if (!active())
        throw DbError(QStringLiteral("%1: Cannot perform this operation on a closed dataset.")
                          .arg(name_.isEmpty() ? table_ : name_));
}

void Dataset::requireWritable() const {
    requireActive();
    if (readOnly_)
        throw DbError(QStringLiteral("%1: Cannot modify a read-only dataset.")
                          .arg(name_.isEmpty() ? table_ : name_));
}

void Dataset::open() {
    if (active())
        return;
    if (!db_ || !db_->isOpen())
        throw DbError(QStringLiteral("%1: The connection is not open.").arg(name_));
    const std::vector<TableColumn> cols = db_->tableColumns(table_);
    if (cols.empty())
        throw DbError(QStringLiteral("The table '%1' does not exist.").arg(table_));
    fields_.clear();
    fieldByName_.clear();
    fieldByExactName_.clear();
    quotedNames_.clear();
    selectSql_.clear();
    auto addField = [this](const TableColumn& c, JetType type, int size) {
        Field f{c.name, type, size, QVariant()};
        f.defaultValue = convertOut(f, parseDefault(c.defaultSql));
        fieldByName_.insert(c.name.toLower(), int(fields_.size()));
        fieldByExactName_.insert(c.name, int(fields_.size()));
        quotedNames_.push_back(Database::quoteIdentifier(c.name));
        fields_.push_back(f);
    };
    if (declared_.empty()) {
        for (const TableColumn& c : cols) {
            int size = 0;
            const JetType t = jetTypeOfSql(c.declaredType, c.primaryKey, &size);
            addField(c, t, size);
        }
    } else {
        for (const ColumnDecl& d : declared_) {
            auto it = std::find_if(cols.begin(), cols.end(), [&](const TableColumn& c) {
                return c.name.compare(d.name, Qt::CaseInsensitive) == 0;
            });
            if (it == cols.end())
                throw DbError(QStringLiteral("The column '%1' of the table '%2' is missing.")
                                  .arg(d.name, table_));
            int size = 0;
            const JetType t = jetTypeOfSql(it->declaredType, it->primaryKey, &size);
            if (t != d.type || (t == JetType::Text && size != d.size))
                throw DbError(
                    QStringLiteral("The column '%1' of the table '%2' is of the type %3, not %4.")
                        .arg(d.name, table_, jetTypeName(t, size), jetTypeName(d.type, d.size)));
            addField(*it, d.type, d.size);
        }
    }
    const Database::ViewTable* view = db_->viewTable(table_);
    keySql_ = view ? Database::quoteIdentifier(view->key) : QStringLiteral("rowid");
    writeSql_ = view ? QStringLiteral("main.") + Database::quoteIdentifier(view->base)
                     : Database::quoteIdentifier(table_);
    viewKeyField_ = view ? fieldIndex(view->key) : -1;
    if (view && viewKeyField_ < 0)
        throw DbError(
            QStringLiteral("The column '%1' of the table '%2' is missing.").arg(view->key, table_));
    orderColumns_.clear();
    if (!index_.isEmpty()) {
        orderColumns_ = db_->indexColumns(table_, index_);
        if (orderColumns_.isEmpty())
            throw DbError(QStringLiteral("The table '%1' has no index '%2'.").arg(table_, index_));
    }
    state_ = State::Browse;
    try {
        load(0);
    } catch (...) {
        state_ = State::Inactive;
        rows_.clear();
        throw;
    }
    rollbackHandle_ = db_->addRollbackListener([this] { afterRollback(); });
    notifyRecordChange();
}

// The rows held in memory are what the file held before the rollback.
void Dataset::afterRollback() {
    if (!active())
        return;
    const qint64 keep = cur_ >= 0 && cur_ < int(rows_.size()) ? rows_[cur_].rowid : 0;
    state_ = State::Browse;
    buffer_.clear();
    try {
        load(keep);
    } catch (const DbError&) {
        close();
        return;
    }
    notifyRecordChange();
}

void Dataset::close() {
    if (!active())
        return;
    if (db_ && rollbackHandle_)
        db_->removeRollbackListener(rollbackHandle_);
    rollbackHandle_ = 0;
    state_ = State::Inactive;
    rows_.clear();
    rows_.shrink_to_fit();
    buffer_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    notifyRecordChange();
}

// The same for as long as the dataset is open, and asked for every row read
// back after a post: made once.
QString Dataset::selectSql() const {
    if (selectSql_.isEmpty()) {
        QStringList names;
        for (const Field& f : fields_)
            names << Database::quoteIdentifier(f.name);
        selectSql_ = QStringLiteral("SELECT %1%2%3 FROM %4")
                         .arg(keySql_, names.isEmpty() ? QString() : QStringLiteral(", "),
                              names.join(QLatin1String(", ")), Database::quoteIdentifier(table_));
    }
    return selectSql_;
}

void Dataset::load(qint64 keepRowid) {
    QStringList conditions;
    QVariantList params;
    if (filtered_ && !filter_.trimmed().isEmpty()) {
        QStringList names;
        for (const Field& f : fields_)
            names << f.name;
        const SqlCondition c = translateFilter(filter_, names);
        conditions << c.sql;
        params << c.params;
    }
    if (master_) {
        Dataset* m = master_->dataset();
        if (!m || !m->active() || m->isEmpty() || m->state() == State::Insert) {
            conditions << QStringLiteral("0");
        } else {
            conditions << QStringLiteral("%1 = ?").arg(Database::quoteIdentifier(detailField_));
            params << m->value(masterField_);
        }
    }
    QString sql = selectSql();
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QLatin1String(" AND "));
    QStringList order;
    for (const QString& c : orderColumns_)
        order << Database::quoteIdentifier(c);
    order << keySql_;
    sql += QStringLiteral(" ORDER BY ") + order.join(QLatin1String(", "));

    Statement st(*db_, sql);
    st.bindAll(params);
    std::vector<Row> rows;
    while (st.step()) {
        Row r;
        r.rowid = st.columnInt64(0);
        r.values.reserve(qsizetype(fields_.size()));
        for (size_t i = 0; i < fields_.size(); ++i)
            r.values << convertOut(fields_[i], st.column(int(i) + 1));
        rows.push_back(std::move(r));
    }
    rows_ = std::move(rows);
    ++generation_;
    state_ = State::Browse;
    buffer_.clear();
    cur_ = rows_.empty() ? -1 : 0;
    if (keepRowid != 0) {
        for (size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].rowid == keepRowid)
                cur_ = int(i);
    }
    eof_ = bof_ = rows_.empty();
}

Dataset::Row Dataset::readRow(qint64 rowid) {
    Statement st(*db_, selectSql() + QStringLiteral(" WHERE %1 = ?").arg(keySql_));
    st.bind(1, rowid);
    Row r;
    r.rowid = rowid;
    if (st.step())
        for (size_t i = 0; i < fields_.size(); ++i)
            r.values << convertOut(fields_[i], st.column(int(i) + 1));
    return r;
}

void Dataset::refresh() {
    requireActive();
    checkBrowseMode();
    load(cur_ >= 0 ? rows_[cur_].rowid : 0);
    notifyRecordChange();
}

void Dataset::moveTo(int index) {
    requireActive();
    checkBrowseMode();
    const int old = cur_;
    cur_ = rows_.empty() ? -1 : std::clamp(index, 0, int(rows_.size()) - 1);
    if (old != cur_)
        notifyRecordChange();
}

void Dataset::first() {
    moveTo(0);
    eof_ = bof_ = rows_.empty();
    bof_ = true;
}

void Dataset::last() {
    moveTo(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.empty();
}

void Dataset::next() {
    requireActive();
    checkBrowseMode();
    if (cur_ + 1 >= int(rows_.size())) {
        eof_ = true;
        return;
    }
    bof_ = false;
    moveTo(cur_ + 1);
    eof_ = false;
}

void Dataset::prior() {
    requireActive();
    checkBrowseMode();
    if (cur_ <= 0) {
        bof_ = true;
        return;
    }
    eof_ = false;
    moveTo(cur_ - 1);
    bof_ = false;
}

void Dataset::edit() {
    requireWritable();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (rows_.empty()) {
        append();
        return;
    }
    buffer_ = rows_[cur_].values;
    assigned_.assign(fields_.size(), false);
    state_ = State::Edit;
}

void Dataset::append() {
    requireWritable();
    checkBrowseMode();
    buffer_.clear();
    for (const Field& f : fields_)
        buffer_ << f.defaultValue;
    assigned_.assign(fields_.size(), false);
    state_ = State::Insert;
    if (master_ && master_->dataset() && master_->dataset()->active() &&
        !master_->dataset()->isEmpty()) {
        const int i = fieldIndex(detailField_);
        if (i >= 0) {
            buffer_[i] = convertIn(fields_[i], master_->dataset()->value(masterField_));
            assigned_[i] = true;
        }
    }
    eof_ = bof_ = true;
    notifyRecordChange();
}

bool Dataset::orderLess(const Row& a, const Row& b) const {
    for (const QString& c : orderColumns_) {
        const int i = fieldIndex(c);
        if (i < 0)
            continue;
        const int r = compareValues(a.values[i], b.values[i]);
        if (r != 0)
            return r < 0;
    }
    return a.rowid < b.rowid;
}

void Dataset::post() {
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    QStringList names;
    QVariantList params;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (!assigned_[i])
            continue;
        names << quotedNames_[i];
        params << storageValue(fields_[i], buffer_[qsizetype(i)]);
    }
    if (state_ == State::Edit) {
        if (!names.isEmpty()) {
            QStringList sets;
            for (const QString& n : names)
                sets << n + QStringLiteral(" = ?");
            params << rows_[cur_].rowid;
            db_->exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                          .arg(writeSql_, sets.join(QLatin1String(", ")), keySql_),
                      params);
            if (viewKeyField_ >= 0 && db_->changes() == 0)
                throw DbError(rowNotWritable());
            rows_[cur_].values = buffer_;
        }
        state_ = State::Browse;
        buffer_.clear();
    } else {
        qint64 key = 0;
        if (viewKeyField_ >= 0) {
            // The view's base table is written with a key of its own range, so
            // that a new row never meets one the view shows from elsewhere.
            const Field& f = fields_[size_t(viewKeyField_)];
            if (assigned_[size_t(viewKeyField_)] && !isNullVariant(buffer_[viewKeyField_])) {
                key = buffer_[viewKeyField_].toLongLong();
            } else {
                key = db_->nextViewKey(table_);
                if (!assigned_[size_t(viewKeyField_)]) {
                    names << quotedNames_[size_t(viewKeyField_)];
                    params << storageValue(f, key);
                } else {
                    params[names.indexOf(quotedNames_[size_t(viewKeyField_)])] = key;
                }
            }
        }
        if (names.isEmpty()) {
            db_->exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(writeSql_));
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            db_->exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(writeSql_, names.join(QLatin1String(", ")),
                               marks.join(QLatin1String(", "))),
                      params);
        }
        Row row = readRow(viewKeyField_ >= 0 ? key : db_->lastInsertRowId());
        state_ = State::Browse;
        buffer_.clear();
        auto pos =
            orderColumns_.isEmpty()
                ? rows_.end()
                : std::upper_bound(rows_.begin(), rows_.end(), row,
                                   [this](const Row& a, const Row& b) { return orderLess(a, b); });
        cur_ = int(pos - rows_.begin());
        rows_.insert(pos, std::move(row));
        ++generation_;
        eof_ = bof_ = false;
    }
    notifyRecordChange();
}

void Dataset::cancel() {
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    state_ = State::Browse;
    buffer_.clear();
    eof_ = bof_ = rows_.empty();
    notifyRecordChange();
}

void Dataset::checkBrowseMode() {
    if (state_ == State::Edit || state_ == State::Insert)
        post();
}

void Dataset::deleteRecord() {
    requireWritable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    if (rows_.empty())
        throw DbError(
            QStringLiteral("%1: Cannot perform this operation on an empty dataset.").arg(name_));
    db_->exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(writeSql_, keySql_),
              {rows_[cur_].rowid});
    if (viewKeyField_ >= 0 && db_->changes() == 0)
        throw DbError(rowNotWritable());
    rows_.erase(rows_.begin() + cur_);
    ++generation_;
    if (cur_ >= int(rows_.size()))
        cur_ = int(rows_.size()) - 1;
    eof_ = bof_ = rows_.empty();
    notifyRecordChange();
}

// A row a view shows from a file the connection only reads.
QString Dataset::rowNotWritable() const {
    return QStringLiteral("%1: The row belongs to the supplied data and cannot be changed.")
        .arg(name_.isEmpty() ? table_ : name_);
}

void Dataset::appendRecord(const QVariantList& values) {
    append();
    try {
        for (qsizetype i = 0; i < values.size() && i < qsizetype(fields_.size()); ++i) {
            if (values[i].isValid())
                setValue(fields_[i].name, values[i]);
        }
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

int Dataset::fieldIndex(const QString& name) const {
    // Callers nearly always spell a column as the table does.
    const auto exact = fieldByExactName_.constFind(name);
    if (exact != fieldByExactName_.constEnd())
        return exact.value();
    return fieldByName_.value(name.toLower(), -1);
}

const QVariantList* Dataset::currentValues() const {
    if (state_ == State::Edit || state_ == State::Insert)
        return &buffer_;
    if (cur_ < 0 || cur_ >= int(rows_.size()))
        return nullptr;
    return &rows_[cur_].values;
}

QVariant Dataset::rawValue(int index) const {
    const QVariantList* v = currentValues();
    if (!v || index < 0 || index >= v->size())
        return {};
    return v->at(index);
}

QVariant Dataset::value(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found.")
                          .arg(name_.isEmpty() ? table_ : name_, name));
    QVariant raw = rawValue(i);
    if (fields_[i].type == JetType::Currency && !isNullVariant(raw))
        return currencyToDouble(raw.toLongLong());
    return raw;
}

bool Dataset::isNull(const QString& name) const {
    return isNullVariant(value(name));
}

int Dataset::asInteger(const QString& name) const {
    const QVariant v = value(name);
    if (isNullVariant(v))
        return 0;
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > double(std::numeric_limits<int>::max()))
            throw DbError(
                QStringLiteral("The value %1 of the column %2 is out of range.").arg(d).arg(name));
        return roundToInt(d); // halves to even
    }
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const int i = v.toString().trimmed().toInt(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' is not a valid integer value.").arg(v.toString()));
        return i;
    }
    return v.toInt();
}

double Dataset::asFloat(const QString& name) const {
    const QVariant v = value(name);
    if (isNullVariant(v))
        return 0.0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw DbError(
                QStringLiteral("'%1' is not a valid floating point value.").arg(v.toString()));
        return d;
    }
    return v.toDouble();
}

QString Dataset::asString(const QString& name) const {
    const int i = fieldIndex(name);
    const QVariant v = value(name);
    if (isNullVariant(v))
        return QString();
    switch (fields_[i].type) {
    case JetType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case JetType::Currency:
        return QString::number(v.toDouble(), 'g', 19);
    case JetType::YesNo:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case JetType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return v.toString();
    }
}

bool Dataset::asBoolean(const QString& name) const {
    const QVariant v = value(name);
    if (isNullVariant(v))
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || (s.toInt() != 0);
    }
    return v.toDouble() != 0.0;
}

QDateTime Dataset::asDateTime(const QString& name) const {
    const QVariant v = value(name);
    if (isNullVariant(v))
        return QDateTime();
    return v.toDateTime();
}

qint64 Dataset::asCurrency(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found.").arg(name_, name));
    const QVariant raw = rawValue(i);
    if (isNullVariant(raw))
        return 0;
    if (fields_[i].type == JetType::Currency)
        return raw.toLongLong();
    return currencyFromDouble(raw.toDouble());
}

// The value as held in memory for a column kind; throws for a value of the wrong
// kind.
QVariant Dataset::convertIn(const Field& f, const QVariant& v) const {
    if (isNullVariant(v))
        return {};
    // The refusals name the column; a window names the field by its caption.
    auto bad = [&](int id) -> DbError {
        return DbError(fieldRefusal(id, {v.toString(), f.name}, 1));
    };
    auto outOfRange = [&] { return DbError(fieldRefusal(3004, {v.toString(), f.name}, 1)); };
    const bool isText = v.typeId() == QMetaType::QString;
    switch (f.type) {
    case JetType::AutoNumber:
    case JetType::Long: {
        double d = 0;
        if (isText) {
            bool ok = false;
            d = v.toString().trimmed().toDouble(&ok);
            if (!ok)
                throw bad(3001);
        } else if (isNumericType(v.typeId())) {
            d = v.toDouble();
        } else {
            throw bad(3001);
        }
        d = std::nearbyint(d);
        if (!std::isfinite(d) || d < std::numeric_limits<qint32>::min() ||
            d > std::numeric_limits<qint32>::max())
            throw outOfRange();
        return QVariant(qint32(d));
    }
    case JetType::Double: {
        double d = 0;
        if (isText) {
            bool ok = false;
            d = v.toString().trimmed().toDouble(&ok);
            if (!ok)
                throw bad(3000);
        } else if (isNumericType(v.typeId())) {
            d = v.toDouble();
        } else {
            throw bad(3000);
        }
        if (!std::isfinite(d))
            throw DbError(fieldRefusal(3005, {f.name}, 0));
        return QVariant(d);
    }
    case JetType::Currency: {
        double d = 0;
        if (isText) {
            bool ok = false;
            d = v.toString().trimmed().toDouble(&ok);
            if (!ok)
                throw bad(3000);
        } else if (isNumericType(v.typeId())) {
            d = v.toDouble();
        } else {
            throw bad(3000);
        }
        if (!std::isfinite(d) || std::fabs(d) > MaxCurrency)
            throw outOfRange();
        return QVariant(currencyFromDouble(d));
    }
    case JetType::Text:
    case JetType::Memo: {
        const QString s = v.toString();
        if (f.type == JetType::Text && s.size() > f.size)
            throw DbError(fieldRefusal(3006, {f.name, f.size, s.size()}, 0));
        return QVariant(s);
    }
    case JetType::YesNo:
        if (isText) {
            const QString s = v.toString().trimmed();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                s == QLatin1String("1") || s == QLatin1String("-1"))
                return QVariant(true);
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
                s == QLatin1String("0"))
                return QVariant(false);
            throw bad(3002);
        }
        if (!isNumericType(v.typeId()))
            throw bad(3002);
        return QVariant(v.toDouble() != 0.0);
    case JetType::DateTime: {
        QDateTime dt;
        if (v.typeId() == QMetaType::QDateTime)
            dt = v.toDateTime();
        else if (v.typeId() == QMetaType::QDate)
            dt = v.toDate().startOfDay();
        else if (isText)
            dt = QDateTime::fromString(v.toString().trimmed(), Qt::ISODate);
        if (!dt.isValid())
            throw bad(3003);
        return QVariant(dt);
    }
    case JetType::Variant:
        break;
    }
    return v;
}

// A stored value as held in memory; values that do not fit the column's kind are
// read as null rather than guessed.
QVariant Dataset::convertOut(const Field& f, const QVariant& stored) const {
    if (isNullVariant(stored))
        return {};
    switch (f.type) {
    case JetType::AutoNumber:
    case JetType::Long: {
        double d = 0;
        if (stored.typeId() == QMetaType::Double) {
            d = std::nearbyint(stored.toDouble());
        } else if (stored.typeId() == QMetaType::QString) {
            bool ok = false;
            const int i = stored.toString().toInt(&ok);
            return ok ? QVariant(i) : QVariant();
        } else {
            const qint64 i = stored.toLongLong();
            if (i < std::numeric_limits<qint32>::min() || i > std::numeric_limits<qint32>::max())
                return {};
            return QVariant(qint32(i));
        }
        if (!(d >= std::numeric_limits<qint32>::min() && d <= std::numeric_limits<qint32>::max()))
            return {};
        return QVariant(qint32(d));
    }
    case JetType::Double: {
        bool ok = true;
        const double d = stored.toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    case JetType::Currency: {
        if (stored.typeId() == QMetaType::LongLong) {
            // Ten-thousandths as the program writes them: at most 19 digits.
            const qint64 units = stored.toLongLong();
            return units == std::numeric_limits<qint64>::min() ? QVariant() : stored;
        }
        bool ok = true;
        const double d = stored.toDouble(&ok);
        if (!ok || !std::isfinite(d) || std::fabs(d) > MaxCurrency)
            return {};
        return QVariant(currencyFromDouble(d));
    }
    case JetType::Text:
    case JetType::Memo:
        return QVariant(stored.toString());
    case JetType::YesNo:
        return QVariant(stored.toDouble() != 0.0);
    case JetType::DateTime: {
        if (stored.typeId() == QMetaType::QDateTime)
            return stored;
        const QDateTime dt = QDateTime::fromString(stored.toString(), Qt::ISODate);
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case JetType::Variant:
        break;
    }
    return stored;
}

QVariant Dataset::storageValue(const Field& f, const QVariant& v) const {
    if (isNullVariant(v))
        return {};
    switch (f.type) {
    case JetType::YesNo:
        return QVariant(v.toBool() ? 1 : 0);
    case JetType::DateTime:
        return QVariant(v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    default:
        return v;
    }
}

void Dataset::setValue(const QString& name, const QVariant& value) {
    requireWritable();
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found.")
                          .arg(name_.isEmpty() ? table_ : name_, name));
    const Field& f = fields_[i];
    if (f.type == JetType::AutoNumber)
        throw DbError(
            QStringLiteral("The column %1 is assigned by the database and cannot be changed.")
                .arg(f.name));
    const QVariant converted = convertIn(f, value);
    if (state_ == State::Browse)
        edit();
    for (const BeforeChange& hook : beforeChange_)
        hook(*this, f.name);
    buffer_[i] = converted;
    assigned_[i] = true;
    notifyFieldChange(f.name);
}

void Dataset::setCurrency(const QString& name, qint64 units) {
    setValue(name, currencyToDouble(units));
    const int i = fieldIndex(name);
    if (fields_[i].type == JetType::Currency)
        buffer_[i] = QVariant(units); // exact, whatever the double said
}

void Dataset::setDisplayFormat(const QString& name, const QString& format) {
    displayFormats_.insert(name.toLower(), format);
}

QString Dataset::displayFormat(const QString& name) const {
    return displayFormats_.value(name.toLower());
}

QVariant Dataset::valueAt(int row, int field) const {
    if (row < 0 || row >= int(rows_.size()) || field < 0 || field >= int(fields_.size()))
        return {};
    QVariant raw = row == cur_ && state_ == State::Edit
                             ? buffer_.value(field)
                             : rows_[size_t(row)].values.value(field);
    if (fields_[size_t(field)].type == JetType::Currency && !isNullVariant(raw))
        return currencyToDouble(raw.toLongLong());
    return raw;
}

QString Dataset::displayTextAt(int row, const QString& name) const {
    const int i = fieldIndex(name);
    const QVariant v = valueAt(row, i);
    if (isNullVariant(v))
        return QString();
    const QString fmt = displayFormat(name);
    if (!fmt.isEmpty() && isNumericType(v.typeId()))
        return formatFloat(fmt, v.toDouble());
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

QString Dataset::displayText(const QString& name) const {
    const QString fmt = displayFormat(name);
    const QVariant v = value(name);
    if (!fmt.isEmpty() && !isNullVariant(v) && isNumericType(v.typeId()))
        return formatFloat(fmt, v.toDouble());
    return asString(name);
}

void Dataset::setFilter(const QString& expression) {
    filter_ = expression;
    if (active() && filtered_) {
        checkBrowseMode();
        load(0);
        notifyRecordChange();
    }
}

void Dataset::setFiltered(bool on) {
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (active()) {
        checkBrowseMode();
        load(0);
        notifyRecordChange();
    }
}

bool Dataset::locate(const QString& name, const QVariant& value, bool caseInsensitive) {
    requireActive();
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found.").arg(name_, name));
    checkBrowseMode();
    for (size_t r = 0; r < rows_.size(); ++r) {
        const QVariant& v = rows_[r].values[i];
        bool match;
        if (fields_[i].type == JetType::Text || fields_[i].type == JetType::Memo)
            match =
                !isNullVariant(v) &&
                v.toString().compare(value.toString(), caseInsensitive ? Qt::CaseInsensitive
                                                                       : Qt::CaseSensitive) == 0;
        else
            match = compareValues(convertOut(fields_[i], v),
                                  fields_[i].type == JetType::Currency
                                      ? QVariant(currencyFromDouble(value.toDouble()))
                                      : value) == 0 &&
                    !isNullVariant(v);
        if (match) {
            moveTo(int(r));
            eof_ = bof_ = false;
            return true;
        }
    }
    return false;
}

QVariant Dataset::lookup(const QString& keyName, const QVariant& keyValue,
                         const QString& resultName) const {
    requireActive();
    const int k = fieldIndex(keyName), r = fieldIndex(resultName);
    if (k < 0 || r < 0)
        throw DbError(
            QStringLiteral("%1: Field '%2' not found.").arg(name_, k < 0 ? keyName : resultName));
    for (const Row& row : rows_) {
        const QVariant& v = row.values[k];
        const bool match = (fields_[k].type == JetType::Text || fields_[k].type == JetType::Memo)
                               ? (!isNullVariant(v) && v.toString() == keyValue.toString())
                               : (!isNullVariant(v) && compareValues(v, keyValue) == 0);
        if (match) {
            QVariant res = row.values[r];
            if (fields_[r].type == JetType::Currency && !isNullVariant(res))
                return currencyToDouble(res.toLongLong());
            return res;
        }
    }
    return {};
}

void Dataset::enableControls() {
    if (disabled_ > 0 && --disabled_ == 0)
        notifyRecordChange();
}

Dataset::ControlsSuspended::~ControlsSuspended() {
    try {
        ds_.enableControls();
    } catch (...) {
        // A control that cannot follow keeps what it shows; the operation's own
        // failure, if any, is the one to report.
    }
}

void Dataset::notifyRecordChange() {
    if (disabled_ > 0)
        return;
    const auto sources = sources_;
    for (DataSource* s : sources)
        s->send(QString());
}

void Dataset::notifyFieldChange(const QString& field) {
    if (disabled_ > 0)
        return;
    const auto sources = sources_;
    for (DataSource* s : sources)
        s->send(field);
}

// --- DataSource ----------------------------------------------------------------

DataSource::DataSource(QString name, Dataset* dataset) : name_(std::move(name)) {
    setDataset(dataset);
}

DataSource::~DataSource() {
    for (Dataset* d : details_)
        d->master_ = nullptr;
    setDataset(nullptr);
}

void DataSource::setDataset(Dataset* dataset) {
    if (dataset_) {
        auto& v = dataset_->sources_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    dataset_ = dataset;
    if (dataset_)
        dataset_->sources_.push_back(this);
}

int DataSource::addDataChange(DataChange listener) {
    const int h = nextHandle_++;
    listeners_.emplace_back(h, std::move(listener));
    return h;
}

void DataSource::removeDataChange(int handle) {
    listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                    [handle](const auto& p) { return p.first == handle; }),
                     listeners_.end());
}

void DataSource::send(const QString& field) {
    const auto listeners = listeners_;
    for (const auto& [h, l] : listeners)
        l(*this, field);
}

} // namespace zf

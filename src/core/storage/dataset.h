#pragma once

#include "storage/sqlite.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace zf {

// Column types of the project and reference files. The declared SQL type of a
// column records it: INTEGER PRIMARY KEY (AutoNumber), LONG, DOUBLE, CURRENCY,
// TEXT(n), LONGTEXT (Memo), YESNO, DATETIME.
enum class JetType { AutoNumber, Long, Double, Currency, Text, Memo, YesNo, DateTime, Variant };

struct ColumnDecl {
    QString name;
    JetType type = JetType::Variant;
    int size = 0; // characters of a Text column
};

// The declared SQL type of a column of the given kind, e.g. "TEXT(50)".
QString sqlTypeOf(JetType type, int size);
// The kind recorded by a declared SQL type; size receives the length of a TEXT(n).
JetType jetTypeOfSql(const QString& declaredType, bool primaryKey, int* size = nullptr);
QString jetTypeName(JetType type, int size); // "Text(50)", "Double", ...

// The longest Text(n) column; a longer declaration is a damaged one.
inline constexpr int MaxTextSize = 65535;
// The largest Currency amount: its ten-thousandths fit a 64-bit integer.
inline constexpr double MaxCurrency = 9.2e14;

// Currency values are exact: a number of ten-thousandths.
qint64 currencyFromDouble(double value);
inline double currencyToDouble(qint64 units) {
    return double(units) / 10000.0;
}

// What a one-line field (a Text column's edit or grid cell) keeps of a text
// pasted with line breaks: those at the ends go, those within become blanks.
QString oneLineText(const QString& text);

class DataSource;

// A table of an open database with a cursor, the edit states of a dataset, filters,
// an index order, a master-detail link and change notifications. The rows of the
// table (as filtered) are held in memory; every post writes to the file at once.
class Dataset {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(QString name = QString());
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    const QString& name() const { return name_; }

    // --- set-up (while closed) ---
    void setDatabase(Database* db) { db_ = db; }
    Database* database() const { return db_; }
    void setTableName(const QString& table);
    const QString& tableName() const { return table_; }
    void setIndexName(const QString& index);
    const QString& indexName() const { return index_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool readOnly() const { return readOnly_; }
    // Columns the file's table must have with these types; only they are read.
    // Without declarations every column of the table is read.
    void setDeclaredColumns(std::vector<ColumnDecl> columns) { declared_ = std::move(columns); }
    const std::vector<ColumnDecl>& declaredColumns() const { return declared_; }
    // Detail of the current row of master: only rows whose detailField equals the
    // master's masterField; a new row takes the master's value.
    void setMaster(DataSource* master, const QString& masterField, const QString& detailField);

    // --- open and close ---
    void open(); // throws DbError; the dataset stays closed then
    void close();
    bool active() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    void refresh(); // re-reads the rows, keeping the current row where it still is

    // --- cursor ---
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    int recNo() const { return cur_ + 1; } // 1-based; 0 when empty
    // The rows by position, for views that show them all: row 0 ... recordCount
    // - 1 in the dataset's order and filter. The current row in edit state shows
    // its pending values.
    int currentRow() const { return cur_; }
    void moveToRow(int row) { moveTo(row); }
    QVariant valueAt(int row, int field) const; // Currency as double; null invalid
    QString displayTextAt(int row, const QString& name) const;
    // Changes whenever the rows themselves change (read again, a row added or
    // deleted), not when only the cursor moves or a value of a row changes.
    quint64 generation() const { return generation_; }

    // --- editing ---
    void edit();
    void append();
    void post();
    void cancel();
    void deleteRecord();
    // Appends and posts a row from values in column order; an invalid QVariant
    // leaves its column as initialized.
    void appendRecord(const QVariantList& values);
    // Posts when in edit or insert state.
    void checkBrowseMode();

    // --- fields of the current row ---
    struct Field {
        QString name;
        JetType type;
        int size;
        QVariant defaultValue;
    };
    const std::vector<Field>& fields() const { return fields_; }
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // A Text column (one line, unlike a Memo).
    bool isTextField(const QString& name) const {
        const int i = fieldIndex(name);
        return i >= 0 && fields_[size_t(i)].type == JetType::Text;
    }
    int fieldIndex(const QString& name) const;
    QVariant value(const QString& name) const; // Currency as double; null invalid
    bool isNull(const QString& name) const;
    int asInteger(const QString& name) const;
    double asFloat(const QString& name) const;
    QString asString(const QString& name) const;
    bool asBoolean(const QString& name) const;
    QDateTime asDateTime(const QString& name) const;
    qint64 asCurrency(const QString& name) const;
    // Raw value as held: Currency as qint64 ten-thousandths.
    QVariant rawValue(int index) const;
    // Writes a column of the current row, entering edit state (insert state on an
    // empty dataset). Refuses a value of the wrong kind, a text longer than its
    // column, a number out of range.
    void setValue(const QString& name, const QVariant& value);
    void setNull(const QString& name) { setValue(name, QVariant()); }
    void setCurrency(const QString& name, qint64 units);

    // Display format of a floating-point column (",0.##"); displayText applies it.
    void setDisplayFormat(const QString& name, const QString& format);
    QString displayFormat(const QString& name) const;
    QString displayText(const QString& name) const;

    // --- filters and searches ---
    void setFilter(const QString& expression); // re-reads when filtered
    const QString& filter() const { return filter_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    bool locate(const QString& name, const QVariant& value, bool caseInsensitive = false);
    QVariant lookup(const QString& keyName, const QVariant& keyValue,
                    const QString& resultName) const;

    // --- notifications ---
    using BeforeChange = std::function<void(Dataset&, const QString& field)>;
    void addBeforeFieldChange(BeforeChange hook) { beforeChange_.push_back(std::move(hook)); }
    // Suspends the updates of bound controls (the data-change notifications and
    // the details); the last enableControls sends one record change. Prefer the
    // ControlsSuspended guard below, which resumes in every case.
    void disableControls() { ++disabled_; }
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }

    // Keeps the bound controls of a dataset from following every row a bulk
    // operation writes or walks; they get one record change at the end, also
    // when an exception passes.
    class ControlsSuspended {
    public:
        explicit ControlsSuspended(Dataset& ds) : ds_(ds) { ds_.disableControls(); }
        ~ControlsSuspended();
        ControlsSuspended(const ControlsSuspended&) = delete;
        ControlsSuspended& operator=(const ControlsSuspended&) = delete;

    private:
        Dataset& ds_;
    };

private:
    friend class DataSource;
    struct Row {
        qint64 rowid = 0;
        QVariantList values;
    };

    void requireActive() const;
    void requireWritable() const;
    QString rowNotWritable() const;
    const QVariantList* currentValues() const;
    QVariant convertIn(const Field& f, const QVariant& v) const;
    QVariant convertOut(const Field& f, const QVariant& stored) const;
    QVariant storageValue(const Field& f, const QVariant& v) const;
    void load(qint64 keepRowid);
    Row readRow(qint64 rowid);
    QString selectSql() const;
    bool orderLess(const Row& a, const Row& b) const;
    void notifyRecordChange();
    void notifyFieldChange(const QString& field);
    void masterChanged();
    void moveTo(int index);
    void afterRollback();

    QString name_;
    Database* db_ = nullptr;
    QString table_;
    QString index_;
    QStringList orderColumns_; // resolved from the index when opened
    // How a row is named and where it is written: the rowid of the table, or
    // for a view of the connection the key column and the view's base table.
    QString keySql_ = QStringLiteral("rowid");
    QString writeSql_;
    int viewKeyField_ = -1;
    bool readOnly_ = false;
    std::vector<ColumnDecl> declared_;
    std::vector<Field> fields_;
    QHash<QString, int> fieldByName_; // lower-case names
    QHash<QString, int> fieldByExactName_;
    std::vector<QString> quotedNames_; // as SQL writes them
    mutable QString selectSql_;
    QHash<QString, QString> displayFormats_;

    State state_ = State::Inactive;
    std::vector<Row> rows_;
    int cur_ = -1;
    bool eof_ = true, bof_ = true;
    QVariantList buffer_;
    std::vector<bool> assigned_;

    QString filter_;
    bool filtered_ = false;

    DataSource* master_ = nullptr;
    int masterHandle_ = 0;
    QString masterField_, detailField_;

    int rollbackHandle_ = 0;
    quint64 generation_ = 0;
    std::vector<BeforeChange> beforeChange_;
    int disabled_ = 0;
    std::vector<DataSource*> sources_;
};

// The link between a dataset and the controls bound to it: tells its listeners
// when the current row moved (field empty) or a column of it changed.
class DataSource {
public:
    explicit DataSource(QString name = QString(), Dataset* dataset = nullptr);
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const QString& name() const { return name_; }
    void setDataset(Dataset* dataset);
    Dataset* dataset() const { return dataset_; }

    using DataChange = std::function<void(DataSource&, const QString& field)>;
    // Listeners run in the order added; returns a handle for removeDataChange.
    int addDataChange(DataChange listener);
    void removeDataChange(int handle);

private:
    friend class Dataset;
    void send(const QString& field);

    QString name_;
    Dataset* dataset_ = nullptr;
    std::vector<Dataset*> details_;
    std::vector<std::pair<int, DataChange>> listeners_;
    int nextHandle_ = 1;
};

} // namespace zf

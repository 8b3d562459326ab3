#include "binding/datasetmodel.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/refusals.h"
#include "i18n/texts.h"
#include "storage/operation.h"

#include <QTimer>

namespace zf {

DatasetModel::DatasetModel(DataSource& source, QObject* parent)
    : QAbstractTableModel(parent), source_(source) {
    handle_ = source_.addDataChange([this](DataSource&, const QString& f) { onDataChange(f); });
    rows_ = dataset().active() ? dataset().recordCount() : 0;
    generation_ = dataset().generation();
    lastCurrent_ = currentRow();
}

DatasetModel::~DatasetModel() {
    source_.removeDataChange(handle_);
}

void DatasetModel::setColumns(std::vector<GridColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    fieldIndexes_.clear();
    endResetModel();
}

void DatasetModel::setColumnTitle(int c, const QString& title) {
    if (c < 0 || c >= int(columns_.size()))
        return;
    columns_[size_t(c)].title = title;
    emit headerDataChanged(Qt::Horizontal, c, c);
}

void DatasetModel::setColumnWidth(int c, int width) {
    if (c >= 0 && c < int(columns_.size()))
        columns_[size_t(c)].width = width;
}

void DatasetModel::setColumnField(int c, const QString& field) {
    if (c < 0 || c >= int(columns_.size()) || columns_[size_t(c)].field == field)
        return;
    columns_[size_t(c)].field = field;
    fieldIndexes_.clear();
    if (rows_ > 0)
        emit dataChanged(index(0, c), index(rows_ - 1, c));
}

int DatasetModel::columnOfField(const QString& field) const {
    for (size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].field.compare(field, Qt::CaseInsensitive) == 0)
            return int(c);
    return -1;
}

int DatasetModel::maxLength(int column) const {
    if (column < 0 || column >= columnCount())
        return 0;
    const int f = fieldIndex(column);
    if (f < 0)
        return 0;
    const Dataset::Field& field = dataset().fields()[size_t(f)];
    return field.type == JetType::Text ? field.size : 0;
}

int DatasetModel::fieldIndex(int column) const {
    if (fieldIndexes_.size() != columns_.size()) {
        auto& cache = const_cast<std::vector<int>&>(fieldIndexes_);
        cache.clear();
        for (const GridColumn& c : columns_)
            cache.push_back(dataset().active() ? dataset().fieldIndex(c.field) : -1);
    }
    return fieldIndexes_[size_t(column)];
}

bool DatasetModel::numeric(int column) const {
    const int f = fieldIndex(column);
    if (f < 0)
        return false;
    switch (dataset().fields()[size_t(f)].type) {
    case JetType::Long:
    case JetType::AutoNumber:
    case JetType::Double:
    case JetType::Currency:
        return true;
    default:
        return false;
    }
}

int DatasetModel::currentRow() const {
    const Dataset& ds = dataset();
    return ds.active() && !ds.isEmpty() ? ds.currentRow() : -1;
}

void DatasetModel::setCurrentRow(int row) {
    Dataset& ds = dataset();
    if (!ds.active() || row < 0 || row >= ds.recordCount() || row == ds.currentRow())
        return;
    try {
        ds.moveToRow(row);
    } catch (const DbError& e) {
        // Leaving a row posts its pending edit; a refused one stays and says why.
        report(e.message());
    }
}

void DatasetModel::report(const QString& message) {
    auto show = [message] { ShowMessageBox(message, QString::fromLatin1(ProductName), MbError); };
    if (putOff_ > 0)
        QTimer::singleShot(0, this, show);
    else
        show();
}

void DatasetModel::refreshAll() {
    beginResetModel();
    fieldIndexes_.clear();
    rows_ = dataset().active() ? dataset().recordCount() : 0;
    generation_ = dataset().generation();
    endResetModel();
}

void DatasetModel::onDataChange(const QString& field) {
    const Dataset& ds = dataset();
    const int count = ds.active() ? ds.recordCount() : 0;
    if (count != rows_ || ds.generation() != generation_) {
        beginResetModel();
        fieldIndexes_.clear();
        rows_ = count;
        generation_ = ds.generation();
        endResetModel();
    } else if (rows_ > 0) {
        const int row = currentRow();
        if (field.isEmpty()) {
            for (int r : {lastCurrent_, row})
                if (r >= 0 && r < rows_)
                    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
        } else if (row >= 0) {
            for (int c = 0; c < columnCount(); ++c)
                if (columns_[size_t(c)].field.compare(field, Qt::CaseInsensitive) == 0)
                    emit dataChanged(index(row, c), index(row, c));
        }
    }
    const int now = currentRow();
    if (now != lastCurrent_ || field.isEmpty()) {
        lastCurrent_ = now;
        emit currentRowChanged(now);
    }
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount())
        return {};
    const int row = index.row(), col = index.column();
    if (cellRule_) {
        QVariant ruled = cellRule_(row, col, role);
        if (ruled.isValid())
            return ruled;
    }
    const Dataset& ds = dataset();
    const int f = fieldIndex(col);
    if (f < 0 || !ds.active() || row >= ds.recordCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        if (numeric(col))
            return ds.displayTextAt(row, columns_[size_t(col)].field);
        return readableText(ds.displayTextAt(row, columns_[size_t(col)].field));
    case Qt::EditRole: {
        const QVariant v = ds.valueAt(row, f);
        if (numeric(col))
            return v.isValid() && !v.isNull()
                       ? formatFloat(QString::fromLatin1(FloatEditFormat), v.toDouble())
                       : QString();
        return readableText(v.toString());
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columns_[size_t(col)].alignment);
    case MaxLengthRole:
        if (const int length = maxLength(col); length > 0)
            return length;
        return {};
    default:
        return {};
    }
}

bool DatasetModel::writeCell(int row, int column, const QVariant& value) {
    if (writer_)
        return writer_(row, column, value);
    Dataset& ds = dataset();
    if (!ds.active() || row < 0 || row >= ds.recordCount())
        return false;
    setCurrentRow(row);
    const QString field = columns_[size_t(column)].field;
    QVariant v = value;
    if (numeric(column) && value.typeId() == QMetaType::QString) {
        double d = 0;
        // What is not a number in the user's locale goes to the data layer as
        // typed, which refuses it with its own message.
        if (value.toString().trimmed().isEmpty())
            v = QVariant();
        else if (parseNumber(value.toString(), &d))
            v = d;
    } else if (value.typeId() == QMetaType::QString) {
        // A Text column's cell is one line, also for a pasted text.
        v = storedText(ds.isTextField(field) ? oneLineText(value.toString()) : value.toString());
    }
    QString refused;
    const bool ok = writeField(ds, field, v, &refused);
    if (!refused.isEmpty())
        report(refusalNaming(refused, headerData(column, Qt::Horizontal).toString()));
    return ok;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    // A cell left as it was shown writes nothing (an editor that Enter or Tab
    // opened on the way, closed again).
    if (value.typeId() == QMetaType::QString &&
        value.toString() == data(index, Qt::EditRole).toString())
        return true;
    return writeCell(index.row(), index.column(), value);
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (columns_[size_t(index.column())].editable && !dataset().readOnly())
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return columns_[size_t(section)].title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(titleAlignment_);
    default:
        if (cellRule_) {
            QVariant ruled = cellRule_(-1, section, role);
            if (ruled.isValid())
                return ruled;
        }
        return {};
    }
}

} // namespace zf

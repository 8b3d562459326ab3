#pragma once

#include "storage/dataset.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

namespace zf {

// A column of a grid over a dataset.
struct GridColumn {
    QString field; // the dataset's field
    QString title;
    int width = 0; // pixels; 0 leaves the view's width
    bool editable = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// An item model over a dataset: the rows in the dataset's order and filter, the
// columns by field, shown in the display formats of the data module and edited
// through the dataset, so that its change hooks run. An edit is one user
// operation (one transaction); a value the data layer refuses is reported with
// its message and the cell keeps its value. The model follows the dataset: a
// change of its rows resets the model, a changed value updates its row.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(DataSource& source, QObject* parent = nullptr);
    ~DatasetModel() override;

    Dataset& dataset() const { return *source_.dataset(); }
    DataSource& source() const { return source_; }

    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    const GridColumn& column(int c) const { return columns_.at(size_t(c)); }
    void setColumnTitle(int c, const QString& title);
    // How the titles stand in their sections (centred by default; add
    // Qt::TextWordWrap for titles that wrap in narrow columns).
    void setTitleAlignment(Qt::Alignment alignment) { titleAlignment_ = alignment; }
    // The width the grid gives the column (applied by DatasetGrid::applyColumnWidths).
    void setColumnWidth(int c, int width);
    // Binds a column to another field (the name column of the language).
    void setColumnField(int c, const QString& field);
    int columnOfField(const QString& field) const;
    // The characters a cell of a Text column holds; 0 for any other column.
    // Its cells give it as the role MaxLengthRole.
    int maxLength(int column) const;
    static constexpr int MaxLengthRole = Qt::UserRole + 1;

    // Colours and fonts of cells by a rule of the grid: the role's value for a
    // cell, or an invalid value for the default.
    using CellRule = std::function<QVariant(int row, int column, int role)>;
    void setCellRule(CellRule rule) { cellRule_ = std::move(rule); }

    // Writes an edited cell; by default the value is set and posted in the
    // dataset's current row as one operation. True when it was stored.
    using Writer = std::function<bool(int row, int column, const QVariant& value)>;
    void setWriter(Writer writer) { writer_ = std::move(writer); }
    bool writeCell(int row, int column, const QVariant& value);

    // The dataset's current row, or -1.
    int currentRow() const;
    // Makes a row the dataset's current one.
    void setCurrentRow(int row);

    // Rereads everything (after the view's titles or the language changed).
    void refreshAll();

    // While a view commits an editor's cell or changes its current cell, the
    // messages of refused values are put off until it has returned: a modal
    // box there would tear the editor down under the view.
    class MessagesPutOff {
    public:
        explicit MessagesPutOff(DatasetModel* model) : model_(model) {
            if (model_)
                ++model_->putOff_;
        }
        ~MessagesPutOff() {
            if (model_)
                --model_->putOff_;
        }
        MessagesPutOff(const MessagesPutOff&) = delete;
        MessagesPutOff& operator=(const MessagesPutOff&) = delete;

    private:
        DatasetModel* model_;
    };

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The dataset's cursor moved (also when the rows were read again).
    void currentRowChanged(int row);

private:
    void onDataChange(const QString& field);
    void report(const QString& message);
    int fieldIndex(int column) const;
    bool numeric(int column) const;

    DataSource& source_;
    int handle_ = 0;
    std::vector<GridColumn> columns_;
    std::vector<int> fieldIndexes_;
    CellRule cellRule_;
    Qt::Alignment titleAlignment_ = Qt::AlignCenter;
    Writer writer_;
    int rows_ = 0;
    quint64 generation_ = 0;
    int lastCurrent_ = -1;
    int putOff_ = 0;
};

} // namespace zf

#pragma once

#include "binding/datasetmodel.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace zf {

// A grid over a dataset: its current row is the dataset's current row, both
// ways; the column widths come from the model's columns; Enter can act as Tab.
// An open cell of a Text column takes no more characters than the column holds
// (its delegates give their editors the model's MaxLengthRole).
class DatasetGrid : public QTableView {
    Q_OBJECT
public:
    explicit DatasetGrid(QWidget* parent = nullptr);

    using QTableView::edit;

    void setDatasetModel(DatasetModel* model);
    DatasetModel* datasetModel() const { return model_; }

    // Enter moves to the next cell, as Tab does, also from an open cell, which
    // it writes as Tab does.
    void setEnterActsAsTab(bool on) { enterAsTab_ = on; }
    // Entering a column may lead elsewhere (the columns before the material go
    // to the material column); the rule gives the column to go to.
    void setColumnEntryRule(std::function<int(int column)> rule) { entryRule_ = std::move(rule); }
    // A cell's editor is open.
    bool editing() const { return state() == QAbstractItemView::EditingState; }
    // Applies the widths of the model's columns.
    void applyColumnWidths();
    // Writes the cell being edited, as leaving its editor would.
    void commitEdit();
    // The column gets the view's width less the other columns less 14 pixels,
    // when that is more than 30.
    static void fitColumn(QTableView* view, int column);
    // A column that is fitted so whenever the widths are applied (the rows were
    // read again) and when the grid changes its size; -1 for none.
    void setFittedColumn(int column);
    int fittedColumn() const { return fitted_; }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The cell is written with the messages of refused values put off.
    void commitData(QWidget* editor) override;
    // A cell too narrow for its text shows the whole text when hovered.
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void followDataset(int row);
    // Keys reach an open cell's editor here before its delegate sees them.
    void watchEditor(QWidget* editor);

    DatasetModel* model_ = nullptr;
    bool enterAsTab_ = false;
    bool following_ = false;
    int fitted_ = -1;
    std::function<int(int)> entryRule_;
};

// The editor of a pick-list column: an editable drop-down whose entries a rule
// gives for the row (the constructions offered for a surface's kind, the
// building openings of the catalog). Choosing an entry writes it at once; a
// typed text is written when the editor is left.
// The editor of a cell stops at the length its cell gives (MaxLengthRole): a
// line edit, or the text of an editable drop-down.
void limitEditorLength(QWidget* editor, const QModelIndex& index);

class PickListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Entries = std::function<QStringList(int row)>;
    explicit PickListDelegate(Entries entries, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), entries_(std::move(entries)) {}

    // An entry chosen from the drop-down is written at once, and the cell's
    // editor closes; with keepOpen it stays open for another choice.
    void setKeepOpenAfterChoice(bool keepOpen) { keepOpen_ = keepOpen; }
    // How many entries the drop-down shows without scrolling (16 by default).
    void setMaxVisibleEntries(int n) { maxVisible_ = n; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    Entries entries_;
    bool keepOpen_ = false;
    int maxVisible_ = 16;
};

} // namespace zf

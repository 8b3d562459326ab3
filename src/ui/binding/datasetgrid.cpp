#include "binding/datasetgrid.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QToolTip>

namespace zf {

namespace {

// The grid's editors of plain cells, limited to their column's length.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        limitEditorLength(editor, index);
        return editor;
    }
};

} // namespace

void limitEditorLength(QWidget* editor, const QModelIndex& index) {
    QLineEdit* line = qobject_cast<QLineEdit*>(editor);
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        line = combo->lineEdit();
    if (const int length = index.data(DatasetModel::MaxLengthRole).toInt(); line && length > 0)
        line->setMaxLength(length);
}

DatasetGrid::DatasetGrid(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new CellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(12);
    horizontalHeader()->setHighlightSections(false);
}

void DatasetGrid::setDatasetModel(DatasetModel* model) {
    if (model_)
        disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    setModel(model);
    if (!model_)
        return;
    connect(model_, &DatasetModel::currentRowChanged, this, &DatasetGrid::followDataset);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        followDataset(model_->currentRow());
    });
    applyColumnWidths();
    followDataset(model_->currentRow());
}

void DatasetGrid::applyColumnWidths() {
    if (!model_)
        return;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (model_->column(c).width > 0)
            setColumnWidth(c, model_->column(c).width);
    if (fitted_ >= 0)
        fitColumn(this, fitted_);
}

void DatasetGrid::setFittedColumn(int column) {
    fitted_ = column;
    applyColumnWidths();
}

bool DatasetGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
    QFont font = this->font();
    if (const QVariant f = index.data(Qt::FontRole); f.canConvert<QFont>())
        font = f.value<QFont>();
    const QRect cell = visualRect(index);
    // The cell's text margins on both sides.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    if (!text.isEmpty() && QFontMetrics(font).horizontalAdvance(text) + margins > cell.width())
        QToolTip::showText(help->globalPos(), text, viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

void DatasetGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (fitted_ >= 0 && model_)
        applyColumnWidths();
}

void DatasetGrid::commitEdit() {
    if (state() != EditingState)
        return;
    // The open editor is the viewport's child (the grid has no index widgets).
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible())
            continue;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    }
}

void DatasetGrid::commitData(QWidget* editor) {
    const QPointer<QWidget> open = editor;
    {
        const DatasetModel::MessagesPutOff later(model_);
        QTableView::commitData(editor);
    }
    // The view installs its delegate's filter again, in front of this one.
    if (open && open->isVisible())
        watchEditor(editor);
}

bool DatasetGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!QTableView::edit(index, trigger, event))
        return false;
    if (QWidget* editor = indexWidget(index))
        watchEditor(editor);
    return true;
}

void DatasetGrid::watchEditor(QWidget* editor) {
    editor->removeEventFilter(this);
    editor->installEventFilter(this);
}

bool DatasetGrid::eventFilter(QObject* watched, QEvent* event) {
    if (enterAsTab_ && event->type() == QEvent::KeyPress && watched != viewport()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* editor = qobject_cast<QWidget*>(watched);
        if (editor && indexWidget(currentIndex()) == editor &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
            // Enter leaves the cell as Tab does: written, and on to the next.
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(editor, &tab);
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void DatasetGrid::fitColumn(QTableView* view, int column) {
    if (!view || !view->model() || column < 0 || column >= view->model()->columnCount())
        return;
    int others = 0;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        if (c != column && !view->isColumnHidden(c))
            others += view->columnWidth(c);
    const int width = view->viewport()->width() - others - 14;
    if (width > 30)
        view->setColumnWidth(column, width);
}

void DatasetGrid::followDataset(int row) {
    if (following_ || !model_ || row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && cur.row() == row)
        return;
    following_ = true;
    const int column = cur.isValid() ? cur.column() : 0;
    setCurrentIndex(model_->index(row, std::max(0, column)));
    following_ = false;
}

void DatasetGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!model_ || !current.isValid())
        return;
    if (!following_ && current.row() != previous.row()) {
        const DatasetModel::MessagesPutOff later(model_);
        following_ = true;
        model_->setCurrentRow(current.row());
        following_ = false;
    }
    if (entryRule_) {
        const int to = entryRule_(current.column());
        if (to != current.column() && to >= 0 && to < model_->columnCount())
            QMetaObject::invokeMethod(
                this,
                [this, row = current.row(), to] {
                    if (model_ && row < model_->rowCount())
                        setCurrentIndex(model_->index(row, to));
                },
                Qt::QueuedConnection);
    }
}

void DatasetGrid::keyPressEvent(QKeyEvent* event) {
    if (enterAsTab_ && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != QAbstractItemView::EditingState) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, event->modifiers());
        QTableView::keyPressEvent(&tab);
        return;
    }
    QTableView::keyPressEvent(event);
}

QWidget* PickListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(entries_ ? entries_(index.row()) : QStringList());
    combo->setMaxVisibleItems(maxVisible_);
    limitEditorLength(combo, index);
    // Choosing an entry is the edit: it is written at once.
    auto* self = const_cast<PickListDelegate*>(this);
    connect(combo, qOverload<int>(&QComboBox::activated), self, [self, combo] {
        // Not once the cell has been left and its editor closed.
        if (!combo->isVisible())
            return;
        emit self->commitData(combo);
        if (!self->keepOpen_)
            emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    return combo;
}

void PickListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    const int i = combo->findText(text);
    if (i >= 0)
        combo->setCurrentIndex(i);
    else
        combo->setEditText(text);
    // What is typed into the cell replaces its text, as in a cell of text.
    combo->lineEdit()->selectAll();
}

void PickListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    const QString text = combo->currentText();
    if (text != index.data(Qt::EditRole).toString())
        model->setData(index, text, Qt::EditRole);
}

} // namespace zf

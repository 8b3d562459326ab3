#include "catalogs/elementscatalog.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "storage/operation.h"
#include "storage/zfdata.h"

#include <QColor>
#include <QFont>
#include <QLocale>

namespace zf {

namespace {

QString caption() {
    return QString::fromLatin1(ProductName);
}

const QString IdField = QStringLiteral("IDMaterial");
const QString GroupField = QStringLiteral("Skupina");
const QString NameField = QStringLiteral("Material");
const QString KField = QStringLiteral("k");
const QString ReadOnlyField = QStringLiteral("ReadOnly");
const QString TypField = QStringLiteral("Typ");

} // namespace

// --- the new-element dialog's texts ------------------------------------------------

QString NewElementState::caption() const {
    return mode == Mode::New ? LanguageText(2751) : LanguageText(3035) + LanguageText(2751);
}

QString NewElementState::addAndNewCaption() const {
    return mode == Mode::New ? LanguageText(2758) : LanguageText(151);
}

QStringList NewElementState::groupCaptions() const {
    QStringList out;
    for (const QString& g : groups)
        out << readableText(g);
    return out;
}

bool NewElementState::uIsRed(const QString& uText) {
    double v = 0;
    return parseNumber(uText, &v) && v > 99;
}

QString NewElementState::formatU(double k) {
    return formatFloat(QStringLiteral("0.00"), k);
}

NewElementState::UTyping NewElementState::checkUTyping(const QString& text, const QLocale& locale) {
    const QString t = text.trimmed();
    const QString point = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const bool blankGroup = group.size() == 1 && group.at(0).isSpace();
    qsizetype i = 0;
    if (!t.isEmpty() && (t.startsWith(locale.negativeSign()) || t.at(0) == QLatin1Char('-') ||
                         t.at(0) == QChar(0x2212) || t.at(0) == QLatin1Char('+')))
        i = t.startsWith(locale.negativeSign()) ? locale.negativeSign().size() : 1;
    int decimals = -1; // -1: before the decimal point
    bool digits = false;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits = true;
            if (decimals >= 0 && ++decimals > 2)
                return UTyping::Invalid;
        } else if (decimals < 0 && !point.isEmpty() && QStringView(t).mid(i).startsWith(point)) {
            decimals = 0;
            i += point.size() - 1;
        } else if (decimals < 0 && ((!group.isEmpty() && QStringView(t).mid(i).startsWith(group)) ||
                                    (blankGroup && c.isSpace()))) {
            i += blankGroup ? 0 : group.size() - 1;
        } else {
            return UTyping::Invalid;
        }
    }
    double value = 0;
    return digits && parseNumber(text, &value, locale) ? UTyping::Acceptable
                                                       : UTyping::Intermediate;
}

// --- the catalog -------------------------------------------------------------------

ElementsCatalog::ElementsCatalog(TZFData& data)
    : data_(data), model_(std::make_unique<ElementsTreeModel>(*this)) {
    // Registered after the data module, which has re-opened the materials of the
    // new language by then.
    languageHandle_ = registerLanguageApplier([this](int) { applyLanguage(); });
}

ElementsCatalog::~ElementsCatalog() {
    unregisterLanguageApplier(languageHandle_);
}

int ElementsCatalog::GroupIndexToType(int position) {
    return position >= 0 && position < 4 ? position + 1 : 5;
}

QString ElementsCatalog::uTextOf(double k) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(k, 'f', QLocale::FloatingPointShortest) + QLatin1Char(' ');
}

bool ElementsCatalog::execCatalog(int mode) {
    ElementsCatalogMode = mode;
    if (mode == 0) {
        ChosenElementName.clear();
        ChosenElementU.clear();
        ChosenElementK = 0;
    }
    const bool ok = events_->execDialog(Window::ElementsCatalog).value_or(false);
    catalogClosed();
    return ok;
}

void ElementsCatalog::BuildElementsTree() {
    model_->beginReset();
    groups_.clear();
    current_ = {};
    Dataset& m = data_.tMaterialy;
    if (m.active()) {
        // The rows in table order (index ID), grouped by the first occurrence of
        // their group. Walking the rows held in memory needs no filter on the
        // group's name, which may contain any character.
        const int id = m.fieldIndex(IdField), group = m.fieldIndex(GroupField),
                  name = m.fieldIndex(NameField), k = m.fieldIndex(KField),
                  ro = m.fieldIndex(ReadOnlyField), typ = m.fieldIndex(TypField);
        if (id >= 0 && group >= 0 && name >= 0 && k >= 0) {
            for (int r = 0; r < m.recordCount(); ++r) {
                const QString g = m.valueAt(r, group).toString();
                auto it = std::find_if(groups_.begin(), groups_.end(),
                                       [&](const CatalogGroup& cg) { return cg.name == g; });
                if (it == groups_.end()) {
                    groups_.push_back({g, {}});
                    it = groups_.end() - 1;
                }
                CatalogElement e;
                e.id = m.valueAt(r, id).toInt();
                e.name = m.valueAt(r, name).toString();
                e.k = m.valueAt(r, k).toDouble();
                e.uText = uTextOf(e.k);
                e.readOnly = ro < 0 || m.valueAt(r, ro).toInt() != 0;
                e.typ = typ < 0 ? 0 : m.valueAt(r, typ).toInt();
                it->items.push_back(e);
            }
        }
    }
    model_->endReset();
    events_->stateChanged(Window::ElementsCatalog, CatalogTree | CatalogSelection);
}

void ElementsCatalog::selectRow(CatalogRow row) {
    current_ = row;
    events_->stateChanged(Window::ElementsCatalog, CatalogSelection);
}

bool ElementsCatalog::SelectElementById(int id) {
    for (int g = 0; g < int(groups_.size()); ++g)
        for (int i = 0; i < int(groups_[size_t(g)].items.size()); ++i)
            if (groups_[size_t(g)].items[size_t(i)].id == id) {
                selectRow({g, i});
                return true;
            }
    return false;
}

void ElementsCatalog::setCurrent(CatalogRow row) {
    if (row.group >= int(groups_.size()) ||
        (row.isItem() && row.item >= int(groups_[size_t(row.group)].items.size())))
        row = {};
    current_ = row;
}

const CatalogElement* ElementsCatalog::currentElement() const {
    if (!current_.isItem())
        return nullptr;
    return &groups_[size_t(current_.group)].items[size_t(current_.item)];
}

bool ElementsCatalog::confirm() {
    const CatalogElement* e = currentElement();
    if (!e)
        return false;
    ChosenElementName = e->name;
    ChosenElementU = e->uText;
    ChosenElementK = e->k;
    return true;
}

ElementsCatalog::DoubleClick ElementsCatalog::doubleClick() {
    if (current_.isGroup())
        return DoubleClick::Toggle;
    if (!current_.isItem())
        return DoubleClick::Nothing;
    if (ElementsCatalogMode == 1) {
        editItem();
        return DoubleClick::Edited;
    }
    return confirm() ? DoubleClick::Chosen : DoubleClick::Nothing;
}

bool ElementsCatalog::referenceWritable(bool tell) const {
    const bool writable = data_.userCatalogWritable();
    if (!writable && tell)
        ShowMessageBox(
            formatText(LanguageText(3600), {data_.userCatalogPath(), data_.userCatalogProblem()}),
            caption(), MbError);
    return writable;
}

void ElementsCatalog::FillGroupList() {
    dialog.groups.clear();
    for (const CatalogGroup& g : groups_)
        dialog.groups << g.name;
    dialog.group = 0;
}

void ElementsCatalog::refreshNewElement() {
    events_->stateChanged(Window::NewElement, NewElementFields);
}

void ElementsCatalog::newItem() {
    // A language without a materials table has no catalog to add to.
    if (!data_.tMaterialy.active() || !referenceWritable())
        return;
    FillGroupList();
    if (!current_.isNone())
        dialog.group = current_.group;
    dialog.mode = NewElementState::Mode::New;
    dialog.editId = 0;
    dialog.shownUText.clear();
    if (dialog.uText.isEmpty())
        dialog.uText = NewElementState::formatU(0);
    newElementShown_ = true;
    refreshNewElement();
    events_->showWindow(Window::NewElement, true);
}

int ElementsCatalog::groupPosition(const QString& storedGroup) const {
    for (int g = 0; g < int(groups_.size()); ++g)
        if (groups_[size_t(g)].name == storedGroup)
            return g;
    return -1;
}

bool ElementsCatalog::parseU(double* value) const {
    if (!dialog.shownUText.isEmpty() && dialog.uText == dialog.shownUText) {
        *value = dialog.shownU;
        return true;
    }
    return parseNumber(dialog.uText, value);
}

int ElementsCatalog::nameLength() const {
    const Dataset& m = data_.tMaterialy;
    const int nameField = m.fieldIndex(NameField);
    return nameField < 0 ? 0 : m.fields()[size_t(nameField)].size;
}

bool ElementsCatalog::checkInput() {
    const QString name = dialog.name.trimmed();
    if (name.isEmpty()) {
        ShowMessageBox(LanguageText(2760), caption(), MbError);
        return false;
    }
    const int limit = nameLength();
    if (limit > 0 && storedText(name).size() > limit) {
        ShowMessageBox(formatText(LanguageText(2761), {limit}), caption(), MbError);
        return false;
    }
    double u = 0;
    if (!parseU(&u)) {
        ShowMessageBox(formatText(LanguageText(2762), {NewElementState::formatU(1.25)}), caption(),
                       MbError);
        return false;
    }
    const QString group = dialog.groups.value(dialog.group);
    if (group.isEmpty() || groupPosition(group) < 0) {
        ShowMessageBox(formatText(LanguageText(2763), {readableText(group)}), caption(), MbError);
        // The list shows the groups the catalog has now.
        FillGroupList();
        refreshNewElement();
        return false;
    }
    return true;
}

bool ElementsCatalog::AddElement() {
    if (!checkInput())
        return false;
    double u = 0;
    parseU(&u);
    if (u < 0 || u >= 100) {
        ShowMessageBox(LanguageText(5015), caption(), MbError);
        return false;
    }
    if (!referenceWritable())
        return false;
    const QString group = dialog.groups.value(dialog.group);
    const int typ = GroupIndexToType(groupPosition(group));
    const int showInCatalogs = (dialog.constructions ? 1 : 0) + (dialog.openings ? 2 : 0);
    Dataset& m = data_.tMaterialy;
    int id = 0;
    const bool ok = runOperation(data_.catalogConnection(), [&] {
        // By position: the auto-number, group, name, U, ReadOnly, ShowInCatalogs, Typ.
        m.appendRecord(
            {QVariant(), group, storedText(dialog.name.trimmed()), u, 0, showInCatalogs, typ});
        id = m.value(IdField).toInt();
    });
    if (!ok) {
        BuildElementsTree();
        return false;
    }
    BuildElementsTree();
    SelectElementById(id);
    changed(0, typ);
    return true;
}

bool ElementsCatalog::addAndClose() {
    if (!AddElement())
        return false;
    closeNewElement();
    return true;
}

bool ElementsCatalog::addAndNew() {
    const bool ok = AddElement();
    // The dialog stays open with its entries, in front.
    events_->showWindow(Window::NewElement, true);
    return ok;
}

void ElementsCatalog::closeNewElement() {
    if (!newElementShown_)
        return;
    newElementShown_ = false;
    events_->showWindow(Window::NewElement, false);
}

void ElementsCatalog::catalogClosed() {
    closeNewElement();
    ElementsCatalogMode = 0;
}

// The item as the table holds it now: another instance of the program may have
// changed or deleted it since the tree was built.
bool ElementsCatalog::locateInTable(int id) {
    Dataset& m = data_.tMaterialy;
    if (!m.active())
        return false;
    try {
        m.refresh();
    } catch (const DbError&) {
        return false;
    }
    return m.locate(IdField, id);
}

void ElementsCatalog::editItem() {
    const CatalogElement* e = currentElement();
    if (!e)
        return;
    const CatalogElement item = *e;
    FillGroupList();
    dialog.mode = NewElementState::Mode::Edit;
    dialog.group = current_.group;
    dialog.name = readableText(item.name);
    dialog.uText = NewElementState::formatU(item.k);
    dialog.shownUText = dialog.uText;
    dialog.shownU = item.k;
    dialog.editId = item.id;
    Dataset& m = data_.tMaterialy;
    if (!locateInTable(item.id)) {
        ShowMessageBox(QStringLiteral("Index not found!"), caption(), 0);
        BuildElementsTree();
        return;
    }
    if (m.asInteger(ReadOnlyField) != 0) {
        ShowMessageBox(LanguageText(5016), caption(), MbError);
        return;
    }
    if (!referenceWritable())
        return;
    refreshNewElement();
    // A non-modal new item dialog gives way to the modal edit.
    newElementShown_ = false;
    if (!events_->execDialog(Window::NewElement).value_or(false))
        return;
    if (!checkInput())
        return;
    double u = 0;
    parseU(&u);
    const QString group = dialog.groups.value(dialog.group);
    const int typ = GroupIndexToType(groupPosition(group));
    // Deleted meanwhile, while the dialog was open.
    if (!locateInTable(item.id)) {
        ShowMessageBox(QStringLiteral("Index not found!"), caption(), 0);
        BuildElementsTree();
        return;
    }
    const bool ok = runOperation(data_.catalogConnection(), [&] {
        if (!m.locate(IdField, item.id))
            throw DbError(QStringLiteral("Index not found!"));
        m.edit();
        m.setValue(GroupField, group);
        m.setValue(NameField, storedText(dialog.name.trimmed()));
        m.setValue(KField, u);
        m.setValue(TypField, typ);
        m.post();
    });
    if (!ok)
        m.cancel();
    BuildElementsTree();
    SelectElementById(item.id);
    if (ok)
        changed(item.typ, typ);
}

void ElementsCatalog::deleteItem() {
    if (current_.isGroup()) {
        ShowMessageBox(LanguageText(5017), caption(), MbWarning);
        return;
    }
    const CatalogElement* e = currentElement();
    if (!e)
        return;
    const CatalogElement item = *e;
    const CatalogRow row = current_;
    Dataset& m = data_.tMaterialy;
    if (!locateInTable(item.id)) {
        ShowMessageBox(QStringLiteral("Index not found!"), caption(), 0);
        BuildElementsTree();
        return;
    }
    if (m.asInteger(ReadOnlyField) != 0) {
        ShowMessageBox(LanguageText(5018), caption(), MbError);
        return;
    }
    if (!referenceWritable())
        return;
    const QString question =
        formatText(LanguageText(5019),
                   {readableText(groups_[size_t(row.group)].name), readableText(item.name)});
    if (ShowMessageBox(question, caption(), MbWarningYesNo) != IdYes)
        return;
    if (!locateInTable(item.id)) {
        ShowMessageBox(QStringLiteral("Index not found!"), caption(), 0);
        BuildElementsTree();
        return;
    }
    const bool ok = runOperation(data_.catalogConnection(), [&] {
        if (!m.locate(IdField, item.id))
            throw DbError(QStringLiteral("Index not found!"));
        m.deleteRecord();
    });
    if (!ok) {
        BuildElementsTree();
        SelectElementById(item.id);
        return;
    }
    CatalogGroup& g = groups_[size_t(row.group)];
    if (g.items.size() == 1) {
        // The group has no item left: built again, it is gone.
        BuildElementsTree();
    } else {
        model_->beginRemoveItem(row.group, row.item);
        g.items.erase(g.items.begin() + row.item);
        model_->endRemoveItem();
        // The previous sibling, or when there is none the next one.
        selectRow({row.group, row.item > 0 ? row.item - 1 : 0});
    }
    events_->focusControl(Window::ElementsCatalog, QStringLiteral("ElTree1"));
    changed(item.typ, 0);
}

void ElementsCatalog::changed(int oldTyp, int newTyp) {
    if (onMaterialsChanged)
        onMaterialsChanged(oldTyp, newTyp);
}

void ElementsCatalog::applyLanguage() {
    model_->headersChanged();
    BuildElementsTree();
    // The new-element dialog: name emptied, U 0, and the groups of the new
    // language's table (those of the old one would start new groups there).
    dialog.name.clear();
    dialog.uText = NewElementState::formatU(0);
    dialog.shownUText.clear();
    const int group = dialog.group;
    FillGroupList();
    if (group >= 0 && group < dialog.groups.size())
        dialog.group = group;
    refreshNewElement();
}

// --- the tree model ------------------------------------------------------------------

// Group rows carry the internal id 0, item rows their group's position + 1.
QModelIndex ElementsTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, quintptr(0));
    return createIndex(row, column, quintptr(parent.row()) + 1);
}

QModelIndex ElementsTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId()) - 1, 0, quintptr(0));
}

int ElementsTreeModel::rowCount(const QModelIndex& parent) const {
    const auto& groups = catalog_.groups_;
    if (!parent.isValid())
        return int(groups.size());
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    return int(groups[size_t(parent.row())].items.size());
}

int ElementsTreeModel::columnCount(const QModelIndex&) const {
    return 2;
}

CatalogRow ElementsTreeModel::rowOf(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    if (index.internalId() == 0)
        return {index.row(), -1};
    return {int(index.internalId()) - 1, index.row()};
}

QModelIndex ElementsTreeModel::indexOf(CatalogRow row, int column) const {
    if (row.isGroup())
        return index(row.group, column);
    if (row.isItem())
        return index(row.item, column, index(row.group, 0));
    return {};
}

QVariant ElementsTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const CatalogRow row = rowOf(index);
    const CatalogGroup& g = catalog_.groups_[size_t(row.group)];
    if (row.isGroup()) {
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return index.column() == 0 ? readableText(g.name) : QString();
        if (role == Qt::FontRole) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    }
    const CatalogElement& e = g.items[size_t(row.item)];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return index.column() == 0 ? readableText(e.name) : e.uText;
    case Qt::ForegroundRole:
        if (!e.readOnly)
            return QColor(0, 128, 0);
        return {};
    case IdRole:
        return e.id;
    default:
        return {};
    }
}

QVariant ElementsTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    if (section == 0)
        return LanguageText(2702);
    if (section == 1)
        return LanguageText(2703);
    return {};
}

Qt::ItemFlags ElementsTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.internalId() != 0)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

void ElementsTreeModel::beginRemoveItem(int group, int item) {
    beginRemoveRows(index(group, 0), item, item);
}

} // namespace zf

#pragma once

#include "common/viewevents.h"

#include <QAbstractItemModel>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zf {

class TZFData;
class Dataset;
class ElementsTreeModel;

// What changed in the catalog's windows (stateChanged of Window::ElementsCatalog
// and Window::NewElement).
enum CatalogChange : unsigned {
    CatalogTree = 1u << 0,      // the tree was built again
    CatalogSelection = 1u << 1, // the current row moved (select it and scroll to it)
    NewElementFields = 1u << 2, // the new-element dialog's caption, buttons and fields
};

// One item of the catalog as the tree shows it.
struct CatalogElement {
    int id = 0;    // IDMaterial, the row data
    QString name;  // Material, as stored
    double k = 0;  // U [W/m2K]
    QString uText; // the text form of k followed by a blank
    bool readOnly = true;
    int typ = 0;
};

// A group (Skupina, as stored) with its items in table order.
struct CatalogGroup {
    QString name;
    std::vector<CatalogElement> items;
};

// A row of the tree: a group (item < 0) or an item of a group; none when group < 0.
struct CatalogRow {
    int group = -1;
    int item = -1;
    bool isNone() const { return group < 0; }
    bool isGroup() const { return group >= 0 && item < 0; }
    bool isItem() const { return group >= 0 && item >= 0; }
    bool operator==(const CatalogRow&) const = default;
};

// The new-element dialog (TfrmPrvekNew) without its widgets: for a new item
// (non-modal, Add and close / Add and new) and for editing a user item (modal,
// OK). The view writes what the user typed back here before every button.
struct NewElementState {
    enum class Mode { New, Edit };
    Mode mode = Mode::New;
    QStringList groups; // cbSkupina: the groups in order of first occurrence, as stored
    int group = 0;      // the chosen entry
    QString name;       // edMaterial, as shown
    QString uText;      // fed_k as typed, in the user's locale
    // The two hidden check boxes, checked: ShowInCatalogs = 1 x constructions + 2 x openings.
    bool constructions = true;
    bool openings = true;
    int editId = 0; // IDMaterial of the item being edited

    QString caption() const;
    bool addAndCloseVisible() const { return mode == Mode::New; }
    QString addAndNewCaption() const;
    // The group entries as the list shows them.
    QStringList groupCaptions() const;
    // fed_k is red above 99.
    static bool uIsRed(const QString& uText);
    // U as fed_k shows it: two decimals in the user's locale.
    static QString formatU(double k);
    // What fed_k takes while U is typed: a number of the user's locale with at
    // most two decimals. A sign or a separator without digits is a start.
    enum class UTyping { Invalid, Intermediate, Acceptable };
    static UTyping checkUTyping(const QString& text, const QLocale& locale = QLocale());

    // Set when the dialog was filled from an item: its text and exact value, so
    // that an unchanged field keeps the value to the last digit.
    QString shownUText;
    double shownU = 0;
};

// The structural elements catalog (TfrmPrvky) and its new-element dialog
// (TfrmPrvekNew) without their widgets: the tree over the materials table of the
// language, the current row, the commands of the tool bar and the buttons, and
// the rules of adding, editing and deleting user items. Opened from the
// Catalogs menu for browsing and maintenance (mode 1) or from the wizard's grids
// to choose a construction (mode 0), whose name and U the wizard then takes.
// Every change is one transaction in the user's file (TZFData::userCatalogPath()).
class ElementsCatalog {
public:
    explicit ElementsCatalog(TZFData& data);
    ~ElementsCatalog();
    ElementsCatalog(const ElementsCatalog&) = delete;
    ElementsCatalog& operator=(const ElementsCatalog&) = delete;

    TZFData& data() { return data_; }
    void setViewEvents(ViewEvents* events) { events_ = events ? events : &noViewEvents(); }
    // Told after the materials table changed (kind of the item before and after;
    // 0 when there was none): the pick lists of the wizard follow at once.
    std::function<void(int oldTyp, int newTyp)> onMaterialsChanged;

    // 1 while open from the main menu, 0 otherwise.
    int ElementsCatalogMode = 0;
    // The item confirmed with OK: its name (as stored) and its U text as the tree
    // shows it, and the exact U.
    QString ChosenElementName;
    QString ChosenElementU;
    double ChosenElementK = 0;

    // Shows the catalog modally in a mode (the session's commands): true when it
    // closed with OK. Closing it closes the new-element dialog and sets mode 0.
    bool execCatalog(int mode);

    // --- the tree ---
    ElementsTreeModel& model() { return *model_; }
    const std::vector<CatalogGroup>& groups() const { return groups_; }
    // Rebuilds the tree from the materials table (at start, after every change,
    // after a language switch).
    void BuildElementsTree();
    // Selects the item with this IDMaterial (nothing happens when no row has it).
    bool SelectElementById(int id);
    CatalogRow current() const { return current_; }
    void setCurrent(CatalogRow row); // the view's selection
    const CatalogElement* currentElement() const;
    // The kind of items added to or edited into the group at a position (from 0):
    // the first four give 1 to 4, the others 5.
    static int GroupIndexToType(int position);
    // The text form of U in the tree: shortest round trip in the user's locale,
    // no grouping, followed by a blank.
    static QString uTextOf(double k);

    // --- the catalog window's commands ---
    // btOK: true when an item is selected (the window closes with OK).
    bool confirm();
    enum class DoubleClick { Nothing, Chosen, Edited, Toggle };
    // A double click on the current row: edits (mode 1) or chooses (mode 0) an
    // item; a group is expanded or collapsed by the view.
    DoubleClick doubleClick();
    void newItem();    // tbNew
    void editItem();   // tbEdit, and a double click in mode 1
    void deleteItem(); // tbDelete and the Delete key
    // The catalog window closed: the new-element dialog closes too.
    void catalogClosed();

    // --- the new-element dialog ---
    NewElementState dialog;
    bool newElementShown() const { return newElementShown_; }
    bool AddElement();
    // btAddAndClose: adds, and closes the dialog when it succeeded.
    bool addAndClose();
    // btAddAndNew of a new item: adds; the dialog stays with its entries.
    bool addAndNew();
    // btCancel, or the dialog closed by the window manager.
    void closeNewElement();
    // Checks what was typed: a name, one that fits, U as a number of the user's
    // locale, a group that still exists. Shows the message and gives false.
    bool checkInput();
    // How many characters a name may have: the size of the materials table's
    // name column (0 when the table is not open).
    int nameLength() const;

    // Whether the user may change their own items now; otherwise the message.
    bool referenceWritable(bool tell = true) const;

private:
    void FillGroupList();
    void refreshNewElement();
    bool parseU(double* value) const;
    int groupPosition(const QString& storedGroup) const;
    bool locateInTable(int id);
    void applyLanguage();
    void selectRow(CatalogRow row);
    void changed(int oldTyp, int newTyp);

    TZFData& data_;
    ViewEvents* events_ = &noViewEvents();
    std::vector<CatalogGroup> groups_;
    std::unique_ptr<ElementsTreeModel> model_;
    CatalogRow current_;
    bool newElementShown_ = false;
    int languageHandle_ = 0;
    friend class ElementsTreeModel;
};

// The catalog's tree as an item model: one top-level row per group (bold), its
// items below in table order (green when the user added them), two columns
// (name, U text), the IDMaterial of an item as its UserRole. No sorting.
class ElementsTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ElementsTreeModel(ElementsCatalog& catalog) : catalog_(catalog) {}

    static constexpr int IdRole = Qt::UserRole;

    QModelIndex indexOf(CatalogRow row, int column = 0) const;
    CatalogRow rowOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    friend class ElementsCatalog;
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginRemoveItem(int group, int item);
    void endRemoveItem() { endRemoveRows(); }
    void headersChanged() { emit headerDataChanged(Qt::Horizontal, 0, 1); }

    ElementsCatalog& catalog_;
};

} // namespace zf

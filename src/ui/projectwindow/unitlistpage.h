#pragma once

#include "units/unitproperties.h"

#include <QFrame>
#include <QWidget>
#include <array>

class QComboBox;
class QHeaderView;
class QLabel;
class QScrollArea;
class QVBoxLayout;
class QScrollBar;
class QStandardItemModel;
class QWheelEvent;

namespace zf {

class DatasetModel;
class ProjectSession;
class SvgPicture;

// One unit of the list page: a panel of 24 pixels with its number, type,
// position and angle as texts and its four property lists.
class UnitPanel : public QFrame {
    Q_OBJECT
public:
    explicit UnitPanel(QWidget* parent = nullptr);
    int row() const { return row_; }
    QComboBox* list(UnitProperty property) const { return lists_[int(property)]; }
    // The label of a list for assistive technology: its column and its unit.
    QLabel* listLabel(UnitProperty property) const { return listLabels_[int(property)]; }
    QLabel* numberLabel() const { return number_; }
    // The widths of the ten columns in pixels.
    void setColumnWidths(const std::array<int, 10>& widths);

private:
    friend class UnitListPage;
    int row_ = -1;
    QLabel* number_ = nullptr;
    QLabel* type_ = nullptr;
    QLabel* x_ = nullptr;
    QLabel* y_ = nullptr;
    QLabel* z_ = nullptr;
    QLabel* angle_ = nullptr;
    QComboBox* lists_[4] = {};
    QLabel* listLabels_[4] = {};
};

// Page 4 of the project window (tsSeznamJednotek): the header, the scrolling
// list of panels over tJednotky (nine visible; the panels are reused for the
// rows shown, so a plan of any size costs the same), the data of the current
// unit and its two pictures.
class UnitListPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int VisiblePanels = 9;
    static constexpr int PanelHeight = 24;

    explicit UnitListPage(ProjectSession& session, QWidget* parent = nullptr);

    // The rows, the current row, its data and the pictures.
    void refresh();
    void applyLanguage();
    // The wheel anywhere over the window while this page is shown: the next
    // row (towards the user) or the previous one.
    void wheel(QWheelEvent* event);

    UnitPanel* panel(int i) const { return panels_.value(i); }
    const std::array<int, 10>& columnWidths() const { return widths_; }
    // The panel that shows a row, or nullptr when it is scrolled away.
    UnitPanel* panelOfRow(int row) const;
    int topRow() const { return top_; }
    SvgPicture* locationPicture() const { return locationPicture_; }
    SvgPicture* flueGasPicture() const { return flueGasPicture_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillPanels();
    void fillCurrentData();
    void makeCurrent(int row);
    void ensureVisible(int row);
    void choose(UnitPanel* panel, UnitProperty property, int index);
    void applyColumnWidths();

    ProjectSession& session_;
    DatasetModel* model_ = nullptr;
    QStandardItemModel* headerModel_ = nullptr;
    QHeaderView* header_ = nullptr;
    QWidget* list_ = nullptr;
    QScrollArea* sideways_ = nullptr;
    QVBoxLayout* scrollColumn_ = nullptr;
    QWidget* frame_ = nullptr;
    QList<UnitPanel*> panels_;
    QScrollBar* scroll_ = nullptr;
    std::array<int, 10> widths_{};
    int top_ = 0;
    bool filling_ = false;
    struct DataLine {
        QLabel* caption;
        QLabel* value;
        QString field;
    };
    QList<DataLine> data_;
    QLabel* lbUmisteniJednotek_ = nullptr;
    QLabel* lbOdvodSpalin_ = nullptr;
    SvgPicture* locationPicture_ = nullptr;
    SvgPicture* flueGasPicture_ = nullptr;
};

} // namespace zf

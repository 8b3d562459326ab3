#include "projectwindow/unitlistpage.h"

#include "binding/datasetmodel.h"
#include "common/numberformat.h"
#include "i18n/language.h"
#include "projectwindow/projectwidgets.h"
#include "session/projectsession.h"
#include "units/unittypes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace zf {

namespace {

// The widths of the columns, in pixels: number, type, X, Y, Z, angle and the
// four lists. A language whose titles or entries need more widens a column.
constexpr std::array<int, 10> ColumnWidths = {30, 150, 40, 40, 40, 40, 137, 165, 120, 160};
constexpr int FirstListColumn = 6;
const QColor CurrentList(255, 255, 0);

QLabel* cell(QWidget* parent, int width, Qt::Alignment alignment) {
    auto* l = new QLabel(parent);
    l->setFixedWidth(width);
    l->setAlignment(alignment | Qt::AlignVCenter);
    l->setContentsMargins(2, 0, 2, 0);
    return l;
}

const char* listName(UnitProperty property) {
    switch (property) {
    case UnitProperty::Location:
        return "DBcbUmisteni";
    case UnitProperty::FlueGasExhaust:
        return "DBcbOdvodSpalin";
    case UnitProperty::AirSupply:
        return "DBcbPrivodVzduchu";
    default:
        return "DBcbRegulace";
    }
}

int headerTextOf(UnitProperty property) {
    return 2266 + int(property);
}

} // namespace

UnitPanel::UnitPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("UnitPanel"));
    setFixedHeight(UnitListPage::PanelHeight);
    setAutoFillBackground(true);
    auto* l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    const Qt::Alignment right = Qt::AlignRight;
    number_ = cell(this, ColumnWidths[0], right);
    type_ = cell(this, ColumnWidths[1], Qt::AlignLeft);
    x_ = cell(this, ColumnWidths[2], right);
    y_ = cell(this, ColumnWidths[3], right);
    z_ = cell(this, ColumnWidths[4], right);
    angle_ = cell(this, ColumnWidths[5], right);
    for (QLabel* c : {number_, type_, x_, y_, z_, angle_})
        l->addWidget(c);
    for (UnitProperty p : AllUnitProperties) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QLatin1String(listName(p)));
        combo->setFixedWidth(ColumnWidths[FirstListColumn + int(p)]);
        combo->setFixedHeight(UnitListPage::PanelHeight);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(4);
        combo->setFocusPolicy(Qt::StrongFocus);
        lists_[int(p)] = combo;
        l->addWidget(combo);
        // The header names the lists for the eye; a list is told to assistive
        // technology by its label, which shows nothing.
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(listName(p)) + QStringLiteral("Label"));
        label->setBuddy(combo);
        label->hide();
        listLabels_[int(p)] = label;
    }
    l->addStretch();
}

void UnitPanel::setColumnWidths(const std::array<int, 10>& widths) {
    QLabel* cells[] = {number_, type_, x_, y_, z_, angle_};
    for (int c = 0; c < 6; ++c)
        cells[c]->setFixedWidth(widths[size_t(c)]);
    for (int p = 0; p < 4; ++p)
        lists_[p]->setFixedWidth(widths[size_t(FirstListColumn) + size_t(p)]);
}

UnitListPage::UnitListPage(ProjectSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    auto* layout = new QVBoxLayout(this);

    model_ = new DatasetModel(session_.placedUnitsSource(), this);
    model_->setColumns({{QStringLiteral("IDJednotky"), {}}});
    connect(model_, &DatasetModel::currentRowChanged, this, [this](int row) {
        if (filling_)
            return;
        ensureVisible(row);
        fillPanels();
        fillCurrentData();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { refresh(); });
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] {
        if (!filling_) {
            fillPanels();
            fillCurrentData();
        }
    });

    // The header over the list and the list with its scroll bar.
    // In a language whose texts make the table wider than the page, the
    // table scrolls sideways.
    sideways_ = new QScrollArea(this);
    sideways_->setObjectName(QStringLiteral("saSeznamJednotek"));
    sideways_->setFrameShape(QFrame::NoFrame);
    sideways_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sideways_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    sideways_->setWidgetResizable(true);
    auto* frame = new QWidget(sideways_);
    frame_ = frame;
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    headerModel_ = new QStandardItemModel(0, 10, this);
    header_ = new QHeaderView(Qt::Horizontal, frame);
    header_->setObjectName(QStringLiteral("HeaderControl_SeznamJednotek"));
    header_->setModel(headerModel_);
    header_->setSectionResizeMode(QHeaderView::Fixed);
    header_->setSectionsClickable(false);
    header_->setStretchLastSection(false);
    header_->setDefaultAlignment(Qt::AlignCenter);
    grid->addWidget(header_, 0, 0, Qt::AlignLeft);

    list_ = new QWidget(frame);
    list_->setObjectName(QStringLiteral("DBCtrlGrid1"));
    list_->setFixedHeight(VisiblePanels * PanelHeight);
    auto* rows = new QVBoxLayout(list_);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    for (int i = 0; i < VisiblePanels; ++i) {
        auto* p = new UnitPanel(list_);
        p->installEventFilter(this);
        for (QLabel* c : {p->number_, p->type_, p->x_, p->y_, p->z_, p->angle_})
            c->installEventFilter(this);
        for (UnitProperty prop : AllUnitProperties) {
            QComboBox* combo = p->list(prop);
            combo->installEventFilter(this);
            connect(combo, qOverload<int>(&QComboBox::activated), this,
                    [this, p, prop](int index) { choose(p, prop, index); });
        }
        panels_ << p;
        rows->addWidget(p);
    }
    grid->addWidget(list_, 1, 0, Qt::AlignLeft);
    // The list's own scroll bar stays in view when the table scrolls sideways.
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("sbSeznamJednotek"));
    scroll_->setFixedHeight(VisiblePanels * PanelHeight);
    scroll_->setPageStep(VisiblePanels);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
        if (filling_)
            return;
        top_ = v;
        fillPanels();
    });
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    sideways_->setWidget(frame);
    auto* table = new QHBoxLayout;
    table->setSpacing(0);
    table->addWidget(sideways_, 1);
    scrollColumn_ = new QVBoxLayout;
    scrollColumn_->setSpacing(0);
    scrollColumn_->addWidget(scroll_);
    scrollColumn_->addStretch();
    table->addLayout(scrollColumn_);
    table->addStretch(0); // what the table does not need
    layout->addLayout(table);

    // The data of the current unit and its pictures.
    auto* below = new QHBoxLayout;
    auto* dataGrid = new QGridLayout;
    const char* fields[][3] = {{"lbTepVykon", "Tep_vykon", "DBTxtTepVykon"},
                               {"lbTepVykonMin", "Tep_vykon_min", "DBTxtTepVykonMin"},
                               {"lbPrutok", "Prutok_vzduchu", "DBTxtPrutok"},
                               {"lbPrikon", "El_prikon", "DBTxtPrikon"},
                               {"lbDosah", "Dosah", "DBTxtDosah"},
                               {"lbTlak", "dp", "DBTxtTlak"},
                               {"lbdT", "dT", "DBTxtdT"},
                               {"lbdB", "dB", "DBTxtdB"}};
    int r = 0;
    for (const auto& f : fields) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QLatin1String(f[0]));
        auto* value = new QLabel(this);
        value->setObjectName(QLatin1String(f[2]));
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        caption->setBuddy(value);
        dataGrid->addWidget(caption, r, 0);
        dataGrid->addWidget(value, r, 1);
        data_ << DataLine{caption, value, QLatin1String(f[1])};
        ++r;
    }
    dataGrid->setRowStretch(r, 1);
    below->addLayout(dataGrid);
    below->addSpacing(24);
    auto picture = [&](QLabel*& caption, const char* name, SvgPicture*& pic, const char* picName) {
        auto* box = new QVBoxLayout;
        caption = new QLabel(this);
        caption->setObjectName(QLatin1String(name));
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        pic = new SvgPicture(this);
        pic->setObjectName(QLatin1String(picName));
        pic->setMinimumSize(200, 160);
        box->addWidget(caption);
        box->addWidget(pic, 1);
        below->addLayout(box, 1);
    };
    picture(lbUmisteniJednotek_, "lbUmisteniJednotek", locationPicture_, "imMontaz");
    picture(lbOdvodSpalin_, "lbOdvodSpalin", flueGasPicture_, "imOdvod");
    layout->addLayout(below, 1);

    applyLanguage();
    refresh();
}

UnitPanel* UnitListPage::panelOfRow(int row) const {
    for (UnitPanel* p : panels_)
        if (p->isVisible() && p->row_ == row && row >= 0)
            return p;
    return nullptr;
}

void UnitListPage::applyLanguage() {
    const int titles[10] = {2260, 2261, 0, 0, 0, 2265, 2266, 2267, 2268, 2269};
    const char* fixed[10] = {nullptr, nullptr, "X [m]", "Y [m]", "Z [m]"};
    QStringList labels;
    for (int c = 0; c < 10; ++c)
        labels << (titles[c] ? LanguageText(titles[c]) : QLatin1String(fixed[c]));
    headerModel_->setHorizontalHeaderLabels(labels);
    // The columns keep their widths unless a word of a title or an entry of a
    // list does not fit in the language; the titles wrap in their sections.
    const QFontMetrics fm(header_->font());
    widths_ = ColumnWidths;
    for (int c = 0; c < 10; ++c) {
        for (const QString& word : labels[c].split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widths_[size_t(c)] = std::max(widths_[size_t(c)], fm.horizontalAdvance(word) + 10);
        if (c >= FirstListColumn) {
            const QFontMetrics lm(panels_.first()->list(UnitProperty::Location)->font());
            for (const QString& entry : unitPropertyEntries(UnitProperty(c - FirstListColumn)))
                widths_[size_t(c)] =
                    std::max(widths_[size_t(c)], std::min(260, lm.horizontalAdvance(entry) + 34));
        }
    }
    int height = 0;
    for (int c = 0; c < 10; ++c) {
        headerModel_->setHeaderData(
            c, Qt::Horizontal,
            QVariant::fromValue(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap)),
            Qt::TextAlignmentRole);
        const QRect r = fm.boundingRect(QRect(0, 0, widths_[size_t(c)] - 6, 2000),
                                        Qt::AlignCenter | Qt::TextWordWrap, labels[c]);
        height = std::max(height, r.height());
    }
    header_->setFixedHeight(height + 8);
    applyColumnWidths();
    filling_ = true;
    for (UnitPanel* p : panels_)
        for (UnitProperty prop : AllUnitProperties) {
            QComboBox* combo = p->list(prop);
            combo->clear();
            combo->addItems(unitPropertyEntries(prop));
        }
    filling_ = false;
    list_->setAccessibleName(LanguageText(2004));
    header_->setAccessibleName(LanguageText(2004));
    scroll_->setAccessibleName(LanguageText(2358));
    sideways_->horizontalScrollBar()->setAccessibleName(LanguageText(2360));
    const struct {
        int id;
        const char* unit;
        bool strip;
    } captions[] = {{1510, " [kW]: ", false}, {1511, " [kW]: ", false}, {1512, " [m3/h]: ", false},
                    {1513, " [W]: ", false},  {2137, ": ", true},       {1517, " [Pa]: ", false},
                    {2138, ": ", true},       {1516, " [dB]: ", false}};
    for (int i = 0; i < data_.size(); ++i) {
        QString text = LanguageText(captions[i].id) + QLatin1String(captions[i].unit);
        if (captions[i].strip)
            text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).remove(QLatin1Char('-'));
        data_[i].caption->setText(text);
    }
    lbUmisteniJednotek_->setText(LanguageText(2250));
    lbOdvodSpalin_->setText(LanguageText(2251));
    locationPicture_->setAccessibleName(LanguageText(2250).trimmed());
    flueGasPicture_->setAccessibleName(LanguageText(2251).trimmed());
    const QString face = ApplyLanguageFonts(LanguageBase).face;
    for (QWidget* w : std::initializer_list<QWidget*>{lbUmisteniJednotek_, lbOdvodSpalin_}) {
        QFont f = w->font();
        f.setFamily(face);
        w->setFont(f);
    }
    fillPanels();
}

void UnitListPage::applyColumnWidths() {
    int total = 0;
    for (int c = 0; c < 10; ++c) {
        header_->resizeSection(c, widths_[size_t(c)]);
        total += widths_[size_t(c)];
    }
    header_->setFixedWidth(total);
    list_->setFixedWidth(total);
    for (UnitPanel* p : panels_)
        p->setColumnWidths(widths_);
    frame_->setMinimumWidth(total);
    sideways_->setMaximumWidth(total + 2);
    // The scroll bar stands beside the panels, below the header.
    scrollColumn_->setContentsMargins(0, header_->height(), 0, 0);
    sideways_->setFixedHeight(header_->height() + VisiblePanels * PanelHeight +
                              sideways_->horizontalScrollBar()->sizeHint().height() + 2);
}

void UnitListPage::refresh() {
    ensureVisible(model_->currentRow());
    fillPanels();
    fillCurrentData();
}

void UnitListPage::ensureVisible(int row) {
    const int count = model_->rowCount();
    const int maxTop = std::max(0, count - VisiblePanels);
    if (row >= 0) {
        if (row < top_)
            top_ = row;
        else if (row >= top_ + VisiblePanels)
            top_ = row - VisiblePanels + 1;
    }
    top_ = std::clamp(top_, 0, maxTop);
}

void UnitListPage::fillPanels() {
    const Dataset& u = session_.placedUnits();
    const int count = u.active() ? u.recordCount() : 0;
    const int current = model_->currentRow();
    filling_ = true;
    scroll_->setRange(0, std::max(0, count - VisiblePanels));
    scroll_->setValue(top_);
    const int fNumber = u.fieldIndex(QStringLiteral("IDJednotky"));
    const int fTyp = u.fieldIndex(QStringLiteral("Typ"));
    for (int i = 0; i < panels_.size(); ++i) {
        UnitPanel* p = panels_[i];
        const int row = top_ + i;
        if (row >= count || fNumber < 0) {
            p->row_ = -1;
            p->hide();
            continue;
        }
        p->row_ = row;
        const QString number = u.valueAt(row, fNumber).toString();
        const QString typ = readableText(u.valueAt(row, fTyp).toString());
        p->number_->setText(number);
        p->type_->setText(typ);
        p->x_->setText(u.displayTextAt(row, QStringLiteral("X")));
        p->y_->setText(u.displayTextAt(row, QStringLiteral("Y")));
        p->z_->setText(u.displayTextAt(row, QStringLiteral("Z")));
        p->angle_->setText(u.displayTextAt(row, QStringLiteral("Uhel")));
        p->setAccessibleName(formatText(LanguageText(2356), {number.toInt(), typ}));
        const bool destratifier = isDestratifierType(typ);
        const bool isCurrent = row == current;
        for (UnitProperty prop : AllUnitProperties) {
            QComboBox* combo = p->list(prop);
            const int shown = shownUnitChoice(u, row, prop);
            if (combo->currentIndex() != shown)
                combo->setCurrentIndex(shown);
            p->listLabels_[int(prop)]->setText(
                formatText(LanguageText(3051),
                           {LanguageText(headerTextOf(prop)), number.toInt(), typ})
                    .replace(QLatin1Char('&'), QStringLiteral("&&")));
            if (prop == UnitProperty::Location) {
                combo->setEnabled(!destratifier);
                combo->setToolTip(combo->currentText());
            } else {
                combo->setVisible(!destratifier);
            }
            QPalette pal = combo->palette();
            const QColor back = isCurrent ? CurrentList : palette().color(QPalette::Window);
            pal.setColor(QPalette::Button, back);
            pal.setColor(QPalette::Base, back);
            combo->setPalette(pal);
        }
        p->show();
    }
    filling_ = false;
}

void UnitListPage::fillCurrentData() {
    const Dataset& u = session_.placedUnits();
    const int row = model_->currentRow();
    for (const DataLine& d : data_)
        d.value->setText(row >= 0 ? readableText(u.displayTextAt(row, d.field)) : QString());
    const ProjectUnits& units = session_.units();
    locationPicture_->setFile(units.locationPicture().exists() ? units.locationPicture().file()
                                                               : QString());
    flueGasPicture_->setFile(units.flueGasPicture().exists() ? units.flueGasPicture().file()
                                                             : QString());
}

void UnitListPage::makeCurrent(int row) {
    if (row >= 0 && row != model_->currentRow())
        model_->setCurrentRow(row);
}

void UnitListPage::choose(UnitPanel* panel, UnitProperty property, int index) {
    if (filling_ || panel->row_ < 0)
        return;
    makeCurrent(panel->row_);
    session_.setUnitChoice(panel->row_, property, index);
    if (property == UnitProperty::Location)
        panel->list(property)->setToolTip(panel->list(property)->currentText());
}

void UnitListPage::wheel(QWheelEvent* event) {
    const int count = model_->rowCount();
    const int row = model_->currentRow();
    if (count <= 0 || event->angleDelta().y() == 0)
        return;
    const int next = event->angleDelta().y() < 0 ? row + 1 : row - 1;
    if (next >= 0 && next < count)
        makeCurrent(next);
}

// A press on a panel or the focus in one of its lists makes its row current.
bool UnitListPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn) {
        QWidget* w = qobject_cast<QWidget*>(watched);
        while (w && !qobject_cast<UnitPanel*>(w))
            w = w->parentWidget();
        if (auto* p = qobject_cast<UnitPanel*>(w))
            makeCurrent(p->row_);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zf

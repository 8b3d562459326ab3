#include "wizard/wallspage.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "i18n/texts.h"
#include "pictures.h"
#include "svgpicture.h"
#include "wizard/tfrmzinput.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr Qt::Alignment numberAlignment = Qt::AlignRight | Qt::AlignVCenter;

// Rows each grid shows without scrolling.
constexpr int wallRows = 7;
constexpr int openingRows = 4;

// The catalog's names as the windows show them (under the re-encoded Russian
// base the catalog holds re-encoded copies; the grid stores what it shows back
// in that form).
QStringList readable(const QStringList& stored) {
    QStringList out;
    out.reserve(stored.size());
    for (const QString& s : stored)
        out << readableText(s);
    return out;
}

} // namespace

WallsPage::WallsPage(TfrmZInput& frame)
    : InputPage(frame, "tsStavebniKonstrukce"), constructions_(frame.wizard().constructions) {
    // The grids write their cells from inside the cells' editors: what the
    // rules ask or say about an edit comes once the editor is done with.
    constructions_.setAfterEdit(
        [this](std::function<void()> then) { QTimer::singleShot(0, this, std::move(then)); });
    wallClickTimer_ = new QTimer(this);
    wallClickTimer_->setSingleShot(true);
    wallClickTimer_->setInterval(QApplication::doubleClickInterval());
    connect(wallClickTimer_, &QTimer::timeout, this, [this] {
        if (pendingWallClick_.isValid() && ExDBGrid_Steny_->currentIndex() == pendingWallClick_)
            ExDBGrid_Steny_->edit(pendingWallClick_);
    });

    // Infiltration: the class sets the air change rate, which may be typed.
    QLabel* infiltration = form_.header(this, "LMDLbInfiltrace", 850);
    layout_->addWidget(infiltration);
    FieldAccess cls;
    cls.entries = &InputWizard::infiltrationCaptions;
    cls.read = [this] { return int(wizard().state().infiltration); };
    cls.write = [this](const QVariant& v, QString*) {
        wizard().chooseInfiltration(InfiltrationClass(v.toInt()));
        return true;
    };
    auto* cbInfiltrace = form_.make<QComboBox>(this, "cbInfiltrace", 0, cls);
    infiltration->setBuddy(cbInfiltrace);
    layout_->addWidget(cbInfiltrace, 0, Qt::AlignLeft);
    auto* strip = new QHBoxLayout;
    auto* lbN = new QLabel(QStringLiteral("n [1/h]: "), this);
    lbN->setObjectName(QStringLiteral("lbN"));
    auto* n = form_.make<QLineEdit>(this, "DBEd_n");
    lbN->setBuddy(n);
    strip->addWidget(lbN);
    strip->addWidget(n);
    strip->addSpacing(n->fontMetrics().averageCharWidth() * 4);
    QLabel* lbQinf = form_.make<QLabel>(this, "lbQinf", 856);
    strip->addWidget(lbQinf);
    strip->addWidget(form_.value(this, "DBText_Q_infiltrace_kW", QStringLiteral("Q_infiltrace_kW"),
                                 true, lbQinf));
    strip->addWidget(new QLabel(QStringLiteral("kW"), this));
    strip->addStretch(1);
    layout_->addLayout(strip);

    buildWalls();
    buildOpenings();
}

WallsPage::~WallsPage() {
    constructions_.setAfterEdit({});
}

// The surfaces, their tool bar and the picture of the current one.
void WallsPage::buildWalls() {
    layout_->addWidget(form_.header(this, "LMDLbParametry", 857));
    auto* tools = new QHBoxLayout;
    auto* catalog = form_.make<QToolButton>(this, "tbKatalogSteny", 858);
    catalog->setIcon(commandIcon(QStringLiteral("acKatalogStavPrvky")));
    auto* copy = form_.make<QToolButton>(this, "tbSetAll", 859);
    copy->setIcon(commandIcon(QStringLiteral("acEditCopy")));
    tools->addWidget(catalog);
    tools->addWidget(copy);
    tools->addStretch(1);
    layout_->addLayout(tools);
    connect(catalog, &QToolButton::clicked, this, [this] {
        if (frame_.finishEditing())
            frame_.session().chooseElementForWall();
    });
    connect(copy, &QToolButton::clicked, this, [this] {
        if (frame_.finishEditing())
            constructions_.CopyToSameKind();
    });
    catalogButtons_[0] = catalog;
    wallButtons_[0] = copy;

    wallsModel_ = new DatasetModel(frame_.wallsSource(), this);
    wallsModel_->setColumns({{QStringLiteral("NazevEN"), QString(), 0, false},
                             {QStringLiteral("Plocha"), QString(), 0, false, numberAlignment},
                             {QStringLiteral("Vyska"), QString(), 0, false, numberAlignment},
                             {QStringLiteral("Sirka"), QString(), 0, false, numberAlignment},
                             {QStringLiteral("Material"), QString(), 0, true},
                             {QStringLiteral("k"), QString(), 0, true, numberAlignment},
                             {QStringLiteral("Ti"), QString(), 0, true, numberAlignment},
                             {QStringLiteral("Te"), QString(), 0, true, numberAlignment}});
    wallsModel_->setCellRule([this](int row, int column, int role) -> QVariant {
        if (row < 0 || (role != Qt::BackgroundRole && role != Qt::ForegroundRole) ||
            !constructions_.wallCellRed(row, column))
            return {};
        return role == Qt::BackgroundRole ? QColor(255, 0, 0) : QColor(Qt::white);
    });
    auto* walls = new QHBoxLayout;
    ExDBGrid_Steny_ = form_.make<DatasetGrid>(this, "ExDBGrid_Steny");
    ExDBGrid_Steny_->setDatasetModel(wallsModel_);
    ExDBGrid_Steny_->setColumnEntryRule(&ConstructionsPage::wallGridColumnOnEntry);
    ExDBGrid_Steny_->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);
    ExDBGrid_Steny_->setItemDelegateForColumn(
        ConstructionsPage::MaterialColumn,
        new PickListDelegate([this](int) { return readable(constructions_.materialPickList()); },
                             ExDBGrid_Steny_));
    connect(ExDBGrid_Steny_, &QAbstractItemView::clicked, this, &WallsPage::wallGridClicked);
    connect(ExDBGrid_Steny_, &QAbstractItemView::doubleClicked, this,
            &WallsPage::wallGridDoubleClicked);
    walls->addWidget(ExDBGrid_Steny_, 1);
    imgStena_ = new SvgPicture(this);
    imgStena_->setObjectName(QStringLiteral("imgStena"));
    walls->addWidget(imgStena_, 0, Qt::AlignTop);
    layout_->addLayout(walls, 1);
}

// The openings of the current surface and their tool bar.
void WallsPage::buildOpenings() {
    lbStavOtvory_ = new QLabel(this);
    lbStavOtvory_->setObjectName(QStringLiteral("lbStavOtvory"));
    layout_->addWidget(lbStavOtvory_);
    auto* tools = new QHBoxLayout;
    const std::tuple<const char*, int, const char*> buttons[] = {
        {"tbKatalogOtvory", 858, "acKatalogStavPrvky"},
        {"tbNovyOtvor", 870, "acFileNew"},
        {"tbDelete", 871, "acEditDelete"}};
    QToolButton* made[3] = {};
    for (int i = 0; i < 3; ++i) {
        const auto& [name, id, icon] = buttons[i];
        made[i] = form_.make<QToolButton>(this, name, id);
        made[i]->setIcon(commandIcon(QLatin1String(icon)));
        tools->addWidget(made[i]);
    }
    tools->addStretch(1);
    layout_->addLayout(tools);
    connect(made[0], &QToolButton::clicked, this, [this] {
        if (frame_.finishEditing())
            frame_.session().chooseElementForOpening();
    });
    connect(made[1], &QToolButton::clicked, this, [this] {
        if (frame_.finishEditing())
            constructions_.newOpening();
    });
    connect(made[2], &QToolButton::clicked, this, [this] {
        if (frame_.finishEditing())
            constructions_.deleteOpening();
    });
    catalogButtons_[1] = made[0];
    wallButtons_[1] = made[1];
    wallButtons_[2] = made[2];

    openingsModel_ = new DatasetModel(frame_.openingsSource(), this);
    openingsModel_->setColumns({{QStringLiteral("Nazev"), QString(), 0, true},
                                {QStringLiteral("k"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Vyska"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Sirka"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Pocet"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Ti"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Te"), QString(), 0, true, numberAlignment}});
    ExDBGrid_Otvory_ = form_.make<DatasetGrid>(this, "ExDBGrid_Otvory");
    ExDBGrid_Otvory_->setDatasetModel(openingsModel_);
    ExDBGrid_Otvory_->setEditTriggers(QAbstractItemView::SelectedClicked |
                                      QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::AnyKeyPressed);
    ExDBGrid_Otvory_->setItemDelegateForColumn(
        ConstructionsPage::OpeningNameColumn,
        new PickListDelegate([this](int) { return readable(constructions_.openingPickList()); },
                             ExDBGrid_Otvory_));
    connect(ExDBGrid_Otvory_, &QAbstractItemView::doubleClicked, this,
            &WallsPage::openingsGridDoubleClicked);
    layout_->addWidget(ExDBGrid_Otvory_, 1);
}

void WallsPage::applyLanguage() {
    InputPage::applyLanguage();
    WizardForm::layOutGrid(ExDBGrid_Steny_, 860, true, ConstructionsPage::MaterialColumn, wallRows,
                           frame_.font());
    WizardForm::layOutGrid(ExDBGrid_Otvory_, 900, false, ConstructionsPage::OpeningNameColumn,
                           openingRows, frame_.font());
    // The surface's picture is as high as the grid beside it.
    const int h = ExDBGrid_Steny_->minimumHeight();
    imgStena_->setPreferredSize(QSize(h * 4 / 3, h));
    ExDBGrid_Steny_->setAccessibleName(WizardForm::accessibleText(58));
}

void WallsPage::fitColumns() {
    ExDBGrid_Steny_->setFittedColumn(ConstructionsPage::MaterialColumn);
    ExDBGrid_Otvory_->setFittedColumn(ConstructionsPage::OpeningNameColumn);
}

void WallsPage::refresh(unsigned what) {
    InputPage::refresh(what);
    if (what & (WizardWalls | WizardFields))
        refreshConstructions();
}

void WallsPage::refreshCatalogButtons() {
    // The catalog buttons work when a window can show the catalog; until then
    // they are disabled rather than doing nothing.
    const bool catalog = frame_.session().elementsCatalogAvailable();
    const Dataset& w = *frame_.wallsSource().dataset();
    const bool walls = w.active() && !w.isEmpty();
    for (QWidget* b : catalogButtons_)
        b->setEnabled(catalog && walls);
    for (QWidget* b : wallButtons_)
        b->setEnabled(walls);
}

void WallsPage::refreshConstructions() {
    ConstructionsPage& c = constructions_;
    lbStavOtvory_->setText(c.openingsCaption());
    ExDBGrid_Otvory_->setAccessibleName(c.openingsCaption().isEmpty() ? LanguageText(920)
                                                                      : c.openingsCaption());
    imgStena_->setFile(c.wallPicture());
    const Dataset& w = *frame_.wallsSource().dataset();
    imgStena_->setAccessibleName(
        w.active() && !w.isEmpty()
            ? readableText(w.asString(QStringLiteral("Nazev") + LanguageCode))
            : LanguageText(58).remove(QLatin1Char('&')));
    refreshCatalogButtons();
    ExDBGrid_Steny_->viewport()->update();
    // A name chosen for an opening leads on to its height.
    const int column = c.takeOpeningsColumnRequest();
    if (column >= 0)
        QTimer::singleShot(0, this, [this, column] {
            const int row = openingsModel_->currentRow();
            if (row >= 0 && column < openingsModel_->columnCount())
                ExDBGrid_Otvory_->setCurrentIndex(openingsModel_->index(row, column));
        });
}

void WallsPage::commitEdits() {
    for (DatasetGrid* g : {ExDBGrid_Steny_, ExDBGrid_Otvory_})
        g->commitEdit();
}

void WallsPage::focusOpeningsGrid() {
    const int row = openingsModel_->currentRow();
    if (!ExDBGrid_Otvory_->isVisible() || row < 0)
        return;
    ExDBGrid_Otvory_->setFocus(Qt::OtherFocusReason);
    const QModelIndex name = openingsModel_->index(row, ConstructionsPage::OpeningNameColumn);
    ExDBGrid_Otvory_->setCurrentIndex(name);
    ExDBGrid_Otvory_->edit(name);
}

// A click into the material column opens its pick list; a double click there
// (or on the U-value) opens the catalog, so the list waits for the double click
// while the catalog can be shown.
void WallsPage::wallGridClicked(const QModelIndex& index) {
    if (index.column() != ConstructionsPage::MaterialColumn)
        return;
    if (frame_.session().elementsCatalogAvailable()) {
        pendingWallClick_ = index;
        wallClickTimer_->start();
    } else {
        ExDBGrid_Steny_->edit(index);
    }
}

void WallsPage::wallGridDoubleClicked(const QModelIndex& index) {
    wallClickTimer_->stop();
    pendingWallClick_ = QModelIndex();
    const bool catalogColumn = index.column() == ConstructionsPage::MaterialColumn ||
                               index.column() == ConstructionsPage::UColumn;
    if (catalogColumn && frame_.session().elementsCatalogAvailable())
        frame_.session().chooseElementForWall();
    else if (wallsModel_->flags(index) & Qt::ItemIsEditable)
        ExDBGrid_Steny_->edit(index);
}

void WallsPage::openingsGridDoubleClicked(const QModelIndex& index) {
    if (index.column() <= 1 && frame_.session().elementsCatalogAvailable())
        frame_.session().chooseElementForOpening();
    else
        ExDBGrid_Otvory_->edit(index);
}

} // namespace zf

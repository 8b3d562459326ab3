// The wizard's constructions page: infiltration, the surfaces with their
// materials and U-values, the openings of the current surface, their tool bars
// and the picture of the surface.
#include "wizard/tfrmzinput.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "building/buildingmodel.h"
#include "i18n/texts.h"
#include "svgpicture.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr Qt::Alignment numberAlignment = Qt::AlignRight | Qt::AlignVCenter;

// Rows each grid shows without scrolling.
constexpr int surfaceRows = 6;
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

QWidget* TfrmZInput::buildConstructionsPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsStavebniKonstrukce", 0, nullptr, &l);

    // Infiltration: the class sets the air change rate, which may be typed.
    QLabel* infiltration = newHeader(page, "LMDLbInfiltrace", 850);
    l->addWidget(infiltration);
    FieldAccess cls;
    cls.entries = &InputWizard::infiltrationCaptions;
    cls.read = [this] { return int(wizard().state().infiltration); };
    cls.write = [this](const QVariant& v, QString*) {
        wizard().chooseInfiltration(InfiltrationClass(v.toInt()));
        return true;
    };
    QComboBox* cbInfiltrace = newCombo(page, "cbInfiltrace", cls);
    infiltration->setBuddy(cbInfiltrace);
    l->addWidget(cbInfiltrace, 0, Qt::AlignLeft);
    auto* strip = new QHBoxLayout;
    auto* lbN = new QLabel(QStringLiteral("n [1/h]: "), page);
    lbN->setObjectName(QStringLiteral("lbN"));
    QLineEdit* n = newEdit(page, "DBEd_n");
    lbN->setBuddy(n);
    strip->addWidget(lbN);
    strip->addWidget(n);
    strip->addSpacing(n->fontMetrics().averageCharWidth() * 4);
    QLabel* lbQinf = newLabel(page, "lbQinf", 856);
    strip->addWidget(lbQinf);
    strip->addWidget(
        newValue(page, "DBText_Q_infiltrace_kW", QStringLiteral("Q_infiltrace_kW"), true, lbQinf));
    strip->addWidget(new QLabel(QStringLiteral("kW"), page));
    strip->addStretch(1);
    l->addLayout(strip);

    // The surfaces.
    l->addWidget(newHeader(page, "LMDLbParametry", 857));
    auto* wallTools = new QHBoxLayout;
    QToolButton* catalogWall =
        newToolButton(page, "tbKatalogSteny", 858, QStringLiteral("acKatalogStavPrvky"));
    QToolButton* copy = newToolButton(page, "tbSetAll", 859, QStringLiteral("acEditCopy"));
    wallTools->addWidget(catalogWall);
    wallTools->addWidget(copy);
    wallTools->addStretch(1);
    l->addLayout(wallTools);
    connect(catalogWall, &QToolButton::clicked, this, [this] {
        if (finishEditing())
            session().chooseElementForWall();
    });
    connect(copy, &QToolButton::clicked, this, [this] {
        if (finishEditing())
            wizard().constructions.CopyToSameKind();
    });

    wallsModel_ = new DatasetModel(session().data.dsSteny, this);
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
            !wizard().constructions.wallCellRed(row, column))
            return {};
        return role == Qt::BackgroundRole ? QColor(255, 0, 0) : QColor(Qt::white);
    });
    auto* walls = new QHBoxLayout;
    ExDBGrid_Steny_ = newGrid(page, "ExDBGrid_Steny", wallsModel_);
    ExDBGrid_Steny_->setColumnEntryRule(&ConstructionsPage::wallGridColumnOnEntry);
    ExDBGrid_Steny_->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);
    ExDBGrid_Steny_->setItemDelegateForColumn(
        ConstructionsPage::MaterialColumn,
        new PickListDelegate(
            [this](int) { return readable(wizard().constructions.materialPickList()); },
            ExDBGrid_Steny_));
    connect(ExDBGrid_Steny_, &QAbstractItemView::clicked, this, &TfrmZInput::wallGridClicked);
    connect(ExDBGrid_Steny_, &QAbstractItemView::doubleClicked, this,
            &TfrmZInput::wallGridDoubleClicked);
    walls->addWidget(ExDBGrid_Steny_, 1);
    imgStena_ = new SvgPicture(page);
    imgStena_->setObjectName(QStringLiteral("imgStena"));
    walls->addWidget(imgStena_, 0, Qt::AlignTop);
    l->addLayout(walls, 1);

    // The openings of the current surface.
    lbStavOtvory_ = new QLabel(page);
    lbStavOtvory_->setObjectName(QStringLiteral("lbStavOtvory"));
    l->addWidget(lbStavOtvory_);
    auto* openingTools = new QHBoxLayout;
    QToolButton* catalogOpening =
        newToolButton(page, "tbKatalogOtvory", 858, QStringLiteral("acKatalogStavPrvky"));
    QToolButton* add = newToolButton(page, "tbNovyOtvor", 870, QStringLiteral("acFileNew"));
    QToolButton* remove = newToolButton(page, "tbDelete", 871, QStringLiteral("acEditDelete"));
    openingTools->addWidget(catalogOpening);
    openingTools->addWidget(add);
    openingTools->addWidget(remove);
    openingTools->addStretch(1);
    l->addLayout(openingTools);
    connect(catalogOpening, &QToolButton::clicked, this, [this] {
        if (finishEditing())
            session().chooseElementForOpening();
    });
    connect(add, &QToolButton::clicked, this, [this] {
        if (finishEditing())
            wizard().constructions.newOpening();
    });
    connect(remove, &QToolButton::clicked, this, [this] {
        if (finishEditing())
            wizard().constructions.deleteOpening();
    });

    openingsModel_ = new DatasetModel(session().data.dsStavOtvory, this);
    openingsModel_->setColumns({{QStringLiteral("Nazev"), QString(), 0, true},
                                {QStringLiteral("k"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Vyska"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Sirka"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Pocet"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Ti"), QString(), 0, true, numberAlignment},
                                {QStringLiteral("Te"), QString(), 0, true, numberAlignment}});
    ExDBGrid_Otvory_ = newGrid(page, "ExDBGrid_Otvory", openingsModel_);
    ExDBGrid_Otvory_->setEditTriggers(QAbstractItemView::SelectedClicked |
                                      QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::AnyKeyPressed);
    ExDBGrid_Otvory_->setItemDelegateForColumn(
        ConstructionsPage::OpeningNameColumn,
        new PickListDelegate(
            [this](int) { return readable(wizard().constructions.openingPickList()); },
            ExDBGrid_Otvory_));
    connect(ExDBGrid_Otvory_, &QAbstractItemView::doubleClicked, this,
            &TfrmZInput::openingsGridDoubleClicked);
    l->addWidget(ExDBGrid_Otvory_, 1);
    return page;
}

// Titles in the language, the name columns of the language, and widths that
// fit the titles and the numbers the columns hold.
void TfrmZInput::applyGridLayout() {
    const QString nameColumn = QStringLiteral("Nazev") + LanguageCode;
    const QStringList surfaceNames = generatedSurfaceNames(LanguageCode);
    struct Grid {
        DatasetModel* model;
        DatasetGrid* grid;
        int firstTitle;
        bool surfaces;
        int fitted; // the column that takes the rest of the width
        int rows;
    };
    const Grid grids[] = {
        {hallModel_, ExDBGrid_Hala_, 715, true, -1, surfaceRows},
        {skylightModel_, ExDBGrid_Svetlik_, 766, true, -1, surfaceRows},
        {wallsModel_, ExDBGrid_Steny_, 860, true, ConstructionsPage::MaterialColumn, wallRows},
        {openingsModel_, ExDBGrid_Otvory_, 900, false, ConstructionsPage::OpeningNameColumn,
         openingRows}};
    for (const Grid& g : grids) {
        DatasetGrid* view = g.grid;
        view->verticalHeader()->setVisible(false);
        // The titles in the window's font, as the cells.
        view->horizontalHeader()->setFont(font());
        const QFontMetrics fm = view->fontMetrics();
        const int cellMargin =
            2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) +
            fm.averageCharWidth();
        if (g.surfaces)
            g.model->setColumnField(0, nameColumn);
        int total = 0;
        for (int c = 0; c < g.model->columnCount(); ++c) {
            g.model->setColumnTitle(c, LanguageText(g.firstTitle + c));
            int width = view->horizontalHeader()->sectionSizeHint(c);
            const QString field = g.model->column(c).field;
            QString sample;
            if (field == QLatin1String("Plocha"))
                sample = QStringLiteral("99,999.99");
            else if (field == QLatin1String("Vyska") || field == QLatin1String("Sirka"))
                sample = QStringLiteral("999.99");
            else if (field == QLatin1String("Pocet"))
                sample = QStringLiteral("9999");
            else if (field != QLatin1String("Material") && c > 0)
                sample = QStringLiteral("-99.99");
            if (!sample.isEmpty())
                width = std::max(width, fm.horizontalAdvance(sample) + cellMargin);
            if (g.surfaces && c == 0)
                for (const QString& name : surfaceNames)
                    width = std::max(width, fm.horizontalAdvance(name) + cellMargin);
            // The fitted column has room for a name of twenty characters at least.
            if (c == g.fitted)
                width = std::max(width, fm.averageCharWidth() * 20);
            g.model->setColumnWidth(c, width);
            view->setColumnWidth(c, width);
            total += width;
        }
        const int frame = 2 * view->frameWidth();
        const int scroll = view->verticalScrollBar()->sizeHint().width();
        const int header = view->horizontalHeader()->sizeHint().height();
        const int row = view->verticalHeader()->defaultSectionSize();
        view->setMinimumSize(total + frame + scroll,
                             header + g.rows * row + frame +
                                 view->horizontalScrollBar()->sizeHint().height());
    }
    // The surface's picture is as high as the grid beside it.
    const int h = ExDBGrid_Steny_->minimumHeight();
    imgStena_->setPreferredSize(QSize(h * 4 / 3, h));
}

void TfrmZInput::fitGridColumns() {
    ExDBGrid_Steny_->setFittedColumn(ConstructionsPage::MaterialColumn);
    ExDBGrid_Otvory_->setFittedColumn(ConstructionsPage::OpeningNameColumn);
    ExDBGrid_Hala_->setFittedColumn(0);
    ExDBGrid_Svetlik_->setFittedColumn(0);
}

void TfrmZInput::refreshCatalogButtons() {
    // The catalog buttons work when a window can show the catalog; until then
    // they are disabled rather than doing nothing.
    const bool catalog = session().elementsCatalogAvailable();
    const Dataset& w = session().data.tSteny;
    const bool walls = w.active() && !w.isEmpty();
    for (const char* name : {"tbKatalogSteny", "tbKatalogOtvory"})
        if (auto* b = findChild<QToolButton*>(QLatin1String(name)))
            b->setEnabled(catalog && walls);
    for (const char* name : {"tbSetAll", "tbNovyOtvor", "tbDelete"})
        if (auto* b = findChild<QToolButton*>(QLatin1String(name)))
            b->setEnabled(walls);
}

void TfrmZInput::refreshConstructions() {
    ConstructionsPage& c = wizard().constructions;
    lbStavOtvory_->setText(c.openingsCaption());
    ExDBGrid_Otvory_->setAccessibleName(c.openingsCaption().isEmpty() ? LanguageText(920)
                                                                      : c.openingsCaption());
    imgStena_->setFile(c.wallPicture());
    const Dataset& w = session().data.tSteny;
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

void TfrmZInput::focusOpeningsGrid() {
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
void TfrmZInput::wallGridClicked(const QModelIndex& index) {
    if (index.column() != ConstructionsPage::MaterialColumn)
        return;
    if (session().elementsCatalogAvailable()) {
        pendingWallClick_ = index;
        wallClickTimer_->start();
    } else {
        ExDBGrid_Steny_->edit(index);
    }
}

void TfrmZInput::wallGridDoubleClicked(const QModelIndex& index) {
    wallClickTimer_->stop();
    pendingWallClick_ = QModelIndex();
    const bool catalogColumn = index.column() == ConstructionsPage::MaterialColumn ||
                               index.column() == ConstructionsPage::UColumn;
    if (catalogColumn && session().elementsCatalogAvailable())
        session().chooseElementForWall();
    else if (wallsModel_->flags(index) & Qt::ItemIsEditable)
        ExDBGrid_Steny_->edit(index);
}

void TfrmZInput::openingsGridDoubleClicked(const QModelIndex& index) {
    if (index.column() <= 1 && session().elementsCatalogAvailable())
        session().chooseElementForOpening();
    else
        ExDBGrid_Otvory_->edit(index);
}

} // namespace zf

#include "projectwindow/summarypage.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "i18n/texts.h"
#include "projectwindow/projectwidgets.h"
#include "session/projectsession.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zf {

namespace {

// The lines of a dimensions group as the summary joins them.
QString shownLines(const QString& lines) {
    return QString(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* valueLabel(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

DatasetGrid* readOnlyGrid(const QString& name, DatasetModel* model, QWidget* parent) {
    auto* g = new DatasetGrid(parent);
    g->setObjectName(name);
    g->setDatasetModel(model);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->horizontalHeader()->setStretchLastSection(false);
    return g;
}

} // namespace

SummaryPage::SummaryPage(ProjectSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    auto* layout = new QVBoxLayout(this);

    // Upper panel: the hall and the skylight with their type pictures.
    auto* upper = new QHBoxLayout;
    gbHall_ = new QGroupBox(this);
    gbHall_->setObjectName(QStringLiteral("gbRozmeryHaly"));
    auto* hl = new QHBoxLayout(gbHall_);
    hallLines_ = new QLabel(gbHall_);
    hallLines_->setObjectName(QStringLiteral("lbRozmeryHaly"));
    hallLines_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    hallLines_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hallPicture_ = new SvgPicture(gbHall_);
    hallPicture_->setObjectName(QStringLiteral("imTypStrechy"));
    hallPicture_->setMinimumSize(150, 100);
    hl->addWidget(hallLines_);
    hl->addWidget(hallPicture_, 1);
    gbSkylight_ = new QGroupBox(this);
    gbSkylight_->setObjectName(QStringLiteral("gbRozmerySvetliku"));
    auto* sl = new QHBoxLayout(gbSkylight_);
    skylightLines_ = new QLabel(gbSkylight_);
    skylightLines_->setObjectName(QStringLiteral("lbRozmerySvetliku"));
    skylightLines_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    skylightLines_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    skylightPicture_ = new SvgPicture(gbSkylight_);
    skylightPicture_->setObjectName(QStringLiteral("imTypSvetliku"));
    skylightPicture_->setMinimumSize(150, 100);
    sl->addWidget(skylightLines_);
    sl->addWidget(skylightPicture_, 1);
    upper->addWidget(gbHall_, 1);
    upper->addWidget(gbSkylight_, 1);
    layout->addLayout(upper);

    // Below: the heat-loss list, the air flows and the costs.
    auto* middle = new QHBoxLayout;
    losses_ = new QTreeWidget(this);
    losses_->setObjectName(QStringLiteral("lvTepelneZtraty"));
    losses_->setColumnCount(3);
    losses_->setRootIsDecorated(false);
    losses_->setSelectionMode(QAbstractItemView::SingleSelection);
    losses_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    losses_->setUniformRowHeights(true);
    for (int r = 0; r < 5; ++r) {
        auto* item = new QTreeWidgetItem(losses_);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    losses_->topLevelItem(3)->setText(0, QString());
    losses_->header()->setStretchLastSection(false);
    losses_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    losses_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    losses_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    middle->addWidget(losses_, 3);

    auto* flows = new QGridLayout;
    int row = 0;
    auto addLine = [&](QLabel*& caption, const char* name, QLabel*& value, const char* valueName) {
        caption = new QLabel(this);
        caption->setObjectName(QLatin1String(name));
        value = valueLabel(QLatin1String(valueName), this);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setBuddy(value);
        flows->addWidget(caption, row, 0);
        flows->addWidget(value, row, 1);
        ++row;
    };
    addLine(lbCirkVykon_, "lbCirkVykon", circulation_, "DBTxtCirkVykon");
    addLine(lbVetrVykon_, "lbVetrVykon", ventilation_, "DBTxtVetrVykon");
    flows->setRowMinimumHeight(row++, 8);
    addLine(lbDen_, "lbDen", costDay_, "lbCenaDen");
    addLine(lbMesic_, "lbMesic", costMonth_, "lbCenaMesic");
    addLine(lbRok_, "lbRok", costYear_, "lbCenaRok");
    flows->setRowStretch(row, 1);
    flows->setColumnStretch(0, 1);
    middle->addLayout(flows, 2);
    layout->addLayout(middle);

    // Lower part: the walls and the openings of the current wall, or the way
    // the losses were determined.
    wallsModel_ = new DatasetModel(session_.wallsSource(), this);
    openingsModel_ = new DatasetModel(session_.openingsSource(), this);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    wallsModel_->setColumns({{QStringLiteral("Nazev") + LanguageCode, {}, 120},
                             {QStringLiteral("Plocha"), {}, 0, false, right},
                             {QStringLiteral("Vyska"), {}, 0, false, right},
                             {QStringLiteral("Sirka"), {}, 0, false, right},
                             {QStringLiteral("Material"), {}, 150},
                             {QStringLiteral("k"), {}, 0, false, right},
                             {QStringLiteral("Ti"), {}, 0, false, right},
                             {QStringLiteral("Te"), {}, 0, false, right},
                             {QStringLiteral("Ztraty_konstrukci_kW"), {}, 0, false, right},
                             {QStringLiteral("Ztraty_otvory_kW"), {}, 0, false, right}});
    openingsModel_->setColumns({{QStringLiteral("Nazev"), {}, 150},
                                {QStringLiteral("k"), {}, 0, false, right},
                                {QStringLiteral("Vyska"), {}, 0, false, right},
                                {QStringLiteral("Sirka"), {}, 0, false, right},
                                {QStringLiteral("Pocet"), {}, 0, false, right},
                                {QStringLiteral("Ti"), {}, 0, false, right},
                                {QStringLiteral("Te"), {}, 0, false, right},
                                {QStringLiteral("Ztrata_kW"), {}, 0, false, right}});
    walls_ = readOnlyGrid(QStringLiteral("ExDBGrid_StenyDraw"), wallsModel_, this);
    openings_ = readOnlyGrid(QStringLiteral("ExDBGrid_OtvoryDraw"), openingsModel_, this);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("splitTables"));
    split->setChildrenCollapsible(false);
    split->addWidget(walls_);
    split->addWidget(openings_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    tables_ = split;
    // The stretched columns are fitted whenever the tables' rows are read again
    // (the grid restores its widths then) and whenever the room they have
    // changes: the window's width, a scroll bar that comes or goes.
    walls_->setFittedColumn(4);
    openings_->setFittedColumn(0);
    walls_->viewport()->installEventFilter(this);
    openings_->viewport()->installEventFilter(this);
    method_ = new QLabel(this);
    method_->setObjectName(QStringLiteral("lbZpusobStanoveni"));
    method_->setWordWrap(true);
    method_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(split, 1);
    layout->addWidget(method_, 1);
    method_->hide();

    flowsHandle_ = session_.projectSource().addDataChange([this](DataSource&, const QString& f) {
        if (f.isEmpty() || f.startsWith(QLatin1String("Cirkulacni_vykon")) ||
            f.startsWith(QLatin1String("Vetraci_vykon")))
            refreshFlows();
    });
    applyLanguage();
    refresh();
}

SummaryPage::~SummaryPage() {
    session_.projectSource().removeDataChange(flowsHandle_);
}

void SummaryPage::refresh() {
    const ResultSummary& s = session_.summary();
    hallLines_->setText(shownLines(s.hallLines));
    skylightLines_->setText(shownLines(s.skylightLines));
    hallPicture_->setFile(s.hallPicture);
    skylightPicture_->setFile(s.skylightPicture);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 2; ++c)
            losses_->topLevelItem(r)->setText(c + 1, s.losses[r][c]);
    costDay_->setText(s.costDay);
    costMonth_->setText(s.costMonth);
    costYear_->setText(s.costYear);
    method_->setText(s.methodCaption);
    tables_->setVisible(s.tablesVisible);
    method_->setVisible(!s.tablesVisible);
    refreshFlows();
}

void SummaryPage::refreshFlows() {
    const Dataset& p = session_.projectRecord();
    const bool has = p.active() && !p.isEmpty();
    circulation_->setText(has ? p.displayText(QStringLiteral("Cirkulacni_vykon_m3_hod"))
                              : QString());
    ventilation_->setText(has ? p.displayText(QStringLiteral("Vetraci_vykon_m3_hod")) : QString());
}

void SummaryPage::applyLanguage() {
    gbHall_->setTitle(LanguageText(701));
    gbSkylight_->setTitle(LanguageText(751));
    hallPicture_->setAccessibleName(LanguageText(702).trimmed());
    skylightPicture_->setAccessibleName(LanguageText(752).trimmed());
    losses_->setHeaderLabels({LanguageText(2005), LanguageText(2006), LanguageText(2007)});
    losses_->setAccessibleName(LanguageText(2005));
    // As high as its five lines under the title, in the language's font: the
    // tables below take the rest.
    losses_->setFixedHeight(losses_->header()->sizeHint().height() +
                            5 * std::max(losses_->sizeHintForRow(0), fontMetrics().height()) +
                            2 * losses_->frameWidth() + 2);
    const int captions[] = {2008, 2009, 2010, 0, 2011};
    for (int r = 0; r < 5; ++r)
        if (captions[r])
            losses_->topLevelItem(r)->setText(0, LanguageText(captions[r]));
    lbCirkVykon_->setText(LanguageText(2012));
    lbVetrVykon_->setText(LanguageText(2013));
    lbDen_->setText(LanguageText(2014));
    lbMesic_->setText(LanguageText(2015));
    lbRok_->setText(LanguageText(2016));
    // The wall names in the language's column; titles, and the columns with a
    // dimension sized to their titles.
    wallsModel_->setColumnField(0, QStringLiteral("Nazev") + LanguageCode);
    for (int c = 0; c < 10; ++c)
        wallsModel_->setColumnTitle(c, LanguageText(860 + c));
    for (int c = 0; c < 8; ++c)
        openingsModel_->setColumnTitle(c, LanguageText(900 + c));
    walls_->setAccessibleName(LanguageText(2354));
    openings_->setAccessibleName(LanguageText(2355));
    const QFontMetrics fm = walls_->horizontalHeader()->fontMetrics();
    auto sizeToTitle = [&](DatasetGrid* grid, DatasetModel* model, int column) {
        const int w = fm.horizontalAdvance(model->column(column).title) + 16;
        grid->setColumnWidth(column, std::max(w, 40));
    };
    for (int c = 1; c < 10; ++c)
        if (c != 4)
            sizeToTitle(walls_, wallsModel_, c);
    for (int c = 1; c < 8; ++c)
        sizeToTitle(openings_, openingsModel_, c);
    fitColumns();
}

void SummaryPage::fitColumns() {
    DatasetGrid::fitColumn(walls_, 4);
    DatasetGrid::fitColumn(openings_, 0);
}

bool SummaryPage::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == walls_->viewport() || watched == openings_->viewport()) &&
        event->type() == QEvent::Resize)
        fitColumns();
    return QWidget::eventFilter(watched, event);
}

} // namespace zf

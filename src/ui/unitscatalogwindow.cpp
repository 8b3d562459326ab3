#include "unitscatalogwindow.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "i18n/language.h"
#include "i18n/texts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zf {

namespace {

QString plain(QString text) {
    return text.remove(QLatin1Char('&')).trimmed();
}

} // namespace

// --- CatalogPicture ------------------------------------------------------------------

CatalogPicture::CatalogPicture(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(40, 40);
}

CatalogPicture::~CatalogPicture() = default;

void CatalogPicture::setFile(const QString& file) {
    if (file == file_)
        return;
    file_ = file;
    svg_.reset();
    image_ = QImage();
    if (!file.isEmpty()) {
        ++loads_;
        if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            auto r = std::make_unique<QSvgRenderer>(file);
            if (r->isValid())
                svg_ = std::move(r);
        } else {
            image_.load(file);
        }
    }
    updateGeometry();
    update();
}

QSize CatalogPicture::sizeHint() const {
    if (svg_)
        return svg_->defaultSize();
    if (!image_.isNull())
        return image_.size();
    return {120, 90};
}

void CatalogPicture::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QSize natural = sizeHint();
    if (isEmpty() || natural.isEmpty())
        return;
    const QRect area = contentsRect();
    // Fitted with its proportions, never enlarged beyond twice its size.
    QSize size = natural.scaled(area.size(), Qt::KeepAspectRatio);
    if (size.width() > natural.width() * 2)
        size = natural * 2;
    const QRect target(area.x() + (area.width() - size.width()) / 2,
                       area.y() + (area.height() - size.height()) / 2, size.width(), size.height());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (svg_)
        svg_->render(&p, QRectF(target));
    else
        p.drawImage(target, image_);
}

// --- TfrmKatalog ---------------------------------------------------------------------

TfrmKatalog::TfrmKatalog(ProjectSession& session, QWidget* parent)
    : QDialog(parent), SessionView(session), catalog_(session.unitsCatalog()) {
    setObjectName(QStringLiteral("TfrmKatalog"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinMaxButtonsHint);
    setModal(false);
    setMinimumSize(300, 300);
    resize(1000, 660);

    // Left: the view choice above the tree.
    rgView_ = new QGroupBox(this);
    rgView_->setObjectName(QStringLiteral("rgView"));
    rbByType_ = new QRadioButton(rgView_);
    rbByType_->setObjectName(QStringLiteral("rgView_0"));
    rbByApplication_ = new QRadioButton(rgView_);
    rbByApplication_->setObjectName(QStringLiteral("rgView_1"));
    rbByType_->setChecked(true);
    auto* rl = new QVBoxLayout(rgView_);
    rl->addWidget(rbByType_);
    rl->addWidget(rbByApplication_);
    tvKatalog_ = new QTreeView(this);
    tvKatalog_->setObjectName(QStringLiteral("tvKatalog"));
    tvKatalog_->setModel(&catalog_.tree());
    tvKatalog_->setHeaderHidden(true);
    tvKatalog_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvKatalog_->setUniformRowHeights(true);
    // Long group names scroll rather than being cut.
    tvKatalog_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvKatalog_->header()->setStretchLastSection(false);
    auto* left = new QWidget(this);
    auto* ll = new QVBoxLayout(left);
    ll->setContentsMargins(0, 0, 0, 0);
    ll->addWidget(rgView_);
    ll->addWidget(tvKatalog_, 1);

    // Right: the four tabs.
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));

    tsParams_ = new QWidget;
    tsParams_->setObjectName(QStringLiteral("tsParams"));
    DBTextLabel1_ = new QLabel(tsParams_);
    DBTextLabel1_->setObjectName(QStringLiteral("DBTextLabel1"));
    DBTextLabel1_->setWordWrap(true);
    QFont big = DBTextLabel1_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    DBTextLabel1_->setFont(big);
    lbPopis_ = new QLabel(tsParams_);
    lbPopis_->setObjectName(QStringLiteral("lbPopis"));
    lbPopis_->setWordWrap(true);
    lbPopis_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lbPopis_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lvParams_ = new QTreeWidget(tsParams_);
    lvParams_->setObjectName(QStringLiteral("lvParams"));
    lvParams_->setColumnCount(2);
    lvParams_->setHeaderHidden(true);
    lvParams_->setRootIsDecorated(false);
    lvParams_->setSelectionMode(QAbstractItemView::NoSelection);
    lvParams_->header()->setStretchLastSection(true);
    lvParams_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lvParams_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    lvParams_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    lvParams_->hide();
    imFoto_ = new CatalogPicture(tsParams_);
    imFoto_->setObjectName(QStringLiteral("imFoto"));
    auto* pl = new QVBoxLayout(tsParams_);
    pl->addWidget(DBTextLabel1_);
    pl->addWidget(lbPopis_);
    pl->addWidget(lvParams_);
    pl->addWidget(imFoto_, 1);

    tsRozmery_ = new QWidget;
    tsRozmery_->setObjectName(QStringLiteral("tsRozmery"));
    DBTextLabel2_ = new QLabel(tsRozmery_);
    DBTextLabel2_->setObjectName(QStringLiteral("DBTextLabel2"));
    QFont bold = DBTextLabel2_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    DBTextLabel2_->setFont(bold);
    dimensions_ = new DatasetModel(session.dimensionsSource(), this);
    std::vector<GridColumn> columns;
    for (const QString& c : UnitsCatalog::dimensionColumns())
        columns.push_back({c, c, c.size() > 2 ? 56 : 44, false, Qt::AlignRight | Qt::AlignVCenter});
    dimensions_->setColumns(columns);
    ExDBGrid1_ = new DatasetGrid(tsRozmery_);
    ExDBGrid1_->setObjectName(QStringLiteral("ExDBGrid1"));
    ExDBGrid1_->setDatasetModel(dimensions_);
    ExDBGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ExDBGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ExDBGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    ExDBGrid1_->verticalHeader()->hide();
    ExDBGrid1_->setMaximumHeight(170);
    imRozmery_ = new CatalogPicture(tsRozmery_);
    imRozmery_->setObjectName(QStringLiteral("imRozmery"));
    auto* dl = new QVBoxLayout(tsRozmery_);
    dl->addWidget(DBTextLabel2_);
    dl->addWidget(ExDBGrid1_);
    dl->addWidget(imRozmery_, 1);

    tsRychlost_ = picturePage("tsRychlost", &lbRychlost_, &imRychlost_, &im_Legenda_r_,
                              "imRychlost", "im_Legenda_r");
    tsTeplota_ =
        picturePage("tsTeplota", &lbTeplota_, &imTeplota_, &imLegendaT_, "imTeplota", "imLegendaT");
    lbRychlost_->setObjectName(QStringLiteral("lbRychlost"));
    lbTeplota_->setObjectName(QStringLiteral("lbTeplota"));
    imLegendaT_->setFile(resolvePictureFile(UnitsCatalog::temperatureLegendFile()));

    pages_->addTab(tsParams_, QString());
    pages_->addTab(tsRozmery_, QString());
    pages_->addTab(tsRychlost_, QString());
    pages_->addTab(tsTeplota_, QString());
    pages_->setCurrentWidget(tsParams_);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split_ = split;
    split->setObjectName(QStringLiteral("Splitter1"));
    split->addWidget(left);
    split->addWidget(pages_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 3);
    split->setSizes({300, 620});
    split->setChildrenCollapsible(false);

    btClose_ = new QPushButton(this);
    btClose_->setObjectName(QStringLiteral("btClose"));
    auto* bl = new QHBoxLayout;
    bl->addStretch();
    bl->addWidget(btClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(bl);

    connect(rbByType_, &QRadioButton::clicked, this,
            [this] { catalog_.chooseView(UnitsCatalog::ByType); });
    connect(rbByApplication_, &QRadioButton::clicked, this,
            [this] { catalog_.chooseView(UnitsCatalog::ByApplication); });
    connect(tvKatalog_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    catalog_.selectNode(current.data().toString());
            });
    connect(btClose_, &QPushButton::clicked, this, &QDialog::reject);

    languageHandle_ = registerLanguageApplier([this](int base) { applyLanguage(base); });
    applyLanguage(LanguageBase);
    showDetails();
    showPictures();
}

TfrmKatalog::~TfrmKatalog() {
    unregisterLanguageApplier(languageHandle_);
}

QWidget* TfrmKatalog::picturePage(const char* name, QLabel** title, CatalogPicture** picture,
                                  CatalogPicture** legend, const char* pictureName,
                                  const char* legendName) {
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    *title = new QLabel(page);
    (*title)->setWordWrap(true);
    QFont f = (*title)->font();
    f.setBold(true);
    (*title)->setFont(f);
    *picture = new CatalogPicture(page);
    (*picture)->setObjectName(QLatin1String(pictureName));
    *legend = new CatalogPicture(page);
    (*legend)->setObjectName(QLatin1String(legendName));
    (*legend)->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    (*legend)->setMaximumWidth(170);
    auto* row = new QHBoxLayout;
    row->addWidget(*picture, 1);
    row->addWidget(*legend);
    auto* l = new QVBoxLayout(page);
    l->addWidget(*title);
    l->addLayout(row, 1);
    return page;
}

void TfrmKatalog::applyLanguage(int base) {
    // The face of the language on the form and on the labels with fonts of their own.
    const QString face = ApplyLanguageFonts(base).face;
    for (QWidget* w : std::initializer_list<QWidget*>{this, DBTextLabel1_, DBTextLabel2_,
                                                      lbRychlost_, lbTeplota_}) {
        QFont f = w->font();
        f.setFamily(face);
        w->setFont(f);
    }
    setWindowTitle(LanguageText(1500));
    btClose_->setText(LanguageText(153));
    rgView_->setTitle(LanguageText(1501));
    rbByType_->setText(LanguageText(1502));
    rbByApplication_->setText(LanguageText(1503));
    pages_->setTabText(pages_->indexOf(tsParams_), LanguageText(1504));
    pages_->setTabText(pages_->indexOf(tsRozmery_), LanguageText(1505));
    pages_->setTabText(pages_->indexOf(tsRychlost_), LanguageText(1506));
    pages_->setTabText(pages_->indexOf(tsTeplota_), LanguageText(1507));
    lbRychlost_->setText(LanguageText(1508));
    lbTeplota_->setText(LanguageText(1509));
    // Names for assistive technology, in the language.
    tvKatalog_->setAccessibleName(plain(LanguageText(1500)));
    lvParams_->setAccessibleName(plain(LanguageText(1504)));
    ExDBGrid1_->setAccessibleName(plain(LanguageText(1505)));
    imRozmery_->setAccessibleName(plain(LanguageText(1505)));
    imRychlost_->setAccessibleName(plain(LanguageText(1508)));
    imTeplota_->setAccessibleName(plain(LanguageText(1509)));
    im_Legenda_r_->setAccessibleName(LanguageText(1521) + QStringLiteral(": ") +
                                     plain(LanguageText(1506)));
    imLegendaT_->setAccessibleName(LanguageText(1521) + QStringLiteral(": ") +
                                   plain(LanguageText(1507)));
    showDetails();
    if (isVisible())
        fitTree();
}

// The tree is as wide as its names in the language, up to almost half the
// window; what is wider scrolls.
void TfrmKatalog::fitTree() {
    tvKatalog_->resizeColumnToContents(0);
    const int want = tvKatalog_->columnWidth(0) + 2 * tvKatalog_->frameWidth() +
                     tvKatalog_->verticalScrollBar()->sizeHint().width() + 8;
    const int total = split_->width() > 100 ? split_->width() : width() - 20;
    const int left = std::clamp(want, 260, std::max(260, total * 45 / 100));
    split_->setSizes({left, std::max(100, total - left)});
}

void TfrmKatalog::showDetails() {
    DBTextLabel1_->setText(catalog_.familyName());
    imFoto_->setAccessibleName(catalog_.familyName().isEmpty() ? plain(LanguageText(1504))
                                                               : catalog_.familyName());
    lbPopis_->setText(catalog_.description());
    lvParams_->clear();
    for (const SpecLine& line : catalog_.specLines())
        lvParams_->addTopLevelItem(new QTreeWidgetItem(QStringList{line.caption, line.value}));
    lvParams_->setVisible(catalog_.specVisible());
    DBTextLabel2_->setText(catalog_.dimensionType());
}

void TfrmKatalog::showPictures() {
    imFoto_->setFile(catalog_.photo().file);
    imRozmery_->setFile(catalog_.drawing().file);
    imRychlost_->setFile(catalog_.velocity().file);
    im_Legenda_r_->setFile(catalog_.velocityLegend().file);
    imTeplota_->setFile(catalog_.temperature().file);
    pages_->setTabVisible(pages_->indexOf(tsRychlost_), catalog_.tabVelocityVisible());
    pages_->setTabVisible(pages_->indexOf(tsTeplota_), catalog_.tabTemperatureVisible());
    const QStringList& visible = catalog_.visibleColumns();
    const QStringList& all = UnitsCatalog::dimensionColumns();
    for (int c = 1; c < all.size(); ++c) // column A is always shown
        ExDBGrid1_->setColumnHidden(c, !visible.contains(all[c]));
}

void TfrmKatalog::showWindow(Window window, bool shown) {
    if (window != Window::UnitsCatalog)
        return;
    if (shown) {
        fitTree();
        // Its first size, 1000 by 660, is more than a small screen holds at
        // double size: it opens within nine tenths of the screen.
        if (!isVisible())
            if (const QScreen* where = screen())
                resize(size().boundedTo(where->availableGeometry().size() * 9 / 10));
        show();
        raise();
        activateWindow();
    } else if (isVisible()) {
        reject();
    }
}

void TfrmKatalog::stateChanged(Window window, unsigned what) {
    if (window != Window::UnitsCatalog)
        return;
    if (what & UnitsCatalogDetails)
        showDetails();
    if (what & UnitsCatalogPictures)
        showPictures();
}

void TfrmKatalog::done(int result) {
    // Closed by its button, Escape or the window's frame.
    QDialog::done(result);
    session().unitsCatalogClosed();
}

} // namespace zf

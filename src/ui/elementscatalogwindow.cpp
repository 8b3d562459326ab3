#include "elementscatalogwindow.h"

#include "binding/fieldbinder.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "qtdialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QValidator>

namespace zf {

namespace {

QString plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

void applyFace(QWidget* w, int base) {
    QFont f = w->font();
    f.setFamily(ApplyLanguageFonts(base).face);
    w->setFont(f);
}

// U takes two decimals, in the user's locale of the moment.
class UValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        switch (NewElementState::checkUTyping(input)) {
        case NewElementState::UTyping::Acceptable:
            return Acceptable;
        case NewElementState::UTyping::Intermediate:
            return Intermediate;
        default:
            return Invalid;
        }
    }
};

} // namespace

// --- TfrmPrvky ---------------------------------------------------------------------

TfrmPrvky::TfrmPrvky(ProjectSession& session, QWidget* parent)
    : QDialog(parent), SessionView(session), catalog_(session.elementsCatalog()) {
    setObjectName(QStringLiteral("TfrmPrvky"));
    // Shown modally also over the wizard, which stays on top.
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setSizeGripEnabled(true);
    resize(620, 520);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto tool = [&](const char* name) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    tbNew_ = tool("tbNew");
    tbEdit_ = tool("tbEdit");
    tbDelete_ = tool("tbDelete");
    bar->addSpacing(12);
    tbExpandAll_ = tool("tbExpandAll");
    tbCollapseAll_ = tool("tbCollapseAll");
    bar->addStretch();

    ElTree1_ = new QTreeView(this);
    ElTree1_->setObjectName(QStringLiteral("ElTree1"));
    ElTree1_->setModel(&catalog_.model());
    ElTree1_->setSortingEnabled(false);
    ElTree1_->setExpandsOnDoubleClick(false);
    ElTree1_->setUniformRowHeights(true);
    ElTree1_->setSelectionMode(QAbstractItemView::SingleSelection);
    ElTree1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ElTree1_->header()->setStretchLastSection(false);
    ElTree1_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ElTree1_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    ElTree1_->installEventFilter(this);

    btOK_ = new QPushButton(this);
    btOK_->setObjectName(QStringLiteral("btOK"));
    btOK_->setDefault(true);
    btCancel_ = new QPushButton(this);
    btCancel_->setObjectName(QStringLiteral("btCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK_);
    buttons->addWidget(btCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(ElTree1_, 1);
    layout->addLayout(buttons);

    connect(tbNew_, &QToolButton::clicked, this, [this] { catalog_.newItem(); });
    connect(tbEdit_, &QToolButton::clicked, this, [this] { catalog_.editItem(); });
    connect(tbDelete_, &QToolButton::clicked, this, [this] { catalog_.deleteItem(); });
    connect(tbExpandAll_, &QToolButton::clicked, this, [this] { expandAll(true); });
    connect(tbCollapseAll_, &QToolButton::clicked, this, [this] { expandAll(false); });
    connect(btOK_, &QPushButton::clicked, this, &TfrmPrvky::ok);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(ElTree1_, &QTreeView::doubleClicked, this, &TfrmPrvky::doubleClicked);
    connect(ElTree1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_)
                    catalog_.setCurrent(catalog_.model().rowOf(current));
            });
    // A reset clears the view's current row; the catalog says which one it is.
    connect(&catalog_.model(), &QAbstractItemModel::modelReset, this, [this] { showCurrent(); });

    languageHandle_ = registerLanguageApplier([this](int base) { applyLanguage(base); });
    applyLanguage(LanguageBase);
}

TfrmPrvky::~TfrmPrvky() {
    unregisterLanguageApplier(languageHandle_);
}

void TfrmPrvky::applyLanguage(int base) {
    applyFace(this, base);
    setWindowTitle(LanguageText(2701));
    btOK_->setText(LanguageText(151));
    btCancel_->setText(LanguageText(152));
    tbNew_->setText(LanguageText(2704));
    tbEdit_->setText(LanguageText(2705));
    tbDelete_->setText(LanguageText(2706));
    tbExpandAll_->setText(LanguageText(2707));
    tbCollapseAll_->setText(LanguageText(2708));
    ElTree1_->setAccessibleName(LanguageText(2701));
    ElTree1_->setAccessibleDescription(LanguageText(2702) + QStringLiteral(", ") +
                                       LanguageText(2703));
}

std::optional<bool> TfrmPrvky::execDialog(Window window) {
    if (window != Window::ElementsCatalog)
        return std::nullopt;
    showCurrent();
    fitWidth();
    ElTree1_->setFocus();
    QtDialogs::Placement place(this);
    return exec() == QDialog::Accepted;
}

// Wide enough for the longest name of the language beside the coefficient
// column: the window grows for it (up to most of the screen), never shrinks.
void TfrmPrvky::fitWidth() {
    const QAbstractItemModel& m = catalog_.model();
    QFont bold = ElTree1_->font();
    bold.setBold(true);
    const QFontMetrics groupFm(bold), itemFm(ElTree1_->font());
    int names = 0;
    for (int g = 0; g < m.rowCount(); ++g) {
        const QModelIndex group = m.index(g, 0);
        names = std::max(names, ElTree1_->indentation() +
                                    groupFm.horizontalAdvance(group.data().toString()));
        for (int i = 0; i < m.rowCount(group); ++i)
            names = std::max(names,
                             2 * ElTree1_->indentation() +
                                 itemFm.horizontalAdvance(m.index(i, 0, group).data().toString()));
    }
    const QMargins margins = layout() ? layout()->contentsMargins() : QMargins();
    const int need =
        names + 16 + ElTree1_->header()->sectionSizeHint(1) + 2 * ElTree1_->frameWidth() +
        ElTree1_->verticalScrollBar()->sizeHint().width() + margins.left() + margins.right();
    int most = need;
    if (const QScreen* screen = this->screen())
        most = screen->availableGeometry().width() * 9 / 10;
    if (width() < need)
        resize(std::min(need, most), height());
}

bool TfrmPrvky::providesDialog(Window window) const {
    return window == Window::ElementsCatalog;
}

void TfrmPrvky::stateChanged(Window window, unsigned what) {
    if (window == Window::ElementsCatalog && (what & CatalogSelection))
        showCurrent();
}

void TfrmPrvky::focusControl(Window window, const QString& control) {
    if (window == Window::ElementsCatalog && control == ElTree1_->objectName())
        ElTree1_->setFocus();
}

void TfrmPrvky::showCurrent() {
    syncing_ = true;
    const QModelIndex index = catalog_.model().indexOf(catalog_.current());
    if (index.isValid()) {
        if (index.parent().isValid())
            ElTree1_->expand(index.parent());
        ElTree1_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
        ElTree1_->scrollTo(index);
    } else {
        ElTree1_->selectionModel()->clear();
    }
    syncing_ = false;
}

void TfrmPrvky::ok() {
    if (catalog_.confirm())
        accept();
}

void TfrmPrvky::doubleClicked(const QModelIndex& index) {
    if (!index.isValid())
        return;
    catalog_.setCurrent(catalog_.model().rowOf(index));
    switch (catalog_.doubleClick()) {
    case ElementsCatalog::DoubleClick::Toggle: {
        const QModelIndex group = index.sibling(index.row(), 0);
        ElTree1_->setExpanded(group, !ElTree1_->isExpanded(group));
        break;
    }
    case ElementsCatalog::DoubleClick::Chosen:
        accept();
        break;
    default:
        break;
    }
}

void TfrmPrvky::expandAll(bool expand) {
    ElTree1_->setUpdatesEnabled(false);
    const QAbstractItemModel* m = ElTree1_->model();
    for (int g = 0; g < m->rowCount(); ++g)
        ElTree1_->setExpanded(m->index(g, 0), expand);
    ElTree1_->setUpdatesEnabled(true);
    ElTree1_->setFocus();
}

bool TfrmPrvky::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ElTree1_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        catalog_.deleteItem();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- TfrmPrvekNew ------------------------------------------------------------------

TfrmPrvekNew::TfrmPrvekNew(ProjectSession& session, QWidget* parent)
    : QDialog(parent), SessionView(session), catalog_(session.elementsCatalog()) {
    setObjectName(QStringLiteral("TfrmPrvekNew"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    lbSkupina_ = new QLabel(this);
    lbSkupina_->setObjectName(QStringLiteral("lbSkupina"));
    cbSkupina_ = new QComboBox(this);
    cbSkupina_->setObjectName(QStringLiteral("cbSkupina"));
    cbSkupina_->setEditable(false);
    cbSkupina_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lbKonstrukce_ = new QLabel(this);
    lbKonstrukce_->setObjectName(QStringLiteral("lbKonstrukce"));
    edMaterial_ = new QLineEdit(this);
    edMaterial_->setObjectName(QStringLiteral("edMaterial"));
    edMaterial_->setMinimumWidth(320);
    slbU_ = new QLabel(this);
    slbU_->setObjectName(QStringLiteral("slbU"));
    fed_k_ = new QLineEdit(this);
    fed_k_->setObjectName(QStringLiteral("fed_k"));
    fed_k_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fed_k_->setValidator(new UValidator(fed_k_));
    fed_k_->setMaximumWidth(fed_k_->fontMetrics().horizontalAdvance(QStringLiteral("0000000.00")) +
                            16);
    lbSkupina_->setBuddy(cbSkupina_);
    lbKonstrukce_->setBuddy(edMaterial_);
    slbU_->setBuddy(fed_k_);
    // Where the item is offered: kept checked and out of sight.
    cbStavKontrukce_ = new QCheckBox(this);
    cbStavKontrukce_->setObjectName(QStringLiteral("cbStavKontrukce"));
    cbStavKontrukce_->setChecked(true);
    cbStavKontrukce_->hide();
    cbStavOtvory_ = new QCheckBox(this);
    cbStavOtvory_->setObjectName(QStringLiteral("cbStavOtvory"));
    cbStavOtvory_->setChecked(true);
    cbStavOtvory_->hide();

    btAddAndClose_ = new QPushButton(this);
    btAddAndClose_->setObjectName(QStringLiteral("btAddAndClose"));
    btAddAndNew_ = new QPushButton(this);
    btAddAndNew_->setObjectName(QStringLiteral("btAddAndNew"));
    btAddAndNew_->setDefault(true);
    btCancel_ = new QPushButton(this);
    btCancel_->setObjectName(QStringLiteral("btCancel"));

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(lbSkupina_, cbSkupina_);
    form->addRow(lbKonstrukce_, edMaterial_);
    form->addRow(slbU_, fed_k_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btAddAndClose_);
    buttons->addWidget(btAddAndNew_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(btAddAndClose_, &QPushButton::clicked, this, &TfrmPrvekNew::addAndClose);
    connect(btAddAndNew_, &QPushButton::clicked, this, &TfrmPrvekNew::addAndNew);
    connect(btCancel_, &QPushButton::clicked, this, &TfrmPrvekNew::reject);
    connect(fed_k_, &QLineEdit::textChanged, this, [this] { paintU(); });

    languageHandle_ = registerLanguageApplier([this](int base) { applyLanguage(base); });
    applyLanguage(LanguageBase);
}

TfrmPrvekNew::~TfrmPrvekNew() {
    unregisterLanguageApplier(languageHandle_);
}

void TfrmPrvekNew::applyLanguage(int base) {
    applyFace(this, base);
    lbSkupina_->setText(LanguageText(2759));
    lbKonstrukce_->setText(LanguageText(2753));
    slbU_->setText(LanguageText(2754));
    cbStavKontrukce_->setText(LanguageText(2755));
    cbStavOtvory_->setText(LanguageText(2756));
    btAddAndClose_->setText(LanguageText(2757));
    btCancel_->setText(LanguageText(152));
    cbSkupina_->setAccessibleName(plain(LanguageText(2759)).trimmed());
    edMaterial_->setAccessibleName(plain(LanguageText(2753)).trimmed());
    fed_k_->setAccessibleName(plain(LanguageText(2754)).trimmed());
    load();
}

void TfrmPrvekNew::load() {
    const NewElementState& d = catalog_.dialog;
    setWindowTitle(d.caption());
    const QStringList groups = d.groupCaptions();
    QStringList shown;
    for (int i = 0; i < cbSkupina_->count(); ++i)
        shown << cbSkupina_->itemText(i);
    if (shown != groups) {
        cbSkupina_->clear();
        cbSkupina_->addItems(groups);
    }
    cbSkupina_->setCurrentIndex(d.group >= 0 && d.group < groups.size() ? d.group : -1);
    // The name takes no more characters than its column holds, typed or pasted.
    if (const int length = catalog_.nameLength(); length > 0 && edMaterial_->maxLength() != length)
        edMaterial_->setMaxLength(length);
    if (edMaterial_->text() != d.name)
        edMaterial_->setText(d.name);
    if (fed_k_->text() != d.uText)
        fed_k_->setText(d.uText);
    btAddAndClose_->setVisible(d.addAndCloseVisible());
    btAddAndNew_->setText(d.addAndNewCaption());
    paintU();
}

void TfrmPrvekNew::store() {
    NewElementState& d = catalog_.dialog;
    d.group = cbSkupina_->currentIndex();
    d.name = edMaterial_->text();
    d.uText = fed_k_->text();
    d.constructions = cbStavKontrukce_->isChecked();
    d.openings = cbStavOtvory_->isChecked();
}

void TfrmPrvekNew::paintU() {
    FieldBinder::paint(fed_k_, NewElementState::uIsRed(fed_k_->text()) ? EditColour::Red
                                                                       : EditColour::Default);
}

void TfrmPrvekNew::addAndClose() {
    store();
    catalog_.addAndClose();
}

void TfrmPrvekNew::addAndNew() {
    store();
    if (modal_) {
        // Editing: the button is OK.
        if (catalog_.checkInput())
            accept();
        return;
    }
    catalog_.addAndNew();
}

void TfrmPrvekNew::reject() {
    if (modal_) {
        QDialog::reject();
        return;
    }
    catalog_.closeNewElement();
}

void TfrmPrvekNew::closeEvent(QCloseEvent* event) {
    if (!modal_) {
        catalog_.closeNewElement();
        event->accept();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmPrvekNew::showWindow(Window window, bool shown) {
    if (window != Window::NewElement || modal_)
        return;
    if (shown) {
        load();
        show();
        raise();
        activateWindow();
        edMaterial_->setFocus();
    } else {
        hide();
    }
}

std::optional<bool> TfrmPrvekNew::execDialog(Window window) {
    if (window != Window::NewElement)
        return std::nullopt;
    hide();
    modal_ = true;
    load();
    edMaterial_->setFocus();
    QtDialogs::Placement place(this);
    const int result = exec();
    modal_ = false;
    return result == QDialog::Accepted;
}

bool TfrmPrvekNew::providesDialog(Window window) const {
    return window == Window::NewElement;
}

void TfrmPrvekNew::stateChanged(Window window, unsigned what) {
    if (window == Window::NewElement && (what & NewElementFields))
        load();
}

} // namespace zf

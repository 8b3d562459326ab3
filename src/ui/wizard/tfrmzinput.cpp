#include "wizard/tfrmzinput.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "helphints.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "pictures.h"
#include "svgpicture.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace zf {

namespace {

// The help hints of the wizard's controls. A balloon explains the edits, the
// memos and the lists of days and hours while they have the focus; the hints of
// the other controls are their tooltips while the help display is on.
struct HintDef {
    const char* control;
    int id;
    bool balloon;
};
const HintDef hintDefs[] = {
    {"DBEd_ProjectName", 5101, true},
    {"DBmemo_ProjectDesc", 5102, true},
    {"DBed_Investor", 5103, true},
    {"DBed_Person", 5104, true},
    {"DBmemo_Address", 5105, true},
    {"DBEd_Phone", 5106, true},
    {"DBEd_Fax", 5107, true},
    {"DBEd_Email", 5108, true},
    {"btSaveAsDefault", 5109, false},
    {"btDeleteDefault", 5110, false},
    {"DBcb_Oblast", 5111, false},
    {"DBEd_OtopneObdobi", 5112, true},
    {"DBEd_Tes", 5113, true},
    {"DBEd_Te", 5114, true},
    {"DBEd_Tzeme", 5115, true},
    {"DBCb_Dny_za_tyden", 5116, true},
    {"DBCb_Hodiny_za_den", 5118, true},
    {"DBEd_Ti", 5119, true},
    {"DBEd_Ttlumena", 5120, true},
    {"cbDruhPaliva", 5121, false},
    {"DBEd_CZK_m3", 5122, true},
    {"DBEd_CZK_kWh", 5123, true},
    {"DBEd_CZK_kg", 5124, true},
    {"cbRegulace", 5125, false},
    {"DBEd_Ucinnost_regulace", 5126, true},
    {"DBEd_Technologie", 5127, true},
    {"DBEd_Vyt_system", 5128, true},
    {"DBEd_Ostatni", 5129, true},
    {"cbVytapeni", 5130, false},
    {"cbVetrani", 5131, false},
    {"cbChlazeni", 5132, false},
    {"cblbPouziteJednotky", 5133, false},
    {"cbTypStrechy", 5134, false},
    {"ExDBGrid_Hala", 5135, false},
    {"ExDBGrid_Svetlik", 5135, false},
    {"cbTypSvetliku", 5136, false},
    {"DBEdZaver_text", 5137, true},
    {"cbAssist", 5138, false},
};

bool isEnter(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

} // namespace

TfrmZInput::TfrmZInput(ProjectSession& session, HelpHints& hints, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      SessionView(session), hints_(hints) {
    setObjectName(QStringLiteral("TfrmZInput"));
    binder_.onEnter = [this](QWidget* w) { onEnterControl(w); };
    binder_.onLeave = [this](QWidget*) { hints_.hideBalloon(); };
    wallClickTimer_ = new QTimer(this);
    wallClickTimer_->setSingleShot(true);
    wallClickTimer_->setInterval(QApplication::doubleClickInterval());
    connect(wallClickTimer_, &QTimer::timeout, this, [this] {
        if (pendingWallClick_.isValid() && ExDBGrid_Steny_->currentIndex() == pendingWallClick_)
            ExDBGrid_Steny_->edit(pendingWallClick_);
    });
    buildFrame();
    for (const HintDef& h : hintDefs)
        if (!h.balloon)
            if (QWidget* w = findChild<QWidget*>(QLatin1String(h.control)))
                hints_.registerTooltipControl(w);
    QFont f = font();
    f.setFamily(ApplyLanguageFonts(LanguageBase).face);
    setFont(f);
    applyLanguage(LanguageBase);
    languageHandle_ = registerLanguageApplier([this](int base) { applyLanguage(base); });
}

TfrmZInput::~TfrmZInput() {
    unregisterLanguageApplier(languageHandle_);
    hints_.hideBalloon();
}

// --- the frame ----------------------------------------------------------------------

void TfrmZInput::buildFrame() {
    auto* top = new QVBoxLayout(this);
    PageControl1_ = new QTabWidget(this);
    PageControl1_->setObjectName(QStringLiteral("PageControl1"));
    // Every tab is seen at once: the window is as wide as the tabs need.
    PageControl1_->setUsesScrollButtons(false);
    PageControl1_->addTab(buildProjectPage(), QString());
    PageControl1_->addTab(buildSeasonPage(), QString());
    PageControl1_->addTab(buildModePage(), QString());
    PageControl1_->addTab(buildHallPage(), QString());
    PageControl1_->addTab(buildSkylightPage(), QString());
    PageControl1_->addTab(buildLossesPage(), QString());
    PageControl1_->addTab(buildConstructionsPage(), QString());
    PageControl1_->addTab(buildWorkPage(), QString());
    PageControl1_->addTab(buildClosingPage(), QString());
    top->addWidget(PageControl1_, 1);
    connect(PageControl1_, &QTabWidget::currentChanged, this, [this](int index) {
        if (followingPage_ || index < 0)
            return;
        // Choosing a tab: what was typed on the page left is written first.
        binder_.commitFocused();
        wizard().setPage(index);
        if (PageControl1_->currentIndex() != wizard().activePage())
            refreshFrame();
    });

    auto* buttons = new QHBoxLayout;
    FieldAccess help;
    help.read = [this] { return session().helpDisplay(); };
    help.write = [this](const QVariant& v, QString*) {
        session().setHelpDisplay(v.toBool());
        return true;
    };
    cbAssist_ = newCheck(this, "cbAssist", 502, help);
    buttons->addWidget(cbAssist_);
    buttons->addStretch(1);
    auto button = [&](const char* name, int id, void (TfrmZInput::*slot)()) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        if (id)
            texts_.push_back({b, id});
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    btPrev_ = button("btPrev", 154, &TfrmZInput::previous);
    btNext_ = button("btNext", 0, &TfrmZInput::next);
    btCancel_ = button("btCancel", 152, &TfrmZInput::cancel);
    btClose_ = button("btClose", 153, &TfrmZInput::closeWizard);
    top->addLayout(buttons);
}

QWidget* TfrmZInput::newPage(const char* name, int headerId, const char* headerName,
                             QVBoxLayout** layout) {
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    auto* l = new QVBoxLayout(page);
    if (headerId)
        l->addWidget(newHeader(page, headerName, headerId));
    *layout = l;
    return page;
}

QLabel* TfrmZInput::newLabel(QWidget* parent, const char* name, int textId) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    if (textId)
        texts_.push_back({l, textId});
    return l;
}

QLabel* TfrmZInput::newHeader(QWidget* parent, const char* name, int textId) {
    QLabel* l = newLabel(parent, name, textId);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setWordWrap(true);
    // The header takes the page's width and as many lines as its text needs.
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return l;
}

QGroupBox* TfrmZInput::newGroup(QWidget* parent, const char* name, int textId) {
    auto* g = new QGroupBox(parent);
    g->setObjectName(QLatin1String(name));
    texts_.push_back({g, textId});
    return g;
}

QLineEdit* TfrmZInput::newEdit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const FieldAccess a = editAccess(QLatin1String(name));
    if (isNumeric(a.kind)) {
        // Room for the largest numbers the designs hold, shown with separators.
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-999,999.99")) +
                           e->fontMetrics().averageCharWidth() * 3);
        e->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    binder_.bind(e, a);
    watchKeys(e);
    return e;
}

QPlainTextEdit* TfrmZInput::newMemo(QWidget* parent, const char* name, int lines) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setTabChangesFocus(true);
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const int frame = 2 * (m->frameWidth() + int(m->document()->documentMargin()));
    m->setFixedHeight(m->fontMetrics().lineSpacing() * lines + frame + 2);
    binder_.bind(m, editAccess(QLatin1String(name)));
    return m;
}

QComboBox* TfrmZInput::newCombo(QWidget* parent, const char* name, FieldAccess access) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    // The lists of the language are as wide as their longest entry in any
    // language (the window's size is measured over all of them).
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    binder_.bind(c, std::move(access));
    watchKeys(c);
    return c;
}

QCheckBox* TfrmZInput::newCheck(QWidget* parent, const char* name, int textId, FieldAccess access) {
    auto* c = new QCheckBox(parent);
    c->setObjectName(QLatin1String(name));
    if (textId)
        texts_.push_back({c, textId});
    binder_.bind(c, std::move(access));
    watchKeys(c);
    return c;
}

QRadioButton* TfrmZInput::newRadio(QWidget* parent, const char* name, int textId,
                                   FieldAccess access) {
    auto* r = new QRadioButton(parent);
    r->setObjectName(QLatin1String(name));
    if (textId)
        texts_.push_back({r, textId});
    binder_.bind(r, std::move(access));
    watchKeys(r);
    return r;
}

QLabel* TfrmZInput::newValue(QWidget* parent, const char* name, const QString& field, bool number,
                             QLabel* caption) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("-999,999.99")) +
                       l->fontMetrics().averageCharWidth() * 3);
    values_.push_back({l, field, number, caption});
    return l;
}

void TfrmZInput::addValueRow(QGridLayout* grid, QWidget* parent, const char* captionName,
                             int textId, const char* name, const char* field) {
    QLabel* caption = newLabel(parent, captionName, textId);
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(newValue(parent, name, QLatin1String(field), true, caption), row, 1);
}

DatasetGrid* TfrmZInput::newGrid(QWidget* parent, const char* name, DatasetModel* model) {
    auto* g = new DatasetGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->setDatasetModel(model);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    g->setEnterActsAsTab(true);
    g->setTabKeyNavigation(true);
    return g;
}

QToolButton* TfrmZInput::newToolButton(QWidget* parent, const char* name, int textId,
                                       const QString& icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setIcon(commandIcon(icon));
    b->setFocusPolicy(Qt::StrongFocus);
    texts_.push_back({b, textId});
    return b;
}

void TfrmZInput::addRow(QGridLayout* grid, QLabel* label, QWidget* control, QWidget* after) {
    const int row = grid->rowCount();
    // A memo's label stands beside its first line.
    const bool tall = qobject_cast<QPlainTextEdit*>(control) != nullptr;
    grid->addWidget(label, row, 0, tall ? Qt::AlignTop | Qt::AlignLeft : Qt::Alignment());
    grid->addWidget(control, row, 1);
    if (after)
        grid->addWidget(after, row, 2);
    label->setBuddy(control);
}

FieldAccess TfrmZInput::editAccess(const QString& name) {
    const WizardEdit* e = wizardEdit(name);
    FieldAccess a;
    a.kind = e ? e->kind : EditKind::Text;
    const QString field = e ? QLatin1String(e->field) : QString();
    Dataset& p = session().data.tADOProject;
    a.read = [&p, field]() -> QVariant {
        if (!p.active() || p.isEmpty() || !p.hasField(field))
            return {};
        return p.value(field);
    };
    a.write = [this, name](const QVariant& v, QString* error) {
        // An edit left because the wizard closed (Cancel, Close of the project)
        // writes nothing: what it held was not entered.
        if (!wizard().visible())
            return true;
        return wizard().enterEdit(name, v, error);
    };
    a.enabled = [this, name] {
        return session().data.tADOProject.active() && wizard().editEnabled(name);
    };
    a.colour = [this, name](bool focused) { return wizard().editColour(name, focused); };
    if (isNumeric(a.kind))
        a.typedColour = [this, name](const QVariant& typed) {
            return wizard().editColourOfValue(name, typed);
        };
    return a;
}

void TfrmZInput::watchKeys(QWidget* control) {
    control->installEventFilter(this);
}

// --- the session's events --------------------------------------------------------------

void TfrmZInput::showWindow(Window window, bool shown) {
    if (window != Window::Wizard)
        return;
    if (!shown) {
        hints_.hideBalloon();
        hide();
        return;
    }
    // Its size is measured when it is first shown, not while the program starts.
    if (!sized_) {
        sized_ = true;
        setFixedSize(sizeForAllLanguages());
    }
    refresh(WizardAll);
    const bool wasVisible = isVisible();
    if (!wasVisible)
        centre();
    show();
    if (!wasVisible) {
        layout()->activate();
        fitGridColumns();
    }
    raise();
    activateWindow();
}

void TfrmZInput::pageChanged(Window window, int page) {
    if (window != Window::Wizard)
        return;
    hints_.hideBalloon();
    refreshFrame();
    if (page == tsStavebniKonstrukce)
        refreshConstructions();
}

void TfrmZInput::focusControl(Window window, const QString& control) {
    if (window != Window::Wizard)
        return;
    // After the change that asked for it has been shown (an edit it enables).
    QTimer::singleShot(0, this, [this, control] {
        if (control == QLatin1String("ExDBGrid_Otvory")) {
            focusOpeningsGrid();
            return;
        }
        QWidget* c = findChild<QWidget*>(control);
        if (c && c->isVisible() && c->isEnabled() && c->focusPolicy() != Qt::NoFocus)
            c->setFocus(Qt::OtherFocusReason);
    });
}

void TfrmZInput::stateChanged(Window window, unsigned what) {
    if (window == Window::Wizard)
        refresh(what);
    else if (window == Window::Main && (what & MainCommands))
        refreshCatalogButtons();
}

// --- showing the state ---------------------------------------------------------------

void TfrmZInput::refresh(unsigned what) {
    if (refreshing_)
        return;
    refreshing_ = true;
    if (what & (WizardPageChange | WizardButtons))
        refreshFrame();
    if (what & (WizardChoices | WizardFields | WizardEstimates | WizardRegionList)) {
        refreshRegionList();
        binder_.refresh();
        refreshFamilies();
        refreshValues();
        refreshPictures();
        refreshLosses();
        refreshModesAlert();
        // The help display switches the tooltips (the main window does so too).
        hints_.setTooltips(session().helpDisplay());
    }
    if (what & (WizardWalls | WizardFields))
        refreshConstructions();
    refreshing_ = false;
}

void TfrmZInput::refreshModesAlert() {
    auto* modes = findChild<QGroupBox*>(QStringLiteral("gbProvozniRezim"));
    if (!modes || modes->property("alert").toBool() == wizard().state().modesAlert)
        return;
    modes->setProperty("alert", wizard().state().modesAlert);
    modes->setStyleSheet(wizard().state().modesAlert
                             ? QStringLiteral("QGroupBox#gbProvozniRezim::title { color: red; }")
                             : QString());
}

void TfrmZInput::refreshFrame() {
    const WizardState& s = wizard().state();
    const bool constructions = wizard().pageVisible(tsStavebniKonstrukce);
    followingPage_ = true;
    PageControl1_->setTabEnabled(tsStavebniKonstrukce, constructions);
    PageControl1_->setTabVisible(tsStavebniKonstrukce, constructions);
    if (PageControl1_->currentIndex() != s.activePage)
        PageControl1_->setCurrentIndex(s.activePage);
    followingPage_ = false;
    btPrev_->setEnabled(wizard().previousEnabled());
    btNext_->setText(wizard().nextCaption());
    btClose_->setVisible(s.closeButtonVisible);
}

void TfrmZInput::refreshValues() {
    const Dataset& p = session().data.tADOProject;
    const bool open = p.active() && !p.isEmpty();
    for (const ValueTarget& v : values_) {
        if (!v.label)
            continue;
        QString text;
        if (open && !p.isNull(v.field))
            text = v.number
                       ? formatFloat(QString::fromLatin1(FloatDisplayFormat), p.asFloat(v.field))
                       : readableText(p.asString(v.field));
        v.label->setText(text);
    }
    lbLocation_->setText(wizard().state().locationLabel);
    const QString description = wizard().state().workClassDescription;
    lbTridaPrace_->setText(description);
    // The class's description is the combo's tooltip whether help is shown or not.
    cbTridaPrace_->setToolTip(description);
}

void TfrmZInput::refreshRegionList() {
    const QStringList& list = wizard().state().regionList;
    QStringList shown;
    for (int i = 0; i < DBcb_Oblast_->count(); ++i)
        shown << DBcb_Oblast_->itemText(i);
    if (shown == list)
        return;
    const QSignalBlocker quiet(DBcb_Oblast_);
    DBcb_Oblast_->clear();
    DBcb_Oblast_->addItems(list);
    binder_.refresh(DBcb_Oblast_);
}

void TfrmZInput::refreshFamilies() {
    const QStringList captions = InputWizard::familyCaptions();
    const int families = wizard().state().families;
    const QSignalBlocker quiet(cblbPouziteJednotky_);
    for (int i = 0; i < cblbPouziteJednotky_->count() && i < captions.size(); ++i) {
        QListWidgetItem* item = cblbPouziteJednotky_->item(i);
        item->setText(captions[i]);
        item->setCheckState(families & UnitFamilies[i] ? Qt::Checked : Qt::Unchecked);
    }
}

void TfrmZInput::centre() {
    QScreen* screen = parentWidget() && parentWidget()->screen() ? parentWidget()->screen()
                                                                 : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

// --- texts and sizes --------------------------------------------------------------------

void TfrmZInput::applyLanguage(int base) {
    QFont f = font();
    f.setFamily(ApplyLanguageFonts(base).face);
    setFont(f);
    // The balloon is a window of its own; it speaks in the wizard's font.
    hints_.balloon()->setFont(f);
    applyTexts();
    refresh(WizardAll);
    hints_.setTooltips(session().helpDisplay());
    if (isVisible())
        fitGridColumns();
}

void TfrmZInput::applyTexts() {
    setWindowTitle(LanguageText(501) + QLatin1Char(' ') + QString::fromLatin1(ProductName));
    for (int i = 0; i < WizardPageCount; ++i)
        PageControl1_->setTabText(i, LanguageText(52 + i));
    for (const TextTarget& t : texts_) {
        QWidget* w = t.control;
        if (!w)
            continue;
        const QString text = LanguageText(t.id);
        if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(text);
    }
    // The price captions name the currency of the language.
    const char* prices[] = {"rbCZK_m3", "rbCZK_kWh", "rbCZK_kg"};
    for (int i = 0; i < 3; ++i)
        if (auto* r = findChild<QRadioButton*>(QLatin1String(prices[i])))
            r->setText(formatText(LanguageText(590 + i), {CurrencyName(LanguageBase)}));
    btNext_->setText(wizard().nextCaption());
    {
        const QSignalBlocker quiet(cblbPouziteJednotky_);
        const QStringList captions = InputWizard::familyCaptions();
        for (int i = 0; i < cblbPouziteJednotky_->count() && i < captions.size(); ++i)
            cblbPouziteJednotky_->item(i)->setText(captions[i]);
    }
    binder_.refillLists();
    applyGridLayout();
    applyHints();
    // Pictures and grids are named in the language, as the labels name the edits.
    auto stripped = [](int id) {
        return LanguageText(id)
            .remove(QLatin1Char('&'))
            .trimmed()
            .remove(QRegularExpression(QStringLiteral(":$")));
    };
    for (const ValueTarget& v : values_)
        if (v.label && v.caption)
            v.label->setAccessibleName(
                v.caption->text().trimmed().remove(QRegularExpression(QStringLiteral(":$"))));
    ExDBGrid_Hala_->setAccessibleName(stripped(701));
    ExDBGrid_Svetlik_->setAccessibleName(stripped(751));
    ExDBGrid_Steny_->setAccessibleName(stripped(58));
    cblbPouziteJednotky_->setAccessibleName(stripped(658));
}

void TfrmZInput::applyHints() {
    for (const HintDef& h : hintDefs)
        if (QWidget* w = findChild<QWidget*>(QLatin1String(h.control)))
            hints_.setHint(w, LanguageText(h.id));
}

QSize TfrmZInput::sizeForAllLanguages() {
    const int current = LanguageBase;
    // What a choice may show is measured shown: the second heights, the estimate
    // or the own value, the constructions page and its tab.
    std::vector<QWidget*> shown;
    for (const char* name :
         {"lb_H2", "DBEd_H2", "lb_svH2", "DBEd_svH2", "gbTepZtratyAprox", "lbQUser", "DBEd_Q_kW"})
        if (QWidget* w = findChild<QWidget*>(QLatin1String(name)); w && w->isHidden()) {
            w->setVisible(true);
            shown.push_back(w);
        }
    followingPage_ = true;
    PageControl1_->setTabVisible(tsStavebniKonstrukce, true);
    followingPage_ = false;
    auto* stack = PageControl1_->findChild<QStackedWidget*>();
    // While the window has not been shown, its controls do not tell the layouts
    // that their texts changed: every size is asked anew.
    auto measure = [this](int base) {
        setLanguage(base);
        applyTexts();
        for (QWidget* w : findChildren<QWidget*>())
            w->updateGeometry();
        layout()->invalidate();
        layout()->activate();
    };
    // The width of the widest page or of all tabs, with the frame around them
    // (buttons, margins), in every language.
    int width = 0;
    for (const int base : OfferedLanguages) {
        measure(base);
        width = std::max(width, sizeHint().width());
    }
    const int frameWidth = sizeHint().width() - stack->sizeHint().width();
    const int pageWidth = width - frameWidth;
    // The pages' heights at that width: texts that wrap take the lines they need.
    int pageHeight = 0;
    for (const int base : OfferedLanguages) {
        measure(base);
        for (int i = 0; i < PageControl1_->count(); ++i) {
            QLayout* l = PageControl1_->widget(i)->layout();
            const int h = l->hasHeightForWidth() ? l->totalHeightForWidth(pageWidth)
                                                 : l->totalSizeHint().height();
            pageHeight = std::max(pageHeight, h);
        }
    }
    const int frameHeight = sizeHint().height() - stack->sizeHint().height();
    measure(current);
    for (QWidget* w : shown)
        w->hide();
    refreshFrame();
    return QSize(width, frameHeight + pageHeight);
}

// --- the user's actions ------------------------------------------------------------------

// Writes what is being typed in an edit or a grid cell, as leaving it would;
// false when the value was refused (the focus stays there).
bool TfrmZInput::finishEditing() {
    for (DatasetGrid* g : {ExDBGrid_Steny_, ExDBGrid_Otvory_})
        g->commitEdit();
    return binder_.commitFocused();
}

void TfrmZInput::next() {
    if (!finishEditing())
        return;
    const bool finish = wizard().activePage() == tsZaver;
    session().wizardNext();
    if (!finish)
        focusFirstControl(wizard().activePage());
}

void TfrmZInput::previous() {
    if (!finishEditing())
        return;
    session().wizardPrevious();
}

void TfrmZInput::cancel() {
    hints_.hideBalloon();
    session().cancelWizard();
}

void TfrmZInput::closeWizard() {
    if (!finishEditing())
        return;
    session().finishWizard(false);
}

void TfrmZInput::focusFirstControl(int page) {
    QWidget* p = PageControl1_->widget(page);
    if (!p)
        return;
    for (QWidget* w = p->nextInFocusChain(); w && w != p; w = w->nextInFocusChain()) {
        if (!p->isAncestorOf(w) || w->focusProxy())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(p) && w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool TfrmZInput::moveFocus(bool forward) {
    focusNextPrevChild(forward);
    return true;
}

void TfrmZInput::onEnterControl(QWidget* control) {
    const QString name = control->objectName();
    for (const HintDef& h : hintDefs)
        if (h.balloon && name == QLatin1String(h.control)) {
            hints_.showBalloon(control);
            return;
        }
    hints_.hideBalloon();
}

bool TfrmZInput::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return QWidget::eventFilter(watched, event);
    // The edits: Up to the previous control, Down and Enter to the next one.
    if (qobject_cast<QLineEdit*>(w) && wizardEdit(w->objectName())) {
        if (key->key() == Qt::Key_Up)
            return moveFocus(false);
        if (key->key() == Qt::Key_Down || isEnter(key))
            return moveFocus(true);
        return false;
    }
    if (!isEnter(key))
        return QWidget::eventFilter(watched, event);
    // Lists, the date picker, check boxes, radio buttons and the list of unit
    // families: Enter to the next control. The thermal losses page turns every
    // Enter into a move to the next control.
    if (qobject_cast<QComboBox*>(w) || qobject_cast<QDateTimeEdit*>(w) ||
        qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) ||
        w == cblbPouziteJednotky_ || PageControl1_->widget(tsTepelneZtraty)->isAncestorOf(w))
        return moveFocus(true);
    return QWidget::eventFilter(watched, event);
}

void TfrmZInput::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        hints_.hideBalloon();
    QWidget::changeEvent(event);
}

void TfrmZInput::closeEvent(QCloseEvent* event) {
    // The wizard ends by Finish, Close or Cancel, never by the window manager.
    if (wizard().visible()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace zf

#include "wizard/tfrmzinput.h"

#include "common/globals.h"
#include "helphints.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "wizard/buildingpages.h"
#include "wizard/formpages.h"
#include "wizard/seasonpages.h"
#include "wizard/wallspage.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zf {

namespace {

bool isEnter(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

} // namespace

TfrmZInput::TfrmZInput(ProjectSession& session, HelpHints& hints, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      SessionView(session), hints_(hints), form_(*this) {
    setObjectName(QStringLiteral("TfrmZInput"));
    binder_.onEnter = [this](QWidget* w) { onEnterControl(w); };
    binder_.onLeave = [this](QWidget*) { hints_.hideBalloon(); };
    buildFrame();
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
    pages_ = {new IntroPage(*this),          new SeasonPage(*this),   new ModePage(*this),
              new HallPage(*this),           new SkylightPage(*this), new LossesPage(*this),
              walls_ = new WallsPage(*this), new WorkPage(*this),     new ClosingPage(*this)};
    for (InputPage* page : pages_)
        PageControl1_->addTab(page, QString());
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
    cbAssist_ = form_.make<QCheckBox>(this, "cbAssist", 502, help);
    form_.hint(cbAssist_, 5138);
    buttons->addWidget(cbAssist_);
    buttons->addStretch(1);
    auto button = [&](const char* name, int id, void (TfrmZInput::*slot)()) {
        auto* b = form_.make<QPushButton>(this, name, id);
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

void TfrmZInput::watchKeys(QWidget* control) {
    control->installEventFilter(this);
}

void TfrmZInput::explainInBalloon(QWidget* control) {
    // The controls are the window's own and live as long as it.
    balloons_.insert(control);
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
        for (InputPage* page : pages_)
            page->fitColumns();
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
        walls_->refresh(WizardWalls);
}

void TfrmZInput::focusControl(Window window, const QString& control) {
    if (window != Window::Wizard)
        return;
    // After the change that asked for it has been shown (an edit it enables).
    QTimer::singleShot(0, this, [this, control] {
        if (control == QLatin1String("ExDBGrid_Otvory")) {
            walls_->focusOpeningsGrid();
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
        walls_->refreshCatalogButtons();
}

// --- showing the state ---------------------------------------------------------------

void TfrmZInput::refresh(unsigned what) {
    if (refreshing_)
        return;
    refreshing_ = true;
    if (what & (WizardPageChange | WizardButtons))
        refreshFrame();
    if (what & WizardValues)
        binder_.refresh();
    for (InputPage* page : pages_)
        page->refresh(what);
    // The help display switches the tooltips (the main window does so too).
    if (what & WizardValues)
        hints_.setTooltips(session().helpDisplay());
    refreshing_ = false;
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
        for (InputPage* page : pages_)
            page->fitColumns();
}

void TfrmZInput::applyTexts() {
    setWindowTitle(LanguageText(501) + QLatin1Char(' ') + QString::fromLatin1(ProductName));
    for (int i = 0; i < WizardPageCount; ++i)
        PageControl1_->setTabText(i, LanguageText(52 + i));
    form_.applyTexts();
    btNext_->setText(wizard().nextCaption());
    for (InputPage* page : pages_)
        page->applyLanguage();
    binder_.refillLists();
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

bool TfrmZInput::finishEditing() {
    walls_->commitEdits();
    // An edit refused as the focus left it for the button keeps the focus.
    if (QWidget* refused = binder_.refusedControl(); refused && isAncestorOf(refused)) {
        refused->setFocus();
        return false;
    }
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
    if (balloons_.contains(control))
        hints_.showBalloon(control);
    else
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
        qobject_cast<QListWidget*>(w) || pages_[tsTepelneZtraty]->isAncestorOf(w))
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

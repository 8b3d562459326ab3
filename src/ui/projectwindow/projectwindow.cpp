#include "projectwindow/projectwindow.h"

#include "i18n/language.h"
#include "mainwindow.h"
#include "pictures.h"
#include "projectwindow/planpage.h"
#include "projectwindow/summarypage.h"
#include "projectwindow/unitlistpage.h"
#include "projectwindow/unitspage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace zf {

TfrmZFDraw::TfrmZFDraw(ProjectSession& session, TfrmZMain* main, QWidget* parent)
    : QWidget(parent), SessionView(session), main_(main) {
    setObjectName(QStringLiteral("TfrmZFDraw"));
    setWindowIcon(pictureIcon(QStringLiteral("zefrant.svg")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    summary_ = new SummaryPage(session, tabs_);
    summary_->setObjectName(QStringLiteral("tsVstupniUdaje"));
    units_ = new UnitsPage(session, main_, tabs_);
    units_->setObjectName(QStringLiteral("tsVyberJednotek"));
    plan_ = new PlanPage(session, main_, tabs_);
    plan_->setObjectName(QStringLiteral("tsDraw"));
    list_ = new UnitListPage(session, tabs_);
    list_->setObjectName(QStringLiteral("tsSeznamJednotek"));
    // The pages scroll in a main window too small for them; the plan scrolls
    // by itself.
    auto scrolled = [this](QWidget* page) -> QWidget* {
        auto* area = new QScrollArea(tabs_);
        // The tab sheet keeps the page's name.
        area->setObjectName(page->objectName());
        page->setObjectName(page->objectName() + QStringLiteral("_page"));
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        area->setWidget(page);
        scrolling_ << area;
        return area;
    };
    for (QWidget* page : std::initializer_list<QWidget*>{scrolled(summary_), scrolled(units_),
                                                         plan_, scrolled(list_)})
        tabs_->addTab(page, QString());
    layout->addWidget(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) {
        if (following_)
            return;
        // The user's choice of page goes through the session (the list page
        // stores the plan first).
        ProjectSession& s = this->session();
        if (s.projectPage() != page)
            s.setProjectPage(page);
        if (page == tsVyberJednotek) {
            units_->refreshThrowFigure();
            units_->activated();
        }
    });
    // The wheel over the window moves between the units of the list page.
    qApp->installEventFilter(this);
    languageHandle_ = registerLanguageApplier([this](int) { applyLanguage(); });
    applyLanguage();
    showPage(session.projectPage());
    setWindowTitle(session.projectTitle());
}

TfrmZFDraw::~TfrmZFDraw() {
    qApp->removeEventFilter(this);
    unregisterLanguageApplier(languageHandle_);
}

int TfrmZFDraw::currentPage() const {
    return tabs_->currentIndex();
}

void TfrmZFDraw::showPage(int page) {
    if (page < 0 || page >= tabs_->count() || tabs_->currentIndex() == page)
        return;
    following_ = true;
    tabs_->setCurrentIndex(page);
    following_ = false;
    if (page == tsVyberJednotek) {
        units_->refreshThrowFigure();
        units_->activated();
    }
}

void TfrmZFDraw::applyLanguage() {
    QFont f = font();
    f.setFamily(ApplyLanguageFonts(LanguageBase).face);
    setFont(f);
    for (int i = 0; i < tabs_->count(); ++i)
        tabs_->setTabText(i, LanguageText(2001 + i));
    tabs_->tabBar()->setAccessibleName(LanguageText(2357));
    for (QScrollArea* area : scrolling_) {
        area->horizontalScrollBar()->setAccessibleName(LanguageText(3459));
        area->verticalScrollBar()->setAccessibleName(LanguageText(3460));
    }
    summary_->applyLanguage();
    units_->applyLanguage();
    plan_->applyLanguage();
    list_->applyLanguage();
    plan_->refresh();
}

void TfrmZFDraw::showWindow(Window window, bool shown) {
    if (window != Window::ProjectWindow || closing_)
        return;
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* target = frame ? static_cast<QWidget*>(frame) : this;
    if (shown) {
        setWindowTitle(session().projectTitle());
        show();
        target->showMaximized();
    } else {
        target->hide();
    }
}

void TfrmZFDraw::pageChanged(Window window, int page) {
    if (window != Window::ProjectWindow || closing_)
        return;
    showPage(page);
    // A page the units' controller showed (the plan after placing) is the
    // session's page too.
    if (session().projectPage() != page)
        session().setProjectPage(page);
}

void TfrmZFDraw::focusControl(Window window, const QString& control) {
    if (window != Window::ProjectWindow || closing_)
        return;
    // A control of a page that is not shown keeps its page hidden (opening a
    // project shows the summary and asks for the unit types' table).
    QWidget* w = findChild<QWidget*>(control);
    if (w && tabs_->currentWidget() && tabs_->currentWidget()->isAncestorOf(w))
        w->setFocus(Qt::OtherFocusReason);
}

void TfrmZFDraw::stateChanged(Window window, unsigned what) {
    if (window != Window::ProjectWindow || closing_)
        return;
    if (what & ProjectSummaryChange)
        summary_->refresh();
    if (what & (ProjectUnitTableChange | ProjectCoverageChange))
        units_->refreshTable();
    if (what & ProjectPlacementChange)
        units_->refreshPlacement();
    if (what & ProjectPlanChange) {
        plan_->refresh();
        // The units page writes the throw's figure too; while it is hidden a
        // drag need not, the switch to it does.
        if (tabs_->currentIndex() == tsVyberJednotek)
            units_->refreshThrowFigure();
    }
    if (what & ProjectUnitListChange)
        list_->refresh();
    if (what & ProjectCaptionChange)
        setWindowTitle(session().projectTitle());
}

void TfrmZFDraw::closeEvent(QCloseEvent* event) {
    // The project stays open; the plan's moves are stored. The window is gone
    // for the session from here on, though Qt deletes it a little later.
    closing_ = true;
    session().projectWindowClosed();
    emit closed();
    event->accept();
}

bool TfrmZFDraw::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && tabs_->currentIndex() == tsSeznamJednotek &&
        isVisible()) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w == this || isAncestorOf(w))) {
            list_->wheel(static_cast<QWheelEvent*>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- the host --------------------------------------------------------------------

namespace {

// The frame keeps its own title bar when maximized: the project window shows
// its caption there, and the main window's title stays the application's.
class FrameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_Workspace_FillSpaceOnMaximize)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

QStyle* frameStyle() {
    // Owned by the application, so that it outlives every frame.
    static QPointer<QStyle> style;
    if (!style) {
        style = new FrameStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

ProjectWindowHost::ProjectWindowHost(ProjectSession& session, TfrmZMain& main)
    : SessionView(session), main_(main) {}

ProjectWindowHost::~ProjectWindowHost() = default;

TfrmZFDraw* ProjectWindowHost::ensureWindow() {
    if (window_)
        return window_;
    auto* w = new TfrmZFDraw(session(), &main_);
    QMdiSubWindow* frame = main_.mdiArea()->addSubWindow(w);
    frame->setObjectName(QStringLiteral("TfrmZFDrawFrame"));
    frame->setStyle(frameStyle());
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowIcon(w->windowIcon());
    window_ = w;
    frame_ = frame;
    QObject::connect(w, &TfrmZFDraw::closed, w, [this] {
        window_ = nullptr;
        frame_ = nullptr;
    });
    ++made_;
    if (session().projectWindowShown())
        w->showWindow(Window::ProjectWindow, true);
    else
        frame->hide();
    return w;
}

void ProjectWindowHost::showWindow(Window window, bool shown) {
    // A window made now missed this event: it is told itself.
    if (window == Window::ProjectWindow && shown && !window_)
        ensureWindow();
}

} // namespace zf

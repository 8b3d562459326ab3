#include "projectwindow/planpage.h"

#include "common/numberformat.h"
#include "i18n/texts.h"
#include "mainwindow.h"
#include "projectwindow/projectwidgets.h"
#include "session/projectsession.h"
#include "worktracker.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr int WheelNotch = 120;

// The plan widget that the plan's popup request goes to: a window closed by
// the user is deleted a little later, possibly after its successor was made.
PlanWidget* popupOwner = nullptr;
constexpr int HintOffset = 32; // the hint window stands this far right of the pointer

Qt::CursorShape cursorShape(PlanView::Cursor c) {
    switch (c) {
    case PlanView::Cursor::Hand:
        return Qt::PointingHandCursor;
    case PlanView::Cursor::NotAllowed:
        return Qt::ForbiddenCursor;
    case PlanView::Cursor::Pan:
        return Qt::ClosedHandCursor;
    default:
        return Qt::ArrowCursor;
    }
}

bool isUndo(const QKeyEvent* e) {
    return e->matches(QKeySequence::Undo);
}

bool isRedo(const QKeyEvent* e) {
    return e->matches(QKeySequence::Redo) ||
           (e->key() == Qt::Key_Y && (e->modifiers() & Qt::ControlModifier));
}

} // namespace

// --- the plan widget ------------------------------------------------------------

PlanWidget::PlanWidget(ProjectSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("PlanView"));
    setFocusPolicy(Qt::StrongFocus);
    WorkTracker::markEditTarget(this); // Edit > Undo and Redo move its units
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    hint_ = new QLabel(this, Qt::ToolTip);
    hint_->setObjectName(QStringLiteral("PlanHint"));
    hint_->setForegroundRole(QPalette::ToolTipText);
    hint_->setBackgroundRole(QPalette::ToolTipBase);
    hint_->setAutoFillBackground(true);
    hint_->setFrameStyle(QFrame::Box | QFrame::Plain);
    hint_->setMargin(3);
    hint_->hide();
    popupOwner = this;
    plan().onPopup = [this](int index, QPoint at) {
        if (onPopup)
            onPopup(index, at);
    };
}

PlanWidget::~PlanWidget() {
    if (popupOwner == this) {
        plan().onPopup = nullptr;
        popupOwner = nullptr;
    }
}

PlanView& PlanWidget::plan() const {
    return session_.plan();
}

// While a unit is dragged or a zoom rectangle drawn, only the outline moves:
// the plan is drawn once into a picture and each frame draws the outline over
// it. The picture is drawn again when the view changes meanwhile. With the
// throw zones shown, the dragged unit's zone and the floor that no zone reaches
// move too: they are drawn each frame between two pictures, the floor below
// and the other zones with the symbols above.
void PlanWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PlanView& pv = plan();
    const WorldRange& r = pv.visibleRange();
    const qreal dpr = devicePixelRatioF();
    if (!pv.dragging() && pv.rubberBand().isNull()) {
        floorCache_ = unitsCache_ = QPixmap();
        if (!pv.ShowThrowZones) {
            cache_ = QPixmap();
            pv.paint(p);
            return;
        }
        // Hundreds of zones take longer to draw than the plan: the picture of
        // the plan is kept until the plan or its view changes, so that showing
        // the page again costs nothing.
        const QList<double> still = {
            r.xmin,          r.xmax,           r.ymin, r.ymax,
            double(width()), double(height()), dpr,    double(pv.drawingKey())};
        if (cache_.isNull() || still != cacheKey_) {
            cache_ = QPixmap(size() * dpr);
            cache_.setDevicePixelRatio(dpr);
            QPainter cp(&cache_);
            pv.paint(cp, PlanView::PaintLayer::Plan);
            cacheKey_ = still;
        }
        p.drawPixmap(0, 0, cache_);
        return;
    }
    const QList<double> key = {r.xmin,
                               r.xmax,
                               r.ymin,
                               r.ymax,
                               double(pv.count()),
                               pv.ShowLabels ? 1.0 : 0.0,
                               pv.ShowThrowZones ? 1.0 : 0.0,
                               pv.throwSpread(),
                               double(pv.dragIndex()),
                               double(width()),
                               double(height())};
    auto layer = [&](QPixmap& into, PlanView::PaintLayer which, bool transparent) {
        into = QPixmap(size() * dpr);
        into.setDevicePixelRatio(dpr);
        if (transparent)
            into.fill(Qt::transparent);
        QPainter cp(&into);
        pv.paint(cp, which);
    };
    if (!pv.ShowThrowZones || !pv.dragging()) {
        if (cache_.isNull() || key != cacheKey_) {
            layer(cache_, PlanView::PaintLayer::Plan, false);
            cacheKey_ = key;
        }
        p.drawPixmap(0, 0, cache_);
    } else {
        if (floorCache_.isNull() || unitsCache_.isNull() || key != cacheKey_) {
            layer(floorCache_, PlanView::PaintLayer::Floor, false);
            layer(unitsCache_, PlanView::PaintLayer::Units, true);
            cacheKey_ = key;
        }
        p.drawPixmap(0, 0, floorCache_);
        pv.paint(p, PlanView::PaintLayer::Reach);
        p.drawPixmap(0, 0, unitsCache_);
    }
    pv.paint(p, PlanView::PaintLayer::Overlay);
}

void PlanWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    plan().setViewportSize(size());
}

void PlanWidget::pointerAt(QPoint p) {
    if (onStatus)
        onStatus(plan().statusText(p));
    const QString hint = plan().hintText(p);
    if (hint.isEmpty() || plan().dragging()) {
        hint_->hide();
    } else {
        hint_->setText(QString(hint).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        hint_->adjustSize();
        hint_->move(mapToGlobal(p + QPoint(HintOffset, 0)));
        hint_->show();
    }
    setCursor(cursorShape(plan().cursorAt(p)));
}

void PlanWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    hint_->hide();
    const QPoint p = event->position().toPoint();
    plan().mousePress(p, event->button());
    setCursor(cursorShape(plan().cursorAt(p)));
}

void PlanWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    plan().mouseMove(p);
    pointerAt(p);
}

void PlanWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    plan().mouseRelease(p, event->button());
    pointerAt(p);
    if (onChanged)
        onChanged();
}

void PlanWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    hint_->hide();
    const int target = plan().doubleClickAt(event->position().toPoint());
    if (target >= 0)
        session_.showUnitProperties(target);
}

void PlanWidget::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / WheelNotch;
    if (notches != 0)
        plan().wheel(notches);
    event->accept();
}

void PlanWidget::keyPressEvent(QKeyEvent* event) {
    if (isUndo(event)) {
        session_.undoPlanMove();
        return;
    }
    if (isRedo(event)) {
        session_.redoPlanMove();
        return;
    }
    if (plan().keyPress(event->key())) {
        if (event->key() == Qt::Key_Escape)
            setCursor(Qt::ArrowCursor);
        if (onChanged)
            onChanged();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PlanWidget::event(QEvent* event) {
    // The plan's keys are its own while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isUndo(key) || isRedo(key) || key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void PlanWidget::leaveEvent(QEvent* event) {
    hint_->hide();
    QWidget::leaveEvent(event);
}

void PlanWidget::focusOutEvent(QFocusEvent* event) {
    hint_->hide();
    QWidget::focusOutEvent(event);
}

// --- the page -------------------------------------------------------------------------

PlanPage::PlanPage(ProjectSession& session, TfrmZMain* main, QWidget* parent)
    : QWidget(parent), session_(session), main_(main) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    bar_ = new QToolBar(this);
    QToolBar* bar = bar_;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setIconSize(QSize(24, 24));
    auto tool = [&](QToolButton*& b, const char* name, PlanTool icon, bool checkable) {
        b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setIcon(planToolIcon(icon));
        b->setCheckable(checkable);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->addWidget(b);
    };
    tool(tbSelect_, "tbSelect", PlanTool::Select, true);
    tool(tbPan_, "tbPan", PlanTool::Pan, true);
    tool(tbZoomMouse_, "tbZoomMouse", PlanTool::ZoomRect, true);
    auto* modes = new QButtonGroup(this);
    modes->setExclusive(true);
    modes->addButton(tbSelect_, int(MouseMode::mmMove));
    modes->addButton(tbPan_, int(MouseMode::mmPan));
    modes->addButton(tbZoomMouse_, int(MouseMode::mmZoom));
    connect(modes, &QButtonGroup::idClicked, this, [this](int id) { setMode(id); });
    bar->addSeparator();
    tool(tbZoomIn_, "tbZoomIn", PlanTool::ZoomIn, false);
    tool(tbZoomOut_, "tbZoomOut", PlanTool::ZoomOut, false);
    tool(tbZoomToDef_, "tbZoomToDef", PlanTool::ZoomDefault, false);
    connect(tbZoomIn_, &QToolButton::clicked, this, [this] {
        plan_->plan().ZoomIn();
        refresh();
    });
    connect(tbZoomOut_, &QToolButton::clicked, this, [this] {
        plan_->plan().ZoomOut();
        refresh();
    });
    connect(tbZoomToDef_, &QToolButton::clicked, this, [this] {
        plan_->plan().ZoomToDefault();
        refresh();
    });
    lbScale_ = new QLabel(bar);
    lbScale_->setObjectName(QStringLiteral("lbScale"));
    bar->addWidget(lbScale_);
    scale_ = new QComboBox(bar);
    scale_->setObjectName(QStringLiteral("cbScale"));
    scale_->setEditable(true);
    scale_->setInsertPolicy(QComboBox::NoInsert);
    scale_->addItems(PlanView::zoomEntries());
    scale_->setMinimumContentsLength(7);
    lbScale_->setBuddy(scale_);
    bar->addWidget(scale_);
    connect(scale_, &QComboBox::textActivated, this, &PlanPage::chooseZoom);
    connect(scale_->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { chooseZoom(scale_->currentText()); });
    bar->addSeparator();
    align_ = new QCheckBox(bar);
    align_->setObjectName(QStringLiteral("cbAlignObjects"));
    bar->addWidget(align_);
    labels_ = new QCheckBox(bar);
    labels_->setObjectName(QStringLiteral("cbShowLabels"));
    bar->addWidget(labels_);
    zones_ = new QCheckBox(bar);
    zones_->setObjectName(QStringLiteral("chbThrowZones"));
    bar->addWidget(zones_);
    connect(zones_, &QCheckBox::clicked, this, [this](bool on) { session_.setShowThrowZones(on); });
    connect(align_, &QCheckBox::clicked, this, [this](bool on) { plan_->plan().AutoAlign = on; });
    connect(labels_, &QCheckBox::clicked, this, [this](bool on) {
        plan_->plan().ShowLabels = on;
        plan_->plan().repaint();
    });
    if (main_)
        main_->registerHelpControl(align_);
    (new HelpBalloon(main_, this))->watch(align_);
    layout->addWidget(bar);

    auto* area = new QGridLayout;
    area->setSpacing(0);
    plan_ = new PlanWidget(session_, this);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName(QStringLiteral("sbHorizontal"));
    horizontal_->setRange(-1000, 1000);
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName(QStringLiteral("sbVertical"));
    vertical_->setRange(0, 100);
    area->addWidget(plan_, 0, 0);
    area->addWidget(vertical_, 0, 1);
    area->addWidget(horizontal_, 1, 0);
    layout->addLayout(area, 1);
    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int v) {
        if (updating_)
            return;
        plan_->plan().setHorizontalScroll(v);
        plan_->setFocus();
    });
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int v) {
        if (updating_)
            return;
        plan_->plan().setVerticalScroll(v);
        plan_->setFocus();
    });

    status_ = new QStatusBar(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setSizeGripEnabled(false);
    position_ = new QLabel(status_);
    position_->setObjectName(QStringLiteral("StatusPanel0"));
    position_->setMinimumWidth(150);
    status_->addWidget(position_);
    throwFigure_ = new QLabel(status_);
    throwFigure_->setObjectName(QStringLiteral("lbThrowFigure"));
    status_->addPermanentWidget(throwFigure_);
    layout->addWidget(status_);
    plan_->onStatus = [this](const QString& text) { position_->setText(text); };
    plan_->onChanged = [this] { refresh(); };

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    popMove_ = popup_->addAction(QString());
    popMove_->setObjectName(QStringLiteral("popMove"));
    popDelete_ = popup_->addAction(QString());
    popDelete_->setObjectName(QStringLiteral("popDelete"));
    popDelete_->setVisible(false); // the plan offers no deleting
    popProperties_ = popup_->addAction(QString());
    popProperties_->setObjectName(QStringLiteral("popProperties"));
    connect(popMove_, &QAction::triggered, this, [this] {
        setMode(int(MouseMode::mmMove));
        plan_->setFocus();
    });
    connect(popProperties_, &QAction::triggered, this, [this] {
        if (popupIndex_ >= 0)
            session_.showUnitProperties(popupIndex_);
    });
    plan_->onPopup = [this](int index, QPoint at) { showPopup(index, at); };

    applyLanguage();
    refresh();
}

void PlanPage::setMode(int mode) {
    plan_->plan().mouseMode = MouseMode(mode);
    refresh();
}

void PlanPage::chooseZoom(const QString& text) {
    if (updating_)
        return;
    plan_->plan().chooseZoom(text);
    refresh();
}

void PlanPage::showPopup(int index, QPoint at) {
    popupIndex_ = index;
    popup_->popup(plan_->mapToGlobal(at));
}

void PlanPage::refresh() {
    const PlanView& p = plan_->plan();
    updating_ = true;
    plan_->update();
    if (scale_->currentText() != p.zoomText())
        scale_->setEditText(p.zoomText());
    if (horizontal_->value() != p.horizontalScroll())
        horizontal_->setValue(p.horizontalScroll());
    if (vertical_->value() != p.verticalScroll())
        vertical_->setValue(p.verticalScroll());
    tbSelect_->setChecked(p.mouseMode == MouseMode::mmMove);
    tbPan_->setChecked(p.mouseMode == MouseMode::mmPan);
    tbZoomMouse_->setChecked(p.mouseMode == MouseMode::mmZoom);
    align_->setChecked(p.AutoAlign);
    labels_->setChecked(p.ShowLabels);
    zones_->setChecked(p.ShowThrowZones);
    refreshThrowFigure();
    if (shownCount_ != p.count()) {
        shownCount_ = p.count();
        plan_->setAccessibleDescription(formatText(LanguageText(2351), {p.count()}));
    }
    updating_ = false;
}

// The figure follows the plan, a dragged unit too; red, with what it means as
// its hint, when the share is low.
void PlanPage::refreshThrowFigure() {
    const ThrowFigure f = session_.throwFigure();
    throwFigure_->setVisible(f.shown);
    if (throwFigure_->text() != f.text)
        throwFigure_->setText(f.text);
    if (throwFigure_->toolTip() != f.hint) {
        throwFigure_->setToolTip(f.hint);
        throwFigure_->setAccessibleDescription(f.hint);
    }
    if (throwFigure_->property("low").toBool() != f.low) {
        throwFigure_->setProperty("low", f.low);
        QPalette pal = throwFigure_->palette();
        pal.setColor(QPalette::WindowText,
                     f.low ? QColor(255, 0, 0) : palette().color(QPalette::WindowText));
        throwFigure_->setPalette(pal);
    }
}

void PlanPage::applyLanguage() {
    const std::pair<QToolButton*, int> tools[] = {{tbSelect_, 2200},    {tbPan_, 2201},
                                                  {tbZoomMouse_, 2202}, {tbZoomIn_, 2203},
                                                  {tbZoomOut_, 2204},   {tbZoomToDef_, 2205}};
    for (const auto& [button, id] : tools) {
        button->setText(LanguageText(id));
        button->setToolTip(LanguageText(id)); // the caption is also the hint
    }
    bar_->setAccessibleName(LanguageText(3052));
    lbScale_->setText(LanguageText(2206));
    scale_->setAccessibleName(LanguageText(2206).trimmed());
    align_->setText(LanguageText(2207));
    labels_->setText(LanguageText(2208));
    zones_->setText(LanguageText(3450));
    zones_->setAccessibleName(LanguageText(3450));
    zones_->setToolTip(LanguageText(3458));
    popMove_->setText(LanguageText(2209));
    popDelete_->setText(LanguageText(2210));
    popProperties_->setText(LanguageText(2211));
    plan_->setAccessibleName(LanguageText(2350));
    plan_->setAccessibleDescription(formatText(LanguageText(2351), {plan_->plan().count()}));
    horizontal_->setAccessibleName(LanguageText(2352));
    vertical_->setAccessibleName(LanguageText(2353));
    // The tool bar's button for the tools that do not fit.
    for (QToolButton* more : findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(LanguageText(2359));
    if (main_)
        main_->setControlHint(align_, LanguageText(5140));
    refreshThrowFigure();
}

} // namespace zf

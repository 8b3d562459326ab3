#include "projectwindow/projectwidgets.h"

#include "mainwindow.h"
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace zf {

namespace {

// A bar's value, for assistive tools, is the sentence it shows.
class CoverageBarAccessible : public QAccessibleWidget {
public:
    explicit CoverageBarAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::ProgressBar) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return static_cast<const CoverageBar*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* coverageBarInterface(const QString& key, QObject* object) {
    if (key == QLatin1String(CoverageBar::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new CoverageBarAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

CoverageBar::CoverageBar(QWidget* parent) : QProgressBar(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(coverageBarInterface);
        return true;
    }();
    Q_UNUSED(installed);
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}

void CoverageBar::setCoverage(int position, const QString& text) {
    text_ = text;
    setValue(std::clamp(position, 0, 100));
    setToolTip(text);
    update();
}

void FocusKeys::watch(QWidget* control) {
    control->installEventFilter(this);
}

bool FocusKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (!w || (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)))
        return QObject::eventFilter(watched, event);
    auto* combo = qobject_cast<QComboBox*>(w);
    if (combo && combo->view() && combo->view()->isVisible())
        return QObject::eventFilter(watched, event);
    const bool arrows = !combo || arrowsInLists_;
    bool forward;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        forward = true;
        break;
    case Qt::Key_Down:
        if (!arrows)
            return QObject::eventFilter(watched, event);
        forward = true;
        break;
    case Qt::Key_Up:
        if (!arrows)
            return QObject::eventFilter(watched, event);
        forward = false;
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    // The request to move on, as Tab and Shift+Tab make it.
    QKeyEvent tab(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                  forward ? Qt::NoModifier : Qt::ShiftModifier);
    QApplication::sendEvent(w, &tab);
    return true;
}

void HelpBalloon::watch(QWidget* control) {
    control->installEventFilter(this);
}

bool HelpBalloon::eventFilter(QObject* watched, QEvent* event) {
    if (main_ && event->type() == QEvent::FocusIn)
        main_->showHintBalloon(static_cast<QWidget*>(watched));
    else if (main_ && event->type() == QEvent::FocusOut)
        main_->hideHintBalloon();
    return QObject::eventFilter(watched, event);
}

QIcon planToolIcon(PlanTool tool) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        QPen pen(QColor(0x2b, 0x3a, 0x42), 1.6);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        auto lens = [&](bool plus, bool minus) {
            p.setBrush(QColor(0xe8, 0xf1, 0xf8));
            p.drawEllipse(QPointF(10, 10), 6, 6);
            p.drawLine(QPointF(14.5, 14.5), QPointF(20.5, 20.5));
            if (plus || minus)
                p.drawLine(QPointF(7, 10), QPointF(13, 10));
            if (plus)
                p.drawLine(QPointF(10, 7), QPointF(10, 13));
        };
        switch (tool) {
        case PlanTool::Select: {
            QPainterPath arrow;
            arrow.moveTo(6, 3);
            arrow.lineTo(6, 19);
            arrow.lineTo(10, 15);
            arrow.lineTo(13, 21);
            arrow.lineTo(15.5, 20);
            arrow.lineTo(12.5, 14);
            arrow.lineTo(18, 14);
            arrow.closeSubpath();
            p.setBrush(Qt::white);
            p.drawPath(arrow);
            break;
        }
        case PlanTool::Pan: {
            p.drawLine(QPointF(12, 3), QPointF(12, 21));
            p.drawLine(QPointF(3, 12), QPointF(21, 12));
            for (const auto& [a, b, c] :
                 {std::tuple{QPointF(9, 6), QPointF(12, 3), QPointF(15, 6)},
                  std::tuple{QPointF(9, 18), QPointF(12, 21), QPointF(15, 18)},
                  std::tuple{QPointF(6, 9), QPointF(3, 12), QPointF(6, 15)},
                  std::tuple{QPointF(18, 9), QPointF(21, 12), QPointF(18, 15)}}) {
                p.drawLine(a, b);
                p.drawLine(b, c);
            }
            break;
        }
        case PlanTool::ZoomRect:
            p.save();
            p.setPen(QPen(QColor(0x2b, 0x3a, 0x42), 1.2, Qt::DashLine));
            p.drawRect(QRectF(2.5, 2.5, 15, 15));
            p.restore();
            lens(false, false);
            break;
        case PlanTool::ZoomIn:
            lens(true, false);
            break;
        case PlanTool::ZoomOut:
            lens(false, true);
            break;
        case PlanTool::ZoomDefault: {
            QFont f = p.font();
            f.setPixelSize(9);
            f.setBold(true);
            p.setFont(f);
            p.setBrush(QColor(0xe8, 0xf1, 0xf8));
            p.drawRect(QRectF(2.5, 4.5, 19, 15));
            p.drawText(QRectF(2.5, 4.5, 19, 15), Qt::AlignCenter, QStringLiteral("1:1"));
            break;
        }
        }
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace zf

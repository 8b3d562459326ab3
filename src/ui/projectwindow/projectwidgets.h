#pragma once

#include "svgpicture.h"

#include <QIcon>
#include <QObject>
#include <QProgressBar>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace zf {

// A picture of the program folder drawn from its SVG file, scaled to fit and
// centred; a missing file shows nothing. The file is read again only when it
// differs from the one shown.
// The bar of a covered output: its position and the sentence it shows, which
// is also its accessible value.
class CoverageBar : public QProgressBar {
    Q_OBJECT
public:
    explicit CoverageBar(QWidget* parent = nullptr);
    void setCoverage(int position, const QString& text);
    QString text() const override { return text_; }

private:
    QString text_;
};

// The keys of the edit fields of the units pages and the properties dialog:
// Up moves the focus to the previous control, Down and Enter to the next one,
// without a beep. Lists take only Enter (their arrows choose entries), unless
// arrowsInLists.
class FocusKeys : public QObject {
    Q_OBJECT
public:
    explicit FocusKeys(QObject* parent = nullptr, bool arrowsInLists = false)
        : QObject(parent), arrowsInLists_(arrowsInLists) {}
    void watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool arrowsInLists_;
};

class TfrmZMain;

// Shows the help balloon of the controls it watches while they have the focus.
class HelpBalloon : public QObject {
    Q_OBJECT
public:
    HelpBalloon(TfrmZMain* main, QObject* parent) : QObject(parent), main_(main) {}
    void watch(QWidget* control);
    // The main window is going: the focus changes of its destruction show no
    // hint.
    void detach() { main_ = nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TfrmZMain* main_;
};

// The pictures of the plan's tool buttons, drawn here.
enum class PlanTool { Select, Pan, ZoomRect, ZoomIn, ZoomOut, ZoomDefault };
QIcon planToolIcon(PlanTool tool);

} // namespace zf

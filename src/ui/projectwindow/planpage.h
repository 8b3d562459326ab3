#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QAction;
class QScrollBar;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace zf {

class PlanView;
class ProjectSession;
class TfrmZMain;

// The plan itself: a view of the session's PlanView. It forwards the pointer,
// the wheel and the keys to the plan and paints it with the plan's one paint
// routine; the plan holds every rule. Ctrl+Z and Ctrl+Y undo and redo moves.
class PlanWidget : public QWidget {
    Q_OBJECT
public:
    PlanWidget(ProjectSession& session, QWidget* parent = nullptr);
    ~PlanWidget() override;

    PlanView& plan() const;
    // The hint window over a symbol (hidden when there is none).
    QLabel* hintWindow() const { return hint_; }
    // The text of the status bar's first panel changed.
    std::function<void(const QString&)> onStatus;
    // The plan's view or tools changed by the keys or the pointer.
    std::function<void()> onChanged;
    // The plan asks for its popup menu at a point of the widget.
    std::function<void(int index, QPoint at)> onPopup;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void pointerAt(QPoint p);

    ProjectSession& session_;
    QLabel* hint_ = nullptr;
    QPixmap cache_; // the plan under a moving outline
    // With the throw zones: the floor under them, and the other units' zones
    // with the symbols over them (transparent); the floor left unreached and
    // the dragged unit's zone follow the pointer between the two.
    QPixmap floorCache_, unitsCache_;
    QList<double> cacheKey_;
};

// Page 3 of the project window (tsDraw): the tool bar, the plan with its two
// scroll bars and the status bar.
class PlanPage : public QWidget {
    Q_OBJECT
public:
    PlanPage(ProjectSession& session, TfrmZMain* main, QWidget* parent = nullptr);

    // The plan's symbols or view changed: repaint, the zoom list, the scroll
    // bars, the tools and the description.
    void refresh();
    void applyLanguage();

    PlanWidget* planWidget() const { return plan_; }
    QMenu* popupMenu() const { return popup_; }
    // The share of the floor the throw reaches, on the status bar.
    QLabel* throwFigure() const { return throwFigure_; }

private:
    void setMode(int mode);
    void refreshThrowFigure();
    void chooseZoom(const QString& text);
    void showPopup(int index, QPoint at);

    ProjectSession& session_;
    TfrmZMain* main_;
    PlanWidget* plan_ = nullptr;
    QToolButton* tbSelect_ = nullptr;
    QToolButton* tbPan_ = nullptr;
    QToolButton* tbZoomMouse_ = nullptr;
    QToolButton* tbZoomIn_ = nullptr;
    QToolButton* tbZoomOut_ = nullptr;
    QToolButton* tbZoomToDef_ = nullptr;
    QToolBar* bar_ = nullptr;
    QLabel* lbScale_ = nullptr;
    QComboBox* scale_ = nullptr;
    QCheckBox* align_ = nullptr;
    QCheckBox* labels_ = nullptr;
    QCheckBox* zones_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QStatusBar* status_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* throwFigure_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* popMove_ = nullptr;
    QAction* popDelete_ = nullptr;
    QAction* popProperties_ = nullptr;
    int popupIndex_ = -1;
    int shownCount_ = -1;
    bool updating_ = false;
};

} // namespace zf

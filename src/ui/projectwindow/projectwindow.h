#pragma once

#include "session/projectsession.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

class QScrollArea;
class QTabWidget;

namespace zf {

class PlanPage;
class SummaryPage;
class TfrmZMain;
class UnitListPage;
class UnitsPage;

// The project window: four pages over the session's project state, the result
// summary, the unit selection with the placement panel, the plan and the list
// of placed units. It lives maximized in the main window's frame; the user may
// close it while the project stays open, and the next operation that shows it
// makes a new one (ProjectWindowHost).
class TfrmZFDraw : public QWidget, public SessionView {
    Q_OBJECT
public:
    TfrmZFDraw(ProjectSession& session, TfrmZMain* main, QWidget* parent = nullptr);
    ~TfrmZFDraw() override;

    QTabWidget* pages() const { return tabs_; }
    int currentPage() const;
    SummaryPage* summaryPage() const { return summary_; }
    UnitsPage* unitsPage() const { return units_; }
    PlanPage* planPage() const { return plan_; }
    UnitListPage* listPage() const { return list_; }
    void applyLanguage();

    // SessionView
    void showWindow(Window window, bool shown) override;
    void pageChanged(Window window, int page) override;
    void focusControl(Window window, const QString& control) override;
    void stateChanged(Window window, unsigned what) override;

signals:
    // The user closed the window; it takes no part in the session any more.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPage(int page);

    TfrmZMain* main_;
    QTabWidget* tabs_ = nullptr;
    // The pages that scroll in a window too small for them.
    QList<QScrollArea*> scrolling_;
    SummaryPage* summary_ = nullptr;
    UnitsPage* units_ = nullptr;
    PlanPage* plan_ = nullptr;
    UnitListPage* list_ = nullptr;
    int languageHandle_ = 0;
    bool following_ = false;
    bool closing_ = false;
};

// Keeps the one project window: makes it at start-up and again whenever the
// session shows it after the user closed it, and puts it into the main
// window's frame, maximized.
class ProjectWindowHost : public SessionView {
public:
    ProjectWindowHost(ProjectSession& session, TfrmZMain& main);
    ~ProjectWindowHost() override;

    // The window, made when there is none.
    TfrmZFDraw* ensureWindow();
    TfrmZFDraw* window() const { return window_; }
    QMdiSubWindow* frame() const { return frame_; }
    // How many windows were made (the first one at start-up).
    int made() const { return made_; }

    void showWindow(Window window, bool shown) override;

private:
    TfrmZMain& main_;
    QPointer<TfrmZFDraw> window_;
    QPointer<QMdiSubWindow> frame_;
    int made_ = 0;
};

} // namespace zf

#pragma once

#include "binding/fieldbinder.h"
#include "session/projectsession.h"
#include "wizard/wizardpage.h"

#include <QSet>
#include <QWidget>
#include <array>

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace zf {

class DataSource;
class HelpHints;
class WallsPage;

// What the read-only values, the lists and the pictures of the pages show.
inline constexpr unsigned WizardValues =
    WizardChoices | WizardFields | WizardEstimates | WizardRegionList;

// The input wizard: nine pages over the headless InputWizard of the session,
// with Previous, Next/Finish, Cancel, Close and the help check box. Every control
// carries the name the program's texts and help hints know it by; edits, lists,
// check and radio buttons and the date picker are bound to the project record
// or to the controller's choices, the grids to the surfaces and openings. The
// window only shows and forwards: what a choice does, which page follows, what
// Finish, Close and Cancel do is the controller's and the session's. It is
// fixed in size (what the largest of the languages needs), stays on top, does
// not block the main window and is centred on the screen when shown.
class TfrmZInput : public QWidget, public SessionView {
    Q_OBJECT
public:
    TfrmZInput(ProjectSession& session, HelpHints& hints, QWidget* parent = nullptr);
    ~TfrmZInput() override;

    // What the pages bind to; the session's parts are reached here only.
    InputWizard& wizard() const { return session().wizard(); }
    Dataset& projectRecord() const { return session().projectRecord(); }
    DataSource& wallsSource() const { return session().wallsSource(); }
    DataSource& openingsSource() const { return session().openingsSource(); }

    QTabWidget* pageControl() const { return PageControl1_; }
    FieldBinder& binder() { return binder_; }
    HelpHints& hints() const { return hints_; }
    // The wizard's keys on a control: Up, Down and Enter move the focus from
    // an edit; Enter moves on from lists, the date picker, check and radio
    // buttons, the list of unit families and every control of the losses page.
    void watchKeys(QWidget* control);
    // A control whose hint is shown in a balloon while it has the focus (the
    // hints of the others are their tooltips).
    void explainInBalloon(QWidget* control);
    // While the pages show a change (the controls' signals are then not the
    // user's).
    bool refreshing() const { return refreshing_; }

    // The buttons, as clicking them.
    void next();
    void previous();
    void cancel();
    void closeWizard();
    // Writes what is being typed in an edit or a grid cell, as leaving it would;
    // false when the value was refused (the focus stays there).
    bool finishEditing();

    // Texts, lists, grid titles and widths and hints in the current language.
    void applyLanguage(int base);
    // The size the window needs in the largest of the offered languages.
    QSize sizeForAllLanguages();

    // SessionView
    void showWindow(Window window, bool shown) override;
    void pageChanged(Window window, int page) override;
    void focusControl(Window window, const QString& control) override;
    void stateChanged(Window window, unsigned what) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFrame();
    void refresh(unsigned what);
    void refreshFrame();
    void applyTexts();
    void centre();
    void focusFirstControl(int page);
    void onEnterControl(QWidget* control);
    bool moveFocus(bool forward);

    HelpHints& hints_;
    FieldBinder binder_;
    WizardForm form_;
    std::array<InputPage*, WizardPageCount> pages_{};
    WallsPage* walls_ = nullptr;
    QTabWidget* PageControl1_ = nullptr;
    QPushButton* btPrev_ = nullptr;
    QPushButton* btNext_ = nullptr;
    QPushButton* btCancel_ = nullptr;
    QPushButton* btClose_ = nullptr;
    QCheckBox* cbAssist_ = nullptr;
    QSet<QWidget*> balloons_;
    bool followingPage_ = false;
    bool refreshing_ = false;
    bool sized_ = false;
    int languageHandle_ = 0;
};

} // namespace zf

#pragma once

#include "session/projectsession.h"
#include "shell/commands.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QKeyEvent;
class QLabel;
class QMdiArea;
class QMenu;
class QStackedWidget;
class QTableView;
class QToolBar;

namespace zf {

class HelpHints;
class TfrmAbout;
class TfrmOptions;

// The main window: the frame with the start panel or the project window, the
// menu bar, the tool bar and the commands with their enabling rules. A view of
// the project session: a command runs its handler by name, the enabling rules
// and the check marks follow the session's state.
class TfrmZMain : public QMainWindow, public SessionView {
    Q_OBJECT
public:
    explicit TfrmZMain(ProjectSession& session);
    ~TfrmZMain() override;

    QAction* action(const QString& name) const { return actions_.value(name); }
    void setAboutBox(TfrmAbout* about) { about_ = about; }
    // Options > Throw ranges, made when first asked for.
    TfrmOptions* optionsDialog();
    // The handlers of the commands, by name: the session's and the window's own.
    CommandHandlers& commands() { return commands_; }
    // Runs a command as its menu entry does.
    void execute(const QString& name);
    // The commands' keys work in another window too (the wizard), with the
    // same enabling rules.
    void shareShortcuts(QWidget* window);
    // The text field or the plan the Edit commands act on (none: null).
    QWidget* editTarget() const;

    // Evaluates the enabling rules (run when the interface is idle).
    void updateActions();
    ShellState shellState() const;

    // Texts, fonts and pictures of the language.
    void applyLanguage(int base);

    // Help hints: a hint text per control, shown in a balloon on request while
    // "Show Help Topics" is checked.
    void setControlHint(QWidget* control, const QString& hint);
    void showHintBalloon(QWidget* control);
    void hideHintBalloon();
    // The tooltips of the controls that carry help hints, on or off.
    void setHelpTooltips(bool on);
    void registerHelpControl(QWidget* control);
    // The hints, the balloon and the tooltips behind the four operations above.
    HelpHints& helpHints() const { return *helpHints_; }

    // Column fitting: the column gets the view's width less the other columns
    // less 14 pixels, when that is more than 30.
    static void fitColumn(QTableView* view, int column);

    QLabel* supplierLabel() const { return lbDodavatel_; }
    // The frame that holds the project window while a project is open.
    QMdiArea* mdiArea() const { return mdi_; }

    // SessionView
    void showWindow(Window window, bool shown) override;
    void stateChanged(Window window, unsigned what) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createStartPanel();
    void registerOwnCommands();
    void syncCheckMarks();
    void editCommand(const QString& name);
    bool editEnabled(const QString& name) const;
    static QString commandOfKey(const QKeyEvent* key);
    bool finishTypingBeforeCommand(QKeyEvent* key);
    bool sharesShortcuts(const QWidget* window) const;
    void scheduleUpdate();
    void refreshStartPanel();
    void loadMenuPictures();

    TfrmAbout* about_ = nullptr;
    TfrmOptions* options_ = nullptr;
    CommandHandlers commands_;
    QHash<QString, QAction*> actions_;
    QList<QMenu*> topMenus_;
    QHash<QString, QMenu*> subMenus_;
    QToolBar* toolBar_ = nullptr;
    QStackedWidget* frame_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    QWidget* startPanel_ = nullptr;
    QLabel* lbTitle_ = nullptr;
    QLabel* lbVersion_ = nullptr;
    QLabel* lbProject_ = nullptr;
    QLabel* lbDodavatel_ = nullptr;
    QLabel* lbStreet_ = nullptr;
    QLabel* lbContact_ = nullptr;
    HelpHints* helpHints_ = nullptr;
    bool updatePending_ = false;
    bool menuPicturesLoaded_ = false;
    QString languageMenuPicture_; // the command whose flag the language menu shows
    QList<QPointer<QWidget>> shortcutWindows_;
    int languageHandle_ = 0;
};

} // namespace zf

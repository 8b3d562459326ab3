#pragma once

#include "shell/commands.h"
#include "shell/settings.h"
#include "storage/projectfiles.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QStackedWidget;
class QTableView;
class QToolBar;

namespace zf {

class TfrmAbout;
class InputWizard;

// What the main window needs of the input wizard; set when the wizard exists.
class WizardHost {
public:
    virtual ~WizardHost() = default;
    virtual bool wizardVisible() const = 0;
    virtual bool constructionsPageShown() const = 0;
    // Makes the page the active one ("" keeps the current page) and shows the
    // wizard as the Input command does.
    virtual void openWizard(const QString& page) = 0;
    virtual bool helpChecked() const = 0;
    virtual void setHelpChecked(bool on) = 0;
};

// The main window: the frame with the start panel or the project window, the
// menu bar, the tool bar and the command table with its enabling rules.
class TfrmZMain : public QMainWindow, public ProjectHooks {
    Q_OBJECT
public:
    TfrmZMain(TZFData& data, ProjectFiles& files, UserSettings& settings);
    ~TfrmZMain() override;

    QAction* action(const QString& name) const { return actions_.value(name); }
    void setWizardHost(WizardHost* wizard) { wizard_ = wizard; }
    void setAboutBox(TfrmAbout* about) { about_ = about; }
    // The wizard's controller, which loads every opened or new project.
    void setWizardController(InputWizard* controller) { controller_ = controller; }

    // Evaluates the enabling rules (run when the interface is idle).
    void updateActions();
    ShellState shellState() const;

    // Texts, fonts and pictures of the language.
    void applyLanguage(int base);
    // The language command: check it, set the base, apply the language.
    void switchLanguage(const QString& command);
    void setCheckedLanguage(int base);
    int checkedLanguage() const;

    // Help hints: a hint text per control, shown in a balloon on request while
    // "Show Help Topics" is checked.
    void setControlHint(QWidget* control, const QString& hint);
    void showHintBalloon(QWidget* control);
    void hideHintBalloon();
    // The tooltips of the controls that carry help hints, on or off.
    void setHelpTooltips(bool on);
    void registerHelpControl(QWidget* control);

    // Column fitting: the column gets the view's width less the other columns
    // less 14 pixels, when that is more than 30.
    static void fitColumn(QTableView* view, int column);

    QLabel* supplierLabel() const { return lbDodavatel_; }

    // ProjectHooks
    void hideWizard() override;
    void showStartPanel() override;
    void hideProjectWindow() override;
    void setMainCaption(const QString& caption) override;
    void setApplicationTitle(const QString& title) override;
    void showProject() override;
    void loadProjectIntoWizard(bool newProject) override;
    void openWizardForNewProject() override;
    void writeSettings() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createStartPanel();
    void execute(const QString& name);
    void editCommand(const QString& name);
    bool editEnabled(const QString& name) const;
    void scheduleUpdate();
    void refreshStartPanel();
    void loadMenuPictures();

    TZFData& data_;
    ProjectFiles& files_;
    UserSettings& settings_;
    WizardHost* wizard_ = nullptr;
    TfrmAbout* about_ = nullptr;
    InputWizard* controller_ = nullptr;
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
    QHash<QWidget*, QString> hints_;
    QList<QPointer<QWidget>> helpControls_;
    bool updatePending_ = false;
    bool menuPicturesLoaded_ = false;
    int languageHandle_ = 0;
};

} // namespace zf

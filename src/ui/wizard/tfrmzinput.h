#pragma once

#include "binding/fieldbinder.h"
#include "session/projectsession.h"

#include <QModelIndex>
#include <QPointer>
#include <QWidget>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QVBoxLayout;

namespace zf {

class DatasetGrid;
class DatasetModel;
class HelpHints;
class SvgPicture;

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

    InputWizard& wizard() const { return session().wizard; }
    QTabWidget* pageControl() const { return PageControl1_; }
    FieldBinder& binder() { return binder_; }
    HelpHints& hints() const { return hints_; }

    // The buttons, as clicking them.
    void next();
    void previous();
    void cancel();
    void closeWizard();

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
    struct TextTarget {
        QPointer<QWidget> control;
        int id;
    };
    struct ValueTarget {
        QPointer<QLabel> label;
        QString field;
        bool number;
        QPointer<QLabel> caption; // names the value for screen readers
    };

    // --- building the window ---
    void buildFrame();
    QWidget* buildProjectPage();
    QWidget* buildSeasonPage();
    QWidget* buildModePage();
    QWidget* buildHallPage();
    QWidget* buildSkylightPage();
    QWidget* buildLossesPage();
    QWidget* buildConstructionsPage();
    QWidget* buildWorkPage();
    QWidget* buildClosingPage();
    QWidget* newPage(const char* name, int headerId, const char* headerName, QVBoxLayout** layout);
    QLabel* newLabel(QWidget* parent, const char* name, int textId);
    QLabel* newHeader(QWidget* parent, const char* name, int textId);
    QGroupBox* newGroup(QWidget* parent, const char* name, int textId);
    QLineEdit* newEdit(QWidget* parent, const char* name);
    QPlainTextEdit* newMemo(QWidget* parent, const char* name, int lines);
    QComboBox* newCombo(QWidget* parent, const char* name, FieldAccess access);
    QCheckBox* newCheck(QWidget* parent, const char* name, int textId, FieldAccess access);
    QRadioButton* newRadio(QWidget* parent, const char* name, int textId, FieldAccess access);
    QLabel* newValue(QWidget* parent, const char* name, const QString& field, bool number,
                     QLabel* caption);
    DatasetGrid* newGrid(QWidget* parent, const char* name, DatasetModel* model);
    QToolButton* newToolButton(QWidget* parent, const char* name, int textId, const QString& icon);
    // A row of a form: the label is the buddy of its control.
    void addRow(QGridLayout* grid, QLabel* label, QWidget* control, QWidget* after = nullptr);
    // A row of a read-only value of the project record.
    void addValueRow(QGridLayout* grid, QWidget* parent, const char* captionName, int textId,
                     const char* name, const char* field);
    FieldAccess editAccess(const QString& name);
    void watchKeys(QWidget* control);

    // --- showing the state ---
    void refresh(unsigned what);
    void refreshFrame();
    void refreshModesAlert();
    void refreshValues();
    void refreshPictures();
    void refreshLosses();
    void refreshConstructions();
    void refreshCatalogButtons();
    void refreshRegionList();
    void refreshFamilies();
    void applyTexts();
    void applyGridLayout();
    void applyHints();
    void fitGridColumns();
    void centre();

    // --- the user's actions ---
    bool finishEditing();
    void focusFirstControl(int page);
    void focusOpeningsGrid();
    void wallGridClicked(const QModelIndex& index);
    void wallGridDoubleClicked(const QModelIndex& index);
    void openingsGridDoubleClicked(const QModelIndex& index);
    void onEnterControl(QWidget* control);
    bool moveFocus(bool forward);

    HelpHints& hints_;
    FieldBinder binder_;
    std::vector<TextTarget> texts_;
    std::vector<ValueTarget> values_;
    QTabWidget* PageControl1_ = nullptr;
    QPushButton* btPrev_ = nullptr;
    QPushButton* btNext_ = nullptr;
    QPushButton* btCancel_ = nullptr;
    QPushButton* btClose_ = nullptr;
    QCheckBox* cbAssist_ = nullptr;
    QComboBox* DBcb_Oblast_ = nullptr;
    QLabel* lbLocation_ = nullptr;
    QListWidget* cblbPouziteJednotky_ = nullptr;
    SvgPicture* imTypHaly_ = nullptr;
    SvgPicture* imTypSvetliku_ = nullptr;
    SvgPicture* imgStena_ = nullptr;
    QLabel* lbStavOtvory_ = nullptr;
    QLabel* LMDLabelQ_ = nullptr;
    QLabel* lbTridaPrace_ = nullptr;
    QComboBox* cbTridaPrace_ = nullptr;
    DatasetModel* hallModel_ = nullptr;
    DatasetModel* skylightModel_ = nullptr;
    DatasetModel* wallsModel_ = nullptr;
    DatasetModel* openingsModel_ = nullptr;
    DatasetGrid* ExDBGrid_Hala_ = nullptr;
    DatasetGrid* ExDBGrid_Svetlik_ = nullptr;
    DatasetGrid* ExDBGrid_Steny_ = nullptr;
    DatasetGrid* ExDBGrid_Otvory_ = nullptr;
    QTimer* wallClickTimer_ = nullptr;
    QModelIndex pendingWallClick_;
    bool followingPage_ = false;
    bool refreshing_ = false;
    bool sized_ = false;
    int languageHandle_ = 0;
};

} // namespace zf

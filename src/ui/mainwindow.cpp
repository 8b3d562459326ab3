#include "mainwindow.h"

#include "aboutbox.h"
#include "binding/datasetgrid.h"
#include "common/globals.h"
#include "documentmenus.h"
#include "helphints.h"
#include "i18n/language.h"
#include "optionsdialog.h"
#include "pictures.h"
#include "projectwindow/planpage.h"
#include "projectwindow/projectwidgets.h"
#include "qtdialogs.h"
#include "reportoutput.h"
#include "session/sessioncommands.h"
#include "worktracker.h"

#include <QAbstractItemView>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace zf {

namespace {

// The start panel: the illustration scaled to fill, the texts over it.
class StartPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xf4, 0xf1, 0xec));
        if (cached_.size() != size() * devicePixelRatioF())
            cached_ = picturePixmap(QStringLiteral("startpanel.svg"), size(), devicePixelRatioF());
        if (!cached_.isNull())
            p.drawPixmap(0, 0, cached_);
    }

private:
    QPixmap cached_;
};

} // namespace

TfrmZMain::TfrmZMain(ProjectSession& session) : SessionView(session) {
    setObjectName(QStringLiteral("TfrmZMain"));
    setWindowTitle(QString::fromLatin1(ProductName));
    setWindowIcon(pictureIcon(QStringLiteral("zefrant.svg")));
    setMinimumSize(750, 550);
    WorkTracker::instance().setFrame(this);
    helpHints_ = new HelpHints([this] { return this->session().helpDisplay(); }, this);
    createActions();
    createMenus();
    new DocumentMenus(*this); // the Catalogs submenus' documents
    createStartPanel();
    registerSessionCommands(commands_, session);
    registerOwnCommands();
    syncCheckMarks();
    qApp->installEventFilter(this);
    languageHandle_ = registerLanguageApplier([this](int base) { applyLanguage(base); });
}

TfrmZMain::~TfrmZMain() {
    // The pages' controls lose the focus while the window is taken apart,
    // after this window is no TfrmZMain any more.
    for (HelpBalloon* balloon : findChildren<HelpBalloon*>())
        balloon->detach();
    unregisterLanguageApplier(languageHandle_);
    qApp->removeEventFilter(this);
}

void TfrmZMain::createActions() {
    for (const CommandDef& c : commandTable()) {
        auto* a = new QAction(this);
        const QString name = QString::fromLatin1(c.name);
        a->setObjectName(name);
        if (*c.shortcut && !c.hidden)
            a->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
        if (*c.shortcut && c.hidden) {
            // A hidden command cannot be chosen, nor its shortcut: this one works
            // anyway (the units catalog's Ctrl+K).
            auto* key = new QShortcut(QKeySequence(QString::fromLatin1(c.shortcut)), this);
            key->setObjectName(name + QStringLiteral("Shortcut"));
            connect(key, &QShortcut::activated, this, [this, name] { execute(name); });
        }
        a->setCheckable(c.checkable);
        a->setVisible(!c.hidden);
        if (name.startsWith(QLatin1String("acEdit")))
            a->setShortcutContext(Qt::WidgetShortcut); // the text fields keep their own keys
        connect(a, &QAction::triggered, this, [this, name] { execute(name); });
        actions_.insert(name, a);
        addAction(a);
    }
    // The tool bar's pictures are needed for the first paint; the menus' are
    // loaded when a menu is first opened.
    for (const QString& name : toolBarItems())
        if (name != QLatin1String("-"))
            action(name)->setIcon(commandIcon(name));
    for (const QString& lang : languageCommands())
        action(lang)->setEnabled(isOfferedLanguage(baseOfLanguageCommand(lang)));
}

void TfrmZMain::loadMenuPictures() {
    if (menuPicturesLoaded_)
        return;
    menuPicturesLoaded_ = true;
    // A checkable command's picture carries a mark while it is checked: the
    // styles show the check of a command with a picture only faintly.
    for (const CommandDef& c : commandTable()) {
        QAction* a = action(QString::fromLatin1(c.name));
        if (a->icon().isNull())
            a->setIcon(c.checkable ? checkedMarkIcon(commandIcon(a->objectName()))
                                   : commandIcon(a->objectName()));
    }
    for (const QString& lang : languageCommands())
        action(lang)->setIcon(
            checkedMarkIcon(flagIcon(languageCodeOfBase(baseOfLanguageCommand(lang)))));
    updateActions();
}

void TfrmZMain::createMenus() {
    for (const MenuDef& m : mainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString());
        connect(menu, &QMenu::aboutToShow, this, &TfrmZMain::loadMenuPictures);
        topMenus_ << menu;
        for (const QString& item : m.items) {
            if (item == QLatin1String("-")) {
                menu->addSeparator();
            } else if (item.startsWith(QLatin1Char('>'))) {
                const QString name = item.mid(1);
                QMenu* sub = menu->addMenu(QString());
                sub->menuAction()->setObjectName(name + QStringLiteral("Menu"));
                subMenus_.insert(name, sub);
                for (const QString& command : submenuCommands(name))
                    sub->addAction(action(command));
            } else {
                menu->addAction(action(item));
            }
        }
    }
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName(QStringLiteral("ActionToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const QString& item : toolBarItems()) {
        if (item == QLatin1String("-"))
            toolBar_->addSeparator();
        else
            toolBar_->addAction(action(item));
    }
    menuBar()->setObjectName(QStringLiteral("ActionMainMenuBar1"));
}

void TfrmZMain::createStartPanel() {
    frame_ = new QStackedWidget(this);
    startPanel_ = new StartPanel(frame_);
    startPanel_->setObjectName(QStringLiteral("StartPanel"));
    auto* layout = new QVBoxLayout(startPanel_);
    layout->setContentsMargins(36, 28, 36, 0);
    lbTitle_ = new QLabel(QString::fromLatin1(ProductName), startPanel_);
    lbTitle_->setObjectName(QStringLiteral("lbTitle"));
    QFont tf = lbTitle_->font();
    tf.setPointSizeF(tf.pointSizeF() * 2.6);
    tf.setBold(true);
    lbTitle_->setFont(tf);
    lbTitle_->setStyleSheet(QStringLiteral("color: #2b3a42"));
    lbVersion_ = new QLabel(QString::fromLatin1(AppVersionText), startPanel_);
    lbVersion_->setObjectName(QStringLiteral("lbVersion"));
    lbVersion_->setStyleSheet(QStringLiteral("color: #2b3a42"));
    lbProject_ = new QLabel(startPanel_);
    lbProject_->setObjectName(QStringLiteral("lbProject"));
    lbProject_->setStyleSheet(QStringLiteral("color: #2b3a42"));
    layout->addWidget(lbTitle_);
    layout->addWidget(lbVersion_);
    layout->addSpacing(12);
    layout->addWidget(lbProject_);
    layout->addStretch();

    auto* band = new QWidget(startPanel_);
    band->setObjectName(QStringLiteral("SupplierBand"));
    band->setAutoFillBackground(true);
    band->setStyleSheet(QStringLiteral(
        "#SupplierBand { background: rgba(43, 58, 66, 225); } QLabel { color: white; }"));
    auto* bl = new QVBoxLayout(band);
    bl->setContentsMargins(16, 8, 16, 10);
    bl->setSpacing(2);
    lbDodavatel_ = new QLabel(band);
    lbDodavatel_->setObjectName(QStringLiteral("lbDodavatel"));
    QFont bf = lbDodavatel_->font();
    bf.setBold(true);
    lbDodavatel_->setFont(bf);
    lbStreet_ = new QLabel(band);
    lbStreet_->setObjectName(QStringLiteral("lbStreet"));
    lbContact_ = new QLabel(band);
    lbContact_->setObjectName(QStringLiteral("lbContact"));
    bl->addWidget(lbDodavatel_);
    bl->addWidget(lbStreet_);
    bl->addWidget(lbContact_);
    layout->addWidget(band);
    layout->setContentsMargins(0, 28, 0, 0);
    lbTitle_->setContentsMargins(36, 0, 0, 0);
    lbVersion_->setContentsMargins(38, 0, 0, 0);
    lbProject_->setContentsMargins(38, 0, 0, 0);

    mdi_ = new QMdiArea(frame_);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    frame_->addWidget(startPanel_);
    frame_->addWidget(mdi_);
    setCentralWidget(frame_);
    refreshStartPanel();
}

void TfrmZMain::refreshStartPanel() {
    lbProject_->setText(session().currentFile().isEmpty() ? QString()
                                                              : session().projectTitle());
}

ShellState TfrmZMain::shellState() const {
    return session().shellState();
}

void TfrmZMain::registerOwnCommands() {
    commands_.set(QStringLiteral("acFileExit"), [this] { close(); });
    // The report's outputs have windows of their own (preview, setup, progress).
    const std::pair<const char*, ReportKind> reports[] = {{"acPrintPreview", ReportKind::Preview},
                                                          {"acPrint", ReportKind::Print},
                                                          {"acPDFCreate", ReportKind::Pdf},
                                                          {"acRTFCreate", ReportKind::Rtf}};
    for (const auto& [name, kind] : reports)
        commands_.set(QLatin1String(name), [this, kind = kind] {
            runReportCommand(kind, session(), QtDialogs::ownerWindow(this));
        });
    commands_.set(QStringLiteral("acThrowOptions"), [this] {
        TfrmOptions* d = optionsDialog();
        d->load();
        QtDialogs::Placement place(d);
        d->exec();
    });
    commands_.set(QStringLiteral("acAbout"), [this] {
        if (!about_)
            return;
        QtDialogs::Placement place(about_);
        about_->exec();
    });
    for (const CommandDef& c : commandTable()) {
        const QString name = QString::fromLatin1(c.name);
        if (name.startsWith(QLatin1String("acEdit")))
            commands_.set(name, [this, name] { editCommand(name); });
    }
}

TfrmOptions* TfrmZMain::optionsDialog() {
    if (!options_)
        options_ = new TfrmOptions(session(), this);
    return options_;
}

// The check marks show the session's state: the help display and the language.
void TfrmZMain::syncCheckMarks() {
    action(QStringLiteral("acShowHelp"))->setChecked(session().helpDisplay());
    const QString checked = languageCommandOfBase(session().checkedLanguage());
    for (const QString& lang : languageCommands())
        action(lang)->setChecked(lang == checked);
}

void TfrmZMain::updateActions() {
    updatePending_ = false;
    const ShellState s = shellState();
    for (const CommandDef& c : commandTable()) {
        const QString name = QString::fromLatin1(c.name);
        QAction* a = action(name);
        bool enabled = commandEnabled(name, s);
        if (name.startsWith(QLatin1String("acEdit")))
            enabled = editEnabled(name);
        else if (baseOfLanguageCommand(name) >= 0)
            enabled = isOfferedLanguage(baseOfLanguageCommand(name));
        a->setEnabled(enabled);
    }
    for (auto it = subMenus_.begin(); it != subMenus_.end(); ++it)
        it.value()->menuAction()->setEnabled(commandEnabled(it.key(), s));
    syncCheckMarks();
    // The language menu shows the flag of the current language.
    const QString cmd = languageCommandOfBase(LanguageBase);
    if (!cmd.isEmpty() && menuPicturesLoaded_ && cmd != languageMenuPicture_ &&
        subMenus_.contains(QStringLiteral("acLanguage"))) {
        languageMenuPicture_ = cmd;
        subMenus_.value(QStringLiteral("acLanguage"))
            ->menuAction()
            ->setIcon(flagIcon(languageCodeOfBase(baseOfLanguageCommand(cmd))));
    }
}

void TfrmZMain::scheduleUpdate() {
    if (updatePending_)
        return;
    updatePending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { updateActions(); }, Qt::QueuedConnection);
}

bool TfrmZMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowActivate:
        scheduleUpdate();
        break;
    case QEvent::ShortcutOverride:
        if (watched == QApplication::focusWidget() &&
            finishTypingBeforeCommand(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::ToolTip:
        // A hint stays visible for the time the language sets.
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->toolTipDuration() < 0)
            w->setToolTipDuration(HintHidePause);
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The command of a key, among those with a shortcut of their own (not the Edit
// commands, whose keys are the text fields' own).
QString TfrmZMain::commandOfKey(const QKeyEvent* key) {
    const QKeySequence pressed(key->keyCombination());
    for (const CommandDef& c : commandTable()) {
        QString name = QString::fromLatin1(c.name);
        if (*c.shortcut && !name.startsWith(QLatin1String("acEdit")) &&
            QKeySequence(QString::fromLatin1(c.shortcut)) == pressed)
            return name;
    }
    return QString();
}

// A command's key pressed in a text field with typed text: the text is written
// first, as leaving the field would, so that the command (Save) finds it and
// its enabling rule sees it. True when the field refused the text: then the
// command does not run.
bool TfrmZMain::finishTypingBeforeCommand(QKeyEvent* key) {
    if (commandOfKey(key).isEmpty())
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !sharesShortcuts(focus->window()))
        return false;
    QWidget* field = WorkTracker::textField(focus);
    bool typed = false;
    if (auto* le = qobject_cast<QLineEdit*>(field))
        typed = le->isModified();
    else if (auto* te = qobject_cast<QTextEdit*>(field))
        typed = te->document()->isModified();
    else if (auto* pe = qobject_cast<QPlainTextEdit*>(field))
        typed = pe->document()->isModified();
    // A grid's cell writes its text when the cell is left.
    for (QWidget* p = focus->parentWidget(); typed && p; p = p->parentWidget())
        if (qobject_cast<QAbstractItemView*>(p))
            typed = false;
    if (!typed)
        return false;
    const quint64 boxes = messageBoxesShown();
    QPointer<QWidget> guard(focus);
    focus->clearFocus();
    if (guard)
        guard->setFocus(Qt::OtherFocusReason);
    if (messageBoxesShown() != boxes) {
        key->accept();
        return true;
    }
    updateActions();
    return false;
}

bool TfrmZMain::sharesShortcuts(const QWidget* window) const {
    if (window == this)
        return true;
    for (const QPointer<QWidget>& w : shortcutWindows_)
        if (w == window)
            return true;
    return false;
}

void TfrmZMain::shareShortcuts(QWidget* window) {
    if (!window || sharesShortcuts(window))
        return;
    shortcutWindows_ << window;
    for (const CommandDef& c : commandTable()) {
        const QString name = QString::fromLatin1(c.name);
        if (!*c.shortcut || name.startsWith(QLatin1String("acEdit")))
            continue;
        if (!c.hidden) {
            // The action's own shortcut, with its enabling, in that window too.
            window->addAction(action(name));
            continue;
        }
        auto* key = new QShortcut(QKeySequence(QString::fromLatin1(c.shortcut)), window);
        key->setObjectName(name + QStringLiteral("Shortcut"));
        connect(key, &QShortcut::activated, this, [this, name] { execute(name); });
    }
}

// The Edit commands act on the text field (or the plan) the user last worked
// in, in the window he works in: clicking the menu bar does not move it.
QWidget* TfrmZMain::editTarget() const {
    return WorkTracker::instance().editTarget();
}

bool TfrmZMain::editEnabled(const QString& name) const {
    QWidget* w = editTarget();
    const bool undo = name == QLatin1String("acEditUndo");
    const bool redo = name == QLatin1String("acEditRedo");
    if (qobject_cast<PlanWidget*>(w)) {
        // The plan undoes and redoes moves; it has nothing to cut or paste.
        const PlanHistory& history = session().planHistory();
        return (undo && history.canUndo()) || (redo && history.canRedo());
    }
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        const bool ro = le->isReadOnly();
        if (undo)
            return !ro && le->isUndoAvailable();
        if (redo)
            return !ro && le->isRedoAvailable();
        if (name == QLatin1String("acEditCut") || name == QLatin1String("acEditDelete"))
            return !ro && le->hasSelectedText();
        if (name == QLatin1String("acEditCopy"))
            return le->hasSelectedText();
        if (name == QLatin1String("acEditPaste"))
            return !ro && !QApplication::clipboard()->text().isEmpty();
        return !le->text().isEmpty();
    }
    QTextCursor cursor;
    const QTextDocument* document = nullptr;
    bool ro = true;
    if (auto* te = qobject_cast<QTextEdit*>(w)) {
        cursor = te->textCursor();
        ro = te->isReadOnly();
        document = te->document();
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        cursor = pe->textCursor();
        ro = pe->isReadOnly();
        document = pe->document();
    } else {
        return false;
    }
    if (undo)
        return !ro && document->isUndoAvailable();
    if (redo)
        return !ro && document->isRedoAvailable();
    if (name == QLatin1String("acEditCut") || name == QLatin1String("acEditDelete"))
        return !ro && cursor.hasSelection();
    if (name == QLatin1String("acEditCopy"))
        return cursor.hasSelection();
    if (name == QLatin1String("acEditPaste"))
        return !ro && !QApplication::clipboard()->text().isEmpty();
    return !document->isEmpty();
}

void TfrmZMain::editCommand(const QString& name) {
    if (!editEnabled(name))
        return;
    QWidget* w = editTarget();
    if (qobject_cast<PlanWidget*>(w)) {
        if (name == QLatin1String("acEditUndo"))
            session().undoPlanMove();
        else
            session().redoPlanMove();
        return;
    }
    auto run = [&](auto* edit) {
        if (name == QLatin1String("acEditUndo"))
            edit->undo();
        else if (name == QLatin1String("acEditRedo"))
            edit->redo();
        else if (name == QLatin1String("acEditCut"))
            edit->cut();
        else if (name == QLatin1String("acEditCopy"))
            edit->copy();
        else if (name == QLatin1String("acEditPaste"))
            edit->paste();
        else if (name == QLatin1String("acEditSelectAll"))
            edit->selectAll();
    };
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        run(le);
        if (name == QLatin1String("acEditDelete"))
            le->del();
    } else if (auto* te = qobject_cast<QTextEdit*>(w)) {
        run(te);
        if (name == QLatin1String("acEditDelete"))
            te->textCursor().removeSelectedText();
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        run(pe);
        if (name == QLatin1String("acEditDelete")) {
            QTextCursor c = pe->textCursor();
            c.removeSelectedText();
        }
    }
    // A field of a window that lost the focus to the menu takes a change as
    // leaving it would (its binding writes it), and the user goes on there.
    QWidget* field = w;
    if (auto* combo = qobject_cast<QComboBox*>(w ? w->parentWidget() : nullptr);
        combo && combo->lineEdit() == w)
        field = combo;
    if (w && field != QApplication::focusWidget() &&
        field->window() != QApplication::activeWindow()) {
        if (name != QLatin1String("acEditCopy") && name != QLatin1String("acEditSelectAll")) {
            QFocusEvent leave(QEvent::FocusOut, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(field, &leave);
        }
        field->window()->activateWindow();
        field->setFocus(Qt::OtherFocusReason);
    }
}

void TfrmZMain::execute(const QString& name) {
    commands_.run(name);
    refreshStartPanel();
    scheduleUpdate();
}

void TfrmZMain::applyLanguage(int base) {
    QFont f = font();
    f.setFamily(ApplyLanguageFonts(base).face);
    setFont(f);
    const SupplierText s = supplier(base);
    lbDodavatel_->setText(LanguageText(91) + QStringLiteral(": ") + s.company);
    lbStreet_->setText(s.street);
    lbContact_->setText(s.contact + QStringLiteral(", ") + s.web);
    for (size_t i = 0; i < mainMenu().size() && i < size_t(topMenus_.size()); ++i)
        topMenus_[qsizetype(i)]->setTitle(LanguageText(mainMenu()[i].textId));
    for (const CommandDef& c : commandTable()) {
        QAction* a = action(QString::fromLatin1(c.name));
        a->setText(LanguageText(c.textId));
        a->setToolTip(QString(LanguageText(c.textId)).remove(QLatin1Char('&')));
    }
    for (auto it = subMenus_.begin(); it != subMenus_.end(); ++it)
        it.value()->setTitle(LanguageText(findCommand(it.key())->textId));
    // The name first: a title set before it would stay the bar's name.
    toolBar_->setAccessibleName(LanguageText(3050));
    toolBar_->setWindowTitle(LanguageText(3050));
    updateActions();
}

void TfrmZMain::setControlHint(QWidget* control, const QString& hint) {
    helpHints_->setHint(control, hint);
}

void TfrmZMain::showHintBalloon(QWidget* control) {
    helpHints_->showBalloon(control);
}

void TfrmZMain::hideHintBalloon() {
    helpHints_->hideBalloon();
}

void TfrmZMain::registerHelpControl(QWidget* control) {
    helpHints_->registerTooltipControl(control);
}

void TfrmZMain::setHelpTooltips(bool on) {
    helpHints_->setTooltips(on);
}

void TfrmZMain::fitColumn(QTableView* view, int column) {
    DatasetGrid::fitColumn(view, column);
}

void TfrmZMain::showWindow(Window window, bool shown) {
    if (window == Window::StartPanel && shown) {
        frame_->setCurrentWidget(startPanel_);
        refreshStartPanel();
    } else if (window == Window::ProjectWindow) {
        frame_->setCurrentWidget(shown ? static_cast<QWidget*>(mdi_) : startPanel_);
        refreshStartPanel();
    }
    scheduleUpdate();
}

void TfrmZMain::stateChanged(Window window, unsigned what) {
    if (window != Window::Main)
        return;
    if (what & MainTitle) {
        setWindowTitle(session().applicationTitle());
        refreshStartPanel();
    }
    if (what & MainCommands) {
        const bool help = session().helpDisplay();
        setHelpTooltips(help);
        if (!help)
            hideHintBalloon();
        syncCheckMarks();
    }
    scheduleUpdate();
}

void TfrmZMain::closeEvent(QCloseEvent* event) {
    if (!session().closeMainWindow()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace zf

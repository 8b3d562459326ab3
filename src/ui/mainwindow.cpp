#include "mainwindow.h"

#include "aboutbox.h"
#include "binding/datasetgrid.h"
#include "common/globals.h"
#include "documentmenus.h"
#include "helphints.h"
#include "i18n/language.h"
#include "pictures.h"
#include "reportoutput.h"
#include "session/sessioncommands.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHeaderView>
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
    for (const CommandDef& c : commandTable()) {
        QAction* a = action(QString::fromLatin1(c.name));
        if (a->icon().isNull())
            a->setIcon(commandIcon(a->objectName()));
    }
    for (const QString& lang : languageCommands())
        action(lang)->setIcon(flagIcon(languageCodeOfBase(baseOfLanguageCommand(lang))));
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
                if (name == QLatin1String("acLanguage"))
                    for (const QString& lang : languageCommands())
                        sub->addAction(action(lang));
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
    lbProject_->setText(session().files.CurrentFile.isEmpty() ? QString()
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
            runReportCommand(kind, session().data, session().reportHost(), this);
        });
    commands_.set(QStringLiteral("acAbout"), [this] {
        if (about_)
            about_->exec();
    });
    for (const CommandDef& c : commandTable()) {
        const QString name = QString::fromLatin1(c.name);
        if (name.startsWith(QLatin1String("acEdit")))
            commands_.set(name, [this, name] { editCommand(name); });
    }
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
    syncCheckMarks();
    // The language menu shows the flag of the current language.
    const QString cmd = languageCommandOfBase(LanguageBase);
    if (!cmd.isEmpty() && subMenus_.contains(QStringLiteral("acLanguage")))
        subMenus_.value(QStringLiteral("acLanguage"))->menuAction()->setIcon(action(cmd)->icon());
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
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmZMain::editEnabled(const QString& name) const {
    QWidget* w = QApplication::focusWidget();
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        const bool ro = le->isReadOnly();
        if (name == QLatin1String("acEditUndo"))
            return !ro && le->isUndoAvailable();
        if (name == QLatin1String("acEditCut") || name == QLatin1String("acEditDelete"))
            return !ro && le->hasSelectedText();
        if (name == QLatin1String("acEditCopy"))
            return le->hasSelectedText();
        if (name == QLatin1String("acEditPaste"))
            return !ro && !QApplication::clipboard()->text().isEmpty();
        return !le->text().isEmpty();
    }
    QTextCursor cursor;
    bool ro = true, undo = false;
    if (auto* te = qobject_cast<QTextEdit*>(w)) {
        cursor = te->textCursor();
        ro = te->isReadOnly();
        undo = te->document()->isUndoAvailable();
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        cursor = pe->textCursor();
        ro = pe->isReadOnly();
        undo = pe->document()->isUndoAvailable();
    } else {
        return false;
    }
    if (name == QLatin1String("acEditUndo"))
        return !ro && undo;
    if (name == QLatin1String("acEditCut") || name == QLatin1String("acEditDelete"))
        return !ro && cursor.hasSelection();
    if (name == QLatin1String("acEditCopy"))
        return cursor.hasSelection();
    if (name == QLatin1String("acEditPaste"))
        return !ro && !QApplication::clipboard()->text().isEmpty();
    return !cursor.document()->isEmpty();
}

void TfrmZMain::editCommand(const QString& name) {
    QWidget* w = QApplication::focusWidget();
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        if (name == QLatin1String("acEditUndo"))
            le->undo();
        else if (name == QLatin1String("acEditCut"))
            le->cut();
        else if (name == QLatin1String("acEditCopy"))
            le->copy();
        else if (name == QLatin1String("acEditPaste"))
            le->paste();
        else if (name == QLatin1String("acEditDelete"))
            le->del();
        else
            le->selectAll();
        return;
    }
    auto run = [&](auto* edit) {
        if (name == QLatin1String("acEditUndo"))
            edit->undo();
        else if (name == QLatin1String("acEditCut"))
            edit->cut();
        else if (name == QLatin1String("acEditCopy"))
            edit->copy();
        else if (name == QLatin1String("acEditPaste"))
            edit->paste();
        else if (name == QLatin1String("acEditDelete"))
            edit->textCursor().removeSelectedText();
        else
            edit->selectAll();
    };
    if (auto* te = qobject_cast<QTextEdit*>(w))
        run(te);
    else if (auto* pe = qobject_cast<QPlainTextEdit*>(w))
        run(pe);
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

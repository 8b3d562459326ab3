// The window exerciser: the whole program on a project with placed units,
// driven as a hurried user drives it. For a bounded number of actions, chosen
// by a seeded generator, it clicks, double-clicks, drags, right-clicks, turns
// the wheel, types keys and texts, pastes, runs menu commands, closes and
// resizes windows, over every window and dialog that comes up: the message
// boxes are answered at random, the file and print dialogs are cancelled (or,
// for Open, given the project again). Input goes through the window system's
// path, so that modality, popups and shortcuts work as for a user. After every
// action:
//   - a modal dialog belongs to the window the user works in (its chain of
//     parents leads there) and lies on top: no window that stays on top while
//     it does not, and under a window manager (the xcb platform) no other
//     window of the program above it in the stacking order;
//   - the program answers within a second (a watchdog thread: a second of the
//     interface thread's own time without an answer, or ten of the clock's, is
//     a hang and ends the run with status 3);
// and after the run the project file passes the database's integrity check
// and opens (zefrant-cli export), and the program folder's databases are as
// they were. The run lives in a temporary folder: home, settings, the user's
// data folder and the temporary files are all there, so nothing a dialog or a
// command does can write elsewhere. A crash, a hang or a finding prints the
// seed and the last actions.
//
// Environment: ZEFRANT_EXERCISE_SEED (the run to replay; default: from the
// clock), ZEFRANT_EXERCISE_ACTIONS (default 3000, or --actions N),
// ZEFRANT_EXERCISE_HANG_MS (default 1000, or --hang-ms N), ZEFRANT_EXERCISE_LOG
// (a file that gets every action), ZEFRANT_EXERCISE_TRACE_STACKING (under a
// window manager: the stacking order and the active window after each action
// while a modal dialog is up, into the log).
// Exit status: 0 clean, 1 a finding, 3 a hang; a crash ends it by its signal.
#include "catalogs/documents.h"
#include "clirun.h"
#include "common/globals.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "projectwindow/planpage.h"
#include "screenstacking.h"
#include "projectwindow/projectwindow.h"
#include "startup.h"
#include "storage/sqlite.h"
#include "worktracker.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <execinfo.h>
#include <ctime>
#include <memory>
#include <pthread.h>
#include <random>
#include <thread>
#include <unistd.h>

using namespace zf;

namespace {

// --- What the run did last, kept where a signal handler can write it out.

constexpr int LogLines = 40;
constexpr int LineSize = 256;
char g_lines[LogLines][LineSize];
std::atomic<int> g_written{0};
std::atomic<quint64> g_seed{0};
std::atomic<int> g_actions{0};
std::atomic<int> g_depth{0}; // actions under way, one inside the other's dialog
FILE* g_log = nullptr;

void writeOut(const char* s) {
    size_t left = std::strlen(s);
    while (left > 0) {
        const ssize_t n = ::write(2, s, left);
        if (n <= 0)
            return;
        s += n;
        left -= size_t(n);
    }
}

void writeNumber(quint64 v) {
    char buf[24];
    int i = int(sizeof buf) - 1;
    buf[i] = 0;
    do {
        buf[--i] = char('0' + v % 10);
        v /= 10;
    } while (v && i > 0);
    writeOut(buf + i);
}

void note(const QString& what) {
    const QByteArray line = QByteArray::number(g_actions.load()) +
                            (g_depth > 1 ? " (in " + QByteArray::number(g_depth - 1) + " dialog loops)" : "") +
                            ": " + what.toUtf8();
    const int slot = g_written.load() % LogLines;
    const int n = std::min<int>(int(line.size()), LineSize - 2);
    std::memcpy(g_lines[slot], line.constData(), size_t(n));
    g_lines[slot][n] = '\n';
    g_lines[slot][n + 1] = 0;
    g_written.fetch_add(1);
    if (g_log) {
        static const qint64 started =
            std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
        const qint64 at = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count() -
                          started;
        std::fprintf(g_log, "%8lld ", static_cast<long long>(at));
        std::fputs(g_lines[slot], g_log);
        std::fflush(g_log);
    }
}

// Async-signal-safe: only write(2) and the buffers above.
void tellFailure(const char* what) {
    writeOut("\nexerciser: ");
    writeOut(what);
    writeOut(" in the run of seed ");
    writeNumber(g_seed.load());
    writeOut(" after ");
    writeNumber(quint64(g_actions.load()));
    writeOut(" actions\nreplay: ZEFRANT_EXERCISE_SEED=");
    writeNumber(g_seed.load());
    writeOut(" ZEFRANT_EXERCISE_ACTIONS=");
    writeNumber(quint64(g_actions.load()) + 1);
    writeOut(" build/tests/window_exerciser\nlast actions:\n");
    const int written = g_written.load();
    for (int i = std::max(0, written - LogLines); i < written; ++i)
        writeOut(g_lines[i % LogLines]);
}

extern "C" void onFatalSignal(int sig) {
    const char* name = sig == SIGSEGV  ? "crash (SIGSEGV)"
                       : sig == SIGABRT ? "crash (SIGABRT)"
                       : sig == SIGBUS  ? "crash (SIGBUS)"
                       : sig == SIGFPE  ? "crash (SIGFPE)"
                                        : "crash (SIGILL)";
    tellFailure(name);
    writeOut("stack:\n");
    void* frames[64];
    backtrace_symbols_fd(frames, backtrace(frames, 64), 2);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// Qt's warnings go into the action log; those that tell of a fault of the
// program are findings.
QtMessageHandler g_previousHandler = nullptr;
std::atomic<int> g_faultWarnings{0};
QStringList* g_faultTexts = nullptr;

void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // What the offscreen platform cannot do is no news.
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    static const char* const faults[] = {"Recursive call detected", "Recursive repaint",
                                         "Cannot send events to objects owned by",
                                         "QObject::connect", "ASSERT", "Cannot create children"};
    for (const char* f : faults)
        if (text.contains(QLatin1String(f))) {
            g_faultWarnings.fetch_add(1);
            if (g_faultTexts && g_faultTexts->size() < 20)
                *g_faultTexts << QStringLiteral("action %1: Qt says: %2").arg(g_actions.load()).arg(text);
        }
    if (type != QtDebugMsg)
        note(QStringLiteral("  Qt: ") + text.left(200));
    if (g_previousHandler)
        g_previousHandler(type, context, text);
}

qint64 nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// --- The watchdog: the interface thread beats while it answers (also inside
// a dialog's loop). A silence in which that thread itself ran for longer than
// the limit is a hang; so is a silence of ten limits by the clock (a wait that
// never ends). A machine busy with other work delays the beats without the
// thread running, which is no hang.

qint64 threadCpuMs(clockid_t clock) {
    timespec t{};
    if (clock_gettime(clock, &t) != 0)
        return 0;
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

class Watchdog {
public:
    explicit Watchdog(int limitMs) : limit_(limitMs) {
        // The clock of the thread that makes the watchdog: the interface thread.
        if (pthread_getcpuclockid(pthread_self(), &clock_) != 0)
            clock_ = CLOCK_MONOTONIC;
    }
    ~Watchdog() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    void beat() {
        last_ = nowMs();
        lastCpu_ = threadCpuMs(clock_);
    }
    void watch(bool on) {
        beat();
        watching_ = on;
    }
    void start() {
        beat();
        thread_ = std::thread([this] {
            while (!stop_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (!watching_)
                    continue;
                const qint64 silent = nowMs() - last_;
                const qint64 ran = threadCpuMs(clock_) - lastCpu_;
                if (silent > limit_ && (ran > limit_ || silent > 10 * limit_)) {
                    char what[128];
                    std::snprintf(what, sizeof what,
                                  "hang (no answer for %lld ms, %lld ms of them running)",
                                  static_cast<long long>(silent), static_cast<long long>(ran));
                    tellFailure(what);
                    ::_exit(3);
                }
                const qint64 longest = longest_;
                if (silent > longest)
                    longest_ = silent;
            }
        });
    }
    // The longest silence seen, for the figures.
    qint64 longest() const { return longest_; }

private:
    const qint64 limit_;
    clockid_t clock_{};
    std::atomic<qint64> last_{0};
    std::atomic<qint64> lastCpu_{0};
    std::atomic<qint64> longest_{0};
    std::atomic<bool> watching_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Opening a document or a web page would start another program: the requests
// are taken here and counted.
class UrlSink : public QObject {
    Q_OBJECT
public:
    int opened = 0;
public slots:
    void open(const QUrl& url) {
        ++opened;
        note(QStringLiteral("  (would open %1)").arg(url.toString()));
    }
};

QString describe(const QWidget* w) {
    if (!w)
        return QStringLiteral("nothing");
    QString name = w->objectName();
    if (name.isEmpty())
        if (auto* b = qobject_cast<const QAbstractButton*>(w))
            name = b->text();
    if (name.isEmpty())
        name = w->accessibleName();
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString s = QString::fromLatin1(w->metaObject()->className());
    if (!name.isEmpty())
        s += QStringLiteral(" '") + name.left(40) + QLatin1Char('\'');
    const QWidget* top = w->window();
    if (top != w)
        s += QStringLiteral(" in ") + describe(top);
    return s;
}

// A window the user sees and may use: no tooltip, popup or splash.
bool workWindow(const QWidget* w) {
    if (!w->isWindow() || !w->isVisible() || w->windowHandle() == nullptr)
        return false;
    const Qt::WindowType type = w->windowType();
    return type != Qt::ToolTip && type != Qt::Popup && type != Qt::SplashScreen;
}

class Exerciser : public QObject {
    Q_OBJECT
public:
    Exerciser(Zefrant& z, Watchdog& dog, quint64 seed, int actions, QString project)
        : z_(z), dog_(dog), seed_(seed), rng_(seed), target_(actions),
          project_(std::move(project)) {}

    // An action is taken when an event loop is about to wait: the program is
    // idle, in its main loop or in a dialog's. Never inside an operation that
    // lets pending events through on its way (processEvents waits for none),
    // where no user is fast enough to get in.
    void start() {
        qApp->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                this, [this] {
                    if (!pending_) {
                        pending_ = true;
                        QTimer::singleShot(0, this, &Exerciser::tick);
                    }
                });
        pending_ = true;
        QTimer::singleShot(0, this, &Exerciser::tick);
    }

    // The window the user works in as a modal dialog shows (before the dialog
    // takes the activation): the window it has to belong to.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && w->isModal() && !expected_.contains(w)) {
                QWidget* work = WorkTracker::instance().window();
                expected_.insert(w, work == w ? nullptr : work);
            }
        } else if (event->type() == QEvent::Hide && watched->isWidgetType()) {
            expected_.remove(static_cast<QWidget*>(watched));
        }
        return QObject::eventFilter(watched, event);
    }

    int done() const { return done_; }
    const QSet<QString>& reached() const { return reached_; }
    const QStringList& findings() const { return findings_; }
    bool endedEarly() const { return endedEarly_; }

private:
    int below(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return below(100) < percent; }
    QPoint pointIn(const QRect& r) {
        return {r.left() + below(std::max(1, r.width())), r.top() + below(std::max(1, r.height()))};
    }

    void tick() {
        dog_.beat();
        pending_ = false;
        if (finishing_) {
            finishStep();
            return;
        }
        if (done_ >= target_ || !z_.mainWindow->isVisible()) {
            if (done_ < target_) {
                endedEarly_ = true;
                finding(QStringLiteral("the main window closed without Exit"));
            }
            finishing_ = true;
            note(QStringLiteral("-- the run ends; closing the program"));
            return;
        }
        // A dialog that the action under way opened is checked before it is used.
        checkModal();
        ++done_;
        g_actions = done_;
        // Each action draws from a generator of its own, made from the seed and
        // its number: when a replay meets the program in another state (a timer
        // came sooner), the actions after it are still the same.
        rng_.seed(seed_ * 0x9E3779B97F4A7C15ULL + quint64(done_));
        ++g_depth;
        QWidget* modal = QApplication::activeModalWidget();
        work_.push_back(modal ? QPointer<QWidget>(modal)
                              : QPointer<QWidget>(WorkTracker::instance().window()));
        act();
        work_.pop_back();
        --g_depth;
        dog_.beat();
        check();
    }

    void finding(const QString& what) {
        note(QStringLiteral("FINDING: ") + what);
        if (findings_.size() < 50) {
            findings_ << QStringLiteral("action %1: %2").arg(done_).arg(what);
            std::fprintf(stderr, "exerciser: finding at action %d (seed %llu): %s\n", done_,
                         static_cast<unsigned long long>(g_seed.load()), qPrintable(what));
        }
    }

    // --- Input through the window system, as the user's own.

    static QWindow* handleOf(QWidget* w) { return w ? w->window()->windowHandle() : nullptr; }
    static QPoint inWindow(QWidget* w, QPoint p) { return w->mapTo(w->window(), p); }

    void click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = {}) {
        if (QWindow* win = handleOf(w))
            QTest::mouseClick(win, button, mods, inWindow(w, at));
    }
    void doubleClick(QWidget* w, QPoint at) {
        if (QWindow* win = handleOf(w))
            QTest::mouseDClick(win, Qt::LeftButton, {}, inWindow(w, at));
    }
    void drag(QWidget* w, QPoint from, QPoint to) {
        QPointer<QWidget> guard(w);
        QWindow* win = handleOf(w);
        if (!win)
            return;
        const QPoint a = inWindow(w, from), b = inWindow(w, to);
        QPointer<QWindow> wg(win);
        QTest::mousePress(win, Qt::LeftButton, {}, a);
        const int steps = 1 + below(4);
        for (int i = 1; i <= steps && wg; ++i)
            QTest::mouseMove(wg, a + (b - a) * i / steps);
        if (wg)
            QTest::mouseRelease(wg, Qt::LeftButton, {}, b);
    }
    void key(QWidget* top, Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        if (QWindow* win = handleOf(top))
            QTest::keyClick(win, k, mods);
    }
    void text(QWidget* top, const QString& s) {
        for (const QChar c : s) {
            QWindow* win = handleOf(top);
            if (!win || top != activeTarget())
                return; // the typing opened something else
            if (c.unicode() < 128 && c.isPrint())
                QTest::keyClick(win, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, win, Qt::Key_unknown, QString(c), {});
        }
    }

    // The window that takes input now: a popup, else the modal dialog, else
    // the active window.
    static QWidget* activeTarget() {
        if (QWidget* p = QApplication::activePopupWidget())
            return p;
        if (QWidget* m = QApplication::activeModalWidget())
            return m;
        return QApplication::activeWindow();
    }

    // --- Choosing what to act on.

    static bool interesting(const QWidget* w) {
        if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
            qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
            qobject_cast<const QTabBar*>(w) || qobject_cast<const QMenuBar*>(w) ||
            qobject_cast<const QSlider*>(w) || qobject_cast<const PlanWidget*>(w))
            return true;
        // The viewports of lists, grids and memos.
        const QWidget* p = w->parentWidget();
        if (auto* view = qobject_cast<const QAbstractItemView*>(p))
            return view->viewport() == w;
        if (auto* memo = qobject_cast<const QPlainTextEdit*>(p))
            return memo->viewport() == w;
        if (auto* memo = qobject_cast<const QTextEdit*>(p))
            return memo->viewport() == w;
        return false;
    }

    static bool leadsToExit(const QWidget* w) {
        if (auto* b = qobject_cast<const QToolButton*>(w))
            if (b->defaultAction() && b->defaultAction()->objectName() == u"acFileExit")
                return true;
        return false;
    }

    QWidget* pickWidget(QWidget* top) {
        std::vector<QWidget*> candidates;
        std::vector<int> weights;
        int total = 0;
        const QRect area = top->rect();
        const QList<QWidget*> all = top->findChildren<QWidget*>();
        for (QWidget* w : all) {
            if (w->window() != top || !w->isVisible() || w->width() < 3 || w->height() < 3)
                continue;
            if (!QRect(w->mapTo(top, QPoint(0, 0)), w->size()).intersects(area) || leadsToExit(w))
                continue;
            const int weight = interesting(w) ? (w->isEnabled() ? 8 : 1) : 1;
            candidates.push_back(w);
            weights.push_back(weight);
            total += weight;
        }
        if (candidates.empty())
            return top;
        int r = below(total);
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (r < weights[i])
                return candidates[i];
            r -= weights[i];
        }
        return candidates.back();
    }

    // A point worth clicking in a widget: a tab, a menu title, a cell, a unit
    // of the plan, else anywhere in it.
    QPoint pointFor(QWidget* w) {
        if (auto* bar = qobject_cast<QTabBar*>(w); bar && bar->count() > 0)
            return bar->tabRect(below(bar->count())).center();
        if (auto* menus = qobject_cast<QMenuBar*>(w); menus && !menus->actions().isEmpty()) {
            const QList<QAction*> actions = menus->actions();
            return menus->actionGeometry(actions[below(int(actions.size()))]).center();
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(w->parentWidget());
            view && view->viewport() == w && view->model() && chance(80)) {
            QAbstractItemModel* m = view->model();
            const int rows = m->rowCount(view->rootIndex()), cols = m->columnCount(view->rootIndex());
            if (rows > 0 && cols > 0) {
                const QRect cell =
                    view->visualRect(m->index(below(rows), below(cols), view->rootIndex()));
                if (cell.intersects(w->rect()))
                    return pointIn(cell.intersected(w->rect()));
            }
        }
        if (auto* plan = qobject_cast<PlanWidget*>(w); plan && plan->plan().count() > 0 &&
                                                       chance(70)) {
            const PlanSymbol& s = plan->plan().object(below(plan->plan().count()));
            const QPointF p = plan->plan().toPixel(s.x, s.y);
            return QPoint(int(p.x()) + below(7) - 3, int(p.y()) + below(7) - 3);
        }
        return pointIn(w->rect());
    }

    // --- Test data: what a hurried user types and pastes.

    QString someText() {
        static const QStringList tokens = {
            QStringLiteral("0"),        QStringLiteral("-5"),         QStringLiteral("12"),
            QStringLiteral("0,5"),      QStringLiteral("0.5"),        QStringLiteral("1 234,5"),
            QStringLiteral("1e38"),     QStringLiteral("99999999999"), QStringLiteral("-0"),
            QStringLiteral("abc"),      QStringLiteral("Hala"),       QStringLiteral("'; drop"),
            QStringLiteral("\"q\""),    QStringLiteral("%_*"),        QStringLiteral("Praha"),
            QStringLiteral("Žďár"),     QStringLiteral("Łódź"),       QStringLiteral("Größe"),
            QStringLiteral("Тепло"),    QStringLiteral("Brick"),      QStringLiteral("Window"),
            QStringLiteral("1/0"),      QStringLiteral("NaN"),        QStringLiteral("inf"),
        };
        if (chance(60))
            return tokens[below(int(tokens.size()))];
        static const QString letters = QStringLiteral("abcxyz0123456789 ,.-+ěščřž");
        QString s;
        const int n = chance(10) ? 100 + below(300) : 1 + below(10);
        for (int i = 0; i < n; ++i)
            s += letters[below(int(letters.size()))];
        return s;
    }

    QString clipboardText() {
        switch (below(5)) {
        case 0:
            return QStringLiteral("first line\nsecond line\r\nthird");
        case 1:
            return QString(300 + below(400), QLatin1Char('x'));
        case 2:
            return QStringLiteral("12,5\t7\n3");
        case 3:
            return QStringLiteral("Цех № 7 – Brno, \"Nord\" 'Süd'");
        default:
            return someText();
        }
    }

    // --- The actions.

    void act() {
        QWidget* popup = QApplication::activePopupWidget();
        QWidget* modal = QApplication::activeModalWidget();
        if (popup) {
            actOnPopup(popup);
            return;
        }
        if (modal) {
            if (modal == lastModal_) {
                ++sameModal_;
            } else {
                lastModal_ = modal;
                sameModal_ = 0;
            }
            // A dialog the actions do not leave is left by Escape, then for good.
            if (sameModal_ > 80) {
                note(QStringLiteral("Escape, then reject: %1 up for 80 actions").arg(describe(modal)));
                key(modal, Qt::Key_Escape);
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    if (d == modal)
                        d->reject();
                sameModal_ = 0;
                return;
            }
            actOnModal(modal);
            return;
        }
        lastModal_ = nullptr;
        actOnWindows();
    }

    void actOnPopup(QWidget* popup) {
        if (auto* menu = qobject_cast<QMenu*>(popup)) {
            const int k = below(100);
            QList<QAction*> items;
            for (QAction* a : menu->actions())
                if (!a->isSeparator() && a->isVisible() && a->objectName() != u"acFileExit")
                    items << a;
            if (k < 60 && !items.isEmpty()) {
                QAction* a = items[below(int(items.size()))];
                note(QStringLiteral("menu: click '%1' (%2)").arg(a->text(), a->objectName()));
                click(menu, menu->actionGeometry(a).center());
            } else if (k < 75) {
                note(QStringLiteral("menu: Escape"));
                key(menu, Qt::Key_Escape);
            } else if (k < 90) {
                const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right};
                const Qt::Key kk = keys[below(4)];
                note(QStringLiteral("menu: key %1").arg(QKeySequence(kk).toString()));
                key(menu, kk);
            } else if (menu->activeAction() && menu->activeAction()->objectName() != u"acFileExit") {
                note(QStringLiteral("menu: Return on '%1'").arg(menu->activeAction()->text()));
                key(menu, Qt::Key_Return);
            } else {
                note(QStringLiteral("menu: click outside"));
                clickOutside(menu);
            }
            return;
        }
        // A drop-down's list.
        auto* view = popup->findChild<QAbstractItemView*>();
        const int k = below(100);
        if (view && view->model() && view->model()->rowCount() > 0 && k < 60) {
            const QModelIndex i = view->model()->index(below(view->model()->rowCount()), 0);
            view->scrollTo(i);
            const QRect r = view->visualRect(i);
            note(QStringLiteral("list: click row %1 '%2'").arg(i.row()).arg(i.data().toString().left(40)));
            click(view->viewport(), r.center());
        } else if (k < 75) {
            note(QStringLiteral("list: Escape"));
            key(popup, Qt::Key_Escape);
        } else if (k < 95) {
            const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_PageDown};
            const Qt::Key kk = keys[below(4)];
            note(QStringLiteral("list: key %1").arg(QKeySequence(kk).toString()));
            key(popup, kk);
        } else {
            note(QStringLiteral("list: click outside"));
            clickOutside(popup);
        }
    }

    void clickOutside(QWidget* popup) {
        QWidget* under = popup->parentWidget() ? popup->parentWidget()->window() : nullptr;
        if (!under || under == popup)
            under = z_.mainWindow.get();
        if (QWindow* win = under->windowHandle()) {
            const QPoint p = pointIn(under->rect());
            if (!QRect(popup->mapTo(under, QPoint()), popup->size()).contains(p) &&
                !leadsToExit(under->childAt(p)))
                QTest::mouseClick(win, Qt::LeftButton, {}, p);
            else
                key(popup, Qt::Key_Escape);
        }
    }

    void actOnModal(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            const int k = below(100);
            if (k < 80 && !buttons.isEmpty()) {
                QAbstractButton* b = buttons[below(int(buttons.size()))];
                note(QStringLiteral("box '%1': click %2").arg(box->text().left(60), b->text()));
                click(b, b->rect().center());
            } else if (k < 90) {
                note(QStringLiteral("box '%1': Return").arg(box->text().left(60)));
                key(box, Qt::Key_Return);
            } else {
                note(QStringLiteral("box '%1': Escape").arg(box->text().left(60)));
                key(box, Qt::Key_Escape);
            }
            return;
        }
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            if (files->acceptMode() == QFileDialog::AcceptOpen && QFile::exists(project_) &&
                chance(40)) {
                note(QStringLiteral("open dialog: the project"));
                files->selectFile(project_);
                key(files, Qt::Key_Return);
            } else {
                note(QStringLiteral("file dialog: cancelled"));
                if (chance(50)) {
                    key(files, Qt::Key_Escape);
                } else if (auto* box = files->findChild<QDialogButtonBox*>();
                           box && box->button(QDialogButtonBox::Cancel)) {
                    QPushButton* b = box->button(QDialogButtonBox::Cancel);
                    click(b, b->rect().center());
                } else {
                    files->reject();
                }
            }
            return;
        }
        // Printing and its page setup are never confirmed: no paper, no file.
        if (qobject_cast<QPrintDialog*>(modal) || qobject_cast<QPageSetupDialog*>(modal)) {
            note(QStringLiteral("%1: cancelled").arg(describe(modal)));
            if (chance(50))
                key(modal, Qt::Key_Escape);
            else
                qobject_cast<QDialog*>(modal)->reject();
            return;
        }
        if (qobject_cast<QProgressDialog*>(modal)) {
            note(QStringLiteral("waits for %1").arg(describe(modal)));
            return;
        }
        // The program's own dialogs and the preview: used as any window, and
        // left now and then.
        const int k = below(100);
        if (k < 6) {
            note(QStringLiteral("%1: Escape").arg(describe(modal)));
            key(modal, Qt::Key_Escape);
        } else if (k < 10) {
            QList<QPushButton*> buttons;
            for (QPushButton* b : modal->findChildren<QPushButton*>())
                if (b->isVisible() && b->isEnabled() && b->window() == modal)
                    buttons << b;
            if (!buttons.isEmpty()) {
                QPushButton* b = buttons[below(int(buttons.size()))];
                note(QStringLiteral("click %1").arg(describe(b)));
                click(b, b->rect().center());
            }
        } else {
            actInside(modal);
        }
    }

    void actOnWindows() {
        std::vector<QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (workWindow(w) && w->isEnabled())
                windows.push_back(w);
        if (windows.empty())
            return;
        QWidget* active = QApplication::activeWindow();
        QWidget* top = active && workWindow(active) && chance(75)
                           ? active
                           : windows[size_t(below(int(windows.size())))];
        if (top != active) {
            note(QStringLiteral("activate %1").arg(describe(top)));
            top->raise();
            top->activateWindow();
            QApplication::setActiveWindow(top);
            // The user works there now.
            if (!work_.empty())
                work_.back() = WorkTracker::instance().window();
        }
        const int k = below(100);
        if (k < 12) {
            menuCommand();
        } else if (k < 14) {
            closeWindow(windows);
        } else if (k < 15) {
            QWidget* main = z_.mainWindow.get();
            const QSize size(800 + below(800), 560 + below(440));
            note(QStringLiteral("resize the main window to %1x%2").arg(size.width()).arg(size.height()));
            if (main->isMaximized())
                main->showNormal();
            main->resize(size);
        } else {
            actInside(top);
        }
    }

    void menuCommand() {
        z_.mainWindow->updateActions();
        QList<QAction*> commands;
        for (QAction* a : z_.mainWindow->findChildren<QAction*>())
            if (a->objectName().startsWith(QLatin1String("ac")) && a->isVisible() &&
                a->isEnabled() && a->objectName() != u"acFileExit" && !a->menu())
                commands << a;
        if (commands.isEmpty())
            return;
        QAction* a = commands[below(int(commands.size()))];
        note(QStringLiteral("command %1 '%2'").arg(a->objectName(), a->text()));
        a->trigger();
    }

    void closeWindow(const std::vector<QWidget*>& windows) {
        // Only what the user can close: a window with its close button.
        std::vector<QWidget*> others;
        for (QWidget* w : windows)
            if (w != z_.mainWindow.get() &&
                (!(w->windowFlags() & Qt::CustomizeWindowHint) ||
                 (w->windowFlags() & Qt::WindowCloseButtonHint)))
                others.push_back(w);
        if (!others.empty() && chance(70)) {
            QWidget* w = others[size_t(below(int(others.size())))];
            note(QStringLiteral("close %1").arg(describe(w)));
            w->close();
        } else if (QMdiSubWindow* frame = z_.projectWindows->frame(); frame && frame->isVisible()) {
            note(QStringLiteral("close the project window"));
            frame->close();
        }
    }

    void actInside(QWidget* top) {
        // A window the user acts in is active: a click there would make it so.
        if (QApplication::activeWindow() != top && !QApplication::activePopupWidget()) {
            top->activateWindow();
            QApplication::setActiveWindow(top);
        }
        const int k = below(100);
        if (k < 40) {
            QWidget* w = pickWidget(top);
            const QPoint p = pointFor(w);
            const bool shift = chance(5);
            note(QStringLiteral("click %1 at %2,%3%4")
                     .arg(describe(w))
                     .arg(p.x())
                     .arg(p.y())
                     .arg(shift ? QStringLiteral(" with Shift") : QString()));
            click(w, p, Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier);
        } else if (k < 48) {
            QWidget* w = pickWidget(top);
            const QPoint p = pointFor(w);
            note(QStringLiteral("double-click %1 at %2,%3").arg(describe(w)).arg(p.x()).arg(p.y()));
            doubleClick(w, p);
        } else if (k < 54) {
            QWidget* w = pickWidget(top);
            if (auto* plan = top->findChild<PlanWidget*>(); plan && plan->isVisible() && chance(60))
                w = plan;
            const QPoint from = pointFor(w);
            const QPoint to = chance(80) ? pointIn(w->rect()) : from + QPoint(below(9) - 4, below(9) - 4);
            note(QStringLiteral("drag %1 from %2,%3 to %4,%5")
                     .arg(describe(w))
                     .arg(from.x())
                     .arg(from.y())
                     .arg(to.x())
                     .arg(to.y()));
            drag(w, from, to);
        } else if (k < 57) {
            QWidget* w = pickWidget(top);
            const QPoint p = pointFor(w);
            note(QStringLiteral("right-click %1 at %2,%3").arg(describe(w)).arg(p.x()).arg(p.y()));
            click(w, p, Qt::RightButton);
        } else if (k < 59) {
            QWidget* w = pickWidget(top);
            const QPoint p = pointFor(w);
            const int delta = chance(50) ? 120 : -120;
            const bool ctrl = chance(30);
            note(QStringLiteral("wheel %1 over %2").arg(delta).arg(describe(w)));
            QWheelEvent wheel(p, w->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton,
                              ctrl ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(w, &wheel);
        } else if (k < 88) {
            pressKey(top);
        } else if (k < 96) {
            const QString s = someText();
            note(QStringLiteral("type '%1' into %2").arg(s.left(60), describe(QApplication::focusWidget())));
            text(top, s);
        } else {
            const QString s = clipboardText();
            QApplication::clipboard()->setText(s);
            note(QStringLiteral("paste '%1' into %2")
                     .arg(QString(s).replace(QLatin1Char('\n'), QLatin1String("\\n")).left(60),
                          describe(QApplication::focusWidget())));
            key(top, Qt::Key_V, Qt::ControlModifier);
        }
    }

    void pressKey(QWidget* top) {
        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            int weight;
        };
        static const Key keys[] = {
            {Qt::Key_Tab, {}, 10},          {Qt::Key_Backtab, Qt::ShiftModifier, 4},
            {Qt::Key_Return, {}, 10},       {Qt::Key_Enter, Qt::KeypadModifier, 2},
            {Qt::Key_Escape, {}, 4},        {Qt::Key_Up, {}, 5},
            {Qt::Key_Down, {}, 5},          {Qt::Key_Left, {}, 3},
            {Qt::Key_Right, {}, 3},         {Qt::Key_Home, {}, 2},
            {Qt::Key_End, {}, 2},           {Qt::Key_PageUp, {}, 1},
            {Qt::Key_PageDown, {}, 1},      {Qt::Key_Delete, {}, 4},
            {Qt::Key_Backspace, {}, 4},     {Qt::Key_Space, {}, 4},
            {Qt::Key_F2, {}, 2},            {Qt::Key_F4, {}, 1},
            {Qt::Key_Down, Qt::AltModifier, 1},
            {Qt::Key_Z, Qt::ControlModifier, 3},
            {Qt::Key_Y, Qt::ControlModifier, 2},
            {Qt::Key_C, Qt::ControlModifier, 1},
            {Qt::Key_X, Qt::ControlModifier, 1},
            {Qt::Key_A, Qt::ControlModifier, 1},
            {Qt::Key_S, Qt::ControlModifier, 2},
            {Qt::Key_O, Qt::ControlModifier, 1},
            {Qt::Key_P, Qt::ControlModifier, 1},
            {Qt::Key_K, Qt::ControlModifier, 1},
            {Qt::Key_Plus, {}, 1},          {Qt::Key_Minus, {}, 1},
            {Qt::Key_Tab, Qt::ControlModifier, 1},
            {Qt::Key_Up, Qt::ShiftModifier, 1},
        };
        int total = 0;
        for (const Key& k : keys)
            total += k.weight;
        int r = below(total);
        const Key* chosen = &keys[0];
        for (const Key& k : keys) {
            if (r < k.weight) {
                chosen = &k;
                break;
            }
            r -= k.weight;
        }
        note(QStringLiteral("key %1 to %2")
                 .arg(QKeySequence(chosen->key | chosen->mods).toString(),
                      describe(QApplication::focusWidget() ? QApplication::focusWidget() : top)));
        key(top, chosen->key, chosen->mods);
    }

    // --- After each action.

    void check() {
        checkModal();
        if (xcb_ && traceStacking_ && QApplication::activeModalWidget())
            note(QStringLiteral("  stacking: ") + stackingNames());
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w->windowType() == Qt::ToolTip)
                continue;
            QString name = QString::fromLatin1(w->metaObject()->className());
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                name += QLatin1Char(' ') + w->objectName();
            reached_.insert(name);
        }
        if (z_.session->wizard().visible())
            reached_.insert(QStringLiteral("zf::TfrmZInput page %1").arg(z_.session->wizard().activePage()));
        if (TfrmZFDraw* pw = z_.projectWindows->window(); pw && pw->isVisible())
            reached_.insert(QStringLiteral("zf::TfrmZFDraw page %1").arg(pw->pages()->currentIndex()));
    }

    // The window a dialog belongs to: its parent's window, else the window it
    // is transient for.
    static QWidget* ownerOf(const QWidget* w) {
        if (QWidget* p = w->parentWidget())
            return p->window();
        if (QWindow* handle = w->windowHandle(); handle && handle->transientParent())
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->windowHandle() == handle->transientParent())
                    return top;
        return nullptr;
    }
    static bool ownedBy(const QWidget* dialog, const QWidget* owner) {
        int guard = 0;
        for (const QWidget* w = dialog; w && guard < 20; w = ownerOf(w), ++guard)
            if (w == owner)
                return true;
        return false;
    }

    // A modal dialog, once it is up: over the window the user worked in when
    // it came, and on top of every other window.
    void checkModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            stackingChecked_ = nullptr;
            return;
        }
        if (modal != seenModal_) {
            seenModal_ = modal;
            seenAt_ = nowMs();
            QString name = QString::fromLatin1(modal->metaObject()->className());
            if (!modal->objectName().isEmpty() && !modal->objectName().startsWith(QLatin1String("qt_")) &&
                modal->objectName() != name)
                name += QLatin1Char(' ') + modal->objectName();
            reached_.insert(name);
            QWidget* work = expected_.value(modal).data();
            if (work && work != modal && work->isVisible() && WorkTracker::isWorkWindow(work) &&
                !ownedBy(modal, work))
                finding(QStringLiteral("the modal %1 does not belong to %2, where the user works, "
                                       "but to %3")
                            .arg(describe(modal), describe(work), describe(ownerOf(modal))));
            // A dialog stays on top of the window it belongs to, so one that
            // belongs to a window on top is on top as well.
            bool onTop = false;
            int guard = 0;
            for (const QWidget* w = modal; w && guard < 20; w = ownerOf(w), ++guard)
                onTop = onTop || (w->windowFlags() & Qt::WindowStaysOnTopHint);
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w == modal || !w->isVisible() || !WorkTracker::isWorkWindow(w) || onTop ||
                    !(w->windowFlags() & Qt::WindowStaysOnTopHint) || ownedBy(modal, w))
                    continue;
                finding(QStringLiteral("the modal %1 lies under %2, which stays on top")
                            .arg(describe(modal), describe(w)));
            }
        }
        // Under a window manager: the stacking order it keeps, once the dialog
        // has been up for a moment.
        if (xcb_ && stackingChecked_ != modal && nowMs() - seenAt_ > 300) {
            stackingChecked_ = modal;
            checkStacking(modal);
        }
    }

    // A window of the screen by its widget, else by its id.
    static QString windowName(quint64 id) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowHandle() && quint64(w->windowHandle()->winId()) == id)
                return describe(w);
        return QStringLiteral("0x%1").arg(id, 0, 16);
    }

    // The stacking order as names, bottom to top, with the active window.
    static QString stackingNames() {
        QStringList names;
        for (quint64 id : zf::test::screenStacking())
            names << windowName(id);
        const quint64 active = zf::test::activeScreenWindow();
        const QString activeName = active ? windowName(active) : QStringLiteral("none");
        return names.join(QStringLiteral(", ")) + QStringLiteral("; active: ") + activeName;
    }

    void checkStacking(QWidget* modal) {
        QWindow* handle = modal->windowHandle();
        if (!handle)
            return;
        const QList<quint64> order = zf::test::screenStacking();
        const qsizetype at = order.indexOf(quint64(handle->winId()));
        if (at < 0)
            return; // not managed (yet)
        for (QWidget* w : QApplication::topLevelWidgets()) {
            // A window of the dialog's own (the new item's window over the
            // catalog) lies over it by right.
            if (w == modal || !w->isVisible() || !WorkTracker::isWorkWindow(w) || !w->windowHandle() ||
                ownedBy(w, modal))
                continue;
            if (order.indexOf(quint64(w->windowHandle()->winId())) > at)
                finding(QStringLiteral("the modal %1 lies under %2 on the screen (bottom to top: %3)")
                            .arg(describe(modal), describe(w), stackingNames()));
        }
    }

    // --- The end: every dialog answered, then the program closed as the user
    // closes it (the save question answered Yes or No at random).

    void finishStep() {
        if (++closing_ > 400) {
            finding(QStringLiteral("the program could not be closed"));
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            finishing_ = false;
            return;
        }
        if (QWidget* popup = QApplication::activePopupWidget()) {
            note(QStringLiteral("end: Escape on %1").arg(describe(popup)));
            key(popup, Qt::Key_Escape);
            if (QApplication::activePopupWidget() == popup)
                popup->close();
            return;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                QList<QAbstractButton*> buttons;
                for (QAbstractButton* b : box->buttons())
                    if (box->buttonRole(b) != QMessageBox::RejectRole || box->buttons().size() == 1)
                        buttons << b;
                if (!buttons.isEmpty()) {
                    QAbstractButton* b = buttons[below(int(buttons.size()))];
                    note(QStringLiteral("end: box '%1': %2").arg(box->text().left(60), b->text()));
                    click(b, b->rect().center());
                    return;
                }
            }
            if (qobject_cast<QProgressDialog*>(modal))
                return;
            note(QStringLiteral("end: reject %1").arg(describe(modal)));
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->reject();
            else
                modal->close();
            return;
        }
        if (z_.mainWindow->isVisible()) {
            note(QStringLiteral("end: close the main window"));
            z_.mainWindow->close();
            return;
        }
        finishing_ = false;
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    Zefrant& z_;
    Watchdog& dog_;
    const quint64 seed_;
    std::mt19937_64 rng_;
    const int target_;
    const QString project_;
    int done_ = 0;
    bool pending_ = false;
    bool finishing_ = false;
    bool endedEarly_ = false;
    int closing_ = 0;
    QPointer<QWidget> lastModal_;
    int sameModal_ = 0;
    // The window the user worked in (or the modal dialog) as each action under
    // way began, the innermost last.
    std::vector<QPointer<QWidget>> work_;
    QHash<QWidget*, QPointer<QWidget>> expected_;
    QPointer<QWidget> seenModal_;
    QPointer<QWidget> stackingChecked_;
    qint64 seenAt_ = 0;
    const bool xcb_ = QGuiApplication::platformName() == u"xcb";
    const bool traceStacking_ = qEnvironmentVariableIsSet("ZEFRANT_EXERCISE_TRACE_STACKING");
    QSet<QString> reached_;
    QStringList findings_;
};

using CliRun = zf::test::CliRun;

CliRun cli(const QStringList& args) {
    return zf::test::runCliProcess(args, 120000);
}

// The project of the run: a hall with placed units, made by the tool.
bool makeProject(const QString& file) {
    const QString designs = QStringLiteral(ZEFRANT_DESIGNS "/");
    const CliRun steps[] = {
        cli({QStringLiteral("new"), file}),
        cli({QStringLiteral("input"), file, designs + QStringLiteral("ventilation.json")}),
        cli({QStringLiteral("units"), file, designs + QStringLiteral("ventilation-units.json")}),
    };
    for (const CliRun& r : steps)
        if (r.status != 0) {
            std::fprintf(stderr, "exerciser: the project could not be made: %s\n",
                         r.err.constData());
            return false;
        }
    return true;
}

quint64 envNumber(const char* name, quint64 fallback) {
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? v : fallback;
}

// What a run finds wrong with a database file: the engine's integrity check.
QString integrityOf(const QString& file) {
    try {
        Database db;
        Database::OpenOptions o;
        o.readOnly = true;
        o.applicationId = ProjectApplicationId;
        db.open(file, o);
        Statement check(db, QStringLiteral("PRAGMA integrity_check"));
        const QString result = check.step() ? check.columnText(0) : QString();
        return result == u"ok" ? QString() : result;
    } catch (const DbError& e) {
        return e.message();
    }
}

QByteArray fileDigest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

int main(int argc, char** argv) {
    // Everything the run writes stays in its own folder: home (where the file
    // dialogs keep their state), settings, the user's data folder, temporary
    // files. The folder goes when the run ends.
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "exerciser: no temporary folder\n");
        return 1;
    }
    const QString home = dir.filePath(QStringLiteral("home"));
    for (const char* sub : {"home", "home/.config", "home/.local/share", "home/.cache", "user",
                            "common", "temp"})
        QDir().mkpath(dir.filePath(QLatin1String(sub)));
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home + QStringLiteral("/.cache")));
    qputenv("TMPDIR", QFile::encodeName(dir.filePath(QStringLiteral("temp"))));
    qputenv("ZEFRANT_USER_DATA", QFile::encodeName(dir.filePath(QStringLiteral("user"))));
    qputenv("ZEFRANT_COMMON_APPDATA", QFile::encodeName(dir.filePath(QStringLiteral("common"))));
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zefrant"));
    QApplication::setOrganizationName(QStringLiteral("Quadrel"));

    // The defaults come from the command line (the test's), the variables win.
    quint64 defaultSeed =
        quint64(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000000ULL;
    int defaultActions = 3000, defaultHangMs = 1000;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--actions")
            defaultActions = args[i + 1].toInt();
        else if (args[i] == u"--hang-ms")
            defaultHangMs = args[i + 1].toInt();
        else if (args[i] == u"--seed")
            defaultSeed = args[i + 1].toULongLong();
    }
    const quint64 seed = envNumber("ZEFRANT_EXERCISE_SEED", defaultSeed);
    const int actions = int(envNumber("ZEFRANT_EXERCISE_ACTIONS", quint64(defaultActions)));
    const int hangMs = int(envNumber("ZEFRANT_EXERCISE_HANG_MS", quint64(defaultHangMs)));
    g_seed = seed;
    if (const QString log = qEnvironmentVariable("ZEFRANT_EXERCISE_LOG"); !log.isEmpty())
        g_log = std::fopen(QFile::encodeName(log).constData(), "w");
    for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        std::signal(sig, onFatalSignal);
    QStringList qtFaults;
    g_faultTexts = &qtFaults;
    g_previousHandler = qInstallMessageHandler(onQtMessage);
    std::printf("exerciser: seed %llu, %d actions\n", static_cast<unsigned long long>(seed), actions);
    std::fflush(stdout);

    const QString project = dir.filePath(QStringLiteral("Hall 7.zfp"));
    if (!makeProject(project))
        return 1;
    // The program folder's databases are only read.
    const QString programDb = QStringLiteral(ZEFRANT_PROGRAM_DIR "/DB/");
    const QStringList readOnlyFiles = {programDb + QStringLiteral("ZF.zft"),
                                       programDb + QStringLiteral("ZFData.zft")};
    QList<QByteArray> digests;
    for (const QString& f : readOnlyFiles)
        digests << fileDigest(f);

    // The user's settings: a language, the hints switch of the seed, the
    // folders of the file dialogs.
    std::mt19937_64 setup(seed ^ 0x5eedULL);
    const int languages[] = {BaseCZ, BaseEN, BaseGE, BasePL, BaseRU};
    const int base = languages[setup() % 5];
    const QString settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    {
        QSettings s(settingsFile, QSettings::IniFormat);
        const QString key = QStringLiteral("Software/Quadrel/Zefrant/1.0/General/");
        s.setValue(key + QStringLiteral("Language"), languageCodeOfBase(base));
        s.setValue(key + QStringLiteral("ShowHints"), QString::number(int(setup() % 2)));
        s.setValue(key + QStringLiteral("MRUFolder"), dir.path());
        s.setValue(key + QStringLiteral("ExportFolder"), dir.path());
        s.sync();
    }
    // A system of the Central European code page now and then: Russian then
    // brings its warning.
    if (setup() % 4 == 0)
        setSystemCodePage(1250);

    // Documents and web pages are asked for, never opened.
    UrlSink urls;
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &urls, "open");
    setDocumentOpener([&urls](const QString& path) {
        urls.open(QUrl::fromLocalFile(path));
        return QFileInfo(path).isFile();
    });

    Watchdog dog(hangMs);
    dog.start();
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&dog] { dog.beat(); });
    heartbeat.start(50);

    QElapsedTimer clock;
    clock.start();
    auto z = std::make_unique<Zefrant>();
    Zefrant::Options o;
    o.settingsFile = settingsFile;
    o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
    o.askLanguage = [base] { return base; };
    dog.watch(true);
    // The boxes of the start (the code page's warning under Russian) come
    // before the run: they are answered as a user answers them, with Return.
    QTimer startBoxes;
    QObject::connect(&startBoxes, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            box && box->isVisible())
            QTest::keyClick(box, Qt::Key_Return);
    });
    startBoxes.start(100);
    const bool started = z->start({project}, o);
    startBoxes.stop();
    if (!started) {
        std::fprintf(stderr, "exerciser: the program did not start\n");
        return 1;
    }
    if (z->session->currentFile() != project) {
        std::fprintf(stderr, "exerciser: the project did not open\n");
        return 1;
    }
    Exerciser run(*z, dog, seed, actions, project);
    run.start();
    QApplication::exec();
    z->finish();
    z.reset();
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    setDocumentOpener({});
    dog.watch(false);
    heartbeat.stop();
    const qint64 elapsed = clock.elapsed();

    QStringList findings = run.findings();
    findings += qtFaults;
    // The project, whatever the run did to it, passes the check and opens.
    if (const QString damage = integrityOf(project); !damage.isEmpty())
        findings << QStringLiteral("after the run: the project fails the integrity check: %1").arg(damage);
    const CliRun exported = cli({QStringLiteral("export"), project});
    if (exported.status != 0 || !QJsonDocument::fromJson(exported.out).isObject())
        findings << QStringLiteral("after the run: the project does not open: %1")
                        .arg(QString::fromUtf8(exported.err).trimmed());
    for (qsizetype i = 0; i < readOnlyFiles.size(); ++i)
        if (fileDigest(readOnlyFiles[i]) != digests[i])
            findings << QStringLiteral("after the run: %1 has changed").arg(readOnlyFiles[i]);

    QStringList reached(run.reached().begin(), run.reached().end());
    reached.sort();
    std::printf("exerciser: seed %llu, language %s: %d actions in %.1f s, %lld windows, dialogs "
                "and pages reached, %d documents asked for, longest silence %lld ms, crashes 0, "
                "hangs 0, findings %lld\n",
                static_cast<unsigned long long>(seed), qPrintable(languageCodeOfBase(base)),
                run.done(), double(elapsed) / 1000.0, static_cast<long long>(reached.size()),
                urls.opened, static_cast<long long>(dog.longest()),
                static_cast<long long>(findings.size()));
    std::printf("exerciser: reached: %s\n", qPrintable(reached.join(QStringLiteral("; "))));
    for (const QString& f : findings)
        std::printf("exerciser: FINDING %s\n", qPrintable(f));
    std::fflush(stdout);
    if (!findings.isEmpty()) {
        tellFailure("findings");
        return 1;
    }
    return 0;
}

#include "exerciser.moc"

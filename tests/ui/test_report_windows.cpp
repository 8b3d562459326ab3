// The windows of the report output under the offscreen platform: the setup
// dialog, the preview and the progress window.
#include "i18n/language.h"
#include "report/reportoutput.h"
#include "reportoutput.h"
#include "testsupport.h"

#include "common/globals.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace zf;
using zf::test::TestDialogs;

namespace {

ResolvedReport smallReport() {
    ResolvedReport r;
    r.title = QStringLiteral("Hall 9");
    r.fonts = QStringList{QStringLiteral("Liberation Sans")};
    r.headerLeft = QStringLiteral("Hall 9");
    ResolvedPage page;
    ResolvedBlock b;
    b.text = QStringLiteral("The project covers heating of the building.");
    page.blocks.push_back(b);
    r.pages.push_back(page);
    return r;
}

// Runs check on the modal window that opens next. It is waited for (a loaded
// machine takes its time to build a preview); one that never comes is a failure.
template <class W> void onNextModal(std::function<void(W*)> check, int waitedMs = 0) {
    QTimer::singleShot(50, [check, waitedMs] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            check(w);
            return;
        }
        if (waitedMs < 20000) {
            onNextModal<W>(check, waitedMs + 50);
            return;
        }
        ADD_FAILURE() << "no modal window of the expected class";
        if (QWidget* any = QApplication::activeModalWidget())
            any->close();
    });
}

class ReportWindows : public ::testing::Test {
protected:
    void SetUp() override {
        setLanguage(BaseEN);
        setDialogs(&dlg);
    }
    void TearDown() override { setDialogs(nullptr); }
    TestDialogs dlg;
};

TEST_F(ReportWindows, SetupDialogOffersPreviewPrinterFilesAndTheLanguageInTheLanguage) {
    for (int base : {BaseEN, BaseCZ, BaseGE, BasePL, BaseRU}) {
        setLanguage(base);
        ReportSetupDialog d;
        EXPECT_EQ(d.windowTitle(), LanguageText(3030));
        if (base != BaseEN) {
            EXPECT_NE(d.windowTitle(), QStringLiteral("Zefrant Output Options")) << base;
        }
        EXPECT_TRUE(d.rdPreview->isChecked()) << "the preview is preselected";
        EXPECT_EQ(d.destination(), ReportDestination::Preview);
        for (QRadioButton* rb : {d.rdPreview, d.rdPrinter, d.rdPdfFile, d.rdRtfFile}) {
            EXPECT_FALSE(rb->accessibleName().isEmpty());
            EXPECT_FALSE(rb->accessibleName().contains(u'&'));
        }
        EXPECT_EQ(d.gbOutput->accessibleName(), LanguageText(3201)) << "the group has a name";
        EXPECT_EQ(d.gbOutput->title(), LanguageText(3201));
        EXPECT_EQ(d.lbReportLanguage->buddy(), d.cbReportLanguage);
        EXPECT_FALSE(d.cbReportLanguage->accessibleName().isEmpty());
        EXPECT_FALSE(d.cbReportLanguage->accessibleName().contains(u'&'));
        ASSERT_EQ(d.cbReportLanguage->count(), 5) << "every language, whatever the windows show";
        EXPECT_EQ(d.language(), languageCodeOfBase(base)) << "the windows' language first";
        EXPECT_EQ(d.cbReportLanguage->itemText(2), QString(LanguageText(84)).remove(u'&'));
        d.show();
        EXPECT_GE(d.width(), d.rdRtfFile->sizeHint().width()) << "every choice fits";
        // The title fits the title bar beside its icon and its three buttons.
        QFont bold = d.font();
        bold.setBold(true);
        EXPECT_GE(d.width(), QFontMetrics(bold).horizontalAdvance(d.windowTitle()) +
                                 4 * d.style()->pixelMetric(QStyle::PM_TitleBarHeight))
            << base;
        // A window manager draws the title bold, beside the bar's icon and its
        // buttons (minimize, maximize, close), each about as wide as the bar.
                const QFontMetrics title(bold);
        EXPECT_GE(d.width(), title.horizontalAdvance(d.windowTitle()) + 4 * title.height())
            << "the title is not cut off";
        if (qEnvironmentVariableIsSet("ZEFRANT_GRAB"))
            d.grab().save(QStringLiteral("/tmp/setup-%1.png").arg(languageCodeOfBase(base)));
        d.rdRtfFile->click();
        EXPECT_EQ(d.destination(), ReportDestination::RtfFile);
        d.setLanguage(QStringLiteral("GE"));
        EXPECT_EQ(d.language(), QStringLiteral("GE"));
        d.setLanguage(QStringLiteral("SL"));
        EXPECT_EQ(d.language(), QStringLiteral("EN")) << "no Slovak report: the English one";
    }
    setLanguage(BaseEN);
}

TEST_F(ReportWindows, PreviewOpensMaximizedAtActualSize) {
    const ResolvedReport r = smallReport();
    const ReportDocument doc = layoutReport(r);
    QtReportPresenter presenter;
    bool seen = false;
    onNextModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
        seen = true;
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Zefrant Report Preview"));
        EXPECT_TRUE(d->windowState() & Qt::WindowMaximized);
        auto* view = d->findChild<QPrintPreviewWidget*>();
        ASSERT_TRUE(view);
        EXPECT_DOUBLE_EQ(view->zoomFactor(), 1.0);
        EXPECT_EQ(view->pageCount(), 1);
        // The zoom tool says 100 %, not "Fit page".
        auto* zoom = d->findChild<QComboBox*>();
        ASSERT_TRUE(zoom);
        EXPECT_TRUE(zoom->currentText().startsWith(QStringLiteral("100")))
            << zoom->currentText().toStdString();
        auto* fitPage = d->findChild<QAction*>(QStringLiteral("fitPageAction"));
        ASSERT_TRUE(fitPage);
        EXPECT_FALSE(fitPage->isChecked());
        auto* fitWidth = d->findChild<QAction*>(QStringLiteral("fitWidthAction"));
        ASSERT_TRUE(fitWidth);
        EXPECT_FALSE(fitWidth->isChecked());
        auto* bar = d->findChild<QToolBar*>();
        ASSERT_TRUE(bar);
        // Its tool bar stays in the window, where a narrow window shows the
        // tools it cannot hold by widening the bar, not in a menu.
        EXPECT_FALSE(bar->isFloatable());
        auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
        EXPECT_TRUE(more && !more->menu());
        // The pages are portrait A4: no orientation tools to offer.
        for (const char* name : {"portraitAction", "landscapeAction"}) {
            auto* tool = d->findChild<QAction*>(QLatin1String(name));
            EXPECT_TRUE(tool && !tool->isVisible()) << name;
        }
        if (qEnvironmentVariableIsSet("ZEFRANT_GRAB"))
            d->grab().save(QStringLiteral("/tmp/preview.png"));
        d->reject();
    });
    presenter.present(ReportDestination::Preview, doc, r);
    EXPECT_TRUE(seen);
}

// The preview lays its pages out again whenever its page setup changes (the
// orientation tools) while the progress window tells the pages; its view may
// not paint the pages that are being replaced meanwhile (a crash).
TEST_F(ReportWindows, PreviewSurvivesItsPageSetupChanging) {
    // Counts the paintings of the pages while a tool of the preview runs.
    struct PaintCounter : QObject {
        bool inside = false;
        int paintedInside = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (inside && e->type() == QEvent::Paint)
                ++paintedInside;
            return false;
        }
    } painter;
    ResolvedReport r = smallReport();
    for (int i = 0; i < 5; ++i)
        r.pages.push_back(r.pages.front());
    const ReportDocument doc = layoutReport(r);
    QtReportPresenter presenter;
    bool seen = false;
    onNextModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
        seen = true;
        auto* view = d->findChild<QPrintPreviewWidget*>();
        ASSERT_TRUE(view);
        for (QGraphicsView* g : view->findChildren<QGraphicsView*>())
            g->viewport()->installEventFilter(&painter);
        auto action = [d](const QString& text) -> QAction* {
            for (QAction* a : d->findChildren<QAction*>())
                if (a->text().remove(u'&') == text)
                    return a;
            return nullptr;
        };
        for (const char* name :
             {"Landscape", "Portrait", "Landscape", "Show facing pages", "Portrait"}) {
            QAction* a = action(QLatin1String(name));
            ASSERT_TRUE(a) << name;
            view->repaint();
            for (QGraphicsView* g : view->findChildren<QGraphicsView*>())
                g->viewport()->update();
            painter.inside = true;
            a->trigger();
            painter.inside = false;
            QApplication::processEvents();
        }
        EXPECT_EQ(painter.paintedInside, 0) << "the pages were painted while they were replaced";
        EXPECT_EQ(view->pageCount(), 6);
        d->reject();
    });
    presenter.present(ReportDestination::Preview, doc, r);
    EXPECT_TRUE(seen);
}

TEST_F(ReportWindows, PrintChoosesAFileAndTheLanguageInTheSetupDialog) {
    const ResolvedReport r = smallReport();
    const ReportDocument doc = layoutReport(r);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("setup.pdf"));
    dlg.saveNames.push_back(file);
    QtReportPresenter presenter;
    ReportSetup setup;
    setup.language = QStringLiteral("PL");
    onNextModal<ReportSetupDialog>([](ReportSetupDialog* d) {
        EXPECT_EQ(d->language(), QStringLiteral("PL")) << "the language kept from before";
        d->rdPdfFile->click();
        d->cbReportLanguage->setCurrentIndex(d->cbReportLanguage->findData(QStringLiteral("GE")));
        d->accept();
    });
    ASSERT_TRUE(presenter.setup(setup));
    EXPECT_EQ(setup.destination, ReportDestination::PdfFile);
    EXPECT_EQ(setup.language, QStringLiteral("GE"));
    presenter.present(setup.destination, doc, r);
    ASSERT_EQ(dlg.saveDialogs.size(), 1u);
    EXPECT_EQ(dlg.saveDialogs[0].title, QStringLiteral("Save as PDF"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-"));

    // Cancelling the setup dialog produces nothing.
    onNextModal<ReportSetupDialog>([](ReportSetupDialog* d) { d->reject(); });
    EXPECT_FALSE(presenter.setup(setup));
    EXPECT_EQ(setup.language, QStringLiteral("GE"));
    EXPECT_EQ(dlg.saveDialogs.size(), 1u);
}

TEST_F(ReportWindows, ProgressWindowShowsThePageAndCloses) {
    QtReportPresenter presenter;
    presenter.progressDelayMs = 0;
    presenter.progress(reportProgressLine(false, 3));
    QProgressDialog* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w))
            window = p;
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zefrant Report Status"));
    EXPECT_EQ(window->labelText(), QStringLiteral("Generating page 3"));
    presenter.progress(reportProgressLine(true, 4));
    EXPECT_EQ(window->labelText(), QStringLiteral("Printing page 4"));
    QPointer<QProgressDialog> guard(window);
    presenter.progress(QString());
    QTest::qWait(10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull() || !guard->isVisible());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

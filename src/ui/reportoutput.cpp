#include "reportoutput.h"

#include "session/projectsession.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "qtdialogs.h"
#include "report/reportoutput.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPointer>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zf {

namespace {

// A command caption as a choice: without the dots.
QString choiceText(int id) {
    QString t = LanguageText(id);
    t.remove(QLatin1String("..."));
    t.remove(QChar(0x2026));
    return t;
}

// The preview window is Qt's: its tool bar, its zoom list and the scroll bars of
// its pages get names in the language.
void nameThePreviewsControls(QPrintPreviewDialog& dialog) {
    for (QToolBar* bar : dialog.findChildren<QToolBar*>()) {
        // Torn off, the bar showed the tools it could not hold in a menu, and
        // a tool chosen there (Print, the orientation) ran inside that menu:
        // Qt's preview crashed when it closed. In the window the bar widens
        // instead.
        bar->setFloatable(false);
        bar->setAccessibleName(LanguageText(3053));
        bar->setWindowTitle(LanguageText(3053));
        for (QToolButton* more : bar->findChildren<QToolButton*>(
                 QStringLiteral("qt_toolbar_ext_button"), Qt::FindDirectChildrenOnly))
            more->setAccessibleName(LanguageText(2359));
        for (QLineEdit* page : bar->findChildren<QLineEdit*>())
            if (!qobject_cast<QComboBox*>(page->parentWidget()))
                page->setAccessibleName(LanguageText(3556));
        for (QComboBox* zoom : bar->findChildren<QComboBox*>(Qt::FindDirectChildrenOnly)) {
            auto* label = new QLabel(LanguageText(2206).trimmed(), bar);
            label->setBuddy(zoom);
            label->hide();
        }
    }
    for (QAbstractScrollArea* area : dialog.findChildren<QAbstractScrollArea*>()) {
        area->horizontalScrollBar()->setAccessibleName(LanguageText(3054));
        area->verticalScrollBar()->setAccessibleName(LanguageText(3055));
    }
}

// The report is laid out on portrait A4 pages, whatever the printer says: the
// preview's orientation tools would only lay the same pages out again, and
// from the tool bar's overflow menu they did so while that menu was open (a
// crash once the preview closed). They are not offered, nor their separator.
void hideTheOrientationTools(QPrintPreviewDialog& dialog) {
    // Qt names the preview's other checkable tools (the fits and the page
    // modes); the two of the orientation group, portrait and landscape, are
    // the ones without a name, in every language.
    QList<QAction*> orientation;
    for (QActionGroup* group : dialog.findChildren<QActionGroup*>()) {
        const QList<QAction*> actions = group->actions();
        if (actions.size() == 2 &&
            std::all_of(actions.begin(), actions.end(), [](const QAction* a) {
                return a->isCheckable() && a->objectName().isEmpty();
            }))
            orientation = actions;
    }
    const char* names[] = {"portraitAction", "landscapeAction"};
    for (qsizetype i = 0; i < orientation.size(); ++i) {
        QAction* tool = orientation[i];
        tool->setObjectName(QLatin1String(names[i]));
        tool->setVisible(false);
        for (QToolBar* bar : dialog.findChildren<QToolBar*>()) {
            const QList<QAction*> actions = bar->actions();
            const qsizetype at = actions.indexOf(tool);
            if (at >= 0 && at + 1 < actions.size() && actions[at + 1]->isSeparator())
                actions[at + 1]->setVisible(false);
        }
    }
}

// While the preview lays its pages out again, the pages its view shows are
// being deleted: the view may not paint them while the progress lets events
// through (a crash). Its paintings are held back meanwhile, and asked for again
// after.
class PagesNotPainted : public QObject {
public:
    explicit PagesNotPainted(QPrintPreviewDialog& dialog) {
        for (QGraphicsView* view : dialog.findChildren<QGraphicsView*>()) {
            views_ << view->viewport();
            view->viewport()->installEventFilter(this);
        }
    }
    ~PagesNotPainted() override {
        for (QWidget* v : std::as_const(views_))
            if (v) {
                v->removeEventFilter(this);
                v->update();
            }
    }
    PagesNotPainted(const PagesNotPainted&) = delete;
    PagesNotPainted& operator=(const PagesNotPainted&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }

private:
    QList<QPointer<QWidget>> views_;
};

QString withoutAccessKey(QString text) {
    text.replace(QLatin1String("&&"), QString(QChar(0xE002)));
    text.remove(u'&');
    text.replace(QChar(0xE002), u'&');
    return text;
}

// The captions of the language commands, in the order of reportLanguages().
constexpr int LanguageCaptions[] = {82, 83, 84, 85, 86};

} // namespace

ReportSetupDialog::ReportSetupDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportSetupDialog"));
    setWindowTitle(LanguageText(3030));
    gbOutput = new QGroupBox(LanguageText(3201), this);
    gbOutput->setObjectName(QStringLiteral("gbOutput"));
    gbOutput->setAccessibleName(LanguageText(3201));
    auto* choices = new QVBoxLayout(gbOutput);
    auto* group = new QButtonGroup(this);
    auto add = [&](const char* name, int textId) {
        auto* rb = new QRadioButton(choiceText(textId), gbOutput);
        rb->setObjectName(QString::fromLatin1(name));
        rb->setAccessibleName(withoutAccessKey(rb->text()));
        choices->addWidget(rb);
        group->addButton(rb);
        return rb;
    };
    rdPreview = add("rdPreview", 8);
    rdPrinter = add("rdPrinter", 9);
    rdPdfFile = add("rdPdfFile", 10);
    rdRtfFile = add("rdRtfFile", 20);
    rdPreview->setChecked(true);

    lbReportLanguage = new QLabel(LanguageText(3200), this);
    lbReportLanguage->setObjectName(QStringLiteral("lbReportLanguage"));
    cbReportLanguage = new QComboBox(this);
    cbReportLanguage->setObjectName(QStringLiteral("cbReportLanguage"));
    const QStringList codes = reportLanguages();
    for (qsizetype i = 0; i < codes.size(); ++i)
        cbReportLanguage->addItem(withoutAccessKey(LanguageText(LanguageCaptions[i])), codes[i]);
    lbReportLanguage->setBuddy(cbReportLanguage);
    cbReportLanguage->setAccessibleName(
        withoutAccessKey(LanguageText(3200)).remove(u':').trimmed());
    auto* languageRow = new QFormLayout;
    languageRow->setContentsMargins(0, 0, 0, 0);
    languageRow->addRow(lbReportLanguage, cbReportLanguage);
    setLanguage(LanguageCode);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(LanguageText(151), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("btOK"));
    buttons->addButton(LanguageText(152), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbOutput);
    layout->addLayout(languageRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The title stays whole: its text in a bold face, as window managers draw
    // titles, beside the bar's icon and buttons, each about as wide as the bar
    // is tall. The fixed size follows the layout, so the width is a strut.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int bar = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this),
                             QFontMetrics(titleFont).height());
    const QMargins m = layout->contentsMargins();
    layout->addStrut(QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + 5 * bar - m.left() -
                     m.right());
}

ReportDestination ReportSetupDialog::destination() const {
    if (rdPrinter->isChecked())
        return ReportDestination::Printer;
    if (rdPdfFile->isChecked())
        return ReportDestination::PdfFile;
    if (rdRtfFile->isChecked())
        return ReportDestination::RtfFile;
    return ReportDestination::Preview;
}

void ReportSetupDialog::setDestination(ReportDestination d) {
    (d == ReportDestination::Printer   ? rdPrinter
     : d == ReportDestination::PdfFile ? rdPdfFile
     : d == ReportDestination::RtfFile ? rdRtfFile
                                       : rdPreview)
        ->setChecked(true);
}

QString ReportSetupDialog::language() const {
    return cbReportLanguage->currentData().toString();
}

void ReportSetupDialog::setLanguage(const QString& code) {
    const int i = cbReportLanguage->findData(code);
    cbReportLanguage->setCurrentIndex(i >= 0 ? i
                                             : cbReportLanguage->findData(QStringLiteral("EN")));
}

QtReportPresenter::~QtReportPresenter() {
    delete progress_;
}

void QtReportPresenter::setUpPrinter(QPrinter& printer) {
    printer.setDocName(QStringLiteral("ReportPrinter Report"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

void QtReportPresenter::setUpPreview(QPrintPreviewDialog& dialog, const ReportDocument& doc,
                                     ReportPresenter* progress) {
    dialog.setObjectName(QStringLiteral("ReportPreview"));
    dialog.setWindowTitle(LanguageText(3031));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&dialog, &doc, progress](QPrinter* printer) {
                         const PagesNotPainted guard(dialog);
                         setUpPrinter(*printer);
                         paintReport(doc, *printer, [progress](int page) {
                             if (progress)
                                 progress->progress(reportProgressLine(true, page));
                         });
                         if (progress)
                             progress->progress(QString());
                     });
    nameThePreviewsControls(dialog);
    hideTheOrientationTools(dialog);
    if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) {
        view->setAccessibleName(LanguageText(3031));
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(1.0);
    }
    // 100 % is chosen in the dialog's own zoom list, so that its tools show it
    // (the list's text, "Fit page" no longer pressed).
    if (auto* zoom = dialog.findChild<QComboBox*>()) {
        for (int i = 0; i < zoom->count(); ++i) {
            QString factor = zoom->itemText(i);
            factor.remove(u'%');
            bool ok = false;
            if (QLocale::c().toDouble(factor.trimmed(), &ok) == 100.0 && ok) {
                zoom->setCurrentIndex(i);
                break;
            }
        }
        zoom->setAccessibleName(LanguageText(2206).remove(u':').trimmed());
    }
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
}

void QtReportPresenter::preview(const ReportDocument& doc) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintPreviewDialog dialog(&printer, QtDialogs::ownerWindow(parent_));
    QtDialogs::keepOnTop(&dialog);
    setUpPreview(dialog, doc, this);
    // The preview lays the pages out when it is shown; 100 % is set again then.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&dialog] {
        if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
            if (view->zoomMode() != QPrintPreviewWidget::CustomZoom) {
                view->setZoomMode(QPrintPreviewWidget::CustomZoom);
                view->setZoomFactor(1.0);
            }
    });
    dialog.exec();
}

void QtReportPresenter::print(const ReportDocument& doc) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintDialog dialog(&printer, QtDialogs::ownerWindow(parent_));
    QtDialogs::keepOnTop(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setUpPrinter(printer);
    paintReport(doc, printer, [this](int page) { progress(reportProgressLine(true, page)); });
    progress(QString());
}

bool QtReportPresenter::setup(ReportSetup& setup) {
    ReportSetupDialog dialog(QtDialogs::ownerWindow(parent_));
    QtDialogs::keepOnTop(&dialog);
    dialog.setDestination(setup.destination);
    dialog.setLanguage(setup.language);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    setup.destination = dialog.destination();
    setup.language = dialog.language();
    return true;
}

void QtReportPresenter::present(ReportDestination destination, const ReportDocument& doc,
                                const ResolvedReport& report) {
    switch (destination) {
    case ReportDestination::Preview:
        preview(doc);
        break;
    case ReportDestination::Printer:
        print(doc);
        break;
    case ReportDestination::PdfFile:
    case ReportDestination::RtfFile: {
        const bool pdf = destination == ReportDestination::PdfFile;
        SaveDialogOptions o;
        o.title = LanguageText(pdf ? 127 : 129);
        o.filter = LanguageText(pdf ? 128 : 130);
        o.defaultSuffix = pdf ? QStringLiteral("pdf") : QStringLiteral("rtf");
        o.promptOverwrite = true;
        const QString file = dialogs().saveFileName(o);
        if (!file.isEmpty())
            writeReportFile(doc, report, !pdf, file, this);
        break;
    }
    }
}

void QtReportPresenter::progress(const QString& line) {
    if (line.isEmpty()) {
        if (progress_) {
            progress_->close();
            progress_->deleteLater();
        }
        return;
    }
    if (!progress_) {
        // Over the window the report is made for (the preview, while it lays
        // out its pages): when the progress closes, that window is active
        // again, not one the window manager would put over it.
        progress_ = new QProgressDialog(QtDialogs::ownerWindow(parent_));
        progress_->setObjectName(QStringLiteral("ReportStatus"));
        progress_->setWindowTitle(LanguageText(3032));
        progress_->setAccessibleName(LanguageText(3032));
        progress_->setCancelButton(nullptr);
        progress_->setRange(0, 0);
        progress_->setMinimumDuration(progressDelayMs);
        progress_->setWindowModality(Qt::ApplicationModal);
        QtDialogs::keepOnTop(progress_);
    }
    progress_->setLabelText(line);
    progress_->setValue(0);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

ReportRunResult runReportCommand(ReportKind kind, ProjectSession& session, QWidget* parent) {
    QtReportPresenter presenter(parent);
    return session.reportCommand(kind, &presenter);
}

} // namespace zf

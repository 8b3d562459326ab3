#include "reportoutput.h"

#include "common/dialogs.h"
#include "i18n/texts.h"
#include "report/reportoutput.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zf {

namespace {

// A command caption as a choice: without the access key and the dots.
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
        bar->setAccessibleName(LanguageText(3053));
        bar->setWindowTitle(LanguageText(3053));
        for (QToolButton* more : bar->findChildren<QToolButton*>(
                 QStringLiteral("qt_toolbar_ext_button"), Qt::FindDirectChildrenOnly))
            more->setAccessibleName(LanguageText(2359));
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

} // namespace

ReportSetupDialog::ReportSetupDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportSetupDialog"));
    setWindowTitle(LanguageText(3030));
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("gbOutput"));
    box->setAccessibleName(LanguageText(3056));
    auto* choices = new QVBoxLayout(box);
    auto* group = new QButtonGroup(this);
    auto add = [&](const char* name, int textId) {
        auto* rb = new QRadioButton(choiceText(textId), box);
        rb->setObjectName(QString::fromLatin1(name));
        QString accessible = rb->text();
        accessible.remove(u'&');
        rb->setAccessibleName(accessible);
        choices->addWidget(rb);
        group->addButton(rb);
        return rb;
    };
    rdPreview = add("rdPreview", 8);
    rdPrinter = add("rdPrinter", 9);
    rdPdfFile = add("rdPdfFile", 10);
    rdRtfFile = add("rdRtfFile", 20);
    rdPreview->setChecked(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(LanguageText(151), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("btOK"));
    buttons->addButton(LanguageText(152), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for its title in the window manager's title bar, whose face
    // is not ours to know: the text in bold and a quarter wider, with room for
    // the bar's icon and its three buttons.
    QFont bold = font();
    bold.setBold(true);
    const int bar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    box->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(windowTitle()) * 5 / 4 + 4 * bar -
                         2 * layout->contentsMargins().left());
}

ReportSetupDialog::Destination ReportSetupDialog::destination() const {
    if (rdPrinter->isChecked())
        return Printer;
    if (rdPdfFile->isChecked())
        return PdfFile;
    if (rdRtfFile->isChecked())
        return RtfFile;
    return Preview;
}

void ReportSetupDialog::setDestination(Destination d) {
    (d == Printer   ? rdPrinter
     : d == PdfFile ? rdPdfFile
     : d == RtfFile ? rdRtfFile
                    : rdPreview)
        ->setChecked(true);
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
                     [&doc, progress](QPrinter* printer) {
                         setUpPrinter(*printer);
                         paintReport(doc, *printer, [progress](int page) {
                             if (progress)
                                 progress->progress(reportProgressLine(true, page));
                         });
                         if (progress)
                             progress->progress(QString());
                     });
    nameThePreviewsControls(dialog);
    if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) {
        view->setAccessibleName(LanguageText(3031));
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(1.0);
    }
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
}

void QtReportPresenter::preview(const ReportDocument& doc) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintPreviewDialog dialog(&printer, parent_);
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
    QPrintDialog dialog(&printer, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setUpPrinter(printer);
    paintReport(doc, printer, [this](int page) { progress(reportProgressLine(true, page)); });
    progress(QString());
}

void QtReportPresenter::present(ReportKind kind, const ReportDocument& doc,
                                const ResolvedReport& report) {
    if (kind == ReportKind::Preview) {
        preview(doc);
        return;
    }
    ReportSetupDialog setup(parent_);
    if (setup.exec() != QDialog::Accepted)
        return;
    switch (setup.destination()) {
    case ReportSetupDialog::Preview:
        preview(doc);
        break;
    case ReportSetupDialog::Printer:
        print(doc);
        break;
    case ReportSetupDialog::PdfFile:
    case ReportSetupDialog::RtfFile: {
        const bool pdf = setup.destination() == ReportSetupDialog::PdfFile;
        SaveDialogOptions o;
        o.title = LanguageText(pdf ? 127 : 129);
        o.filter = LanguageText(pdf ? 128 : 130);
        o.defaultSuffix = pdf ? QStringLiteral("pdf") : QStringLiteral("rtf");
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
        progress_ = new QProgressDialog(parent_);
        progress_->setObjectName(QStringLiteral("ReportStatus"));
        progress_->setWindowTitle(LanguageText(3032));
        progress_->setAccessibleName(LanguageText(3032));
        progress_->setCancelButton(nullptr);
        progress_->setRange(0, 0);
        progress_->setMinimumDuration(progressDelayMs);
        progress_->setWindowModality(Qt::ApplicationModal);
    }
    progress_->setLabelText(line);
    progress_->setValue(0);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

ReportRunResult runReportCommand(ReportKind kind, TZFData& data, ReportHost& host,
                                 QWidget* parent) {
    QtReportPresenter presenter(parent);
    return ReportCommand(data, host, kind, &presenter);
}

} // namespace zf

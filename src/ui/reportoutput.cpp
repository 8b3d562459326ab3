#include "reportoutput.h"

#include "common/dialogs.h"
#include "i18n/texts.h"
#include "qtdialogs.h"
#include "report/reportoutput.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
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

} // namespace

ReportSetupDialog::ReportSetupDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportSetupDialog"));
    setWindowTitle(QStringLiteral("Zefrant Output Options"));
    auto* box = new QGroupBox(this);
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
    dialog.setWindowTitle(QStringLiteral("Zefrant Report Preview"));
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
    if (auto* view = dialog.findChild<QPrintPreviewWidget*>()) {
        view->setAccessibleName(QStringLiteral("Zefrant Report Preview"));
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(1.0);
    }
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
}

void QtReportPresenter::preview(const ReportDocument& doc) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer);
    QPrintPreviewDialog dialog(&printer, parent_);
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
    QPrintDialog dialog(&printer, parent_);
    QtDialogs::keepOnTop(&dialog);
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
    QtDialogs::keepOnTop(&setup);
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
        progress_->setWindowTitle(QStringLiteral("Zefrant Report Status"));
        progress_->setAccessibleName(QStringLiteral("Zefrant Report Status"));
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

ReportRunResult runReportCommand(ReportKind kind, TZFData& data, ReportHost& host,
                                 QWidget* parent) {
    QtReportPresenter presenter(parent);
    return ReportCommand(data, host, kind, &presenter);
}

} // namespace zf

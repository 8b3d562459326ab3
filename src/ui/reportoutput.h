#pragma once

#include "report/runreport.h"

#include <QDialog>
#include <QPointer>

class QPrinter;
class QPrintPreviewDialog;
class QProgressDialog;
class QRadioButton;
class QWidget;

namespace zf {

class TZFData;

// The setup dialog "Zefrant Output Options": preview, printer, PDF file or RTF
// file; the preview is preselected.
class ReportSetupDialog : public QDialog {
    Q_OBJECT
public:
    enum Destination { Preview, Printer, PdfFile, RtfFile };
    explicit ReportSetupDialog(QWidget* parent = nullptr);
    Destination destination() const;
    void setDestination(Destination d);

    QRadioButton* rdPreview;
    QRadioButton* rdPrinter;
    QRadioButton* rdPdfFile;
    QRadioButton* rdRtfFile;
};

// The output system's windows: the preview "Zefrant Report Preview" (maximized,
// at 100 %), the setup dialog, the printer (job "ReportPrinter Report") and the
// progress window "Zefrant Report Status" on long reports.
class QtReportPresenter final : public ReportPresenter {
public:
    explicit QtReportPresenter(QWidget* parent = nullptr) : parent_(parent) {}
    ~QtReportPresenter() override;

    void present(ReportKind kind, const ReportDocument& doc, const ResolvedReport& report) override;
    void progress(const QString& line) override;

    // The printer set up for the report: A4, the whole sheet, the job title.
    static void setUpPrinter(QPrinter& printer);
    // The preview window over a printer, ready to be shown.
    static void setUpPreview(QPrintPreviewDialog& dialog, const ReportDocument& doc,
                             ReportPresenter* progress);

    // Milliseconds a report must take before the progress window shows.
    int progressDelayMs = 500;

private:
    void preview(const ReportDocument& doc);
    void print(const ReportDocument& doc);

    QWidget* parent_;
    QPointer<QProgressDialog> progress_;
};

// The File commands Preview, Print, Print into PDF and Print into RTF, as the
// main window runs them: the file dialog of the file kinds, the hourglass, the
// windows of the output system.
ReportRunResult runReportCommand(ReportKind kind, TZFData& data, ReportHost& host, QWidget* parent);

} // namespace zf

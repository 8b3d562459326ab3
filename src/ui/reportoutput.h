#pragma once

#include "report/runreport.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QPrintPreviewDialog;
class QProgressDialog;
class QRadioButton;
class QWidget;

namespace zf {

class ProjectSession;

// The setup dialog "Zefrant Output Options": preview, printer, PDF file or RTF
// file, the preview preselected; and the language the report is printed in,
// whatever the windows show.
class ReportSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportSetupDialog(QWidget* parent = nullptr);
    ReportDestination destination() const;
    void setDestination(ReportDestination d);
    // "CZ" ... "RU"; another code chooses English.
    QString language() const;
    void setLanguage(const QString& code);

    QGroupBox* gbOutput;
    QRadioButton* rdPreview;
    QRadioButton* rdPrinter;
    QRadioButton* rdPdfFile;
    QRadioButton* rdRtfFile;
    QLabel* lbReportLanguage;
    QComboBox* cbReportLanguage;
};

// The output system's windows: the preview "Zefrant Report Preview" (maximized,
// at 100 %), the setup dialog, the printer (job "ReportPrinter Report") and the
// progress window "Zefrant Report Status" on long reports.
class QtReportPresenter final : public ReportPresenter {
public:
    explicit QtReportPresenter(QWidget* parent = nullptr) : parent_(parent) {}
    ~QtReportPresenter() override;

    bool setup(ReportSetup& setup) override;
    void present(ReportDestination destination, const ReportDocument& doc,
                 const ResolvedReport& report) override;
    void progress(const QString& line) override;

    // The printer set up for the report: A4, the whole sheet, the job title.
    static void setUpPrinter(QPrinter& printer);
    // The preview window over a printer, ready to be shown at 100 %, its zoom
    // tool saying so.
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
ReportRunResult runReportCommand(ReportKind kind, ProjectSession& session, QWidget* parent);

} // namespace zf

#pragma once

#include "report/reportengine.h"
#include "report/reportlayout.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace zf {

// Paints every page onto a paged device (a printer, the preview's printer, a PDF
// writer) whose page is the whole A4 sheet; progress gets each page's number as
// it is printed. False when the device cannot be painted on.
bool paintReport(const ReportDocument& doc, QPagedPaintDevice& device,
                 const PageProgress& progress = {});

// The report as a PDF document: A4, fonts embedded, "Zefrant" as the producer
// and creator, the document title the project's name.
QByteArray renderReportPdf(const ReportDocument& doc, const PageProgress& progress = {});

// Records the producer, creator and title in the document information of a PDF by
// appending an incremental update; the rest of the file stays byte for byte.
QByteArray withDocumentInfo(const QByteArray& pdf, const QString& producer, const QString& title);

// The report as an RTF document with the same report pages (each begins a new
// page unless newSheets, the laid-out document's, says it goes on on the page
// before), tables (header rows repeated on every page) and pictures (as PNG),
// the project name and "page / pages" in the page header.
QByteArray renderReportRtf(const ResolvedReport& report, const std::vector<bool>& newSheets = {});

// Writes bytes to a file through a temporary file in its folder that is renamed
// into place: the target is either the complete new file or left as it was.
// False with *error (the system's message) when it cannot be written.
bool writeFileAtomically(const QString& file, const QByteArray& bytes, QString* error);

} // namespace zf

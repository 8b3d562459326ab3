#pragma once

#include "report/reportengine.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QPainter;
class QSvgRenderer;
class QImage;

namespace zf {

// Layout units: hundredths of a millimetre on an A4 sheet.
inline constexpr double LayoutUnitsPerMm = 100.0;
inline constexpr double PageWidthMm = 210.0;
inline constexpr double PageHeightMm = 297.0;

// One thing drawn on a page, in layout units from the sheet's top left corner.
struct DrawOp {
    enum Type { Text, Fill, Line, Picture } type = Text;
    QRectF rect; // Text: left and top of the line; Line: from top left to bottom right
    QString text;
    int font = 0;
    QColor color = Qt::black;
    double lineWidth = 0; // Line: in layout units
    QString file;         // Picture
};

struct LaidOutPage {
    std::vector<DrawOp> ops;
};

// The pages of a report, ready for the paint routine.
class ReportDocument {
public:
    QString title;
    std::vector<QFont> fonts;
    std::vector<LaidOutPage> pages;
    // Per report page: whether it begins a sheet of its own (false: it goes on
    // on the sheet that holds what ran over from the page before).
    std::vector<bool> newSheets;

    int pageCount() const { return int(pages.size()); }

    // The one paint routine of the report: draws a page into the target
    // rectangle of the painter's device (the whole sheet) for the printer, the
    // PDF writer and the preview alike.
    void paintPage(QPainter& painter, int page, const QRectF& target) const;

private:
    QSvgRenderer* svg(const QString& file) const;
    const QImage* image(const QString& file) const;
    mutable std::map<QString, std::shared_ptr<QSvgRenderer>> svgs_;
    mutable std::map<QString, std::shared_ptr<QImage>> images_;
};

// Called once for every page laid out, with its number from 1.
using PageProgress = std::function<void(int page)>;

// Lays the resolved report out on A4 sheets: each report page begins a new sheet,
// paragraphs and tables flow on, tables break between rows and repeat their header
// rows, headings stay with what follows them, and every sheet gets the header and
// footer lines with the page number "n / m".
ReportDocument layoutReport(const ResolvedReport& report, const PageProgress& progress = {});

// The edges of a table's columns as the layout draws them, from 0 (the left
// margin) to 1 (the right margin): the RTF writer gives its tables the same.
std::vector<double> tableColumnShares(const ResolvedReport& report, const ResolvedTable& table);

// The natural size of a picture file (pixels of a raster, the default size of an
// SVG); empty when the file cannot be read.
QSizeF pictureSize(const QString& file);

} // namespace zf

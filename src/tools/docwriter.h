#pragma once

// A small flowing-document writer: headings, paragraphs, bullet lists, tables that
// break across pages with their header rows repeated, figures drawn by callbacks,
// page headers and footers with "page n of N". Blocks are collected first, then
// laid out on A4 pages and painted through QPainter into a PDF (fonts embedded).
//
// It knows nothing of the catalog: the documents are written against this
// interface, so that their content can later be handed to the report engine.

#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QRectF;

namespace zf::doc {

// A drawing placed in a rectangle of the page (device units of the painter).
using PaintFn = std::function<void(QPainter&, const QRectF&)>;

struct Figure {
    PaintFn paint;
    double widthMm = 80;
    double heightMm = 50;
    QString caption;
};

struct Table {
    std::vector<double> widths;      // relative column widths
    std::vector<int> align;          // per column: -1 left, 0 centre, 1 right
    std::vector<QStringList> header; // header rows, repeated after a page break
    std::vector<QStringList> rows;
    double fontPt = 8.5;
    bool firstColumnBold = false;
    QString caption; // above the table, kept with its first rows
};

struct PageSetup {
    QString headerLeft;  // document title
    QString headerRight; // product line
    QString footerLeft;  // supplier
    QString pageText;    // e.g. "Page %1 of %2"
    QColor accent = QColor(0xe8, 0x70, 0x2a);
    QColor ink = QColor(0x2b, 0x3a, 0x42);
};

class Document {
public:
    explicit Document(PageSetup setup);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The coloured title band that opens the document.
    void titleBlock(const QString& title, const QString& subtitle);
    void heading(const QString& text, int level = 1);
    void paragraph(const QString& text, double pt = 9.5, bool bold = false);
    void bullets(const QStringList& items, double pt = 9.5);
    void table(const Table& table);
    // Figures side by side, centred; kept together on one page.
    void figures(const std::vector<Figure>& row);
    void figure(const Figure& f) { figures({f}); }
    void spacer(double mm);
    void pageBreak();
    // Keeps the next block on the page only if this much room is left.
    void needSpace(double mm);

    // Lays the blocks out and writes the PDF through a temporary file. Returns the
    // number of pages, 0 on failure with the reason in *error.
    int writePdf(const QString& path, const QString& title, QString* error);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zf::doc

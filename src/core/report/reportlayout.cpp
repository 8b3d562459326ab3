#include "report/reportlayout.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <cmath>

namespace zf {

namespace {

constexpr double U = LayoutUnitsPerMm;
constexpr double PageW = PageWidthMm * U;
constexpr double PageH = PageHeightMm * U;
constexpr double Left = 18 * U;
constexpr double Right = PageW - 15 * U;
constexpr double Top = 21 * U;
constexpr double Bottom = PageH - 16 * U;
constexpr double HeaderTop = 9 * U;
constexpr double HeaderRule = 15.5 * U;
constexpr double FooterRule = PageH - 13 * U;
constexpr double FooterTop = PageH - 12 * U;
constexpr double CellPadH = 1.2 * U;
constexpr double CellPadV = 0.6 * U;
constexpr double GridPadV = 0.35 * U;
constexpr double ThinLine = 0.12 * U;
const QColor RuleColor(0x8a, 0x97, 0x9e);
constexpr size_t ShortGroup = 12;
// A report page that follows one whose last sheet holds less than this share of
// the sheet begins on that sheet rather than leaving it nearly empty.
constexpr double NearlyEmptyShare = 0.4;
constexpr double PageGap = 9 * U; // above a report page that goes on on a used sheet
constexpr int HeaderLines = 2;    // a table heading wraps into at most so many lines
constexpr size_t OrphanRows = 3;  // rows of a ruled table that begin it on one sheet

// The fonts of the document, one per size and weight, with their metrics.
class FontBook {
public:
    explicit FontBook(const QStringList& families) : families_(families) {}

    int index(const ReportStyle& s) {
        const int key = int(std::lround(s.size * 10)) * 4 + (s.bold ? 2 : 0) + (s.italic ? 1 : 0);
        auto it = byKey_.find(key);
        if (it != byKey_.end())
            return it->second;
        QFont f;
        f.setFamilies(families_);
        f.setPixelSize(int(std::lround(s.size * 25.4 / 72.0 * U)));
        f.setBold(s.bold);
        f.setItalic(s.italic);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setStyleStrategy(QFont::ForceOutline);
        f.setKerning(false);
        const int i = int(fonts.size());
        fonts.push_back(f);
        metrics.emplace_back(f);
        byKey_.emplace(key, i);
        return i;
    }

    std::vector<QFont> fonts;
    std::vector<QFontMetricsF> metrics;

private:
    QStringList families_;
    std::map<int, int> byKey_;
};

// Breaks a text into lines that fit the width; explicit line breaks are kept, a
// word longer than the width is broken where it must.
QStringList wrap(const QString& text, const QFontMetricsF& fm, double width) {
    QStringList lines;
    const QStringList paragraphs = text.split(u'\n');
    for (const QString& para : paragraphs) {
        if (fm.horizontalAdvance(para) <= width) {
            lines << para;
            continue;
        }
        const QStringList words = para.split(u' ');
        QString line;
        for (const QString& word : words) {
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (fm.horizontalAdvance(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            line = word;
            while (fm.horizontalAdvance(line) > width && line.size() > 1) {
                int n = int(line.size()) - 1;
                while (n > 1 && fm.horizontalAdvance(line.left(n)) > width)
                    --n;
                lines << line.left(n);
                line = line.mid(n);
            }
        }
        lines << line;
    }
    return lines;
}

double alignedX(const QString& align, double left, double width, double textWidth) {
    if (align == QLatin1String("right"))
        return left + width - textWidth;
    if (align == QLatin1String("center"))
        return left + (width - textWidth) / 2;
    return left;
}

// One piece that is never split across sheets.
struct Item {
    double height = 0;
    std::vector<DrawOp> ops; // y relative to the item's top
    bool gap = false;        // space, dropped at the top of a sheet
    bool keepNext = false;   // goes to the next sheet with the item after it
    bool newSheet = false;   // a report page begins here; after paginate(): on a sheet of its own
    int table = -1;
    bool header = false; // a header row of its table
};

class Layouter {
public:
    explicit Layouter(const ResolvedReport& r) : report_(r), book_(r.fonts) {}

    ReportDocument run(const PageProgress& progress) {
        std::vector<size_t> firstItems;
        for (const ResolvedPage& page : report_.pages) {
            const size_t first = items_.size();
            for (const ResolvedBlock& b : page.blocks)
                block(b);
            if (items_.size() > first)
                items_[first].newSheet = true;
            firstItems.push_back(first);
        }
        paginate(progress);
        decorate();
        ReportDocument doc;
        doc.title = report_.title;
        doc.fonts = book_.fonts;
        doc.pages = std::move(sheets_);
        for (size_t first : firstItems)
            doc.newSheets.push_back(first >= items_.size() || items_[first].newSheet);
        return doc;
    }

private:
    void gap(double mm) {
        if (mm <= 0)
            return;
        Item it;
        it.height = mm * U;
        it.gap = true;
        items_.push_back(std::move(it));
    }

    void paragraph(const ResolvedBlock& b) {
        const int font = book_.index(b.style);
        const QFontMetricsF& fm = book_.metrics[size_t(font)];
        gap(b.style.spaceBefore);
        const double width = Right - Left;
        const QStringList lines = wrap(b.text, fm, width);
        const double lineHeight = fm.lineSpacing();
        const bool filled = b.style.background.isValid();
        for (const QString& line : lines) {
            Item it;
            it.height = lineHeight;
            it.keepNext = b.style.keepWithNext;
            if (filled) {
                DrawOp fill;
                fill.type = DrawOp::Fill;
                fill.rect = QRectF(Left, 0, width, lineHeight);
                fill.color = b.style.background;
                it.ops.push_back(fill);
            }
            if (!line.isEmpty()) {
                DrawOp t;
                t.type = DrawOp::Text;
                t.text = line;
                t.font = font;
                t.color = b.style.color;
                const double x =
                    alignedX(b.style.align, Left + (filled ? CellPadH : 0),
                             width - (filled ? 2 * CellPadH : 0), fm.horizontalAdvance(line));
                t.rect = QRectF(x, fm.ascent(), 0, 0);
                it.ops.push_back(t);
            }
            items_.push_back(std::move(it));
        }
        gap(b.style.spaceAfter);
        if (b.style.keepWithNext && !items_.empty())
            items_.back().keepNext = true;
    }

    Item row(const ResolvedRow& r, const ResolvedTable& t, const std::vector<double>& xs,
             bool ruled) {
        Item it;
        const double padV = ruled ? CellPadV : GridPadV;
        struct CellLines {
            QStringList lines;
            int font;
            double left, width;
            const ResolvedCell* cell;
        };
        std::vector<CellLines> cells;
        size_t col = 0;
        double height = 0;
        for (const ResolvedCell& c : r.cells) {
            if (col >= t.weights.size())
                break;
            const size_t end = std::min(t.weights.size(), col + size_t(c.span));
            const double left = xs[col], right = xs[end];
            col = end;
            const int font = book_.index(c.style);
            const QFontMetricsF& fm = book_.metrics[size_t(font)];
            CellLines cl{wrap(c.text, fm, right - left - 2 * CellPadH), font, left, right - left,
                         &c};
            height = std::max(height, cl.lines.size() * fm.lineSpacing());
            cells.push_back(std::move(cl));
        }
        height += 2 * padV;
        it.height = height;
        for (const CellLines& cl : cells) {
            const ResolvedCell& c = *cl.cell;
            if (c.style.background.isValid()) {
                DrawOp fill;
                fill.type = DrawOp::Fill;
                fill.rect = QRectF(cl.left, 0, cl.width, height);
                fill.color = c.style.background;
                it.ops.push_back(fill);
            }
            const QFontMetricsF& fm = book_.metrics[size_t(cl.font)];
            double y = padV + fm.ascent();
            for (const QString& line : cl.lines) {
                if (!line.isEmpty()) {
                    DrawOp t;
                    t.type = DrawOp::Text;
                    t.text = line;
                    t.font = cl.font;
                    t.color = c.style.color;
                    t.rect = QRectF(alignedX(c.style.align, cl.left + CellPadH,
                                             cl.width - 2 * CellPadH, fm.horizontalAdvance(line)),
                                    y, 0, 0);
                    it.ops.push_back(t);
                }
                y += fm.lineSpacing();
            }
        }
        if (ruled) {
            auto line = [&](double x0, double y0, double x1, double y1) {
                DrawOp l;
                l.type = DrawOp::Line;
                l.rect = QRectF(QPointF(x0, y0), QPointF(x1, y1));
                l.color = RuleColor;
                l.lineWidth = ThinLine;
                it.ops.push_back(l);
            };
            const double x0 = xs.front(), x1 = xs[std::min(col, xs.size() - 1)];
            line(x0, 0, x1, 0);
            line(x0, height, x1, height);
            for (const CellLines& cl : cells)
                line(cl.left, 0, cl.left, height);
            line(x1, 0, x1, height);
        }
        return it;
    }

    // The widest word of the cells that fill one column alone, with the cell's
    // padding: less width than that breaks a word.
    std::vector<double> widestWords(const std::vector<ResolvedRow>& rows, size_t columns) {
        std::vector<double> widest(columns, 0.0);
        for (const ResolvedRow& r : rows) {
            size_t col = 0;
            for (const ResolvedCell& c : r.cells) {
                if (col >= columns)
                    break;
                if (c.span == 1) {
                    static const QRegularExpression blanks(QStringLiteral("\\s+"));
                    const QFontMetricsF& fm = book_.metrics[size_t(book_.index(c.style))];
                    for (const QString& w : c.text.split(blanks, Qt::SkipEmptyParts))
                        widest[col] = std::max(widest[col], fm.horizontalAdvance(w));
                }
                col += size_t(std::max(1, c.span));
            }
        }
        for (double& w : widest)
            w = w > 0 ? w + 2 * CellPadH + 0.5 : 0;
        return widest;
    }

    // The width a heading cell needs to wrap into HeaderLines lines at most, with
    // the cell's padding, for each column a heading cell fills alone.
    std::vector<double> headingWidths(const ResolvedTable& t) {
        const size_t columns = t.weights.size();
        std::vector<double> need(columns, 0.0);
        for (const ResolvedRow& r : t.header) {
            size_t col = 0;
            for (const ResolvedCell& c : r.cells) {
                if (col >= columns)
                    break;
                if (c.span == 1 && !c.text.trimmed().isEmpty())
                    need[col] =
                        std::max(need[col],
                                 fewLinesWidth(c.text, book_.metrics[size_t(book_.index(c.style))],
                                               HeaderLines) +
                                     2 * CellPadH + 0.5);
                col += size_t(std::max(1, c.span));
            }
        }
        return need;
    }

    // The least width in which the text wraps into at most the given lines.
    static double fewLinesWidth(const QString& text, const QFontMetricsF& fm, int lines) {
        const QStringList paragraphs = text.split(u'\n');
        double widest = 0;
        for (const QString& p : paragraphs)
            for (const QString& w : p.split(u' ', Qt::SkipEmptyParts))
                widest = std::max(widest, fm.horizontalAdvance(w));
        if (paragraphs.size() > 1) {
            // Its own line breaks are kept: each paragraph on one line when they
            // are few enough, else only its words are whole.
            if (paragraphs.size() > lines)
                return widest;
            double w = 0;
            for (const QString& p : paragraphs)
                w = std::max(w, fm.horizontalAdvance(p));
            return w;
        }
        // The greedy wrap of wrap() needs no more lines than the best split.
        double lo = widest, hi = std::max(widest, fm.horizontalAdvance(text));
        if (wrap(text, fm, lo).size() <= lines)
            return lo;
        for (int i = 0; i < 30 && hi - lo > 1; ++i) {
            const double mid = (lo + hi) / 2;
            (wrap(text, fm, mid).size() <= lines ? hi : lo) = mid;
        }
        return hi;
    }

public:
    // The columns share the width by their weights; a column too narrow for a
    // word of its cells, or for its heading in two lines, takes what it needs
    // from the columns that have room to spare. Every cell's words with the
    // two-line headings are tried first, then the headings alone, then the
    // words of every cell, then those of the header.
    std::vector<double> columnEdges(const ResolvedTable& t) {
        const size_t n = t.weights.size();
        double total = 0;
        for (double w : t.weights)
            total += w;
        std::vector<double> widths(n);
        for (size_t i = 0; i < n; ++i)
            widths[i] = total > 0 ? (Right - Left) * t.weights[i] / total : 0;
        std::vector<ResolvedRow> all = t.header;
        all.insert(all.end(), t.body.begin(), t.body.end());
        all.insert(all.end(), t.footer.begin(), t.footer.end());
        const std::vector<double> words = widestWords(all, n);
        const std::vector<double> headerWords = widestWords(t.header, n);
        const std::vector<double> headings = headingWidths(t);
        // The width each column's cells take unwrapped, its headings in two lines.
        std::vector<double> natural = headings;
        for (const auto* rows : {&t.body, &t.footer})
            for (const ResolvedRow& r : *rows) {
                size_t col = 0;
                for (const ResolvedCell& c : r.cells) {
                    if (col >= n)
                        break;
                    if (c.span == 1) {
                        const QFontMetricsF& fm = book_.metrics[size_t(book_.index(c.style))];
                        for (const QString& line : c.text.split(u'\n'))
                            natural[col] = std::max(natural[col], fm.horizontalAdvance(line) +
                                                                      2 * CellPadH + 0.5);
                    }
                    col += size_t(std::max(1, c.span));
                }
            }
        auto atLeast = [n](std::vector<double> a, const std::vector<double>& b) {
            for (size_t i = 0; i < n; ++i)
                a[i] = std::max(a[i], b[i]);
            return a;
        };
        for (const std::vector<double>& need :
             {atLeast(words, headings), atLeast(headerWords, headings), words, headerWords}) {
            double deficit = 0, slack = 0;
            for (size_t i = 0; i < n; ++i) {
                deficit += std::max(0.0, need[i] - widths[i]);
                slack += std::max(0.0, widths[i] - need[i]);
            }
            if (deficit <= 0)
                break;
            if (deficit > slack)
                continue;
            // What a column can give without wrapping any of its cells goes
            // first; only the rest makes other cells take more lines.
            std::vector<double> free(n, 0.0);
            double freeTotal = 0;
            for (size_t i = 0; i < n; ++i) {
                free[i] = std::max(0.0, widths[i] - std::max(need[i], natural[i]));
                freeTotal += free[i];
            }
            const double fromFree = std::min(deficit, freeTotal);
            const double freeShare = freeTotal > 0 ? fromFree / freeTotal : 0;
            double restSlack = 0;
            for (size_t i = 0; i < n; ++i)
                restSlack += std::max(0.0, widths[i] - free[i] * freeShare - need[i]);
            const double restShare = restSlack > 0 ? (deficit - fromFree) / restSlack : 0;
            for (size_t i = 0; i < n; ++i) {
                if (need[i] > widths[i]) {
                    widths[i] = need[i];
                    continue;
                }
                const double w = widths[i] - free[i] * freeShare;
                widths[i] = w - std::max(0.0, w - need[i]) * restShare;
            }
            break;
        }
        std::vector<double> xs{Left};
        for (double w : widths)
            xs.push_back(xs.back() + w);
        return xs;
    }

private:
    void table(const ResolvedTable& t) {
        const std::vector<double> xs = columnEdges(t);
        const int id = int(headers_.size());
        headers_.emplace_back();
        for (const ResolvedRow& r : t.header) {
            Item it = row(r, t, xs, t.ruled);
            it.table = id;
            it.header = true;
            it.keepNext = true;
            headers_.back().push_back(it);
            items_.push_back(std::move(it));
        }
        const size_t first = items_.size();
        for (const auto* part : {&t.body, &t.footer})
            for (const ResolvedRow& r : *part) {
                Item it = row(r, t, xs, t.ruled);
                it.table = id;
                items_.push_back(std::move(it));
            }
        // The totals never stand alone under a repeated header: the last row
        // goes with them.
        const size_t rows = t.body.size();
        if (rows > 0 && !t.footer.empty())
            items_[first + rows - 1].keepNext = true;
        // Neither the heading with a row or two at the foot of a sheet nor one
        // row alone on the next: the first OrphanRows rows stay with the
        // heading, the last two together.
        if (t.ruled) {
            for (size_t i = 0; i + 1 < std::min(rows, OrphanRows); ++i)
                items_[first + i].keepNext = true;
            if (rows > OrphanRows)
                items_[first + rows - 2].keepNext = true;
        }
        // A short unruled group of lines (labels and values) is not split: it
        // moves to the next sheet whole, with the heading that leads it.
        if (!t.ruled && items_.size() - first <= ShortGroup)
            for (size_t i = first; i + 1 < items_.size(); ++i)
                items_[i].keepNext = true;
        gap(t.ruled ? 2.5 : 1.5);
    }

    void picture(const ResolvedBlock& b) {
        const QSizeF natural = pictureSize(b.file);
        if (natural.isEmpty())
            return;
        const double boxW = std::min(b.width * U, Right - Left);
        const double boxH = std::min(b.height * U, Bottom - Top - 4 * U);
        const double scale = std::min(boxW / natural.width(), boxH / natural.height());
        const double w = natural.width() * scale, h = natural.height() * scale;
        Item it;
        it.height = h + 3 * U;
        DrawOp p;
        p.type = DrawOp::Picture;
        p.file = b.file;
        p.rect = QRectF(alignedX(b.style.align, Left, Right - Left, w), 1.5 * U, w, h);
        it.ops.push_back(p);
        items_.push_back(std::move(it));
    }

    void block(const ResolvedBlock& b) {
        switch (b.type) {
        case ResolvedBlock::Paragraph:
            paragraph(b);
            break;
        case ResolvedBlock::Table:
            table(b.table);
            break;
        case ResolvedBlock::Picture:
            picture(b);
            break;
        case ResolvedBlock::Space:
            gap(b.height);
            break;
        case ResolvedBlock::Rule: {
            Item it;
            it.height = 2 * U;
            DrawOp l;
            l.type = DrawOp::Line;
            l.rect = QRectF(QPointF(Left, U), QPointF(Right, U));
            l.color = b.style.color;
            l.lineWidth = 0.25 * U;
            it.ops.push_back(l);
            items_.push_back(std::move(it));
            break;
        }
        }
    }

    void place(const Item& it) {
        for (DrawOp op : it.ops) {
            op.rect.translate(0, y_);
            sheets_.back().ops.push_back(std::move(op));
        }
        y_ += it.height;
        empty_ = false;
    }

    void newSheet(const PageProgress& progress) {
        sheets_.emplace_back();
        y_ = Top;
        empty_ = true;
        if (progress)
            progress(int(sheets_.size()));
    }

    // The height an item needs together with the items it must stay with.
    double chainHeight(size_t i) const {
        double h = 0;
        for (size_t j = i; j < items_.size(); ++j) {
            h += items_[j].height;
            if (!items_[j].keepNext && !items_[j].gap)
                break;
        }
        return h;
    }

    void paginate(const PageProgress& progress) {
        newSheet(progress);
        int openTable = -1;   // the table whose rows are being placed
        size_t pageSheet = 0; // the sheet the current report page began on
        for (size_t i = 0; i < items_.size(); ++i) {
            const Item& it = items_[i];
            if (it.newSheet) {
                // A sheet that holds only what ran over from the page before
                // takes the next page too, when that page's beginning fits.
                const bool ranOver = sheets_.size() - 1 > pageSheet;
                const bool nearlyEmpty = y_ - Top < NearlyEmptyShare * (Bottom - Top);
                if (!empty_ && ranOver && nearlyEmpty &&
                    y_ + PageGap + std::min(chainHeight(i), Bottom - Top) <= Bottom) {
                    y_ += PageGap;
                    items_[i].newSheet = false;
                } else if (!empty_) {
                    newSheet(progress);
                }
                pageSheet = sheets_.size() - 1;
                openTable = -1;
            }
            if (it.gap) {
                if (empty_)
                    continue;
                if (y_ + it.height > Bottom) {
                    newSheet(progress);
                    continue;
                }
                y_ += it.height;
                continue;
            }
            const double need = std::min(it.keepNext ? chainHeight(i) : it.height, Bottom - Top);
            if (y_ + need > Bottom && !empty_) {
                newSheet(progress);
                // A table that goes on repeats its header rows first.
                if (it.table >= 0 && !it.header && it.table == openTable)
                    for (const Item& h : headers_[size_t(it.table)])
                        place(h);
            }
            place(it);
            openTable = it.table;
        }
        if (sheets_.size() > 1 && empty_)
            sheets_.pop_back();
    }

    // The header and footer lines of every sheet.
    void decorate() {
        const int headerFont = book_.index(report_.headerStyle);
        const int footerFont = book_.index(report_.footerStyle);
        const QString count = QString::number(sheets_.size());
        for (size_t i = 0; i < sheets_.size(); ++i) {
            const QString number = QString::number(i + 1);
            auto fill = [&](QString s) {
                s.replace(QChar(PageNumberMark), number);
                s.replace(QChar(PageCountMark), count);
                return s;
            };
            std::vector<DrawOp>& ops = sheets_[i].ops;
            auto text = [&](const QString& s, int font, const ReportStyle& style, double top,
                            bool right) {
                if (s.isEmpty())
                    return;
                const QFontMetricsF& fm = book_.metrics[size_t(font)];
                const double maxWidth = (Right - Left) * (right ? 0.3 : 0.68);
                QString line = s;
                if (fm.horizontalAdvance(line) > maxWidth)
                    line = fm.elidedText(line, Qt::ElideRight, maxWidth);
                DrawOp t;
                t.type = DrawOp::Text;
                t.text = line;
                t.font = font;
                t.color = style.color;
                const double w = fm.horizontalAdvance(line);
                t.rect = QRectF(right ? Right - w : Left, top + fm.ascent(), 0, 0);
                ops.push_back(t);
            };
            auto rule = [&](double y) {
                DrawOp l;
                l.type = DrawOp::Line;
                l.rect = QRectF(QPointF(Left, y), QPointF(Right, y));
                l.color = RuleColor;
                l.lineWidth = 0.2 * U;
                ops.push_back(l);
            };
            const double headerH = book_.metrics[size_t(headerFont)].height();
            text(fill(report_.headerLeft), headerFont, report_.headerStyle,
                 HeaderRule - U - headerH, false);
            text(fill(report_.headerRight), headerFont, report_.headerStyle,
                 HeaderRule - U - headerH, true);
            rule(HeaderRule);
            if (!report_.footerLeft.isEmpty() || !report_.footerRight.isEmpty()) {
                rule(FooterRule);
                text(fill(report_.footerLeft), footerFont, report_.footerStyle, FooterTop, false);
                text(fill(report_.footerRight), footerFont, report_.footerStyle, FooterTop, true);
            }
            Q_UNUSED(HeaderTop);
        }
    }

    const ResolvedReport& report_;
    FontBook book_;
    std::vector<Item> items_;
    std::vector<std::vector<Item>> headers_;
    std::vector<LaidOutPage> sheets_;
    double y_ = Top;
    bool empty_ = true;
};

} // namespace

QSizeF pictureSize(const QString& file) {
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgRenderer r(file);
        if (!r.isValid())
            return {};
        return QSizeF(r.defaultSize());
    }
    QImageReader reader(file);
    const QSize s = reader.size();
    return s.isValid() ? QSizeF(s) : QSizeF();
}

ReportDocument layoutReport(const ResolvedReport& report, const PageProgress& progress) {
    Layouter l(report);
    return l.run(progress);
}

std::vector<double> tableColumnShares(const ResolvedReport& report, const ResolvedTable& table) {
    Layouter l(report);
    const std::vector<double> xs = l.columnEdges(table);
    std::vector<double> shares;
    shares.reserve(xs.size());
    for (double x : xs)
        shares.push_back((x - Left) / (Right - Left));
    return shares;
}

QSvgRenderer* ReportDocument::svg(const QString& file) const {
    auto it = svgs_.find(file);
    if (it == svgs_.end())
        it = svgs_.emplace(file, std::make_shared<QSvgRenderer>(file)).first;
    return it->second->isValid() ? it->second.get() : nullptr;
}

const QImage* ReportDocument::image(const QString& file) const {
    auto it = images_.find(file);
    if (it == images_.end())
        it = images_.emplace(file, std::make_shared<QImage>(file)).first;
    return it->second->isNull() ? nullptr : it->second.get();
}

void ReportDocument::paintPage(QPainter& painter, int page, const QRectF& target) const {
    if (page < 0 || page >= pageCount())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / PageW, target.height() / PageH);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int currentFont = -1;
    for (const DrawOp& op : pages[size_t(page)].ops) {
        switch (op.type) {
        case DrawOp::Text:
            if (op.font != currentFont) {
                painter.setFont(fonts[size_t(op.font)]);
                currentFont = op.font;
            }
            painter.setPen(op.color);
            painter.drawText(op.rect.topLeft(), op.text);
            break;
        case DrawOp::Fill:
            painter.fillRect(op.rect, op.color);
            break;
        case DrawOp::Line:
            painter.setPen(QPen(op.color, op.lineWidth, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(op.rect.topLeft(), op.rect.bottomRight());
            break;
        case DrawOp::Picture:
            if (op.file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
                if (QSvgRenderer* r = svg(op.file))
                    r->render(&painter, op.rect);
            } else if (const QImage* img = image(op.file)) {
                painter.drawImage(op.rect, *img);
            }
            currentFont = -1; // the picture may have left another font set
            break;
        }
    }
    painter.restore();
}

} // namespace zf

#include "report/reportoutput.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cmath>
#include <map>

namespace zf {

bool paintReport(const ReportDocument& doc, QPagedPaintDevice& device,
                 const PageProgress& progress) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF sheet(0, 0, device.width(), device.height());
    for (int i = 0; i < doc.pageCount(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        if (progress)
            progress(i + 1);
        doc.paintPage(painter, i, sheet);
    }
    return painter.end();
}

QByteArray renderReportPdf(const ReportDocument& doc, const PageProgress& progress) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Zefrant"));
        writer.setTitle(doc.title);
        paintReport(doc, writer, progress);
    }
    buffer.close();
    return withDocumentInfo(buffer.data(), QStringLiteral("Zefrant"), doc.title);
}

namespace {

QByteArray pdfText(const QString& s) {
    QByteArray hex = "<FEFF";
    for (const QChar c : s)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

int trailerNumber(const QByteArray& trailer, const char* key) {
    const QRegularExpression re(QStringLiteral("/%1\\s+(\\d+)").arg(QLatin1String(key)));
    const auto m = re.match(QString::fromLatin1(trailer));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

QByteArray withDocumentInfo(const QByteArray& pdf, const QString& producer, const QString& title) {
    const qsizetype sx = pdf.lastIndexOf("startxref");
    const qsizetype tr = pdf.lastIndexOf("trailer");
    if (sx < 0 || tr < 0 || tr > sx)
        return pdf;
    const QByteArray trailer = pdf.mid(tr, sx - tr);
    const int size = trailerNumber(trailer, "Size");
    const int root = trailerNumber(trailer, "Root");
    int info = trailerNumber(trailer, "Info");
    bool ok = false;
    const qint64 previous =
        pdf.mid(sx + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (size <= 0 || root <= 0 || !ok)
        return pdf;
    int newSize = size;
    if (info <= 0) {
        info = size;
        newSize = size + 1;
    }
    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    const qint64 offset = out.size();
    const QByteArray date =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    out += QByteArray::number(info) + " 0 obj\n<<\n/Title " + pdfText(title) + "\n/Creator " +
           pdfText(producer) + "\n/Producer " + pdfText(producer) + "\n/CreationDate (D:" + date +
           "Z)\n>>\nendobj\n";
    const qint64 xref = out.size();
    out += "xref\n" + QByteArray::number(info) + " 1\n" +
           QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(newSize) + "\n/Root " +
           QByteArray::number(root) + " 0 R\n/Info " + QByteArray::number(info) + " 0 R\n/Prev " +
           QByteArray::number(previous) + "\n>>\nstartxref\n" + QByteArray::number(xref) +
           "\n%%EOF\n";
    return out;
}

bool writeFileAtomically(const QString& file, const QByteArray& bytes, QString* error) {
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

// --- RTF ---

namespace {

constexpr double TwipsPerMm = 1440.0 / 25.4;
constexpr int ContentTwips = int((PageWidthMm - 18 - 15) * TwipsPerMm);

int twips(double mm) {
    return int(std::lround(mm * TwipsPerMm));
}

class RtfWriter {
public:
    RtfWriter(const ResolvedReport& r, const std::vector<bool>& newSheets)
        : r_(r), newSheets_(newSheets) {}

    QByteArray run() {
        QByteArray body;
        for (size_t p = 0; p < r_.pages.size(); ++p) {
            if (p > 0 && (p >= newSheets_.size() || newSheets_[p]))
                body += "\\pard\\plain\\f0\\fs2\\page\\par\n";
            else if (p > 0)
                body += "\\pard\\plain\\f0\\fs2\\sb" + QByteArray::number(twips(9)) + "\\par\n";
            for (const ResolvedBlock& b : r_.pages[p].blocks)
                body += block(b);
        }
        QByteArray header = decoration(r_.headerLeft, r_.headerRight, r_.headerStyle, true);
        QByteArray footer;
        if (!r_.footerLeft.isEmpty() || !r_.footerRight.isEmpty())
            footer = decoration(r_.footerLeft, r_.footerRight, r_.footerStyle, false);

        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
        for (int i = 0; i < r_.fonts.size(); ++i)
            out +=
                "{\\f" + QByteArray::number(i) + "\\fswiss\\fcharset0 " + text(r_.fonts[i]) + ";}";
        out += "}\n{\\colortbl;";
        for (const QColor& c : colors_)
            out += "\\red" + QByteArray::number(c.red()) + "\\green" +
                   QByteArray::number(c.green()) + "\\blue" + QByteArray::number(c.blue()) + ';';
        out += "}\n{\\*\\generator Zefrant;}\n{\\info{\\title " + text(r_.title) +
               "}{\\doccomm Zefrant}}\n";
        out += "\\paperw" + QByteArray::number(twips(PageWidthMm)) + "\\paperh" +
               QByteArray::number(twips(PageHeightMm)) + "\\margl" + QByteArray::number(twips(18)) +
               "\\margr" + QByteArray::number(twips(15)) + "\\margt" +
               QByteArray::number(twips(21)) + "\\margb" + QByteArray::number(twips(16)) +
               "\\headery" + QByteArray::number(twips(9)) + "\\footery" +
               QByteArray::number(twips(9)) + "\n";
        out += "{\\header " + header + "}\n";
        if (!footer.isEmpty())
            out += "{\\footer " + footer + "}\n";
        out += body;
        out += "}\n";
        return out;
    }

private:
    int color(const QColor& c) {
        for (size_t i = 0; i < colors_.size(); ++i)
            if (colors_[i] == c)
                return int(i) + 1;
        colors_.push_back(c);
        return int(colors_.size());
    }

    // Text in RTF: the page marks become fields.
    static QByteArray text(const QString& s) {
        QByteArray out;
        for (const QChar c : s) {
            const char16_t u = c.unicode();
            if (u == PageNumberMark)
                out += "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}";
            else if (u == PageCountMark)
                out += "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}";
            else if (u == '\\' || u == '{' || u == '}')
                out += '\\' + char(u);
            else if (u == '\n')
                out += "\\line ";
            else if (u == '\t')
                out += "\\tab ";
            else if (u >= 0x20 && u < 0x80)
                out += char(u);
            else if (u >= 0x80)
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
        return out;
    }

    QByteArray charFormat(const ReportStyle& s) {
        QByteArray f = "\\f0\\fs" + QByteArray::number(int(std::lround(s.size * 2)));
        if (s.bold)
            f += "\\b";
        if (s.italic)
            f += "\\i";
        f += "\\cf" + QByteArray::number(color(s.color)) + ' ';
        return f;
    }

    static QByteArray alignment(const QString& align) {
        if (align == QLatin1String("right"))
            return "\\qr";
        if (align == QLatin1String("center"))
            return "\\qc";
        return "\\ql";
    }

    QByteArray decoration(const QString& left, const QString& right, const ReportStyle& s,
                          bool ruleBelow) {
        QByteArray out = "\\pard\\plain\\tqr\\tx" + QByteArray::number(ContentTwips);
        if (ruleBelow)
            out += "\\brdrb\\brdrs\\brdrw10\\brsp40";
        else
            out += "\\brdrt\\brdrs\\brdrw10\\brsp40";
        out += charFormat(s) + text(left) + "\\tab " + text(right) + "\\par\n";
        return out;
    }

    QByteArray block(const ResolvedBlock& b) {
        switch (b.type) {
        case ResolvedBlock::Paragraph: {
            QByteArray out = "\\pard\\plain" + alignment(b.style.align) + "\\sb" +
                             QByteArray::number(twips(b.style.spaceBefore)) + "\\sa" +
                             QByteArray::number(twips(b.style.spaceAfter));
            if (b.style.keepWithNext)
                out += "\\keepn";
            if (b.style.background.isValid())
                out += "\\cbpat" + QByteArray::number(color(b.style.background));
            return out + charFormat(b.style) + text(b.text) + "\\par\n";
        }
        case ResolvedBlock::Space:
            return "\\pard\\plain\\f0\\fs2\\sb" + QByteArray::number(twips(b.height)) + "\\par\n";
        case ResolvedBlock::Rule:
            return "\\pard\\plain\\f0\\fs4\\brdrb\\brdrs\\brdrw15\\brsp20\\par\n";
        case ResolvedBlock::Picture:
            return picture(b);
        case ResolvedBlock::Table:
            return table(b.table);
        }
        return {};
    }

    QByteArray picture(const ResolvedBlock& b) {
        const QSizeF natural = pictureSize(b.file);
        if (natural.isEmpty())
            return {};
        const double boxW = std::min(b.width, PageWidthMm - 33);
        const double scale = std::min(boxW / natural.width(), b.height / natural.height());
        const double wmm = natural.width() * scale, hmm = natural.height() * scale;
        const int px = int(std::lround(wmm / 25.4 * 150)), py = int(std::lround(hmm / 25.4 * 150));
        QImage img(std::max(px, 1), std::max(py, 1), QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            if (b.file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
                QSvgRenderer r(b.file);
                r.render(&p, QRectF(0, 0, img.width(), img.height()));
            } else {
                p.drawImage(QRectF(0, 0, img.width(), img.height()), QImage(b.file));
            }
        }
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        QByteArray out = "\\pard\\plain" + alignment(b.style.align) +
                         "\\sb60\\sa60{\\pict\\pngblip\\picw" + QByteArray::number(img.width()) +
                         "\\pich" + QByteArray::number(img.height()) + "\\picwgoal" +
                         QByteArray::number(twips(wmm)) + "\\pichgoal" +
                         QByteArray::number(twips(hmm)) + "\n";
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128)
            out += hex.mid(i, 128) + '\n';
        return out + "}\\par\n";
    }

    QByteArray row(const ResolvedRow& r, const ResolvedTable& t, const std::vector<int>& xs,
                   bool header) {
        QByteArray defs = "\\trowd\\trgaph68\\trleft0";
        if (header)
            defs += "\\trhdr";
        defs += "\\trkeep";
        QByteArray cells;
        size_t col = 0;
        const int border = color(QColor(0x8a, 0x97, 0x9e));
        for (const ResolvedCell& c : r.cells) {
            if (col >= t.weights.size())
                break;
            const size_t end = std::min(t.weights.size(), col + size_t(c.span));
            col = end;
            if (c.style.background.isValid())
                defs += "\\clcbpat" + QByteArray::number(color(c.style.background));
            if (t.ruled)
                for (const char* side : {"t", "l", "b", "r"})
                    defs += "\\clbrdr" + QByteArray(side) + "\\brdrs\\brdrw5\\brdrcf" +
                            QByteArray::number(border);
            defs += "\\cellx" + QByteArray::number(xs[end]);
            cells += "\\pard\\plain\\intbl" + alignment(c.style.align) + charFormat(c.style) +
                     text(c.text) + "\\cell\n";
        }
        return defs + '\n' + cells + "\\row\n";
    }

    QByteArray table(const ResolvedTable& t) {
        std::vector<int> xs;
        for (double share : tableColumnShares(r_, t))
            xs.push_back(int(std::lround(ContentTwips * share)));
        QByteArray out;
        for (const ResolvedRow& r : t.header)
            out += row(r, t, xs, true);
        for (const ResolvedRow& r : t.body)
            out += row(r, t, xs, false);
        for (const ResolvedRow& r : t.footer)
            out += row(r, t, xs, false);
        // A paragraph between two tables keeps them apart.
        out += "\\pard\\plain\\f0\\fs" + QByteArray::number(t.ruled ? 10 : 4) + "\\par\n";
        return out;
    }

    const ResolvedReport& r_;
    const std::vector<bool>& newSheets_;
    std::vector<QColor> colors_;
};

} // namespace

QByteArray renderReportRtf(const ResolvedReport& report, const std::vector<bool>& newSheets) {
    RtfWriter w(report, newSheets);
    return w.run();
}

} // namespace zf

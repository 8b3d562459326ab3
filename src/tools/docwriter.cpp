#include "docwriter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <QSaveFile>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <optional>

namespace zf::doc {

namespace {

constexpr double PageW = 210, PageH = 297; // A4 [mm]
constexpr double MarginL = 18, MarginR = 18, MarginT = 22, MarginB = 20;
const QColor Zebra(0xf1, 0xf4, 0xf6);
const QColor Rule(0xc9, 0xd1, 0xd6);
const QColor Muted(0x6b, 0x77, 0x7e);

QFont textFont(double pt, bool bold = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPointSizeF(pt);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

using Op = std::function<void(QPainter&)>;

// Layout state: pages of paint operations and the cursor, in device units.
struct Flow {
    QPaintDevice* dev = nullptr;
    double k = 1; // device units per millimetre
    QRectF content;
    std::vector<std::vector<Op>> pages;
    double y = 0;

    double mm(double v) const { return v * k; }
    void newPage() {
        pages.emplace_back();
        y = content.top();
    }
    bool atTop() const { return y <= content.top() + 0.5; }
    double remaining() const { return content.bottom() - y; }
    // A heading waits to be placed with the first piece of what follows it, so
    // that it never stands alone at the foot of a page.
    struct Pending {
        double before = 0, height = 0;
        std::function<void(double top)> place;
    };
    std::optional<Pending> pending;

    void ensure(double h) {
        const double extra = pending ? pending->before + pending->height : 0;
        if (h + extra > remaining() && !atTop())
            newPage();
        flush();
    }
    void flush() {
        if (!pending)
            return;
        Pending p = std::move(*pending);
        pending.reset();
        if (!atTop())
            y += p.before;
        p.place(y);
        y += p.height;
    }
    void add(Op op) { pages.back().push_back(std::move(op)); }
};

struct Block {
    virtual ~Block() = default;
    virtual void layout(Flow& f) = 0;
};

// Lines of wrapped text, kept alive for painting.
struct Lines {
    std::shared_ptr<QTextLayout> layout;
    std::vector<double> tops, heights;
};

Lines wrap(const QString& text, const QFont& font, double width, QPaintDevice* dev) {
    Lines l;
    l.layout = std::make_shared<QTextLayout>(text, font, dev);
    QTextOption o;
    o.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    l.layout->setTextOption(o);
    l.layout->beginLayout();
    double y = 0;
    for (;;) {
        QTextLine line = l.layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        const double h = line.height() * 1.12;
        l.tops.push_back(y);
        l.heights.push_back(h);
        y += h;
    }
    l.layout->endLayout();
    return l;
}

struct TitleBlock : Block {
    QString title, subtitle;
    QColor ink, accent;
    void layout(Flow& f) override {
        const double h = f.mm(30);
        f.ensure(h);
        const QRectF band(f.content.left(), f.y, f.content.width(), h);
        const double k = f.k;
        f.add([=, t = title, s = subtitle, ink = ink, accent = accent](QPainter& p) {
            p.fillRect(band, ink);
            p.fillRect(QRectF(band.left(), band.bottom() - 1.6 * k, band.width(), 1.6 * k), accent);
            p.setPen(Qt::white);
            p.setFont(textFont(19, true));
            p.drawText(band.adjusted(6 * k, 4 * k, -6 * k, -14 * k),
                       Qt::AlignLeft | Qt::AlignBottom, t);
            p.setFont(textFont(11));
            p.drawText(band.adjusted(6 * k, 18 * k, -6 * k, -4 * k), Qt::AlignLeft | Qt::AlignTop,
                       s);
        });
        f.y += h + f.mm(6);
    }
};

struct TextBlock : Block {
    QString text;
    double pt = 9.5;
    bool bold = false;
    double indentMm = 0;
    QString bullet;
    double spaceBeforeMm = 0, spaceAfterMm = 2.2;
    QColor colour;
    void layout(Flow& f) override {
        const QFont font = textFont(pt, bold);
        const double indent = f.mm(indentMm);
        Lines l = wrap(text, font, f.content.width() - indent, f.dev);
        if (!f.atTop() && !f.pending)
            f.y += f.mm(spaceBeforeMm);
        for (std::size_t i = 0; i < l.tops.size(); ++i) {
            // Keep the first two lines of a paragraph together.
            const double need =
                i == 0 && l.heights.size() > 1 ? l.heights[0] + l.heights[1] : l.heights[i];
            f.ensure(need);
            const QPointF at(f.content.left() + indent, f.y - l.tops[i]);
            const auto layout = l.layout;
            const int index = int(i);
            const QColor c = colour;
            const bool first = i == 0;
            const QString b = bullet;
            const double bx = f.content.left() + indent - f.mm(4);
            const double baseline = f.y + layout->lineAt(index).ascent();
            f.add([=](QPainter& p) {
                p.setPen(c);
                layout->lineAt(index).draw(&p, at);
                if (first && !b.isEmpty()) {
                    p.setFont(textFont(9.5, true));
                    p.drawText(QPointF(bx, baseline), b);
                }
            });
            f.y += l.heights[i];
        }
        f.y += f.mm(spaceAfterMm);
    }
};

struct HeadingBlock : Block {
    QString text;
    int level = 1;
    QColor ink, accent;
    void layout(Flow& f) override {
        f.flush();
        const double pt = level == 1 ? 13.5 : 11;
        const QFont font = textFont(pt, true);
        const QFontMetricsF fm(font, f.dev);
        const double h = fm.height();
        const double k = f.k;
        Flow::Pending p;
        p.before = f.mm(level == 1 ? 6 : 4);
        p.height = h + f.mm(level == 1 ? 3 : 2);
        Flow* flow = &f;
        p.place = [=, t = text, lvl = level, ink = ink, accent = accent](double top) {
            const QRectF r(flow->content.left(), top, flow->content.width(), h);
            flow->add([=](QPainter& painter) {
                if (lvl == 1)
                    painter.fillRect(
                        QRectF(r.left(), r.top() + 0.15 * r.height(), 1.4 * k, 0.7 * r.height()),
                        accent);
                painter.setFont(font);
                painter.setPen(ink);
                painter.drawText(r.adjusted(lvl == 1 ? 3.5 * k : 0, 0, 0, 0),
                                 Qt::AlignLeft | Qt::AlignVCenter, t);
            });
        };
        f.pending = std::move(p);
    }
};

struct TableBlock : Block {
    Table t;
    QColor ink;
    void layout(Flow& f) override {
        const std::size_t cols = t.widths.size();
        if (cols == 0)
            return;
        double total = 0;
        for (const double w : t.widths)
            total += w;
        std::vector<double> x(cols + 1, f.content.left());
        for (std::size_t c = 0; c < cols; ++c)
            x[c + 1] = x[c] + t.widths[c] / total * f.content.width();
        const double pad = f.mm(1.1);
        const QFont body = textFont(t.fontPt), bold = textFont(t.fontPt, true);

        auto flags = [&](std::size_t c) {
            const int a = c < t.align.size() ? t.align[c] : -1;
            return int(Qt::TextWordWrap | Qt::AlignVCenter |
                       (a < 0    ? Qt::AlignLeft
                        : a == 0 ? Qt::AlignHCenter
                                 : Qt::AlignRight));
        };
        auto rowHeight = [&](const QStringList& row, bool header) {
            double h = 0;
            for (std::size_t c = 0; c < cols; ++c) {
                const QFont& font = header || (c == 0 && t.firstColumnBold) ? bold : body;
                const QFontMetricsF fm(font, f.dev);
                const QRectF br = fm.boundingRect(QRectF(0, 0, x[c + 1] - x[c] - 2 * pad, 1e9),
                                                  flags(c), row.value(qsizetype(c)));
                h = std::max(h, br.height());
            }
            return h + 2 * pad;
        };
        auto placeRow = [&](const QStringList& row, bool header, bool zebra) {
            const double h = rowHeight(row, header);
            const double top = f.y;
            const auto fl = flags;
            const QColor in = ink;
            const bool firstBold = t.firstColumnBold;
            std::vector<int> fls;
            for (std::size_t c = 0; c < cols; ++c)
                fls.push_back(fl(c));
            f.add([=, xs = x](QPainter& p) {
                const QRectF r(xs.front(), top, xs.back() - xs.front(), h);
                if (header)
                    p.fillRect(r, in);
                else if (zebra)
                    p.fillRect(r, Zebra);
                for (std::size_t c = 0; c < cols; ++c) {
                    p.setFont(header || (c == 0 && firstBold) ? bold : body);
                    p.setPen(header ? QColor(Qt::white) : in);
                    p.drawText(
                        QRectF(xs[c] + pad, top + pad, xs[c + 1] - xs[c] - 2 * pad, h - 2 * pad),
                        fls[c], row.value(qsizetype(c)));
                }
                p.setPen(QPen(header ? in : Rule, 0));
                p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right(), r.bottom()));
            });
            f.y += h;
        };
        auto placeHeader = [&]() {
            for (const QStringList& h : t.header)
                placeRow(h, true, false);
        };
        double headerH = 0;
        for (const QStringList& h : t.header)
            headerH += rowHeight(h, true);
        // At the foot of a page a table starts only with a few of its rows.
        double firstRow = 0;
        for (std::size_t i = 0; i < std::min<std::size_t>(3, t.rows.size()); ++i)
            firstRow += rowHeight(t.rows[i], false);
        double captionH = 0;
        Lines cap;
        if (!t.caption.isEmpty()) {
            cap = wrap(t.caption, textFont(9, true), f.content.width(), f.dev);
            for (const double h : cap.heights)
                captionH += h;
            captionH += f.mm(1);
        }
        double whole = captionH + headerH;
        for (const QStringList& row : t.rows)
            whole += rowHeight(row, false);
        if (!f.atTop() && !f.pending)
            f.y += f.mm(1.5);
        // A short table moves whole to the next page rather than split.
        const double extra = f.pending ? f.pending->before + f.pending->height : 0;
        if (whole <= f.content.height() / 3 && whole + extra > f.remaining())
            f.ensure(whole);
        else
            f.ensure(captionH + headerH + firstRow);
        if (!t.caption.isEmpty()) {
            const QPointF at(f.content.left(), f.y);
            const auto layout = cap.layout;
            const QColor in = ink;
            f.add([=](QPainter& p) {
                p.setPen(in);
                layout->draw(&p, at);
            });
            f.y += captionH;
        }
        placeHeader();
        bool zebra = false;
        for (const QStringList& row : t.rows) {
            const double h = rowHeight(row, false);
            if (h > f.remaining()) {
                f.newPage();
                placeHeader();
            }
            placeRow(row, false, zebra);
            zebra = !zebra;
        }
        f.y += f.mm(3);
    }
};

struct FigureBlock : Block {
    std::vector<Figure> row;
    QColor ink;
    void layout(Flow& f) override {
        const double gap = f.mm(5);
        double w = 0, h = 0;
        bool captions = false;
        for (const Figure& fig : row) {
            w += f.mm(fig.widthMm);
            h = std::max(h, f.mm(fig.heightMm));
            captions = captions || !fig.caption.isEmpty();
        }
        w += gap * double(row.size() - 1);
        // Captions under each figure, wrapped to its width.
        std::vector<Lines> caps;
        double capH = 0;
        for (const Figure& fig : row) {
            caps.push_back(wrap(fig.caption, textFont(8), f.mm(fig.widthMm), f.dev));
            double ch = 0;
            for (const double lh : caps.back().heights)
                ch += lh;
            capH = std::max(capH, ch);
        }
        const double total = h + (captions ? f.mm(1.5) + capH : 0);
        if (!f.atTop() && !f.pending)
            f.y += f.mm(1.5);
        f.ensure(total);
        double x = f.content.left() + (f.content.width() - w) / 2;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const Figure& fig = row[i];
            const QRectF r(x, f.y, f.mm(fig.widthMm), f.mm(fig.heightMm));
            const PaintFn paint = fig.paint;
            const auto layout = caps[i].layout;
            const QPointF capAt(x, f.y + h + f.mm(1.5));
            const QColor in = ink;
            f.add([=](QPainter& p) {
                p.save();
                if (paint)
                    paint(p, r);
                p.restore();
                p.setPen(in);
                layout->draw(&p, capAt);
            });
            x += r.width() + gap;
        }
        f.y += total + f.mm(3);
    }
};

struct SpaceBlock : Block {
    double mm = 0;
    int kind = 0; // 0 space, 1 page break, 2 need space
    void layout(Flow& f) override {
        if (kind == 1) {
            if (!f.atTop())
                f.newPage();
        } else if (kind == 2) {
            if (f.remaining() < f.mm(mm) && !f.atTop())
                f.newPage();
        } else {
            f.flush();
            f.y = std::min(f.content.bottom(), f.y + f.mm(mm));
        }
    }
};

} // namespace

struct Document::Impl {
    PageSetup setup;
    std::vector<std::unique_ptr<Block>> blocks;
};

Document::Document(PageSetup setup) : d(std::make_unique<Impl>()) {
    d->setup = std::move(setup);
}

Document::~Document() = default;

void Document::titleBlock(const QString& title, const QString& subtitle) {
    auto b = std::make_unique<TitleBlock>();
    b->title = title;
    b->subtitle = subtitle;
    b->ink = d->setup.ink;
    b->accent = d->setup.accent;
    d->blocks.push_back(std::move(b));
}

void Document::heading(const QString& text, int level) {
    auto b = std::make_unique<HeadingBlock>();
    b->text = text;
    b->level = level;
    b->ink = d->setup.ink;
    b->accent = d->setup.accent;
    d->blocks.push_back(std::move(b));
}

void Document::paragraph(const QString& text, double pt, bool bold) {
    auto b = std::make_unique<TextBlock>();
    b->text = text;
    b->pt = pt;
    b->bold = bold;
    b->colour = d->setup.ink;
    d->blocks.push_back(std::move(b));
}

void Document::bullets(const QStringList& items, double pt) {
    for (const QString& item : items) {
        auto b = std::make_unique<TextBlock>();
        b->text = item;
        b->pt = pt;
        b->indentMm = 5;
        b->bullet = QStringLiteral("\u2022");
        b->spaceAfterMm = 1.2;
        b->colour = d->setup.ink;
        d->blocks.push_back(std::move(b));
    }
    spacer(1.5);
}

void Document::table(const Table& table) {
    auto b = std::make_unique<TableBlock>();
    b->t = table;
    b->ink = d->setup.ink;
    d->blocks.push_back(std::move(b));
}

void Document::figures(const std::vector<Figure>& row) {
    if (row.empty())
        return;
    auto b = std::make_unique<FigureBlock>();
    b->row = row;
    b->ink = d->setup.ink;
    d->blocks.push_back(std::move(b));
}

void Document::spacer(double mm) {
    auto b = std::make_unique<SpaceBlock>();
    b->mm = mm;
    d->blocks.push_back(std::move(b));
}

void Document::pageBreak() {
    auto b = std::make_unique<SpaceBlock>();
    b->kind = 1;
    d->blocks.push_back(std::move(b));
}

void Document::needSpace(double mm) {
    auto b = std::make_unique<SpaceBlock>();
    b->kind = 2;
    b->mm = mm;
    d->blocks.push_back(std::move(b));
}

int Document::writePdf(const QString& path, const QString& title, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return 0;
    }
    QPdfWriter writer(&file);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setResolution(1200);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Zefrant"));

    QPainter p;
    if (!p.begin(&writer)) {
        *error = QStringLiteral("cannot paint %1").arg(path);
        return 0;
    }
    p.setRenderHint(QPainter::Antialiasing);
    Flow f;
    f.dev = &writer;
    f.k = writer.resolution() / 25.4;
    f.content = QRectF(f.mm(MarginL), f.mm(MarginT), f.mm(PageW - MarginL - MarginR),
                       f.mm(PageH - MarginT - MarginB));
    f.newPage();
    for (const auto& b : d->blocks)
        b->layout(f);
    f.flush();
    if (f.pages.size() > 1 && f.pages.back().empty())
        f.pages.pop_back();

    const int n = int(f.pages.size());
    const PageSetup& s = d->setup;
    const double k = f.k;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            writer.newPage();
        // Header and footer.
        p.setPen(QPen(Rule, 0.25 * k));
        p.drawLine(QPointF(f.content.left(), 15 * k), QPointF(f.content.right(), 15 * k));
        p.drawLine(QPointF(f.content.left(), (PageH - 14) * k),
                   QPointF(f.content.right(), (PageH - 14) * k));
        p.setFont(textFont(7.5));
        p.setPen(Muted);
        const QRectF head(f.content.left(), 9 * k, f.content.width(), 5 * k);
        p.drawText(head, Qt::AlignLeft | Qt::AlignVCenter, s.headerLeft);
        p.drawText(head, Qt::AlignRight | Qt::AlignVCenter, s.headerRight);
        const QRectF foot(f.content.left(), (PageH - 13) * k, f.content.width(), 5 * k);
        p.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, s.footerLeft);
        p.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, s.pageText.arg(i + 1).arg(n));
        for (const Op& op : f.pages[std::size_t(i)]) {
            p.save();
            op(p);
            p.restore();
        }
    }
    if (!p.end() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return 0;
    }
    return n;
}

} // namespace zf::doc

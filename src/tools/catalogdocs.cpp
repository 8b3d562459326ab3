#include "catalogdocs.h"

#include "artkit.h"
#include "catalogdata.h"
#include "catalogpictures.h"
#include "doctexts.h"
#include "docwriter.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "jetmodel.h"
#include "shell/commands.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zf::art {

// ------------------------------------------------------------------ the list

bool readDocumentList(const QString& path, std::vector<DocumentEntry>* list, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    list->clear();
    bool header = true;
    int lineNo = 0;
    for (QString line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        ++lineNo;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList c = line.split(QLatin1Char('\t'));
        if (header) {
            header = false;
            continue;
        }
        bool okGroup = false, okId = false;
        DocumentEntry d;
        d.group = c.value(0).toInt(&okGroup);
        d.folder = c.value(1).trimmed();
        d.base = c.value(2).trimmed();
        d.captionId = c.value(3).trimmed().isEmpty() ? 0 : c.value(3).toInt(&okId);
        if (c.value(3).trimmed().isEmpty())
            okId = true;
        d.caption = c.value(4).trimmed();
        d.content = c.value(5).trimmed();
        if (!okGroup || !okId || d.group < 0 || d.group > 2 || d.base.isEmpty() ||
            (!d.separator() && (d.content.isEmpty() || d.folder.isEmpty() ||
                                (d.captionId == 0 && d.caption.isEmpty()))) ||
            d.base.contains(QLatin1Char('/')) || d.folder.contains(QLatin1String(".."))) {
            *error = QStringLiteral("%1:%2: malformed document row").arg(path).arg(lineNo);
            return false;
        }
        list->push_back(d);
    }
    return true;
}

QString documentFileName(const DocumentEntry& d, const QString& code) {
    if (d.group == 2)
        return d.folder + QLatin1Char('/') + d.base + code + QStringLiteral(".pdf");
    return d.folder + QLatin1Char('/') + d.base + QLatin1Char('_') + code + QStringLiteral(".pdf");
}

namespace {

// A caption from the text table without its accelerator and trailing colon.
QString plain(QString s) {
    s.remove(QLatin1Char('&'));
    s = s.trimmed();
    if (s.endsWith(QLatin1Char(':')))
        s.chop(1);
    return s.trimmed();
}

} // namespace

QString documentCaption(const DocumentEntry& d, const QString& code) {
    if (d.captionId > 0)
        return plain(LanguageTextIn(baseOfStoredCode(code), d.captionId));
    return d.caption;
}

// ------------------------------------------------------------------ content

namespace {

using doc::Document;
using doc::Figure;
using doc::Table;

struct Ctx {
    const Catalog& cat;
    const std::vector<DocumentEntry>& all;
    QString code;
    int base;
    QChar dp;

    QString t(const char* key) const { return docText(code, key); }
    QString txt(int id) const { return plain(LanguageTextIn(base, id)); }
    QString num(double v) const { return numberText(v, dp); }
    QString fixed(double v, int decimals) const {
        return QString::number(v, 'f', decimals).replace(QLatin1Char('.'), dp);
    }
    // Texts of the catalog written with a decimal point ("14-18", "0.5").
    QString dataText(const QString& s) const {
        if (s.isEmpty())
            return t("noValue");
        QString out = s;
        out.replace(QLatin1Char('.'), dp);
        out.replace(QLatin1Char('-'), QChar(0x2013));
        return out;
    }
};

Figure pictureFigure(const Picture& pic, double widthMm, double heightMm, const QString& caption) {
    Figure f;
    f.paint = [pic](QPainter& p, const QRectF& r) { paintPicture(p, pic, r); };
    f.widthMm = widthMm;
    f.heightMm = heightMm;
    f.caption = caption;
    return f;
}

// Height [mm] of a picture drawn at the given width.
double heightAt(const Picture& pic, double widthMm) {
    return widthMm * pic.size.height() / pic.size.width();
}

QString shortName(const QString& typ) {
    QString s = typ;
    if (s.startsWith(QLatin1String("Brisant ")))
        s = s.mid(8);
    return s;
}

QString techName(const UnitType& u) {
    return shortName(u.tech ? u.tech->typ : u.typ);
}

const UnitType* middleType(const std::vector<const UnitType*>& types) {
    return types.empty() ? nullptr : types[types.size() / 2];
}

Document makeDocument(const Ctx& c, const QString& title) {
    doc::PageSetup s;
    s.headerLeft = title;
    s.headerRight = c.t("productLine");
    const SupplierText sup = supplier(c.base);
    s.footerLeft = sup.company + QStringLiteral(" \u00b7 ") + sup.web;
    s.pageText = c.t("page");
    return Document(s);
}

// The technical data of the types, one row per quantity, one column per type.
Table technicalTable(const Ctx& c, const std::vector<const UnitType*>& types) {
    Table t;
    t.fontPt = types.size() > 8 ? 7.5 : 8.5;
    t.firstColumnBold = true;
    t.widths.push_back(3.6);
    t.align.push_back(-1);
    QStringList head{c.txt(2131)};
    for (const UnitType* u : types) {
        head << techName(*u);
        t.widths.push_back(1);
        t.align.push_back(0);
    }
    t.header.push_back(head);
    struct Line {
        int id;
        QString unit;
        std::function<QString(const TechnicalData&)> value;
        bool optional;
    };
    const std::vector<Line> lines = {
        {1510, QStringLiteral("kW"), [&](const TechnicalData& d) { return c.num(d.heatOutput); },
         false},
        {1511, QStringLiteral("kW"), [&](const TechnicalData& d) { return c.num(d.heatOutputMin); },
         false},
        {1512, QStringLiteral("m\u00b3/h"),
         [&](const TechnicalData& d) { return c.num(d.airFlow); }, false},
        {1513, QStringLiteral("W"), [&](const TechnicalData& d) { return c.num(d.electricInput); },
         false},
        {1514, QStringLiteral("m"), [&](const TechnicalData& d) { return c.dataText(d.range); },
         true},
        {1515, QStringLiteral("\u00b0C"),
         [&](const TechnicalData& d) { return c.dataText(d.tempRise); }, false},
        {1516, QStringLiteral("dB"), [&](const TechnicalData& d) { return c.dataText(d.noise); },
         true},
        {1517, QStringLiteral("Pa"), [&](const TechnicalData& d) { return c.dataText(d.pressure); },
         true},
    };
    for (const Line& l : lines) {
        if (l.optional) {
            // A line no type of the series has is left out, as the viewer does.
            bool any = false;
            for (const UnitType* u : types) {
                if (!u->tech)
                    continue;
                const QString raw = l.id == 1514   ? u->tech->range
                                    : l.id == 1516 ? u->tech->noise
                                                   : u->tech->pressure;
                any = any || !raw.isEmpty();
            }
            if (!any)
                continue;
        }
        QStringList row{c.txt(l.id) + QStringLiteral(" [") + l.unit + QLatin1Char(']')};
        for (const UnitType* u : types)
            row << (u->tech ? l.value(*u->tech) : c.t("noValue"));
        t.rows.push_back(row);
    }
    return t;
}

Table dimensionTable(const Ctx& c, const QString& family,
                     const std::vector<const UnitType*>& types) {
    Table t;
    const QStringList cols = dimensionColumnsOf(family);
    t.fontPt = cols.size() > 16 ? 6.8 : 7.8;
    t.firstColumnBold = true;
    t.widths.push_back(cols.size() > 16 ? 2.8 : 2.4);
    t.align.push_back(-1);
    QStringList head{c.txt(2131)}, units{QString()};
    for (const QString& col : cols) {
        const bool weight = col == QLatin1String("Netto") || col == QLatin1String("Brutto");
        head << (col == QLatin1String("Netto")    ? c.t("net")
                 : col == QLatin1String("Brutto") ? c.t("gross")
                                                  : col);
        units << (weight ? QStringLiteral("kg") : QStringLiteral("mm"));
        t.widths.push_back(weight ? 1.25 : 1);
        t.align.push_back(0);
    }
    t.header = {head, units};
    for (const UnitType* u : types) {
        QStringList row{shortName(u->typ)};
        for (const QString& col : cols)
            row << (u->hasDim(col) ? c.num(u->dim(col)) : c.t("noValue"));
        t.rows.push_back(row);
    }
    t.caption = c.t("dimTableCaption");
    return t;
}

Table jetTable(const Ctx& c, const std::vector<const UnitType*>& types) {
    Table t;
    t.fontPt = types.size() > 8 ? 7.5 : 8.5;
    t.firstColumnBold = true;
    t.widths.push_back(3.6);
    t.align.push_back(-1);
    QStringList head{c.txt(2131)};
    std::vector<JetModel> jets;
    for (const UnitType* u : types) {
        head << techName(*u);
        t.widths.push_back(1);
        t.align.push_back(0);
        jets.push_back(JetModel::forType(*u));
    }
    t.header.push_back(head);
    const std::vector<std::pair<const char*, std::function<QString(const JetModel&)>>> rows = {
        {"jetV0", [&](const JetModel& j) { return c.fixed(j.v0, 2); }},
        {"jetD0", [&](const JetModel& j) { return c.fixed(j.d0, 2); }},
        {"jetL", [&](const JetModel& j) { return c.fixed(j.range, 1); }},
        {"jetS0", [&](const JetModel& j) { return c.fixed(j.coreLength, 1); }},
        {"jetH0", [&](const JetModel& j) { return c.fixed(j.height, 1); }},
        {"jetTilt", [&](const JetModel& j) { return c.fixed(j.tilt * 180 / std::numbers::pi, 1); }},
    };
    for (const auto& [key, value] : rows) {
        QStringList row{c.t(key)};
        for (const JetModel& j : jets)
            row << (j.valid() ? value(j) : c.t("noValue"));
        t.rows.push_back(row);
    }
    t.caption = c.t("jetTableCaption");
    return t;
}

void airDistribution(Document& d, const Ctx& c, const QString& family,
                     const std::vector<const UnitType*>& types) {
    std::vector<const UnitType*> withJet;
    for (const UnitType* u : types)
        if (JetModel::forType(*u).valid() && !u->velocityPicture.isEmpty())
            withJet.push_back(u);
    if (withJet.empty())
        return;
    const bool mk = family == QLatin1String("MK-I");
    d.heading(c.t("airDistribution"));
    d.paragraph(c.t("jetIntro"), 8.8);
    if (mk)
        d.paragraph(c.t("jetNoRange"), 8.8);
    d.table(jetTable(c, withJet));
    const Picture lv = velocityLegend(mk), lt = temperatureLegend();
    d.figures({pictureFigure(lv, 30, heightAt(lv, 30), c.t("legendV")),
               pictureFigure(lt, 30, heightAt(lt, 30), c.t("legendT"))});
    for (const UnitType* u : withJet) {
        const JetModel jet = JetModel::forType(*u);
        const Picture v = velocityPicture(*u, jet), tp = temperaturePicture(*u, jet);
        d.figures(
            {pictureFigure(v, 84, heightAt(v, 84), u->typ + QStringLiteral(": ") + c.txt(1508)),
             pictureFigure(tp, 84, heightAt(tp, 84), u->typ + QStringLiteral(": ") + c.txt(1509))});
    }
}

void familySheet(Document& d, const Ctx& c, const QString& key, const QString& title) {
    const Family* fam = c.cat.family(key);
    const std::vector<const UnitType*> types = c.cat.typesOf(key);
    d.titleBlock(title, fam ? fam->name.value(c.code) : key);
    d.heading(c.t("description"));
    const Picture photo = familyPhoto(key);
    if (!photo.isNull())
        d.figure(pictureFigure(photo, 96, heightAt(photo, 96), QString()));
    if (fam)
        d.paragraph(fam->description.value(c.code));
    bool anyTech = false;
    for (const UnitType* u : types)
        anyTech = anyTech || u->tech.has_value();
    if (anyTech) {
        d.heading(c.txt(1504));
        Table t = technicalTable(c, types);
        t.caption = c.t("techTableCaption");
        d.table(t);
    }
    d.heading(c.txt(1505));
    if (const UnitType* m = middleType(types)) {
        const Picture dims = dimensionDrawing(*m);
        d.figure(
            pictureFigure(dims, 150, heightAt(dims, 150), c.t("dimDrawingCaption").arg(m->typ)));
    }
    d.paragraph(c.t("lettersCaption").arg(c.t(("letters:" + key).toLatin1().constData())), 8.5);
    d.table(dimensionTable(c, key, types));
    airDistribution(d, c, key, types);
    d.needSpace(50);
    d.heading(c.t("installation"));
    d.bullets(c.t(("install:" + key).toLatin1().constData()).split(QLatin1Char('|')));
}

// ------------------------------------------------------------------ drawings

using namespace kit;

Picture flueSchemes() {
    Picture pic;
    pic.size = QSize(600, 230);
    pic.paint = [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 600, 230), Paper);
        auto unit = [&](QRectF r) {
            p.setPen(QPen(Ink, 1.4));
            p.setBrush(Grey1);
            p.drawRect(r);
            p.setPen(QPen(Heat, 2.2));
            p.drawLine(r.topLeft() + QPointF(0, 8), r.bottomLeft() - QPointF(0, 8));
        };
        auto pipe = [&](QPointF a, QPointF b, double w, const QColor& fill) {
            const QLineF l(a, b);
            const QPointF n = QPointF(-l.dy(), l.dx()) / l.length() * (w / 2);
            QPolygonF pg({a + n, b + n, b - n, a - n});
            p.setPen(QPen(Ink, 1.1));
            p.setBrush(fill);
            p.drawPolygon(pg);
        };
        auto arrow = [&](QPointF a, QPointF b, const QColor& col) {
            p.setPen(QPen(col, 1.6));
            p.drawLine(a, b);
            p.setPen(QPen(col, 1.0));
            arrowHead(p, b, b.x() - a.x(), b.y() - a.y(), 8, 3);
        };
        p.setFont(font(18, true));
        // C12: through the wall.
        {
            const QRectF wall(150, 20, 22, 170);
            p.fillRect(wall, Paper);
            hatch(p, wall, 6, Grey3);
            p.setPen(QPen(Ink, 1.2));
            p.drawRect(wall);
            unit(QRectF(40, 110, 80, 60));
            pipe(QPointF(80, 110), QPointF(80, 70), 18, Grey2);
            pipe(QPointF(71, 70), QPointF(190, 70), 18, Grey2);
            pipe(QPointF(80, 70), QPointF(190, 70), 8, QColor(0x8a, 0x97, 0x9e));
            arrow(QPointF(192, 70), QPointF(222, 58), Grey3);
            arrow(QPointF(222, 84), QPointF(196, 78), Air);
            p.setPen(Ink);
            centredText(p, QPointF(100, 215), QStringLiteral("C12"));
        }
        // C32: through the roof.
        {
            const QRectF roof(250, 40, 150, 20);
            p.fillRect(roof, Paper);
            hatch(p, roof, 6, Grey3);
            p.setPen(QPen(Ink, 1.2));
            p.drawRect(roof);
            unit(QRectF(285, 120, 80, 60));
            pipe(QPointF(325, 120), QPointF(325, 18), 18, Grey2);
            pipe(QPointF(325, 120), QPointF(325, 18), 8, QColor(0x8a, 0x97, 0x9e));
            arrow(QPointF(325, 16), QPointF(325, 2), Grey3);
            p.setPen(Ink);
            centredText(p, QPointF(325, 215), QStringLiteral("C32"));
        }
        // B22: into a chimney, combustion air from the hall.
        {
            const QRectF chimney(540, 10, 34, 180);
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(QColor(0xe0, 0xc7, 0xb5));
            p.drawRect(chimney);
            for (double y = 22; y < 190; y += 12)
                p.drawLine(QPointF(540, y), QPointF(574, y));
            unit(QRectF(430, 120, 80, 60));
            pipe(QPointF(470, 120), QPointF(470, 80), 9, QColor(0x8a, 0x97, 0x9e));
            pipe(QPointF(466, 80), QPointF(540, 80), 9, QColor(0x8a, 0x97, 0x9e));
            arrow(QPointF(557, 60), QPointF(557, 16), Grey3);
            arrow(QPointF(440, 200), QPointF(452, 184), Air);
            arrow(QPointF(500, 200), QPointF(488, 184), Air);
            p.setPen(Ink);
            centredText(p, QPointF(500, 215), QStringLiteral("B22"));
        }
    };
    return pic;
}

// A numbered callout circle.
void callout(QPainter& p, QPointF at, int n) {
    p.setPen(QPen(Ink, 1.0));
    p.setBrush(Paper);
    p.drawEllipse(at, 9, 9);
    p.setFont(font(12, true));
    p.setPen(Ink);
    centredText(p, at, QString::number(n));
}

Picture controlPanel() {
    Picture pic;
    pic.size = QSize(420, 240);
    pic.paint = [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 420, 240), Paper);
        const QRectF body(60, 30, 300, 180);
        p.setPen(QPen(Ink, 1.6));
        p.setBrush(QColor(0xf6, 0xf8, 0xf9));
        p.drawRoundedRect(body, 14, 14);
        const QRectF display(85, 55, 170, 70);
        p.setBrush(QColor(0x1f, 0x2b, 0x31));
        p.drawRoundedRect(display, 4, 4);
        p.setFont(font(40, true));
        p.setPen(QColor(0x9c, 0xe0, 0xff));
        alignedText(p, QPointF(display.right() - 44, display.center().y() + 2),
                    QStringLiteral("21.5"), 1);
        p.setFont(font(16, true));
        alignedText(p, QPointF(display.right() - 10, display.center().y() - 10),
                    QStringLiteral("\u00b0C"), 1);
        // Lamps.
        p.setPen(QPen(Ink, 1.0));
        p.setBrush(Heat);
        p.drawEllipse(QPointF(300, 70), 8, 8);
        p.setBrush(QColor(0xd7, 0x30, 0x27));
        p.drawEllipse(QPointF(300, 105), 8, 8);
        // Buttons: on/off, mode, up, down.
        const std::vector<QPointF> buttons = {{110, 170}, {170, 170}, {245, 170}, {305, 170}};
        for (const QPointF& b : buttons) {
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(Grey2);
            p.drawEllipse(b, 18, 18);
        }
        p.setPen(QPen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(buttons[0] - QPointF(8, 7), QSizeF(16, 16)), 120 * 16, 300 * 16);
        p.drawLine(buttons[0] - QPointF(0, 10), buttons[0] - QPointF(0, 1));
        p.setFont(font(17, true));
        p.setPen(Ink);
        centredText(p, buttons[1], QStringLiteral("M"));
        QPainterPath up, down;
        up.moveTo(buttons[2] + QPointF(0, -8));
        up.lineTo(buttons[2] + QPointF(8, 6));
        up.lineTo(buttons[2] + QPointF(-8, 6));
        up.closeSubpath();
        down.moveTo(buttons[3] + QPointF(0, 8));
        down.lineTo(buttons[3] + QPointF(8, -6));
        down.lineTo(buttons[3] + QPointF(-8, -6));
        down.closeSubpath();
        p.fillPath(up, Ink);
        p.fillPath(down, Ink);
        // Callouts matching the table.
        p.setPen(QPen(Grey3, 0.8));
        const std::vector<std::pair<QPointF, QPointF>> leaders = {
            {{85, 60}, {35, 40}},     {{100, 185}, {35, 215}}, {{170, 188}, {170, 225}},
            {{265, 170}, {275, 225}}, {{308, 70}, {390, 55}},  {{308, 105}, {390, 120}}};
        for (std::size_t i = 0; i < leaders.size(); ++i) {
            p.setPen(QPen(Grey3, 0.8));
            p.drawLine(leaders[i].first, leaders[i].second);
            callout(p, leaders[i].second, int(i + 1));
        }
    };
    return pic;
}

Picture thermostat() {
    Picture pic;
    pic.size = QSize(240, 220);
    pic.paint = [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 240, 220), Paper);
        const QRectF body(40, 20, 160, 180);
        p.setPen(QPen(Ink, 1.6));
        p.setBrush(QColor(0xf6, 0xf8, 0xf9));
        p.drawRoundedRect(body, 16, 16);
        const QRectF display(65, 40, 110, 44);
        p.setBrush(QColor(0xdc, 0xeb, 0xf7));
        p.drawRoundedRect(display, 4, 4);
        p.setFont(font(26, true));
        p.setPen(Ink);
        centredText(p, display.center(), QStringLiteral("20.0"));
        // Dial with a scale.
        const QPointF c(120, 145);
        p.setPen(QPen(Ink, 1.4));
        p.setBrush(Grey1);
        p.drawEllipse(c, 38, 38);
        for (int i = 0; i <= 10; ++i) {
            const double a = (225 - 27 * i) * std::numbers::pi / 180;
            const QPointF u(std::cos(a), -std::sin(a));
            p.setPen(QPen(Ink, i % 5 ? 0.8 : 1.6));
            p.drawLine(c + u * 42, c + u * (i % 5 ? 47 : 50));
        }
        p.setPen(QPen(Heat, 3, Qt::SolidLine, Qt::RoundCap));
        const double a = 100 * std::numbers::pi / 180;
        p.drawLine(c, c + QPointF(std::cos(a), -std::sin(a)) * 30);
        p.setPen(QPen(Ink, 1));
        p.setBrush(Ink);
        p.drawEllipse(c, 4, 4);
    };
    return pic;
}

Picture wiringDiagram() {
    Picture pic;
    pic.size = QSize(640, 300);
    pic.paint = [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 640, 300), Paper);
        // The unit's electronics with its two terminal strips.
        const QRectF unitBox(250, 20, 360, 120);
        QPen dashed(Grey3, 1.0, Qt::DashLine);
        p.setPen(dashed);
        p.setBrush(Qt::NoBrush);
        p.drawRect(unitBox);
        p.setFont(font(14, true));
        p.setPen(Ink);
        alignedText(p, QPointF(unitBox.right() - 8, unitBox.top() + 14),
                    QStringLiteral("Brisant E"), 1);
        struct Strip {
            QString name;
            QStringList terms;
            double x;
        };
        const std::vector<Strip> strips = {
            {QStringLiteral("X1"), {"L", "N", "PE"}, 270},
            {QStringLiteral("X2"), {"T1", "T2", "+", "\u2212", "D", "A", "B", "F1", "F2"}, 380}};
        QHash<QString, QPointF> pin;
        for (const Strip& s : strips) {
            p.setFont(font(13, true));
            p.setPen(Ink);
            alignedText(p, QPointF(s.x, 48), s.name, -1);
            for (int i = 0; i < s.terms.size(); ++i) {
                const QRectF t(s.x + i * 24, 60, 22, 26);
                p.setPen(QPen(Ink, 1.1));
                p.setBrush(Grey1);
                p.drawRect(t);
                p.setFont(font(11, true));
                centredText(p, t.center(), s.terms[i]);
                pin.insert(s.name + s.terms[i], QPointF(t.center().x(), t.bottom()));
            }
        }
        auto wire = [&](const QString& from, double y, QPointF to, const QColor& col) {
            const QPointF a = pin.value(from);
            p.setPen(QPen(col, 1.4));
            p.drawLine(a, QPointF(a.x(), y));
            p.drawLine(QPointF(a.x(), y), QPointF(to.x(), y));
            p.drawLine(QPointF(to.x(), y), to);
            p.setBrush(col);
            p.drawEllipse(a, 2, 2);
        };
        auto device = [&](const QRectF& r, const QString& name) {
            p.setPen(QPen(Ink, 1.3));
            p.setBrush(QColor(0xf6, 0xf8, 0xf9));
            p.drawRect(r);
            p.setFont(font(13, true));
            p.setPen(Ink);
            centredText(p, r.center(), name);
        };
        // Mains.
        device(QRectF(20, 200, 130, 44), QStringLiteral("230 V 50 Hz"));
        wire(QStringLiteral("X1L"), 150, QPointF(45, 200), QColor(0x8b, 0x5a, 0x2b));
        wire(QStringLiteral("X1N"), 160, QPointF(85, 200), Air);
        wire(QStringLiteral("X1PE"), 170, QPointF(125, 200), QColor(0x3a, 0x9a, 0x3a));
        // Thermostat, panel, bus, fault lamp.
        device(QRectF(200, 230, 90, 44), QStringLiteral("ZT-7"));
        wire(QStringLiteral("X2T1"), 180, QPointF(230, 230), Ink);
        wire(QStringLiteral("X2T2"), 190, QPointF(260, 230), Ink);
        device(QRectF(320, 230, 110, 44), QStringLiteral("ZR-1"));
        wire(QStringLiteral("X2+"), 180, QPointF(345, 230), Heat);
        wire(QStringLiteral("X2\u2212"), 190, QPointF(375, 230), Ink);
        wire(QStringLiteral("X2D"), 200, QPointF(405, 230), Grey3);
        device(QRectF(460, 230, 80, 44), QStringLiteral("ZM-485"));
        wire(QStringLiteral("X2A"), 180, QPointF(485, 230), Air);
        wire(QStringLiteral("X2B"), 190, QPointF(515, 230), Air);
        device(QRectF(560, 230, 60, 44), QStringLiteral("F"));
        wire(QStringLiteral("X2F1"), 200, QPointF(575, 230), QColor(0xd7, 0x30, 0x27));
        wire(QStringLiteral("X2F2"), 210, QPointF(605, 230), QColor(0xd7, 0x30, 0x27));
    };
    return pic;
}

// ------------------------------------------------------------------ documents

std::vector<const UnitType*> technicalTypes(const Catalog& cat) {
    std::vector<const UnitType*> out;
    for (const UnitType& u : cat.types())
        if (u.tech)
            out.push_back(&u);
    return out;
}

std::vector<const UnitType*> variantE(const Catalog& cat) {
    std::vector<const UnitType*> out;
    for (const UnitType& u : cat.types())
        if (u.tech && u.typ.endsWith(QLatin1String("- E")))
            out.push_back(&u);
    return out;
}

void flueDocument(Document& d, const Ctx& c, const QString& title) {
    d.titleBlock(title, c.t("productLine"));
    d.paragraph(c.t("flueIntro"));
    d.heading(c.t("flueArrangements"));
    QStringList variants;
    for (int id = 2400; id <= 2405; ++id)
        variants << c.txt(id);
    d.bullets(variants);
    const Picture schemes = flueSchemes();
    d.figure(pictureFigure(schemes, 150, heightAt(schemes, 150), c.t("flueSchemeCaption")));
    Table t;
    t.caption = c.t("flueTableCaption");
    t.widths = {2.6, 1.3, 1.3, 1.3, 1.5};
    t.align = {-1, 1, 1, 1, 1};
    t.header.push_back({c.txt(2131), c.txt(1510) + QStringLiteral(" [kW]"), c.t("flueD"),
                        c.t("flueE"), c.t("flueLen")});
    t.firstColumnBold = true;
    QList<int> diameters;
    for (const UnitType* u : technicalTypes(c.cat)) {
        const double D = u->dim(QStringLiteral("D")), E = u->dim(QStringLiteral("E"));
        t.rows.push_back({shortName(u->typ), c.num(u->tech->heatOutput), c.num(D), c.num(E),
                          c.num(std::floor(D / 10))});
        for (const double v : {D, E})
            if (v > 0 && !diameters.contains(int(v)))
                diameters << int(v);
    }
    d.table(t);
    d.paragraph(c.t("flueNote"), 8.5);
    d.heading(c.t("accessories"));
    std::sort(diameters.begin(), diameters.end());
    Table a;
    a.widths = {1.4, 4, 1.2};
    a.align = {-1, -1, 1};
    a.header.push_back({c.t("code"), c.t("item"), c.t("diameter")});
    for (const int dia : diameters)
        for (int k = 1; k <= 6; ++k)
            a.rows.push_back({QStringLiteral("FG-%1-%2").arg(dia).arg(k),
                              c.t(QStringLiteral("acc%1").arg(k).toLatin1().constData()),
                              QString::number(dia)});
    d.table(a);
}

void controlDocument(Document& d, const Ctx& c, const QString& title) {
    d.titleBlock(title, c.t("productLine"));
    d.paragraph(c.t("controlIntro"));
    d.heading(c.t("methods"));
    Table m;
    m.widths = {2, 4};
    m.header.push_back({c.t("method"), c.t("description")});
    m.firstColumnBold = true;
    for (int id = 671; id <= 676; ++id)
        m.rows.push_back({c.txt(id), c.t(QStringLiteral("m%1").arg(id).toLatin1().constData())});
    d.table(m);
    d.heading(c.t("stages"));
    Table s;
    s.widths = {2.4, 1.3, 1.3, 1.3, 1.3};
    s.align = {-1, 1, 1, 1, 1};
    s.firstColumnBold = true;
    s.header.push_back({c.txt(2131), c.txt(1510) + QStringLiteral(" [kW]"),
                        c.txt(1511) + QStringLiteral(" [kW]"), c.t("ratio"),
                        c.txt(1513) + QStringLiteral(" [W]")});
    for (const UnitType* u : technicalTypes(c.cat)) {
        const TechnicalData& td = *u->tech;
        s.rows.push_back({shortName(u->typ), c.num(td.heatOutput), c.num(td.heatOutputMin),
                          c.num(std::round(100 * td.heatOutputMin / td.heatOutput)),
                          c.num(td.electricInput)});
    }
    d.table(s);
    d.heading(c.t("controlAccessories"));
    Table a;
    a.widths = {1.6, 3.2, 2.2};
    a.header.push_back({c.t("code"), c.t("description"), c.t("document")});
    a.firstColumnBold = true;
    const std::vector<std::pair<const char*, const char*>> acc = {
        {"ZR-1", "accZR1"}, {"ZT-7", "accZT7"}, {"ZM-485", "accZM485"}, {"ZW-1", "accZW1"}};
    for (const auto& [code, key] : acc) {
        QString docName;
        for (const DocumentEntry& e : c.all)
            if (e.caption.startsWith(QLatin1String(code)))
                docName = documentCaption(e, c.code);
        a.rows.push_back({QString::fromLatin1(code), c.t(key), docName});
    }
    d.table(a);
}

void bracketsDocument(Document& d, const Ctx& c, const QString& title) {
    d.titleBlock(title, c.t("productLine"));
    d.paragraph(c.t("bracketsIntro"));
    d.heading(c.t("mounting"));
    QStringList ways;
    for (int id = 2450; id <= 2453; ++id)
        ways << c.txt(id);
    d.bullets(ways);
    // Per family: the columns that concern mounting, and the load of a point.
    struct Mounting {
        QString family;
        QStringList cols;
        int points;
    };
    const std::vector<Mounting> specs = {
        {QStringLiteral("AX"), {"P", "K", "L", "R", "S", "Brutto"}, 4},
        {QStringLiteral("BLENDA"), {"V", "K", "L", "R", "S", "T", "U", "Brutto"}, 4},
        {QStringLiteral("RD"), {"N", "R", "S", "Brutto"}, 4},
        {QStringLiteral("MK-I"), {"T", "S"}, 0},
        {QStringLiteral("K"), {"R", "Brutto"}, 3},
    };
    for (const Mounting& s : specs) {
        const Family* fam = c.cat.family(s.family);
        const std::vector<const UnitType*> types = c.cat.typesOf(s.family);
        if (types.empty())
            continue;
        Table t;
        t.caption = c.t("bracketsOf").arg(fam ? fam->name.value(c.code) : s.family);
        t.widths.push_back(2.4);
        t.align.push_back(-1);
        t.firstColumnBold = true;
        QStringList head{c.txt(2131)};
        for (const QString& col : s.cols) {
            head << (col == QLatin1String("Brutto") ? c.t("gross") + QStringLiteral(" [kg]")
                                                    : col + QStringLiteral(" [mm]"));
            t.widths.push_back(1);
            t.align.push_back(1);
        }
        if (s.points > 0) {
            head << c.t("pointLoad");
            t.widths.push_back(1.5);
            t.align.push_back(1);
        }
        t.header.push_back(head);
        for (const UnitType* u : types) {
            QStringList row{shortName(u->typ)};
            for (const QString& col : s.cols)
                row << (u->hasDim(col) ? c.num(u->dim(col)) : c.t("noValue"));
            if (s.points > 0)
                row << (u->hasDim(QStringLiteral("Brutto"))
                            ? c.num(
                                  std::ceil(2 * 9.81 * u->dim(QStringLiteral("Brutto")) / s.points))
                            : c.t("noValue"));
            t.rows.push_back(row);
        }
        d.table(t);
    }
    const std::vector<const UnitType*> ax = c.cat.typesOf(QStringLiteral("AX"));
    if (const UnitType* m = middleType(ax)) {
        const Picture dims = dimensionDrawing(*m);
        d.figure(
            pictureFigure(dims, 120, heightAt(dims, 120), c.t("dimDrawingCaption").arg(m->typ)));
    }
}

Table eStagesTable(const Ctx& c) {
    Table s;
    s.caption = c.t("panelStages");
    s.widths = {2.4, 1.3, 1.3, 1.3};
    s.align = {-1, 1, 1, 1};
    s.firstColumnBold = true;
    s.header.push_back({c.txt(2131), c.txt(1510) + QStringLiteral(" [kW]"),
                        c.txt(1511) + QStringLiteral(" [kW]"),
                        c.txt(1513) + QStringLiteral(" [W]")});
    for (const UnitType* u : variantE(c.cat))
        s.rows.push_back({shortName(u->typ), c.num(u->tech->heatOutput),
                          c.num(u->tech->heatOutputMin), c.num(u->tech->electricInput)});
    return s;
}

void appendixDocument(Document& d, const Ctx& c, const QString& title, const QString& which) {
    d.titleBlock(title, c.t("appendix"));
    if (which == QLatin1String("panel")) {
        d.paragraph(c.t("panelIntro"));
        const Picture panel = controlPanel();
        d.figure(pictureFigure(panel, 110, heightAt(panel, 110), c.t("panelFigure")));
        Table e;
        e.widths = {0.8, 5};
        e.align = {0, -1};
        e.header.push_back({c.t("element"), c.t("function")});
        for (int i = 1; i <= 6; ++i)
            e.rows.push_back(
                {QString::number(i), c.t(QStringLiteral("panel%1").arg(i).toLatin1().constData())});
        d.table(e);
        d.heading(c.t("parameters"));
        Table p;
        p.widths = {0.8, 4, 1.6, 1.1};
        p.align = {0, -1, 0, 0};
        p.header.push_back({c.t("code"), c.t("parameter"), c.t("range"), c.t("default")});
        const std::vector<std::tuple<const char*, QString, QString>> params = {
            {"p01", QStringLiteral("5 \u2013 30 \u00b0C"), QStringLiteral("18 \u00b0C")},
            {"p02", QStringLiteral("5 \u2013 20 \u00b0C"), QStringLiteral("12 \u00b0C")},
            {"p03", QStringLiteral("0") + c.dp + QStringLiteral("5 \u2013 3 K"),
             QStringLiteral("1 K")},
            {"p04", QStringLiteral("60 \u2013 600 s"), QStringLiteral("180 s")},
            {"p05", QStringLiteral("1 \u2013 3"), QStringLiteral("2")},
            {"p06", QStringLiteral("1 \u2013 32"), QStringLiteral("1")}};
        int n = 1;
        for (const auto& [key, range, def] : params)
            p.rows.push_back(
                {QStringLiteral("P%1").arg(n++, 2, 10, QLatin1Char('0')), c.t(key), range, def});
        d.table(p);
        d.heading(c.t("stages"));
        d.table(eStagesTable(c));
    } else if (which == QLatin1String("thermostat")) {
        d.paragraph(c.t("thermoIntro"));
        const Picture th = thermostat();
        d.figure(pictureFigure(th, 55, heightAt(th, 55), c.t("thermoFigure")));
        d.heading(c.t("programme"));
        Table p;
        p.widths = {1.4, 1, 1, 1.4, 1.6};
        p.align = {-1, 0, 0, 0, -1};
        p.header.push_back({c.t("day"), c.t("from"), c.t("to"), c.t("temperature"), c.t("mode")});
        p.rows = {{c.t("monFri"), "00:00", "05:30", "12", c.t("setback")},
                  {c.t("monFri"), "05:30", "22:00", "18", c.t("comfort")},
                  {c.t("monFri"), "22:00", "24:00", "12", c.t("setback")},
                  {c.t("satSun"), "00:00", "24:00", "12", c.t("setback")}};
        d.table(p);
        d.heading(c.t("techData"));
        Table t;
        t.widths = {3, 3};
        t.header.push_back({c.t("parameter"), c.t("value")});
        t.rows = {{c.t("t1"), QStringLiteral("5 \u2013 30 \u00b0C")},
                  {c.t("t2"), QStringLiteral("\u00b1 0") + c.dp + QStringLiteral("5 K")},
                  {c.t("t3"), QStringLiteral("24 V AC, 1 A")},
                  {c.t("t4"), QStringLiteral("24 V AC (X2: +, \u2212)")},
                  {c.t("t5"), QStringLiteral("IP 30")}};
        d.table(t);
    } else if (which == QLatin1String("bus")) {
        d.paragraph(c.t("busIntro"));
        d.heading(c.t("comm"));
        Table cm;
        cm.widths = {3, 3};
        cm.header.push_back({c.t("parameter"), c.t("value")});
        cm.rows = {{c.t("c1"), QStringLiteral("9600 / 19200 Bd")},
                   {c.t("c2"), QStringLiteral("8 N 1")},
                   {c.t("c3"), QStringLiteral("1 \u2013 32")},
                   {c.t("c4"), QStringLiteral("120 \u03a9")}};
        d.table(cm);
        d.heading(c.t("registers"));
        Table r;
        r.widths = {1.2, 4, 1, 1.6};
        r.align = {0, -1, 0, -1};
        r.header.push_back({c.t("register"), c.t("quantity"), c.t("unit"), c.t("access")});
        const std::vector<std::tuple<int, const char*, QString, bool>> regs = {
            {30001, "r1", QStringLiteral("0.1 \u00b0C"), false},
            {40002, "r2", QStringLiteral("0.1 \u00b0C"), true},
            {40003, "r3", QStringLiteral("\u2013"), true},
            {30004, "r4", QStringLiteral("\u2013"), false},
            {30005, "r5", QStringLiteral("\u2013"), false},
            {30006, "r6", QStringLiteral("h"), false},
            {30007, "r7", QStringLiteral("\u2013"), false},
            {30008, "r8", QStringLiteral("\u2013"), false},
            {30009, "r9", QStringLiteral("0.1 kW"), false},
            {30010, "r10", QStringLiteral("m\u00b3/h"), false}};
        for (const auto& [reg, key, unit, rw] : regs) {
            QString u = unit;
            u.replace(QLatin1Char('.'), c.dp);
            r.rows.push_back(
                {QString::number(reg), c.t(key), u, rw ? c.t("readWrite") : c.t("read")});
        }
        d.table(r);
        d.heading(c.t("typeCodes"));
        Table tc;
        tc.widths = {1, 3, 1.5, 1.5};
        tc.align = {0, -1, 1, 1};
        tc.header.push_back({c.t("code"), c.txt(2131), c.txt(1510) + QStringLiteral(" [kW]"),
                             c.txt(1512) + QStringLiteral(" [m\u00b3/h]")});
        int code = 1;
        for (const UnitType& u : c.cat.types()) {
            if (!u.tech)
                continue;
            tc.rows.push_back({QString::number(code++), u.typ, c.num(u.tech->heatOutput),
                               c.num(u.tech->airFlow)});
        }
        d.table(tc);
    } else {
        d.paragraph(c.t("wiringIntro"));
        const Picture w = wiringDiagram();
        d.figure(pictureFigure(w, 170, heightAt(w, 170), c.t("wiringFigure")));
        d.heading(c.t("supply"));
        Table s;
        s.widths = {2.4, 1.3, 1.2, 1.2, 1.4};
        s.align = {-1, 1, 1, 1, 1};
        s.firstColumnBold = true;
        s.header.push_back({c.txt(2131), c.txt(1513) + QStringLiteral(" [W]"), c.t("current"),
                            c.t("breaker"), c.t("cable")});
        for (const UnitType* u : variantE(c.cat)) {
            const double current = u->tech->electricInput / (230 * 0.9);
            int breaker = 25;
            for (const int b : {6, 10, 16, 20, 25})
                if (current * 1.25 <= b) {
                    breaker = b;
                    break;
                }
            s.rows.push_back({shortName(u->typ), c.num(u->tech->electricInput), c.fixed(current, 2),
                              QString::number(breaker),
                              breaker <= 16 ? c.fixed(1.5, 1) : c.fixed(2.5, 1)});
        }
        d.table(s);
        d.paragraph(c.t("currentNote"), 8.5);
    }
}

void leafletDocument(Document& d, const Ctx& c, const QString& title, const QStringList& families) {
    QStringList names;
    for (const QString& f : families)
        if (const Family* fam = c.cat.family(f))
            names << fam->name.value(c.code);
    d.titleBlock(title, names.join(QStringLiteral(" \u00b7 ")));
    std::vector<Figure> photos;
    const double w = families.size() > 1 ? 72 : 105;
    for (const QString& f : families) {
        const Picture ph = familyPhoto(f);
        if (!ph.isNull())
            photos.push_back(pictureFigure(ph, w, heightAt(ph, w), QString()));
    }
    d.figures(photos);
    std::vector<const UnitType*> types;
    for (const QString& f : families) {
        if (const Family* fam = c.cat.family(f))
            d.paragraph(fam->description.value(c.code));
        const auto more = c.cat.typesOf(f);
        types.insert(types.end(), more.begin(), more.end());
    }
    d.heading(c.t("keyFigures"));
    Table k;
    k.widths = {3, 2};
    k.align = {-1, 1};
    k.firstColumnBold = true;
    // The span of a quantity over the types; a text value such as "14-18" counts
    // with both its ends.
    auto span = [&](const std::function<QString(const TechnicalData&)>& value,
                    const QString& unit) -> QString {
        double lo = 1e300, hi = -1e300;
        for (const UnitType* u : types) {
            if (!u->tech)
                continue;
            for (const QString& part :
                 value(*u->tech).split(QLatin1Char('-'), Qt::SkipEmptyParts)) {
                const double v = rangeMetres(part);
                if (v <= 0)
                    continue;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
        if (hi < lo)
            return QString();
        return c.t("fromTo").arg(c.num(lo), c.num(hi)) + QLatin1Char(' ') + unit;
    };
    k.header.push_back({c.txt(1504), QString()});
    const std::vector<std::tuple<int, std::function<QString(const TechnicalData&)>, QString>> figs =
        {{1510, [](const TechnicalData& t) { return QString::number(t.heatOutput); },
          QStringLiteral("kW")},
         {1512, [](const TechnicalData& t) { return QString::number(t.airFlow); },
          QStringLiteral("m\u00b3/h")},
         {1514, [](const TechnicalData& t) { return t.range; }, QStringLiteral("m")},
         {1516, [](const TechnicalData& t) { return t.noise; }, QStringLiteral("dB")}};
    for (const auto& [id, value, unit] : figs) {
        const QString s = span(value, unit);
        if (!s.isEmpty())
            k.rows.push_back({c.txt(id), s});
    }
    if (families.contains(QStringLiteral("K"))) {
        double lo = 1e300, hi = 0;
        for (const UnitType* u : types) {
            lo = std::min(lo, u->dim(QStringLiteral("A")));
            hi = std::max(hi, u->dim(QStringLiteral("A")));
        }
        k.rows.push_back(
            {QStringLiteral("\u00d8 A [mm]"), c.t("fromTo").arg(c.num(lo), c.num(hi))});
    }
    k.rows.push_back({c.t("typesCount"), QString::number(types.size())});
    d.table(k);

    d.pageBreak();
    d.heading(c.t("overview"));
    Table o;
    o.firstColumnBold = true;
    if (families.contains(QStringLiteral("K"))) {
        o.widths = {3, 1, 1, 1, 1};
        o.align = {-1, 1, 1, 1, 1};
        o.header.push_back({c.txt(2131), QStringLiteral("\u00d8 A [mm]"), QStringLiteral("R [mm]"),
                            c.t("net") + QStringLiteral(" [kg]"),
                            c.t("gross") + QStringLiteral(" [kg]")});
        for (const UnitType* u : types)
            o.rows.push_back(
                {u->typ, c.num(u->dim(QStringLiteral("A"))), c.num(u->dim(QStringLiteral("R"))),
                 c.num(u->dim(QStringLiteral("Netto"))), c.num(u->dim(QStringLiteral("Brutto")))});
    } else {
        o.widths = {2.6, 1.3, 1.3, 1.3, 1.3, 1.1};
        o.align = {-1, 1, 1, 1, 1, 1};
        o.header.push_back(
            {c.txt(2131), c.txt(1510) + QStringLiteral(" [kW]"),
             c.txt(1512) + QStringLiteral(" [m\u00b3/h]"), c.txt(1514) + QStringLiteral(" [m]"),
             c.txt(1515) + QStringLiteral(" [\u00b0C]"), c.txt(1516) + QStringLiteral(" [dB]")});
        for (const UnitType* u : types) {
            if (!u->tech)
                continue;
            o.rows.push_back({u->typ, c.num(u->tech->heatOutput), c.num(u->tech->airFlow),
                              c.dataText(u->tech->range), c.dataText(u->tech->tempRise),
                              c.dataText(u->tech->noise)});
        }
    }
    if (o.rows.size() > 10)
        o.fontPt = 7.5;
    d.table(o);
    if (const UnitType* m = middleType(types)) {
        const JetModel jet = JetModel::forType(*m);
        if (jet.valid() && !m->velocityPicture.isEmpty()) {
            const Picture v = velocityPicture(*m, jet);
            const Picture l = velocityLegend(m->family == QLatin1String("MK-I"));
            d.figures({pictureFigure(v, 100, heightAt(v, 100), c.t("leafletJet").arg(m->typ)),
                       pictureFigure(l, 24, heightAt(l, 24), QString())});
        }
        const Picture dims = dimensionDrawing(*m);
        d.figure(pictureFigure(dims, 84, heightAt(dims, 84), c.t("leafletSizes").arg(m->typ)));
    }
    d.heading(c.t("contact"), 2);
    const SupplierText sup = supplier(c.base);
    const QChar br(QChar::LineSeparator);
    d.paragraph(sup.company + br + sup.street + br + sup.contact + br + sup.web);
}

void projectGuide(Document& d, const Ctx& c, const QString& title) {
    d.titleBlock(title, c.t("pdSubtitle"));
    d.heading(c.t("pdPurpose"));
    d.paragraph(c.t("pdPurposeText"));
    d.heading(c.t("pdProcedure"));
    const std::vector<std::pair<int, const char*>> steps = {
        {51, "pd51"}, {53, "pd53"}, {54, "pd54"}, {55, "pd55"},
        {57, "pd57"}, {58, "pd58"}, {59, "pd59"}};
    QStringList items;
    int n = 1;
    for (const auto& [id, key] : steps)
        items << QStringLiteral("%1. %2: %3").arg(n++).arg(c.txt(id), c.t(key));
    d.bullets(items);
    d.paragraph(c.t("pdAfter"));

    d.heading(c.t("pdOverview"));
    Table o;
    o.caption = c.t("pdOverviewCaption");
    o.fontPt = 7.5;
    o.firstColumnBold = true;
    o.widths = {2.2, 1, 1, 1.1, 1, 1.1, 1, 1, 1};
    o.align = {-1, 1, 1, 1, 1, 1, 1, 1, 1};
    o.header.push_back(
        {c.txt(2131), c.txt(1510) + QStringLiteral(" [kW]"), c.txt(1511) + QStringLiteral(" [kW]"),
         c.txt(1512) + QStringLiteral(" [m\u00b3/h]"), c.txt(1513) + QStringLiteral(" [W]"),
         c.txt(1514) + QStringLiteral(" [m]"), c.txt(1515) + QStringLiteral(" [\u00b0C]"),
         c.txt(1516) + QStringLiteral(" [dB]"), c.txt(1517) + QStringLiteral(" [Pa]")});
    for (const UnitType* u : technicalTypes(c.cat)) {
        const TechnicalData& t = *u->tech;
        o.rows.push_back({u->typ, c.num(t.heatOutput), c.num(t.heatOutputMin), c.num(t.airFlow),
                          c.num(t.electricInput), c.dataText(t.range), c.dataText(t.tempRise),
                          c.dataText(t.noise), c.dataText(t.pressure)});
    }
    d.table(o);

    d.heading(c.t("pdPlacement"));
    d.bullets(c.t("pdPlacementRules").split(QLatin1Char('|')));
    Table s;
    s.caption = c.t("pdSpacingCaption");
    s.firstColumnBold = true;
    s.fontPt = 8;
    s.widths = {2.4, 1, 1.2, 1.2, 1.1, 0.9, 0.9};
    s.align = {-1, 1, 1, 1, 1, 1, 1};
    s.header.push_back({c.txt(2131), c.t("jetL"), c.t("pdSpacing"), c.t("pdDepth"), c.t("jetH0"),
                        QStringLiteral("R [mm]"), QStringLiteral("S [mm]")});
    for (const UnitType* u : technicalTypes(c.cat)) {
        const JetModel j = JetModel::forType(*u);
        if (!j.valid())
            continue;
        const bool mk = u->family == QLatin1String("MK-I");
        // The MK units name their side clearance S and use R for the outlet height.
        const QString r =
            mk ? c.num(u->dim(QStringLiteral("S"))) : c.num(u->dim(QStringLiteral("R")));
        const QString sc = mk ? c.t("noValue") : c.num(u->dim(QStringLiteral("S")));
        s.rows.push_back({u->typ, c.fixed(j.range, 1), c.fixed(0.5 * j.range, 1),
                          c.fixed(j.range, 1), c.fixed(j.height, 1), r, sc});
    }
    d.table(s);

    d.heading(c.t("pdDestrat"));
    d.paragraph(c.t("pdDestratText"));
    Table k;
    k.widths = {3, 1, 1, 1};
    k.align = {-1, 1, 1, 1};
    k.firstColumnBold = true;
    k.header.push_back({c.txt(2131), QStringLiteral("\u00d8 A [mm]"), QStringLiteral("R [mm]"),
                        c.t("gross") + QStringLiteral(" [kg]")});
    for (const UnitType* u : c.cat.typesOf(QStringLiteral("K")))
        k.rows.push_back({u->typ, c.num(u->dim(QStringLiteral("A"))),
                          c.num(u->dim(QStringLiteral("R"))),
                          c.num(u->dim(QStringLiteral("Brutto")))});
    d.table(k);

    d.heading(c.t("pdContents"));
    d.bullets(c.t("pdChecklist").split(QLatin1Char('|')));

    d.heading(c.t("pdDocuments"));
    d.paragraph(c.t("pdDocumentsText"));
    Table docs;
    docs.widths = {3.2, 2.8};
    docs.fontPt = 8;
    docs.header.push_back({c.t("document"), c.t("file")});
    for (const DocumentEntry& e : c.all) {
        if (e.separator() || e.group == 2)
            continue;
        docs.rows.push_back({documentCaption(e, c.code), documentFileName(e, c.code)});
    }
    d.table(docs);
}

} // namespace

int writeDocument(const Catalog& catalog, const std::vector<DocumentEntry>& all,
                  const DocumentEntry& e, const QString& code, const QString& path,
                  QString* error) {
    const Ctx c{catalog, all, code, baseOfStoredCode(code),
                code == QLatin1String("EN") ? QLatin1Char('.') : QLatin1Char(',')};
    const QString title = documentCaption(e, code);
    Document d = makeDocument(c, title);
    const QString kind = e.content.section(QLatin1Char(':'), 0, 0);
    const QString arg = e.content.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("family")) {
        if (!catalog.family(arg) && catalog.typesOf(arg).empty()) {
            *error = QStringLiteral("no family %1 in the catalog").arg(arg);
            return 0;
        }
        familySheet(d, c, arg, title);
    } else if (kind == QLatin1String("leaflet")) {
        leafletDocument(d, c, title, arg.split(QLatin1Char('+')));
    } else if (kind == QLatin1String("flue")) {
        flueDocument(d, c, title);
    } else if (kind == QLatin1String("control")) {
        controlDocument(d, c, title);
    } else if (kind == QLatin1String("brackets")) {
        bracketsDocument(d, c, title);
    } else if (kind == QLatin1String("appendix")) {
        appendixDocument(d, c, title, arg);
    } else if (kind == QLatin1String("projdoc")) {
        projectGuide(d, c, title);
    } else {
        *error = QStringLiteral("unknown document content %1").arg(e.content);
        return 0;
    }
    return d.writePdf(path, title, error);
}

} // namespace zf::art

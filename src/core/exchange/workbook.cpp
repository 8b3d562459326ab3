// The project as an xlsx workbook, written by libxlsxwriter.
#include "exchange/exchange.h"
#include "exchange/exchangelanguage.h"
#include "exchange/memoryfile.h"
#include "exchange/projectsnapshot.h"

#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <xlsxwriter.h>

namespace zf {

namespace {

using exchange::ProjectSnapshot;
using exchange::Row;

// --- cells and formats -------------------------------------------------------

enum class Num { Int, Float, Currency };
enum class Style { Normal, Total };

// Rows above the data of every sheet: its heading, the project's name, the
// column headers.
constexpr int HeadingRow = 0;
constexpr int ProjectRow = 1;
constexpr int HeaderRow = 2;
constexpr int FirstDataRow = 3;
// A longer text wraps in its column.
constexpr int MaxColumnChars = 50;
constexpr qsizetype MaxCellChars = 32767;

QString cellName(int row, int col) {
    char buf[32];
    lxw_rowcol_to_cell(buf, lxw_row_t(row), lxw_col_t(col));
    return QString::fromLatin1(buf);
}

QString rangeName(int firstRow, int lastRow, int col) {
    return cellName(firstRow, col) + u':' + cellName(lastRow, col);
}

QString sheetRef(const QString& sheet) {
    QString quoted = sheet;
    quoted.replace(u'\'', QLatin1String("''"));
    return u'\'' + quoted + QLatin1String("'!");
}

// The decimals the windows show of a value (",0.##"): none, one or two.
int shownDecimals(double v) {
    const QString s = formatFloat(QStringLiteral("0.##"), v, QLocale::c());
    const qsizetype dot = s.indexOf(u'.');
    return dot < 0 ? 0 : int(s.size() - dot - 1);
}

// A number text of the catalog as a number ("18", "2,5"); nothing for a text
// that is not one number ("12-18").
std::optional<double> numberOf(const QString& text) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

class Book {
public:
    explicit Book(lxw_workbook* wb) : wb_(wb) {
        title_ = add([](lxw_format* f) {
            format_set_bold(f);
            format_set_font_size(f, 14);
        });
        subtitle_ = add([](lxw_format* f) { format_set_italic(f); });
        header_ = add([](lxw_format* f) {
            format_set_bold(f);
            format_set_text_wrap(f);
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
            format_set_bg_color(f, 0xDCEBF7);
            format_set_bottom(f, LXW_BORDER_THIN);
            format_set_indent(f, 1);
        });
        section_ = add([](lxw_format* f) {
            format_set_bold(f);
            format_set_bg_color(f, 0xEEF1F3);
        });
        note_ = add([](lxw_format* f) { format_set_italic(f); });
        // Texts keep a little room from a number in the column before them.
        plain_ = add([](lxw_format* f) { format_set_indent(f, 1); });
        wrap_ = add([](lxw_format* f) {
            format_set_text_wrap(f);
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
            format_set_indent(f, 1);
        });
        top_ = add([](lxw_format* f) {
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
            format_set_indent(f, 1);
        });
        totalText_ = add([](lxw_format* f) {
            format_set_bold(f);
            format_set_top(f, LXW_BORDER_THIN);
            format_set_indent(f, 1);
        });
        static const char* const numberFormats[] = {"0", "#,##0", "#,##0.0", "#,##0.00",
                                                    "#,##0.00"};
        for (int style = 0; style < 2; ++style) {
            for (int i = 0; i < 5; ++i) {
                numbers_[style][i] = add([&](lxw_format* f) {
                    format_set_num_format(f, numberFormats[i]);
                    if (style == 1) {
                        format_set_bold(f);
                        format_set_top(f, LXW_BORDER_THIN);
                    }
                });
            }
        }
    }

    lxw_workbook* workbook() const { return wb_; }
    lxw_format* title() const { return title_; }
    lxw_format* subtitle() const { return subtitle_; }
    lxw_format* header() const { return header_; }
    lxw_format* section() const { return section_; }
    lxw_format* note() const { return note_; }
    lxw_format* wrap() const { return wrap_; }
    lxw_format* top() const { return top_; }
    lxw_format* text(Style s) const { return s == Style::Total ? totalText_ : plain_; }
    // The format of a number as the windows show it.
    lxw_format* number(Num kind, double v, Style s) const {
        const int style = s == Style::Total ? 1 : 0;
        switch (kind) {
        case Num::Int:
            return numbers_[style][0];
        case Num::Currency:
            return numbers_[style][4];
        case Num::Float:
            break;
        }
        return numbers_[style][1 + shownDecimals(v)];
    }
    lxw_format* date(const QString& picture) {
        auto it = dates_.find(picture);
        if (it == dates_.end()) {
            const std::string p = picture.toStdString();
            it = dates_.insert(picture, add([&](lxw_format* f) {
                                   format_set_num_format(f, p.c_str());
                                   format_set_align(f, LXW_ALIGN_LEFT);
                               }));
        }
        return *it;
    }

private:
    lxw_format* add(const std::function<void(lxw_format*)>& setUp) {
        lxw_format* f = workbook_add_format(wb_);
        setUp(f);
        return f;
    }

    lxw_workbook* wb_;
    lxw_format* title_;
    lxw_format* subtitle_;
    lxw_format* header_;
    lxw_format* section_;
    lxw_format* note_;
    lxw_format* plain_;
    lxw_format* wrap_;
    lxw_format* top_;
    lxw_format* totalText_;
    lxw_format* numbers_[2][5];
    QHash<QString, lxw_format*> dates_;
};

// One sheet: its cells, and the widths their texts need.
class Sheet {
public:
    Sheet(Book& book, const QString& name, const QString& heading, const QString& project)
        : book_(book), name_(name) {
        ws_ = workbook_add_worksheet(book.workbook(), name.toStdString().c_str());
        write(HeadingRow, 0, heading, book.title(), false);
        write(ProjectRow, 0, project, book.subtitle(), false);
        worksheet_set_paper(ws_, 9); // A4
        worksheet_fit_to_pages(ws_, 1, 0);
        worksheet_repeat_rows(ws_, 0, HeaderRow);
    }

    const QString& name() const { return name_; }

    void headers(const QStringList& titles) {
        headers_ = titles;
        for (int c = 0; c < titles.size(); ++c)
            write(HeaderRow, c, titles[c], book_.header(), false);
        worksheet_freeze_panes(ws_, FirstDataRow, 0);
        if (titles.size() > 6)
            worksheet_set_landscape(ws_);
    }

    // A text; one too long for a column, or of several lines, wraps in its cell.
    void text(int row, int col, const QString& s, Style style = Style::Normal) {
        QString t = s;
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        t.replace(u'\r', u'\n');
        if (style == Style::Normal && (t.contains(u'\n') || t.size() > MaxColumnChars)) {
            write(row, col, t, book_.wrap(), true);
            wrapped_.push_back({row, col, t});
        } else {
            write(row, col, t, book_.text(style), true);
        }
    }
    // A caption beside a wrapped text: at the top of its row.
    void caption(int row, int col, const QString& s) {
        if (s.size() > MaxColumnChars)
            text(row, col, s);
        else
            write(row, col, s, book_.top(), true);
    }
    void section(int row, const QString& s, int columns) {
        for (int c = 0; c < columns; ++c)
            write(row, c, c == 0 ? s : QString(), book_.section(), false);
    }
    void note(int row, const QString& s) { write(row, 0, s, book_.note(), false); }

    // A number beyond any value (from a damaged file) stays out: the format has
    // no place for it.
    void number(int row, int col, double v, Num kind, Style style = Style::Normal) {
        if (!std::isfinite(v))
            return;
        worksheet_write_number(ws_, lxw_row_t(row), lxw_col_t(col), v,
                               book_.number(kind, v, style));
        noteWidth(col, shownNumber(v, kind));
    }
    // A value of a stored column: empty when null.
    void value(int row, int col, const QVariant& v, Num kind, Style style = Style::Normal) {
        if (v.isValid() && !v.isNull())
            number(row, col, v.toDouble(), kind, style);
    }
    // A catalog text that is a number where it can be ("18"), else a text.
    void numberOrText(int row, int col, const QString& s) {
        if (const auto v = numberOf(s))
            number(row, col, *v, Num::Float);
        else if (!s.trimmed().isEmpty())
            text(row, col, s.trimmed());
    }
    void formula(int row, int col, const QString& f, double value, Num kind,
                 Style style = Style::Normal) {
        if (!std::isfinite(value))
            value = 0;
        worksheet_write_formula_num(ws_, lxw_row_t(row), lxw_col_t(col),
                                    (u'=' + f).toStdString().c_str(),
                                    book_.number(kind, value, style), value);
        noteWidth(col, shownNumber(value, kind));
    }
    void date(int row, int col, const QDateTime& when, const QString& picture) {
        lxw_datetime dt{};
        dt.year = when.date().year();
        dt.month = when.date().month();
        dt.day = when.date().day();
        dt.hour = when.time().hour();
        dt.min = when.time().minute();
        dt.sec = when.time().second();
        worksheet_write_datetime(ws_, lxw_row_t(row), lxw_col_t(col), &dt, book_.date(picture));
        noteWidth(col, picture);
    }

    // Column widths that fit what was written, headers wrapped on up to three
    // lines where their words allow; the header row as high as its lines.
    void finish() {
        int headerLines = 1;
        for (int c = 0; c < int(widths_.size()) || c < headers_.size(); ++c) {
            double w = c < int(widths_.size()) ? widths_[size_t(c)] : 0;
            if (c < headers_.size()) {
                const QString& h = headers_[c];
                qsizetype longestWord = 0;
                for (const QString& word : h.split(u' ', Qt::SkipEmptyParts))
                    longestWord = std::max(longestWord, word.size());
                const double needed = std::max(double(longestWord), std::ceil(h.size() / 3.0));
                w = std::max(w, needed);
                if (w >= h.size())
                    w = std::max(w, double(h.size()));
                headerLines = std::max(headerLines, linesOf(h, w));
            }
            w = std::clamp(w * 1.1 + 3, 6.0, 60.0);
            if (c >= int(final_.size()))
                final_.resize(size_t(c) + 1, 0);
            final_[size_t(c)] = w;
            worksheet_set_column(ws_, lxw_col_t(c), lxw_col_t(c), w, nullptr);
        }
        if (headerLines > 1)
            worksheet_set_row(ws_, HeaderRow, 15.0 * headerLines, nullptr);
        // A wrapped text makes its row as high as its lines in the column.
        std::map<int, int> rowLines;
        for (const Wrapped& w : wrapped_) {
            const double chars = std::max(1.0, columnChars(w.col));
            int lines = 0;
            for (const QString& paragraph : w.text.split(u'\n'))
                lines += std::max(1, linesOf(paragraph, chars));
            rowLines[w.row] = std::max(rowLines[w.row], lines);
        }
        for (const auto& [row, lines] : rowLines)
            if (lines > 1)
                worksheet_set_row(ws_, lxw_row_t(row), 15.0 * lines, nullptr);
    }

private:
    void write(int row, int col, const QString& text, lxw_format* f, bool measured) {
        // A cell holds at most 32767 characters; a longer memo is cut there,
        // visibly, rather than left out.
        const QString s =
            text.size() > MaxCellChars ? text.left(MaxCellChars - 1) + QChar(0x2026) : text;
        worksheet_write_string(ws_, lxw_row_t(row), lxw_col_t(col), s.toStdString().c_str(), f);
        if (measured) {
            for (const QString& line : s.split(u'\n'))
                noteWidth(col, line);
        }
    }
    void noteWidth(int col, const QString& shown) {
        if (col >= int(widths_.size()))
            widths_.resize(size_t(col) + 1, 0);
        const double chars = std::min<double>(shown.size(), MaxColumnChars);
        widths_[size_t(col)] = std::max(widths_[size_t(col)], chars);
    }
    // The characters a column holds, as finish() made it.
    double columnChars(int col) const {
        // A width counts digits; the letters of a text are narrower on average.
        return col < int(final_.size()) ? final_[size_t(col)] / 0.9 : MaxColumnChars;
    }
    static QString shownNumber(double v, Num kind) {
        return formatFloat(kind == Num::Int        ? QStringLiteral("0")
                           : kind == Num::Currency ? QStringLiteral(",0.00")
                                                   : QStringLiteral(",0.##"),
                           v, QLocale::c());
    }
    // Lines a header takes in a column of w characters, broken between words.
    static int linesOf(const QString& h, double w) {
        int lines = 1;
        double used = 0;
        for (const QString& word : h.split(u' ', Qt::SkipEmptyParts)) {
            const double add = used > 0 ? word.size() + 1 : word.size();
            if (used > 0 && used + add > w) {
                ++lines;
                used = word.size();
            } else {
                used += add;
            }
        }
        return lines;
    }

    Book& book_;
    QString name_;
    lxw_worksheet* ws_ = nullptr;
    QStringList headers_;
    std::vector<double> widths_;
    std::vector<double> final_;
    struct Wrapped {
        int row, col;
        QString text;
    };
    std::vector<Wrapped> wrapped_;
};

// A sheet name the format accepts: without []:*?/\, at most 31 characters.
QString sheetName(QString name, QStringList& used) {
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    name.replace(forbidden, QStringLiteral(" "));
    name = name.simplified();
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    while (name.endsWith(u'\''))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("Sheet");
    name = name.left(31);
    const QString base = name;
    for (int n = 2; used.contains(name, Qt::CaseInsensitive); ++n) {
        const QString suffix = QStringLiteral(" %1").arg(n);
        name = base.left(31 - suffix.size()) + suffix;
    }
    used << name;
    return name;
}

// A caption with its unit: "Length A [m]" gives "Length A" and "m".
std::pair<QString, QString> splitUnit(const QString& caption) {
    static const QRegularExpression unit(QStringLiteral("^(.*\\S)\\s*\\[([^\\]]+)\\]$"));
    const auto m = unit.match(caption.trimmed());
    if (m.hasMatch())
        return {m.captured(1), m.captured(2)};
    return {caption.trimmed(), QString()};
}

// --- the workbook ------------------------------------------------------------

class WorkbookWriter {
public:
    WorkbookWriter(const ProjectSnapshot& s, int base, Book& book)
        : s_(s), base_(base), book_(book), p_(s.project) {
        method_ = p_.integer(QStringLiteral("Tepelne_ztraty_enum"));
        ventilation_ = p_.flag(QStringLiteral("Vetrani_bool"));
        projectName_ = p_.text(QStringLiteral("ProjectName_text"));
        QStringList used;
        names_[0] = sheetName(text(3501), used);
        names_[1] = sheetName(text(3502), used);
        names_[2] = sheetName(text(920), used);
        names_[3] = sheetName(text(3503), used);
        names_[4] = sheetName(text(3504), used);
        layOut();
    }

    void write() {
        writeProject();
        writeSurfaces();
        writeOpenings();
        writeUnitTypes();
        writeUnits();
    }

private:
    QString text(int id) const { return exchange::text(base_, id); }
    QString label(int id) const { return exchange::label(base_, id); }
    QString readable(const QString& stored) const {
        return base_ == BaseRU1250 ? readableText(stored) : stored;
    }

    // Where the rows of the sheets that others refer to lie.
    void layOut() {
        const int n = int(s_.surfaces.size());
        surfacesTotalRow_ = n > 0 ? FirstDataRow + n : -1;
        int next = FirstDataRow;
        for (int count : s_.openingsOf) {
            openingsStart_.push_back(next);
            next += count;
        }
        openingsTotalRow_ = s_.openings.empty() ? -1 : next;
        unitTypesLastRow_ = FirstDataRow + int(s_.unitTypes.size()) - 1;
    }

    // --- project ---

    struct Item {
        enum Kind { Section, Text, LongText, Value, Date, Formula };
        Kind kind = Text;
        QString caption, unit;
        QString text;
        double value = 0;
        Num num = Num::Float;
        QString formula; // with {key} for the value cells of other items
        QString key;
    };
    std::vector<Item> items_;
    QHash<QString, int> rowOf_;

    void section(int id) { section(label(id)); }
    void section(const QString& caption) {
        Item i;
        i.kind = Item::Section;
        i.caption = caption;
        items_.push_back(i);
    }
    void textItem(const QString& caption, const QString& value, bool multiline = false) {
        Item i;
        i.kind = multiline ? Item::LongText : Item::Text;
        std::tie(i.caption, i.unit) = splitUnit(caption);
        i.text = value;
        items_.push_back(i);
    }
    // A stored number; its unit from the caption's brackets unless given.
    void valueItem(const QString& caption, const QString& column, const QString& key = {},
                   const QString& unit = {}, std::optional<Num> num = {}) {
        Item i;
        i.kind = Item::Value;
        std::tie(i.caption, i.unit) = splitUnit(caption);
        if (!unit.isEmpty())
            i.unit = unit;
        i.value = p_.number(column);
        const QVariant v = p_.value(column);
        i.num =
            num ? *num : (v.typeId() == QMetaType::Double || !v.isValid() ? Num::Float : Num::Int);
        i.key = key;
        items_.push_back(i);
    }
    void formulaItem(const QString& caption, const QString& column, const QString& formula,
                     const QString& key = {}, const QString& unit = {}) {
        valueItem(caption, column, key, unit, Num::Float);
        items_.back().kind = Item::Formula;
        items_.back().formula = formula;
    }
    QString choice(const char* column, int firstId, int count, const char* textColumn) const {
        const int v = p_.integer(QLatin1String(column));
        if (v >= 0 && v < count)
            return text(firstId + v);
        return textColumn ? readable(p_.text(QLatin1String(textColumn))) : QString();
    }

    // The currency of the stored price ("1.2 CZK/m3"), else the language's.
    QString currency() const {
        static const QRegularExpression stored(QStringLiteral("\\s(\\S+)/\\S+$"));
        const auto m = stored.match(p_.text(QStringLiteral("Cena_text")).trimmed());
        return m.hasMatch() ? m.captured(1) : CurrencyName(exchange::textBase(base_));
    }

    void projectItems() {
        section(504);
        textItem(label(505), p_.text(QStringLiteral("ProjectName_text")));
        textItem(label(506), p_.text(QStringLiteral("ProjectDesc_memo")), true);
        textItem(label(507), p_.text(QStringLiteral("Investor_text")));
        textItem(label(509), p_.text(QStringLiteral("Vypracoval_text")));
        textItem(label(3530), p_.text(QStringLiteral("Address_memo")), true);
        textItem(label(511), p_.text(QStringLiteral("Phone")));
        textItem(label(512), p_.text(QStringLiteral("Fax")));
        textItem(label(513), p_.text(QStringLiteral("Email")));
        {
            Item i;
            i.kind = Item::Date;
            i.caption = label(1004);
            items_.push_back(i);
        }
        const bool heating = p_.flag(QStringLiteral("Vytapeni_bool"));
        textItem(label(651), heating && ventilation_ ? text(2601)
                             : heating               ? text(2602)
                             : ventilation_          ? text(2603)
                                                     : QString());

        section(551);
        textItem(label(552), readable(p_.text(QStringLiteral("Oblast_text"))));
        valueItem(label(553), QStringLiteral("Pocet_dnu_otop_obd"));
        valueItem(label(554), QStringLiteral("Tes"));
        valueItem(label(555), QStringLiteral("Te"), QStringLiteral("Te"));
        valueItem(label(556), QStringLiteral("Tzeme"));

        section(558);
        valueItem(label(559), QStringLiteral("Provoz_dny_tyden"));
        valueItem(label(560), QStringLiteral("Provoz_hodiny_den"));
        valueItem(label(561), QStringLiteral("Ti"), QStringLiteral("Ti"));
        valueItem(label(562), QStringLiteral("Ttlumena"));

        section(564);
        textItem(label(565), choice("Druh_paliva_enum", 570, 3, "Druh_paliva_text"));
        {
            const int priceUnit = p_.integer(QStringLiteral("Cena_enum"));
            const int k = priceUnit == 0 ? 0 : priceUnit == 1 ? 1 : 2;
            const char* column = k == 0 ? "Cena_Kc_m3" : k == 1 ? "Cena_Kc_kWh" : "Cena_Kc_kg";
            valueItem(formatText(label(590 + k), {currency()}), QLatin1String(column), {}, {},
                      Num::Currency);
        }
        textItem(label(2269), choice("Ucinnost_regulace_enum", 671, 6, nullptr));
        valueItem(label(3532), QStringLiteral("Ucinnost_regulace"));

        section(599);
        valueItem(label(600), QStringLiteral("TZ_technologie"), QStringLiteral("G1"));
        valueItem(label(601), QStringLiteral("TZ_vytapeci_system"), QStringLiteral("G2"));
        valueItem(label(602), QStringLiteral("TZ_ostatni"), QStringLiteral("G3"));

        section(3542);
        {
            const int families = p_.integer(QStringLiteral("PouziteJednotky"));
            QStringList used;
            for (int bit = 0; bit < 3; ++bit)
                if (families & (1 << bit))
                    used << text(659 + bit);
            textItem(label(3531), used.join(u'\n'), true);
        }
        if (ventilation_) {
            section(3536);
            valueItem(label(654), QStringLiteral("Vc_zima"), QStringLiteral("Vcz"),
                      QStringLiteral("m3/h"));
            valueItem(label(655), QStringLiteral("Vc_leto"), {}, QStringLiteral("m3/h"));
            valueItem(label(656), QStringLiteral("Rekuperace"), QStringLiteral("Rek"),
                      QStringLiteral("%"));
        }

        section(701);
        const int roof = p_.integer(QStringLiteral("Typ_strechy_enum"));
        textItem(label(702), choice("Typ_strechy_enum", 703, 4, "Typ_strechy_text"));
        valueItem(label(707), QStringLiteral("Stena_A"));
        valueItem(label(708), QStringLiteral("Stena_B"));
        valueItem(label(709), QStringLiteral("Stena_H1"));
        if (roof > 0)
            valueItem(label(710), QStringLiteral("Stena_H2"));
        valueItem(label(711), QStringLiteral("Shala_steny"));
        valueItem(label(712), QStringLiteral("Shala_podlaha"));
        valueItem(label(713), QStringLiteral("Vhala"));
        valueItem(label(714), QStringLiteral("Vtotal"), QStringLiteral("V"));

        const int skylight = p_.integer(QStringLiteral("Typ_svetliku_enum"));
        if (skylight != 0) {
            section(751);
            textItem(label(752), choice("Typ_svetliku_enum", 753, 5, "Typ_svetliku_text"));
            valueItem(label(758), QStringLiteral("Svetlik_A"));
            valueItem(label(759), QStringLiteral("Svetlik_B"));
            valueItem(label(760), QStringLiteral("Svetlik_H1"));
            if (skylight == 2)
                valueItem(label(761), QStringLiteral("Svetlik_H2"));
            valueItem(label(762), QStringLiteral("Ssvetlik_steny"));
            valueItem(label(763), QStringLiteral("Ssvetlik_podlaha"));
            valueItem(label(764), QStringLiteral("Vsvetlik"));
        }

        section(3541);
        textItem(label(952), readable(p_.text(QStringLiteral("Trida_prace_text"))));
        textItem(label(955), readable(p_.text(QStringLiteral("Energ_vydej_text"))));
        textItem(label(954), choice("Poloha_cloveka_enum", 960, 2, "Poloha_cloveka_text"));
        textItem(label(959), readable(p_.text(QStringLiteral("Vyska_dychaci_zony_text"))));

        section(2005);
        textItem(label(3545), choice("Tepelne_ztraty_enum", 802, 3, nullptr));
        if (method_ == 1)
            textItem(label(3535), choice("Tepelne_ztraty_priblizne_enum", 809, 4, nullptr));
        textItem(label(850), choice("n_enum", 851, 5, nullptr));
        valueItem(label(3533), QStringLiteral("n"), QStringLiteral("n"));
        // The infiltration loss of the calculation, negatives counting as none.
        formulaItem(label(856), QStringLiteral("Q_infiltrace_kW"),
                    QStringLiteral("MAX(0,{V}/3600*0.8*1020*1.2*{n}*({Ti}-{Te}))/1000"),
                    QStringLiteral("Qinf"), QStringLiteral("kW"));

        section(3543);
        const QString kW = QStringLiteral("kW");
        const QString reduced = QStringLiteral(" (%1)").arg(text(2007));
        if (method_ == 0 && surfacesTotalRow_ >= 0) {
            const QString surfaces = sheetRef(names_[1]);
            formulaItem(text(2008), QStringLiteral("Q_kW"),
                        surfaces + cellName(surfacesTotalRow_, 8) + u'+' + surfaces +
                            cellName(surfacesTotalRow_, 9) + QLatin1String("+{Qinf}"),
                        QStringLiteral("Q"), kW);
        } else {
            valueItem(method_ == 2 ? label(3544) : text(2008), QStringLiteral("Q_kW"),
                      QStringLiteral("Q"), kW);
        }
        valueItem(text(2008) + reduced, QStringLiteral("Q_tlumeny_kW"), QStringLiteral("Qred"), kW);
        if (ventilation_)
            formulaItem(text(2009), QStringLiteral("Q_vetrani_kW"),
                        QStringLiteral("{Vcz}/3600*1.28*1010*({Ti}-{Te})*(1-{Rek}/100)/1000"),
                        QStringLiteral("Qvent"), kW);
        else
            valueItem(text(2009), QStringLiteral("Q_vetrani_kW"), QStringLiteral("Qvent"), kW);
        // The gains count unless the loss is the user's own value.
        if (method_ != 2)
            formulaItem(text(2010), QStringLiteral("TZ_total"), QStringLiteral("{G1}+{G2}+{G3}"),
                        QStringLiteral("G"), kW);
        else
            valueItem(text(2010), QStringLiteral("TZ_total"), QStringLiteral("G"), kW);
        formulaItem(label(3534), QStringLiteral("Topny_vykon_kW"),
                    QStringLiteral("MAX(0,{Q}+{Qvent}-{G})"));
        formulaItem(splitUnit(label(3534)).first + reduced,
                    QStringLiteral("Topny_vykon_tlumeny_kW"), QStringLiteral("{Qred}-{G}"), {}, kW);

        section(3537);
        valueItem(label(2012), QStringLiteral("Cirkulacni_vykon_m3_hod"));
        valueItem(label(2013), QStringLiteral("Vetraci_vykon_m3_hod"));

        section(3538);
        for (int id : {2014, 2015, 2016}) {
            const char* column = id == 2014 ? "Cena_den" : id == 2015 ? "Cena_mesic" : "Cena_rok";
            valueItem(label(id), QLatin1String(column), {}, currency(), Num::Currency);
        }

        section(3540);
        if (!s_.unitTypes.empty()) {
            // The totals of the chosen numbers, the destratifiers apart.
            const QString types = sheetRef(names_[3]);
            const QString chosen = types + rangeName(FirstDataRow, unitTypesLastRow_, 2);
            const QString typeNames = types + rangeName(FirstDataRow, unitTypesLastRow_, 1);
            const QString destratifiers =
                QStringLiteral("SUMIF(%1,\"*Destr*\",%2)").arg(typeNames, chosen);
            formulaItem(label(2102), QStringLiteral("Pocet_jednotek_celkem"),
                        QStringLiteral("SUM(%1)-%2").arg(chosen, destratifiers));
            formulaItem(label(2103), QStringLiteral("Pocet_destrat_celkem"), destratifiers);
            items_[items_.size() - 2].num = Num::Int;
            items_.back().num = Num::Int;
        } else {
            valueItem(label(2102), QStringLiteral("Pocet_jednotek_celkem"));
            valueItem(label(2103), QStringLiteral("Pocet_destrat_celkem"));
        }
        textItem(label(2106), QStringLiteral("Varianta %1")
                                  .arg(p_.integer(QStringLiteral("Varianta_rozmisteni_enum")) + 1));
        valueItem(label(2107), QStringLiteral("Vyska_jednotek"));
        valueItem(label(2108), QStringLiteral("Vyska_destrat"));

        section(3539);
        textItem(label(1001), p_.text(QStringLiteral("Zaver_text")));
        textItem(label(1002), p_.text(QStringLiteral("Zaver_memo")), true);
    }

    QString resolve(const QString& formula) const {
        static const QRegularExpression key(QStringLiteral("\\{(\\w+)\\}"));
        QString out;
        qsizetype last = 0;
        for (auto it = key.globalMatch(formula); it.hasNext();) {
            const auto m = it.next();
            out += formula.mid(last, m.capturedStart() - last);
            out += cellName(rowOf_.value(m.captured(1)), 1);
            last = m.capturedEnd();
        }
        return out + formula.mid(last);
    }
    // A formula whose cells all exist on the sheet.
    bool resolvable(const QString& formula) const {
        static const QRegularExpression key(QStringLiteral("\\{(\\w+)\\}"));
        for (auto it = key.globalMatch(formula); it.hasNext();)
            if (!rowOf_.contains(it.next().captured(1)))
                return false;
        return true;
    }

    void writeProject() {
        Sheet sheet(book_, names_[0], text(3510), projectName_);
        sheet.headers({text(3520), text(3521), text(3522)});
        projectItems();
        int row = FirstDataRow;
        for (const Item& i : items_) {
            if (!i.key.isEmpty())
                rowOf_.insert(i.key, row);
            ++row;
        }
        row = FirstDataRow;
        for (const Item& i : items_) {
            switch (i.kind) {
            case Item::Section:
                sheet.section(row, i.caption, 3);
                break;
            case Item::Text:
            case Item::LongText:
                sheet.caption(row, 0, i.caption);
                sheet.text(row, 1, i.text);
                break;
            case Item::Date: {
                sheet.caption(row, 0, i.caption);
                const QDateTime when = p_.value(QStringLiteral("Datum_vypracovani")).toDateTime();
                if (when.isValid())
                    sheet.date(row, 1, when,
                               exchange::textBase(base_) == BaseEN ? QStringLiteral("dd/mm/yyyy")
                                                                   : QStringLiteral("dd.mm.yyyy"));
                break;
            }
            case Item::Value:
                sheet.caption(row, 0, i.caption);
                sheet.number(row, 1, i.value, i.num);
                break;
            case Item::Formula:
                sheet.caption(row, 0, i.caption);
                if (resolvable(i.formula))
                    sheet.formula(row, 1, resolve(i.formula), i.value, i.num);
                else
                    sheet.number(row, 1, i.value, i.num);
                break;
            }
            if (!i.unit.isEmpty())
                sheet.text(row, 2, i.unit);
            ++row;
        }
        sheet.finish();
    }

    // --- surfaces and openings ---

    QString surfaceName(const Row& surface) const {
        return readable(
            surface.text(QStringLiteral("Nazev") + languageCodeOfBase(exchange::textBase(base_))));
    }

    void writeSurfaces() {
        Sheet sheet(book_, names_[1], text(3511), projectName_);
        sheet.headers({label(860), label(864), label(865), label(861), label(3523), label(3524),
                       label(866), label(867), label(868), label(869)});
        const QString openings = sheetRef(names_[2]);
        const bool calculated = method_ == 0;
        int row = FirstDataRow;
        for (size_t i = 0; i < s_.surfaces.size(); ++i, ++row) {
            const Row& w = s_.surfaces[i];
            sheet.text(row, 0, surfaceName(w));
            sheet.text(row, 1, readable(w.text(QStringLiteral("Material"))));
            sheet.value(row, 2, w.value(QStringLiteral("k")), Num::Float);
            sheet.value(row, 3, w.value(QStringLiteral("Plocha")), Num::Float);
            const int count = s_.openingsOf[i];
            const int first = openingsStart_[i];
            double openArea = 0;
            for (int o = 0; o < count; ++o)
                openArea += openingArea(s_.openings[size_t(first - FirstDataRow) + size_t(o)]);
            if (count > 0)
                sheet.formula(row, 4,
                              QStringLiteral("SUM(%1%2)")
                                  .arg(openings, rangeName(first, first + count - 1, 6)),
                              openArea, Num::Float);
            else
                sheet.number(row, 4, 0, Num::Float);
            const double net = w.number(QStringLiteral("Plocha")) - openArea;
            sheet.formula(row, 5, QStringLiteral("%1-%2").arg(cellName(row, 3), cellName(row, 4)),
                          net, Num::Float);
            sheet.value(row, 6, w.value(QStringLiteral("Ti")), Num::Float);
            sheet.value(row, 7, w.value(QStringLiteral("Te")), Num::Float);
            if (!calculated)
                continue;
            // U x net area x (Ti - Te), a negative loss counting as none.
            sheet.formula(
                row, 8,
                QStringLiteral("MAX(0,%1*%2*(%3-%4))/1000")
                    .arg(cellName(row, 2), cellName(row, 5), cellName(row, 6), cellName(row, 7)),
                w.number(QStringLiteral("Ztraty_konstrukci_kW")), Num::Float);
            const double openLoss = w.number(QStringLiteral("Ztraty_otvory_kW"));
            if (count > 0)
                sheet.formula(row, 9,
                              QStringLiteral("SUM(%1%2)")
                                  .arg(openings, rangeName(first, first + count - 1, 9)),
                              openLoss, Num::Float);
            else
                sheet.number(row, 9, openLoss, Num::Float);
        }
        if (surfacesTotalRow_ >= 0) {
            const int last = surfacesTotalRow_ - 1;
            sheet.text(row, 0, text(3527), Style::Total);
            for (int c = 1; c < 10; ++c) {
                const bool summed =
                    c == 3 || c == 4 || c == 5 || (calculated && (c == 8 || c == 9));
                if (!summed) {
                    sheet.text(row, c, QString(), Style::Total);
                    continue;
                }
                double total = 0;
                for (size_t i = 0; i < s_.surfaces.size(); ++i)
                    total += surfaceColumnValue(i, c);
                sheet.formula(row, c,
                              QStringLiteral("SUM(%1)").arg(rangeName(FirstDataRow, last, c)),
                              total, Num::Float, Style::Total);
            }
            ++row;
        }
        if (!calculated)
            sheet.note(row + 1, text(method_ == 1 ? 2605 : 2606));
        sheet.finish();
    }

    static double openingArea(const Row& o) {
        return o.number(QStringLiteral("Vyska")) * o.number(QStringLiteral("Sirka")) *
               o.integer(QStringLiteral("Pocet"));
    }
    double surfaceColumnValue(size_t i, int col) const {
        const Row& w = s_.surfaces[i];
        double openArea = 0;
        const int first = openingsStart_[i] - FirstDataRow;
        for (int o = 0; o < s_.openingsOf[i]; ++o)
            openArea += openingArea(s_.openings[size_t(first) + size_t(o)]);
        switch (col) {
        case 3:
            return w.number(QStringLiteral("Plocha"));
        case 4:
            return openArea;
        case 5:
            return w.number(QStringLiteral("Plocha")) - openArea;
        case 8:
            return w.number(QStringLiteral("Ztraty_konstrukci_kW"));
        case 9:
            return w.number(QStringLiteral("Ztraty_otvory_kW"));
        default:
            return 0;
        }
    }

    void writeOpenings() {
        Sheet sheet(book_, names_[2], text(3512), projectName_);
        sheet.headers({label(3525), label(900), label(901), label(902), label(903), label(904),
                       label(861), label(905), label(906), label(907)});
        const bool calculated = method_ == 0;
        int row = FirstDataRow;
        double totalArea = 0, totalLoss = 0;
        for (size_t i = 0; i < s_.surfaces.size(); ++i) {
            const QString wall = surfaceName(s_.surfaces[i]);
            const int first = openingsStart_[i] - FirstDataRow;
            for (int k = 0; k < s_.openingsOf[i]; ++k, ++row) {
                const Row& o = s_.openings[size_t(first) + size_t(k)];
                sheet.text(row, 0, wall);
                sheet.text(row, 1, readable(o.text(QStringLiteral("Nazev"))));
                sheet.value(row, 2, o.value(QStringLiteral("k")), Num::Float);
                sheet.value(row, 3, o.value(QStringLiteral("Vyska")), Num::Float);
                sheet.value(row, 4, o.value(QStringLiteral("Sirka")), Num::Float);
                sheet.value(row, 5, o.value(QStringLiteral("Pocet")), Num::Int);
                const double area = openingArea(o);
                totalArea += area;
                sheet.formula(row, 6,
                              QStringLiteral("%1*%2*%3")
                                  .arg(cellName(row, 3), cellName(row, 4), cellName(row, 5)),
                              area, Num::Float);
                sheet.value(row, 7, o.value(QStringLiteral("Ti")), Num::Float);
                sheet.value(row, 8, o.value(QStringLiteral("Te")), Num::Float);
                if (!calculated)
                    continue;
                const double loss = o.number(QStringLiteral("Ztrata_kW"));
                totalLoss += loss;
                sheet.formula(row, 9,
                              QStringLiteral("MAX(0,%1*%2*(%3-%4))/1000")
                                  .arg(cellName(row, 2), cellName(row, 6), cellName(row, 7),
                                       cellName(row, 8)),
                              loss, Num::Float);
            }
        }
        if (openingsTotalRow_ >= 0) {
            const int last = openingsTotalRow_ - 1;
            sheet.text(row, 0, text(3527), Style::Total);
            for (int c = 1; c < 10; ++c) {
                if (c == 6 || (calculated && c == 9))
                    sheet.formula(row, c,
                                  QStringLiteral("SUM(%1)").arg(rangeName(FirstDataRow, last, c)),
                                  c == 6 ? totalArea : totalLoss, Num::Float, Style::Total);
                else
                    sheet.text(row, c, QString(), Style::Total);
            }
            ++row;
        } else {
            sheet.note(row, text(3528));
            ++row;
        }
        if (!calculated)
            sheet.note(row + 1, text(method_ == 1 ? 2605 : 2606));
        sheet.finish();
    }

    // --- units ---

    QStringList dataHeaders() const {
        return {label(2134), label(1511) + QStringLiteral(" [kW]"),
                label(2135), label(2136),
                label(2137), label(2138),
                label(2139), label(2140)};
    }
    void writeUnitData(Sheet& sheet, int row, int col, const Row& r, Num heatKind) {
        sheet.value(row, col, r.value(QStringLiteral("Tep_vykon")), heatKind);
        sheet.value(row, col + 1, r.value(QStringLiteral("Tep_vykon_min")), Num::Float);
        sheet.value(row, col + 2, r.value(QStringLiteral("Prutok_vzduchu")), Num::Float);
        sheet.value(row, col + 3, r.value(QStringLiteral("El_prikon")), Num::Float);
        int c = col + 4;
        for (const char* column : {"Dosah", "dT", "dB", "dp"})
            sheet.numberOrText(row, c++, r.text(QLatin1String(column)));
    }

    void writeUnitTypes() {
        Sheet sheet(book_, names_[3], text(3513), projectName_);
        QStringList headers{label(2130), label(2131), label(2132), label(2133)};
        headers += dataHeaders();
        sheet.headers(headers);
        int row = FirstDataRow;
        double chosen = 0, heat = 0, air = 0, power = 0;
        for (const Row& t : s_.unitTypes) {
            sheet.value(row, 0, t.value(QStringLiteral("ID")), Num::Int);
            sheet.text(row, 1, t.text(QStringLiteral("Typ")));
            sheet.value(row, 2, t.value(QStringLiteral("Pocet_jednotek")), Num::Int);
            sheet.value(row, 3, t.value(QStringLiteral("Max_pocet_jednotek")), Num::Int);
            writeUnitData(sheet, row, 4, t, Num::Float);
            const double k = t.number(QStringLiteral("Pocet_jednotek"));
            chosen += k;
            heat += k * t.number(QStringLiteral("Tep_vykon"));
            air += k * t.number(QStringLiteral("Prutok_vzduchu"));
            power += k * t.number(QStringLiteral("El_prikon"));
            ++row;
        }
        if (!s_.unitTypes.empty()) {
            // The chosen units together: their number, heat output, air and
            // electric input.
            const int last = row - 1;
            const QString count = rangeName(FirstDataRow, last, 2);
            sheet.text(row, 0, QString(), Style::Total);
            sheet.text(row, 1, text(3527), Style::Total);
            sheet.formula(row, 2, QStringLiteral("SUM(%1)").arg(count), chosen, Num::Int,
                          Style::Total);
            sheet.text(row, 3, QString(), Style::Total);
            const std::pair<int, double> totals[] = {{4, heat}, {6, air}, {7, power}};
            for (int c = 4; c < 12; ++c) {
                const auto it = std::find_if(std::begin(totals), std::end(totals),
                                             [c](const auto& t) { return t.first == c; });
                if (it == std::end(totals)) {
                    sheet.text(row, c, QString(), Style::Total);
                    continue;
                }
                sheet.formula(row, c,
                              QStringLiteral("SUMPRODUCT(%1,%2)")
                                  .arg(count, rangeName(FirstDataRow, last, c)),
                              it->second, Num::Float, Style::Total);
            }
        }
        sheet.finish();
    }

    void writeUnits() {
        Sheet sheet(book_, names_[4], text(2004), projectName_);
        QStringList headers{label(2260), label(2261), label(2262),
                            label(2263), label(2264), label(2265)};
        headers += dataHeaders();
        headers += QStringList{label(2266), label(2267), label(2268), label(2269)};
        sheet.headers(headers);
        const QString code = languageCodeOfBase(exchange::textBase(base_));
        int row = FirstDataRow;
        double heat = 0, air = 0, power = 0;
        for (const Row& u : s_.units) {
            sheet.value(row, 0, u.value(QStringLiteral("IDJednotky")), Num::Int);
            sheet.text(row, 1, u.text(QStringLiteral("Typ")));
            sheet.value(row, 2, u.value(QStringLiteral("X")), Num::Float);
            sheet.value(row, 3, u.value(QStringLiteral("Y")), Num::Float);
            sheet.value(row, 4, u.value(QStringLiteral("Z")), Num::Float);
            sheet.number(row, 5, exchange::unitAngle(u), Num::Int);
            writeUnitData(sheet, row, 6, u, Num::Float);
            int c = 14;
            for (const char* property : {"Umisteni_text", "Odvod_spalin_text",
                                         "Privod_vzduchu_text", "Zpusob_regulace_text"})
                sheet.text(row, c++, readable(u.text(QLatin1String(property) + code)));
            heat += u.number(QStringLiteral("Tep_vykon"));
            air += u.number(QStringLiteral("Prutok_vzduchu"));
            power += u.number(QStringLiteral("El_prikon"));
            ++row;
        }
        if (s_.units.empty()) {
            sheet.note(row, text(3529));
        } else {
            const int last = row - 1;
            sheet.text(row, 0, QString(), Style::Total);
            sheet.text(row, 1, text(3527), Style::Total);
            const std::pair<int, double> totals[] = {{6, heat}, {8, air}, {9, power}};
            for (int c = 2; c < 18; ++c) {
                const auto it = std::find_if(std::begin(totals), std::end(totals),
                                             [c](const auto& t) { return t.first == c; });
                if (it == std::end(totals))
                    sheet.text(row, c, QString(), Style::Total);
                else
                    sheet.formula(row, c,
                                  QStringLiteral("SUM(%1)").arg(rangeName(FirstDataRow, last, c)),
                                  it->second, Num::Float, Style::Total);
            }
        }
        sheet.finish();
    }

    const ProjectSnapshot& s_;
    int base_;
    Book& book_;
    const Row& p_;
    int method_ = 0;
    bool ventilation_ = false;
    QString projectName_;
    QString names_[5];
    int surfacesTotalRow_ = -1;
    std::vector<int> openingsStart_;
    int openingsTotalRow_ = -1;
    int unitTypesLastRow_ = -1;
};

} // namespace

QByteArray projectWorkbook(TZFData& data, int languageBase, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    ProjectSnapshot snapshot;
    try {
        snapshot = exchange::readProject(data);
    } catch (const DbError& e) {
        return fail(e.message());
    }
    exchange::MemoryFile file;
    if (!file.isOpen())
        return fail(file.error());
    lxw_workbook* wb = workbook_new(file.name().constData());
    if (!wb)
        return fail(QStringLiteral("The workbook could not be started."));
    {
        Book book(wb);
        WorkbookWriter(snapshot, languageBase, book).write();
        const std::string title =
            snapshot.project.text(QStringLiteral("ProjectName_text")).toStdString();
        const std::string author =
            snapshot.project.text(QStringLiteral("Vypracoval_text")).toStdString();
        lxw_doc_properties properties{};
        properties.title = const_cast<char*>(title.c_str());
        properties.author = const_cast<char*>(author.c_str());
        workbook_set_properties(wb, &properties);
        const lxw_error closed = workbook_close(wb);
        if (closed != LXW_NO_ERROR)
            return fail(QString::fromUtf8(lxw_strerror(closed)));
    }
    QByteArray bytes;
    if (!file.read(&bytes))
        return fail(file.error());
    return bytes;
}

} // namespace zf

#include "common/numberformat.h"

#include <QStringList>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zf {

namespace {

struct Picture {
    QString prefix, suffix;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
    bool grouping = false;
    bool hasNumber = false;
};

// Splits a picture into its ';' sections, honouring quotes.
QStringList sections(const QString& picture) {
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            cur += c;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            cur += c;
        } else if (c == QLatin1Char(';')) {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

Picture parse(const QString& section) {
    Picture p;
    enum { Prefix, Int, Dec, Suffix } state = Prefix;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (state == Prefix ? p.prefix : p.suffix) += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            if (state == Int || state == Dec)
                state = Suffix;
            quote = c;
            continue;
        }
        const bool digit = c == QLatin1Char('0') || c == QLatin1Char('#');
        if (state == Prefix && (digit || c == QLatin1Char(',') || c == QLatin1Char('.')))
            state = Int;
        if (state == Int) {
            if (c == QLatin1Char('0')) {
                ++p.minInt;
                p.hasNumber = true;
                continue;
            }
            if (c == QLatin1Char('#')) {
                p.hasNumber = true;
                continue;
            }
            if (c == QLatin1Char(',')) {
                p.grouping = true;
                continue;
            }
            if (c == QLatin1Char('.')) {
                state = Dec;
                p.hasNumber = true;
                continue;
            }
            state = Suffix;
        } else if (state == Dec) {
            if (c == QLatin1Char('0')) {
                ++p.minDec;
                ++p.maxDec;
                continue;
            }
            if (c == QLatin1Char('#')) {
                ++p.maxDec;
                continue;
            }
            if (c == QLatin1Char(','))
                continue;
            state = Suffix;
        }
        (state == Prefix ? p.prefix : p.suffix) += c;
    }
    return p;
}

// Decimal digits of |value| rounded half away from zero to `decimals` places,
// as (integer digits, fraction digits).
std::pair<QString, QString> roundDecimal(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf: d.dddddddddddddde[+-]xx
    QString mant;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            mant += QLatin1Char(*p);
    const int exp = std::atoi(p + 1);
    // The digit string represents 0.mant * 10^(exp+1).
    int pointPos = exp + 1; // digits before the decimal point
    QString digits = mant;
    if (pointPos < 0) {
        digits = QString(-pointPos, QLatin1Char('0')) + digits;
        pointPos = 0;
    }
    const int keep = pointPos + decimals;
    if (keep < digits.size()) {
        const bool up = keep >= 0 && digits[keep] >= QLatin1Char('5');
        digits.truncate(qMax(keep, 0));
        if (up) {
            int i = digits.size() - 1;
            for (; i >= 0; --i) {
                if (digits[i] == QLatin1Char('9')) {
                    digits[i] = QLatin1Char('0');
                } else {
                    digits[i] = QChar(digits[i].unicode() + 1);
                    break;
                }
            }
            if (i < 0) {
                digits.prepend(QLatin1Char('1'));
                ++pointPos;
            }
        }
    }
    while (digits.size() < pointPos + decimals)
        digits += QLatin1Char('0');
    QString intPart = digits.left(pointPos);
    QString fracPart = digits.mid(pointPos, decimals);
    while (intPart.size() > 1 && intPart.startsWith(QLatin1Char('0')))
        intPart.remove(0, 1);
    return {intPart, fracPart};
}

} // namespace

QString formatFloat(const QString& picture, double value, const QLocale& locale) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const QStringList secs = sections(picture);
    Picture pic = parse(secs.value(0));
    bool negative = value < 0;
    bool useNegSection = false;
    if (negative && secs.size() > 1 && !secs[1].isEmpty()) {
        pic = parse(secs[1]);
        useNegSection = true;
    }
    if (!pic.hasNumber)
        return pic.prefix + pic.suffix;
    auto [intPart, frac] = roundDecimal(value, pic.maxDec);
    while (frac.size() > pic.minDec && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    const bool isZero = intPart.count(QLatin1Char('0')) == intPart.size() &&
                        frac.count(QLatin1Char('0')) == frac.size();
    if (isZero && secs.size() > 2 && !secs[2].isEmpty()) {
        pic = parse(secs[2]);
        if (!pic.hasNumber)
            return pic.prefix + pic.suffix;
        std::tie(intPart, frac) = roundDecimal(0.0, pic.maxDec);
        while (frac.size() > pic.minDec && frac.endsWith(QLatin1Char('0')))
            frac.chop(1);
        negative = false;
        useNegSection = false;
    }
    if (isZero)
        negative = false;
    if (intPart == QLatin1String("0") && pic.minInt == 0)
        intPart.clear();
    while (intPart.size() < pic.minInt)
        intPart.prepend(QLatin1Char('0'));
    if (pic.grouping && intPart.size() > 3) {
        const QString sep = locale.groupSeparator();
        QString grouped;
        const int n = intPart.size();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += sep;
            grouped += intPart[i];
        }
        intPart = grouped;
    }
    QString number = intPart;
    if (!frac.isEmpty())
        number += locale.decimalPoint() + frac;
    if (number.isEmpty())
        number = QStringLiteral("0");
    QString sign = (negative && !useNegSection) ? QStringLiteral("-") : QString();
    return pic.prefix + sign + number + pic.suffix;
}

} // namespace zf

namespace zf {

bool parseNumber(const QString& text, double* value, const QLocale& locale) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    t.replace(QChar(0x2212), locale.negativeSign());
    // Locales that group with a (no-break) space take any blank a user types.
    const QString group = locale.groupSeparator();
    if (group.size() == 1 && group.at(0).isSpace())
        for (QChar& c : t)
            if (c.isSpace())
                c = group.at(0);
    bool ok = false;
    const double d = locale.toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        return false;
    *value = d;
    return true;
}

QString formatText(const QString& text, const QVariantList& args, const QLocale& locale) {
    QString out;
    qsizetype argi = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('%') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        if (text[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        int precision = -1;
        if (text[j] == QLatin1Char('.')) {
            ++j;
            int p = 0;
            bool any = false;
            while (j < text.size() && text[j].isDigit()) {
                p = p * 10 + text[j].digitValue();
                ++j;
                any = true;
            }
            if (any)
                precision = p;
        }
        if (j >= text.size()) {
            out += c;
            continue;
        }
        const QChar conv = text[j].toLower();
        const QVariant arg = args.value(argi);
        QString piece;
        if (conv == QLatin1Char('s')) {
            piece = arg.toString();
        } else if (conv == QLatin1Char('d')) {
            piece = QString::number(arg.toLongLong());
        } else if (conv == QLatin1Char('f')) {
            const int p = precision < 0 ? 2 : precision;
            piece = formatFloat(
                QStringLiteral("0") +
                    (p > 0 ? QStringLiteral(".") + QString(p, QLatin1Char('0')) : QString()),
                arg.toDouble(), locale);
        } else if (conv == QLatin1Char('n')) {
            const int p = precision < 0 ? 2 : precision;
            piece = formatFloat(
                QStringLiteral(",0") +
                    (p > 0 ? QStringLiteral(".") + QString(p, QLatin1Char('0')) : QString()),
                arg.toDouble(), locale);
        } else {
            out += c;
            continue;
        }
        ++argi;
        out += piece;
        i = j;
    }
    return out;
}

int roundToInt(double value) {
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(r);
}

} // namespace zf

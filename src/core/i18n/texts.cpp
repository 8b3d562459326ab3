#include "i18n/texts.h"

#include "i18n/codepage.h"
#include "i18n/language.h"
#include "i18n/languagetable.h"

#include <QHash>
#include <QStringList>
#include <cstddef>

extern const unsigned char zf_texts_tsv[];
extern const std::size_t zf_texts_tsv_size;

namespace zf {

int LanguageBase = BaseEN;
QString LanguageCode = QStringLiteral("EN");
QString LanguageCodeSuffix;

namespace {

// Undoes the escapes of the text sources: \n, \r, \t and \\.
QString unescape(QStringView field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c == QLatin1Char('\\') && i + 1 < field.size()) {
            const QChar n = field[++i];
            if (n == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else if (n == QLatin1Char('r'))
                out += QLatin1Char('\r');
            else if (n == QLatin1Char('t'))
                out += QLatin1Char('\t');
            else if (n == QLatin1Char('\\'))
                out += QLatin1Char('\\');
            else {
                out += c;
                out += n;
            }
        } else {
            out += c;
        }
    }
    return out;
}

QHash<int, QString> loadTable() {
    QHash<int, QString> table;
    const QString source = QString::fromUtf8(reinterpret_cast<const char*>(zf_texts_tsv),
                                             qsizetype(zf_texts_tsv_size));
    const QStringList lines = source.split(QLatin1Char('\n'));
    QList<int> bases;
    bool header = true;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (header) {
            header = false;
            for (qsizetype i = 1; i < fields.size(); ++i) {
                const QString code = fields[i].trimmed();
                // A column of an offered language; others are left out.
                const LanguageInfo* row = languageOfCode(code);
                bases << (row && isOfferedLanguage(row->base) ? row->base : -1);
            }
            continue;
        }
        bool ok = false;
        const int id = fields.value(0).toInt(&ok);
        if (!ok)
            continue;
        for (qsizetype i = 1; i < fields.size() && i - 1 < bases.size(); ++i) {
            const int base = bases[i - 1];
            if (base < 0 || fields[i].isEmpty())
                continue;
            const QString text = unescape(fields[i]);
            table.insert(base + id, text);
        }
    }
    return table;
}

const QHash<int, QString>& textTable() {
    static const QHash<int, QString> table = loadTable();
    return table;
}

} // namespace

QString languageCodeOfBase(int base) {
    return QString::fromLatin1(languageInfo(base).code);
}

void setLanguage(int base) {
    LanguageBase = base;
    LanguageCode = languageCodeOfBase(base);
    LanguageCodeSuffix = QString::fromLatin1(languageInfo(base).suffix);
}

QString tableText(int entry) {
    // The re-encoded Russian copy is derived when it is first asked for.
    if (entry >= BaseRU1250 && entry < BaseSL) {
        static QHash<int, QString> derived;
        const auto it = derived.constFind(entry);
        if (it != derived.constEnd())
            return *it;
        const QString russian = textTable().value(entry - BaseRU1250 + BaseRU);
        QString copy = russian.isEmpty() ? QString() : reencode1251As1250(russian);
        derived.insert(entry, copy);
        return copy;
    }
    return textTable().value(entry);
}

QString LanguageTextIn(int base, int id) {
    // Slovak has no texts. Captions stay empty, but the messages and hints (4912
    // and up, where the table of Slovak would run into foreign entries) are shown
    // in English rather than as empty boxes.
    if (base == BaseSL && id >= 4912)
        return tableText(BaseEN + id);
    return tableText(base + id);
}

QString LanguageText(int id) {
    // This platform shows Unicode: the windows show the Russian texts as they
    // are also under the re-encoded base.
    if (LanguageBase == BaseRU1250)
        return LanguageTextIn(BaseRU, id);
    // Slovak holds no captions: empty menus and buttons would leave no way to
    // another language, so the windows show the English ones. What is written
    // for every language (the unit-property texts) stays empty for Slovak.
    if (LanguageBase == BaseSL)
        return LanguageTextIn(BaseEN, id);
    return LanguageTextIn(LanguageBase, id);
}

QString storedLanguageText(int id) {
    return LanguageTextIn(LanguageBase, id);
}

QString storedText(const QString& readable) {
    return LanguageBase == BaseRU1250 ? reencode1251As1250(readable) : readable;
}

QString readableText(const QString& text) {
    if (LanguageBase != BaseRU1250)
        return text;
    QString out;
    out.reserve(text.size());
    // A word with a plain Latin letter was never Russian (a re-encoded Russian
    // word has none): Czech, Slovak and Polish names keep their accents.
    qsizetype wordEnd = -1;
    bool latinWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (i >= wordEnd && c.isLetter()) {
            wordEnd = i;
            latinWord = false;
            while (wordEnd < text.size() && text.at(wordEnd).isLetter()) {
                latinWord = latinWord || text.at(wordEnd).unicode() < 0x80;
                ++wordEnd;
            }
        }
        if (i < wordEnd && latinWord) {
            out += c;
            continue;
        }
        const int b = c.unicode() < 0x80 ? -1 : byteOfChar(1250, c);
        const QChar r = b < 0 ? QChar() : charOfByte(1251, static_cast<unsigned char>(b));
        // An undefined byte was kept as its own value by the re-encoding.
        if (r.isNull() && c.unicode() >= 0x80 && c.unicode() < 0x100 && byteOfChar(1250, c) < 0) {
            const QChar u = charOfByte(1251, static_cast<unsigned char>(c.unicode()));
            out += u.isNull() ? c : u;
            continue;
        }
        out += r.isNull() ? c : r;
    }
    return out;
}

} // namespace zf

#include "rtftext.h"

#include <vector>

namespace zf::test {

QString rtfText(const QByteArray& rtf) {
    QString out;
    // Per group: whether its text is skipped.
    std::vector<bool> skip{false};
    int ucSkip = 0; // characters to drop after a \u
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n;) {
        const char c = rtf[i];
        if (c == '{') {
            skip.push_back(skip.back());
            ++i;
            continue;
        }
        if (c == '}') {
            if (skip.size() > 1)
                skip.pop_back();
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (ucSkip > 0)
                --ucSkip;
            else if (!skip.back())
                out += QLatin1Char(c);
            ++i;
            continue;
        }
        // A control symbol or word.
        ++i;
        if (i >= n)
            break;
        const char s = rtf[i];
        if (s == '\\' || s == '{' || s == '}') {
            if (!skip.back())
                out += QLatin1Char(s);
            ++i;
            continue;
        }
        if (s == '*') {
            skip.back() = true;
            ++i;
            continue;
        }
        if (s == '\'') {
            const int code = rtf.mid(i + 1, 2).toInt(nullptr, 16);
            if (!skip.back())
                out += QChar(code);
            i += 3;
            continue;
        }
        QByteArray word;
        while (i < n && ((rtf[i] >= 'a' && rtf[i] <= 'z') || (rtf[i] >= 'A' && rtf[i] <= 'Z')))
            word += rtf[i++];
        QByteArray param;
        if (i < n && (rtf[i] == '-' || (rtf[i] >= '0' && rtf[i] <= '9'))) {
            param += rtf[i++];
            while (i < n && rtf[i] >= '0' && rtf[i] <= '9')
                param += rtf[i++];
        }
        if (i < n && rtf[i] == ' ')
            ++i;
        if (word == "fonttbl" || word == "colortbl" || word == "info" || word == "pict" ||
            word == "fldinst" || word == "stylesheet")
            skip.back() = true;
        else if (skip.back())
            continue;
        else if (word == "par" || word == "row" || word == "line")
            out += u'\n';
        else if (word == "cell" || word == "tab")
            out += u'\t';
        else if (word == "u") {
            out += QChar(char16_t(param.toShort()));
            ucSkip = 1;
        }
    }
    return out;
}

bool rtfBalanced(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0 && rtf.mid(i + 1).trimmed().size() > 0)
            return false;
        if (depth < 0)
            return false;
    }
    return depth == 0 && rtf.startsWith("{\\rtf1");
}

} // namespace zf::test

#include "exchange/exchangelanguage.h"

#include "i18n/texts.h"

namespace zf::exchange {

int textBase(int languageBase) {
    switch (languageBase) {
    case BaseCZ:
    case BaseEN:
    case BaseGE:
    case BasePL:
    case BaseRU:
        return languageBase;
    case BaseRU1250:
        return BaseRU;
    default:
        return BaseEN;
    }
}

QString text(int languageBase, int id) {
    return LanguageTextIn(textBase(languageBase), id);
}

QString label(int languageBase, int id) {
    QString t = text(languageBase, id);
    t.replace(QLatin1String("&&"), QString(QChar(0xE002)));
    t.remove(u'&');
    t.replace(QChar(0xE002), u'&');
    while (!t.isEmpty() && (t.back() == u' ' || t.back() == u':'))
        t.chop(1);
    return t;
}

QLocale localeOf(int languageBase) {
    switch (textBase(languageBase)) {
    case BaseCZ:
        return QLocale(QLocale::Czech, QLocale::Czechia);
    case BaseGE:
        return QLocale(QLocale::German, QLocale::Germany);
    case BasePL:
        return QLocale(QLocale::Polish, QLocale::Poland);
    case BaseRU:
        return QLocale(QLocale::Russian, QLocale::Russia);
    default:
        return QLocale(QLocale::English, QLocale::UnitedKingdom);
    }
}

} // namespace zf::exchange

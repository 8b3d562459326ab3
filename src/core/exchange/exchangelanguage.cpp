#include "exchange/exchangelanguage.h"

#include "i18n/languagetable.h"
#include "i18n/texts.h"

namespace zf::exchange {

int textBase(int languageBase) {
    return languageInfo(languageBase).shownBase;
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
    return localeOfLanguage(textBase(languageBase));
}

} // namespace zf::exchange

#pragma once

// The language of an export. Internal to the exchange library.

#include <QLocale>
#include <QString>

namespace zf::exchange {

// The base whose texts an export prints: Russian under the re-encoded base (the
// files are Unicode), English for Slovak, which has no texts (as the report).
int textBase(int languageBase);
QString text(int languageBase, int id);
// A caption as a label: without the access key mark and the closing ": ".
QString label(int languageBase, int id);
// The numbers of the language: the locale of its report.
QLocale localeOf(int languageBase);

} // namespace zf::exchange

#pragma once

#include <QChar>
#include <QString>

namespace zf {

// The 8-bit Windows code pages the language rules need: 1250 (Central European)
// and 1251 (Cyrillic).
QChar charOfByte(int codePage, unsigned char byte); // null QChar when undefined
int byteOfChar(int codePage, QChar c);              // -1 when not representable

// The re-encoded copy of a Russian text: the characters that code page 1250 gives
// to the code-page-1251 bytes of the text. Read as 8-bit text on a Central
// European system it yields the Cyrillic bytes again. Characters that code page
// 1251 lacks (the Czech and Polish letters of a name) stay as they are.
QString reencode1251As1250(const QString& text);

} // namespace zf

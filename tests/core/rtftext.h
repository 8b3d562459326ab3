#pragma once

#include <QByteArray>
#include <QString>

namespace zf::test {

// The text of an RTF document as a reader sees it: paragraphs and table rows end
// in a line feed, cells in a tab, fields show their result; the font and colour
// tables, the document information, pictures and other destinations are left out.
// The page header comes first.
QString rtfText(const QByteArray& rtf);

// Whether the groups of an RTF document are balanced and it is one group.
bool rtfBalanced(const QByteArray& rtf);

} // namespace zf::test

#pragma once

// The texts of the generated documents that the program's text table does not
// hold, per language. Labels the program has (captions of the documents, the
// technical data lines, tab titles, control and mounting choices) come from the
// text table instead.

#include <QString>
#include <QStringList>

namespace zf::art {

// The languages the documents are written in.
const QStringList& documentLanguages();

// The text of key in a language; the English text where the language has none.
// An unknown key gives the key itself, so that a gap shows in review.
QString docText(const QString& code, const char* key);

} // namespace zf::art

#pragma once

#include <QString>
#include <QVariantList>

namespace zf {

// The message refusing a value for a field, in the current language: text id
// filled with args, one of which (nameArg) names the field by its column. The
// command-line tool shows it so; a window that shows the field under a caption
// names the field by that caption instead (refusalNaming).
QString fieldRefusal(int id, const QVariantList& args, int nameArg);

// message with the field named by caption, when message is the refusal that
// fieldRefusal made last; any other message, or an empty caption, unchanged.
QString refusalNaming(const QString& message, const QString& caption);

} // namespace zf

#include "i18n/refusals.h"

#include "common/numberformat.h"
#include "i18n/texts.h"

namespace zf {

namespace {

// The last refusal made: a window learns of it only as the message that came
// back from a write, so it is remembered to be worded again with a caption.
struct Refusal {
    int id = 0;
    QVariantList args;
    int nameArg = -1;
    QString message;
};

Refusal& lastRefusal() {
    static Refusal r;
    return r;
}

} // namespace

QString fieldRefusal(int id, const QVariantList& args, int nameArg) {
    Refusal& r = lastRefusal();
    r.id = id;
    r.args = args;
    r.nameArg = nameArg;
    r.message = formatText(LanguageText(id), args);
    return r.message;
}

QString refusalNaming(const QString& message, const QString& caption) {
    const Refusal& r = lastRefusal();
    if (caption.isEmpty() || message.isEmpty() || message != r.message || r.nameArg < 0 ||
        r.nameArg >= r.args.size())
        return message;
    QVariantList args = r.args;
    args[r.nameArg] = caption;
    return formatText(LanguageText(r.id), args);
}

} // namespace zf

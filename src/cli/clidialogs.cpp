#include "clidialogs.h"

namespace zf {

int CliDialogs::messageBox(const QString& text, const QString&, int flags) {
    const QByteArray t = text.toUtf8();
    if (iconOfFlags(flags) == MessageIcon::Error)
        ++errorBoxes;
    std::fprintf(out_, "box %s: %s\n", iconName(iconOfFlags(flags)), t.constData());
    std::fflush(out_);
    switch (flags & 0x0f) {
    case 3:
        return answerYesNoCancel;
    case 4:
        return answerYesNo;
    default:
        return IdOk;
    }
}

} // namespace zf

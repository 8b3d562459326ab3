#include "common/dialogs.h"

#include "common/globals.h"

namespace zf {

namespace {

class SilentDialogs final : public Dialogs {
public:
    int messageBox(const QString&, const QString&, int flags) override {
        switch (flags & 0x0f) {
        case 3:
            return IdCancel; // Yes/No/Cancel
        case 4:
            return IdNo; // Yes/No
        default:
            return IdOk;
        }
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const SaveDialogOptions&) override { return {}; }
};

SilentDialogs silentDialogs;
Dialogs* currentDialogs = &silentDialogs;
quint64 boxesShown = 0;

} // namespace

MessageIcon iconOfFlags(int flags) {
    switch (flags & 0xf0) {
    case 16:
        return MessageIcon::Error;
    case 32:
        return MessageIcon::Question;
    case 48:
        return MessageIcon::Warning;
    default:
        return MessageIcon::Information;
    }
}

const char* iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return "error";
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Information:
        break;
    }
    return "information";
}

Dialogs& dialogs() {
    return *currentDialogs;
}

void setDialogs(Dialogs* port) {
    currentDialogs = port ? port : &silentDialogs;
}

quint64 messageBoxesShown() {
    return boxesShown;
}

int ShowMessageBox(const QString& text, const QString& caption, int flags) {
    ++boxesShown;
    return dialogs().messageBox(text, caption, flags);
}

int ShowErrorBox(const QString& text, const QString& caption, int flags) {
    QString full = text;
    if (!LastError.isEmpty()) {
        full += QStringLiteral("\n\n#Error message: ") + LastError;
        LastError.clear();
    }
    ++boxesShown;
    return dialogs().messageBox(full, caption, flags);
}

QList<QPair<QString, QString>> splitFileFilter(const QString& filter) {
    QList<QPair<QString, QString>> result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        result.append({parts[i], parts[i + 1]});
    return result;
}

} // namespace zf

#include "cmd_input.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/texts.h"
#include "session/projectsession.h"

namespace zf {

int commandNewProject(ProjectSession& s, const QString& file) {
    return s.newProjectFile(file) ? 0 : 1;
}

int commandInput(ProjectSession& s, CliDialogs&, const QString& file, const QString& designJson) {
    QByteArray bytes;
    QString error;
    Design design;
    if (!readInputFile(designJson, &bytes, &error)) {
        ShowMessageBox(error, QString::fromLatin1(ProductName), MbError);
        return 1;
    }
    if (!parseDesign(bytes, &design, &error)) {
        ShowMessageBox(formatText(LanguageText(3128), {designJson, error}),
                       QString::fromLatin1(ProductName), MbError);
        return 1;
    }
    return s.applyDesign(file, design) ? 0 : 1;
}

} // namespace zf

#include "cmd_units.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "session/projectsession.h"

namespace zf {

int commandUnits(ProjectSession& s, const QString& file, const QString& unitsJsonPath) {
    QByteArray bytes;
    QString error;
    UnitsInput input;
    if (!readInputFile(unitsJsonPath, &bytes, &error) ||
        !parseUnitsInput(bytes, unitsJsonPath, &input, &error)) {
        ShowMessageBox(error, QString::fromLatin1(ProductName), MbError);
        return 1;
    }
    return s.applyUnits(file, input) ? 0 : 1;
}

} // namespace zf

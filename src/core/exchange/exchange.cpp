#include "exchange/exchange.h"

#include "storage/filecopy.h"
#include "storage/operation.h"

#include <QDir>
#include <QFileInfo>

namespace zf {

namespace {

bool writeExport(const QString& file, const QByteArray& bytes, const QString& reason) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    QString detail = reason;
    if (!bytes.isEmpty() && writeFileReplacing(file, bytes, &detail))
        return true;
    if (detail.isEmpty())
        detail = QStringLiteral("%1: nothing to write").arg(shown);
    reportFailedOperation(shown, detail);
    return false;
}

} // namespace

bool exportPlanDxf(TZFData& data, int languageBase, const QString& file, double spreadDeg) {
    QString reason;
    const QByteArray bytes = planDxf(data, languageBase, spreadDeg, &reason);
    return writeExport(file, bytes, reason);
}

bool exportProjectWorkbook(TZFData& data, int languageBase, const QString& file) {
    QString reason;
    const QByteArray bytes = projectWorkbook(data, languageBase, &reason);
    return writeExport(file, bytes, reason);
}

} // namespace zf

#include "common/globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zf {

QString AppPath;
QString ImagesPath;
QString TempPath;
QString TemplatePath;
ModifiedFlag Modified;
QString LastError;

QString withTrailingSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString programFolderOf(const QString& exeFolder) {
    const auto holdsReference = [](const QString& folder) {
        return QFileInfo::exists(folder + QStringLiteral("/DB/ZF.zft"));
    };
    if (holdsReference(exeFolder))
        return exeFolder;
    const QString installed = QDir::cleanPath(exeFolder + QLatin1Char('/') +
                                              QStringLiteral(ZEFRANT_INSTALLED_PROGRAM_DIR));
    return holdsReference(installed) ? installed : exeFolder;
}

void initProgramPaths(const QString& appFolder) {
    QString folder = appFolder;
    if (folder.isEmpty())
        folder = programFolderOf(QCoreApplication::applicationDirPath());
    AppPath = withTrailingSlash(QDir::cleanPath(QDir(folder).absolutePath()));
    ImagesPath = AppPath + QStringLiteral("Images/");
    TemplatePath = AppPath + QStringLiteral("DB/ZFData.zft");
    TempPath = withTrailingSlash(QDir::cleanPath(QDir::tempPath()));
}

} // namespace zf

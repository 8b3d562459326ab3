#include "common/globals.h"

#include <QCoreApplication>
#include <QDir>

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

void initProgramPaths(const QString& appFolder) {
    QString folder = appFolder;
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    AppPath = withTrailingSlash(QDir::cleanPath(QDir(folder).absolutePath()));
    ImagesPath = AppPath + QStringLiteral("Images/");
    TemplatePath = AppPath + QStringLiteral("DB/ZFData.zft");
    TempPath = withTrailingSlash(QDir::cleanPath(QDir::tempPath()));
}

} // namespace zf

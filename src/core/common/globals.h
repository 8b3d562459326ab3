#pragma once

#include <QString>

// Globals shared by every part of the program: paths, the modified flag and the
// detail of the last storage error.
namespace zf {

extern QString AppPath;      // folder of the executable, with a trailing '/'
extern QString ImagesPath;   // AppPath + "Images/"
extern QString TempPath;     // the user's temporary folder, with a trailing '/'
extern QString TemplatePath; // AppPath + "DB/ZFData.zft"

// The open project has unsaved changes. Set by the change hooks of the data
// module, cleared by the project file operations.
extern bool Modified;

// Detail of the last storage error; appended to the next error box, then cleared.
extern QString LastError;

// Sets AppPath and the paths derived from it. An empty folder means the folder of
// the running executable.
void initProgramPaths(const QString& appFolder = QString());

// Ensures a trailing '/' on a non-empty folder path.
QString withTrailingSlash(const QString& folder);

inline constexpr const char* ProductName = "Zefrant";

} // namespace zf

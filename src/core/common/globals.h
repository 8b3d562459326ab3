#pragma once

#include <QString>
#include <QtGlobal>

// Globals shared by every part of the program: paths, the modified flag and the
// detail of the last storage error.
namespace zf {

extern QString AppPath;      // folder of the executable, with a trailing '/'
extern QString ImagesPath;   // AppPath + "Images/"
extern QString TempPath;     // the user's temporary folder, with a trailing '/'
extern QString TemplatePath; // AppPath + "DB/ZFData.zft"

// The open project has unsaved changes. Set by the change hooks of the data
// module, cleared by the project file operations. It reads and assigns as a
// bool; besides, it counts how often it was set, so that a part that knows
// which of the changes since a save were its own (the plan's undo) can tell
// whether anything else changed meanwhile.
class ModifiedFlag {
public:
    ModifiedFlag& operator=(bool on) {
        if (on)
            ++changes_;
        on_ = on;
        return *this;
    }
    operator bool() const { return on_; }
    // How often the flag was set since the program started.
    quint64 changes() const { return changes_; }

private:
    bool on_ = false;
    quint64 changes_ = 0;
};
extern ModifiedFlag Modified;

// Detail of the last storage error; appended to the next error box, then cleared.
extern QString LastError;

// Sets AppPath and the paths derived from it. An empty folder means the program
// folder of the running executable (programFolderOf its folder).
void initProgramPaths(const QString& appFolder = QString());

// The program folder of an executable in exeFolder: that folder itself when the
// program folder was put together there (the build, a folder copied whole), else
// the installed one, ZEFRANT_INSTALLED_PROGRAM_DIR relative to it
// (/usr/bin -> /usr/share/zefrant), when it holds the reference database.
QString programFolderOf(const QString& exeFolder);

// Ensures a trailing '/' on a non-empty folder path.
QString withTrailingSlash(const QString& folder);

inline constexpr const char* ProductName = "Zefrant";

} // namespace zf

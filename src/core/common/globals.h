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

// Sets AppPath and the paths derived from it. An empty folder means the folder of
// the running executable.
void initProgramPaths(const QString& appFolder = QString());

// Ensures a trailing '/' on a non-empty folder path.
QString withTrailingSlash(const QString& folder);

inline constexpr const char* ProductName = "Zefrant";

} // namespace zf

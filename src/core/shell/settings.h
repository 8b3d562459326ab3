#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QSettings;

namespace zf {

// The spread of the plan's throw zones that the user may choose [whole
// degrees]: narrower sectors say little of a hall, wider ones promise more
// floor than a jet of warm air reaches.
inline constexpr int MinThrowSpreadSetting = 20;
inline constexpr int MaxThrowSpreadSetting = 90;
inline constexpr int DefaultThrowSpreadSetting = 40;
bool isValidThrowSpreadSetting(int degrees);
// The spread as the user types it: a whole number of degrees in the range
// above, blanks and a trailing degree sign allowed ("45", " 45 °"). Anything
// else gives nothing and, when asked for, the program's message in the
// language of the windows.
std::optional<int> parseThrowSpreadSetting(const QString& text, QString* refusal = nullptr);

// The user settings, kept in a QSettings store that mirrors the registry tree of
// the current user: Software/Quadrel/Zefrant/1.0/General/{Language, MRUFolder,
// ShowHints, AppPath, ReportLanguage, ExportFolder, ShowThrowZones, ThrowSpread}, all texts.
// Read once at start, written whenever they change.
class UserSettings {
public:
    // The store: a file of its own for tests, else the user's Zefrant settings
    // (ini format under the user's configuration folder, or the file that
    // ZEFRANT_SETTINGS names).
    explicit UserSettings(const QString& file = QString());
    ~UserSettings();

    static QString defaultFile();

    // Reading: takes over the settings of the previous key once, asks for the
    // language on the first start (the callback returns the chosen base), checks
    // the Russian code page. Any failure gives Czech.
    void read(const std::function<int()>& askLanguage);
    // Only the plan's throw zones (ShowThrowZones, ThrowSpread), without
    // anything else read, asked or changed in the store: what the command-line
    // tool takes from the user's settings. read() reads them too.
    void readThrowZones();
    // Writing; failures are ignored.
    void write(const QString& appPath);

    // The state the settings describe.
    int languageBase = 0;        // LanguageBase, after the code-page check
    int checkedLanguage = 0;     // base of the checked language command; -1 none
    QString lastFolder;          // LastFolder
    QString exportFolder;        // where the last export went; empty: none yet
    bool showHints = true;       // check mark of acShowHelp
    QString reportLanguage;      // the code the output options chose; empty: the windows' language
    bool showThrowZones = false; // the plan's "Show throw ranges"
    // Only a whole number of the range above is read or written; anything else
    // stored reads as the default.
    int throwSpread = DefaultThrowSpreadSetting;
    bool askedLanguage = false;
    bool migrated = false;

private:
    std::unique_ptr<QSettings> store_;
};

} // namespace zf

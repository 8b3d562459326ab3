#pragma once

#include <QString>
#include <functional>
#include <memory>

class QSettings;

namespace zf {

// The user settings, kept in a QSettings store that mirrors the registry tree of
// the current user: Software/Quadrel/Zefrant/1.0/General/{Language, MRUFolder,
// ShowHints, AppPath, ReportLanguage, ExportFolder}, all texts. Read once at start, written
// whenever they change.
class UserSettings {
public:
    // The store: a file of its own for tests, else the user's Zefrant settings
    // (ini format under the user's configuration folder).
    explicit UserSettings(const QString& file = QString());
    ~UserSettings();

    static QString defaultFile();

    // Reading: takes over the settings of the previous key once, asks for the
    // language on the first start (the callback returns the chosen base), checks
    // the Russian code page. Any failure gives Czech.
    void read(const std::function<int()>& askLanguage);
    // Writing; failures are ignored.
    void write(const QString& appPath);

    // The state the settings describe.
    int languageBase = 0;    // LanguageBase, after the code-page check
    int checkedLanguage = 0; // base of the checked language command; -1 none
    QString lastFolder;      // LastFolder
    QString exportFolder;    // where the last export went; empty: none yet
    bool showHints = true;   // check mark of acShowHelp
    QString reportLanguage;  // the code the output options chose; empty: the windows' language
    bool askedLanguage = false;
    bool migrated = false;

private:
    std::unique_ptr<QSettings> store_;
};

} // namespace zf

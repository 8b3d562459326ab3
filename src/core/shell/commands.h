#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace zf {

// The commands of the main window: name (the action's objectName), caption text,
// shortcut, picture.
struct CommandDef {
    const char* name;
    int textId;
    const char* shortcut; // QKeySequence portable text, or ""
    bool checkable = false;
    bool hidden = false;
};
const std::vector<CommandDef>& commandTable();
const CommandDef* findCommand(const QString& name);

// What the commands do, by name: filled once by the program (the session's
// commands and the few the main window does itself), run by name.
class CommandHandlers {
public:
    using Handler = std::function<void()>;
    void set(const QString& name, Handler handler) { handlers_.emplace(name, std::move(handler)); }
    bool contains(const QString& name) const { return handlers_.contains(name); }
    // False for a command without a handler.
    bool run(const QString& name) const;

private:
    QHash<QString, Handler> handlers_;
};

// What the enabling rules look at, evaluated whenever the interface is idle.
struct ShellState {
    bool wizardVisible = false;
    bool projectOpen = false; // the project connection is open
    bool modified = false;
    bool constructionsPageShown = true; // the wizard shows its constructions page
};
// Enabled state of a command that does not depend on the focused text field or
// on the language set; the Edit and language commands answer true here.
bool commandEnabled(const QString& name, const ShellState& state);

// Menu bar: top-level entries with their text and items; "-" is a separator, a
// name with a '>' prefix opens the submenu of that command.
struct MenuDef {
    int textId;
    QStringList items;
};
const std::vector<MenuDef>& mainMenu();
const QStringList& toolBarItems();

// The commands of a submenu that holds commands (acLanguage, acExport); empty
// for the others, which the program fills itself.
const QStringList& submenuCommands(const QString& name);

// The submenu of the language command.
const QStringList& languageCommands();          // acCZ ... acSL
int baseOfLanguageCommand(const QString& name); // -1 for others
QString languageCommandOfBase(int base);        // 40000 and 50000: acRU; "" for others

// The wizard page a Document command opens ("" for acInput: the current page).
QString wizardPageOfCommand(const QString& name);

inline constexpr const char* AppVersionText = "... version 1.0.7";
inline constexpr const char* AboutVersionText = "Application version: 1.0.7";
inline constexpr const char* AboutBuildText = "Build: 1.7.2010";

// The supplier shown on the start panel and in the About box: with Czech
// diacritics under the Czech base, unaccented under the others.
struct SupplierText {
    QString company;
    QString street;
    QString contact;
    QString web;
};
SupplierText supplier(int base);

} // namespace zf

#include "shell/commands.h"

#include "i18n/languagetable.h"
#include "i18n/texts.h"

namespace zf {

const std::vector<CommandDef>& commandTable() {
    static const std::vector<CommandDef> table = {
        {"acFileNew", 2, ""},
        {"acFileOpen", 3, "Ctrl+O"},
        {"acClose", 5, ""},
        {"acFileSave", 6, "Ctrl+S"},
        {"acFileSaveAs", 7, ""},
        {"acPrintPreview", 8, ""},
        {"acPrint", 9, "Ctrl+P"},
        {"acPDFCreate", 10, ""},
        {"acRTFCreate", 20, ""},
        {"acExport", 3548, ""},
        {"acExportPlan", 3549, ""},
        {"acExportWorkbook", 3550, ""},
        {"acFileExit", 12, ""},
        {"acEditUndo", 14, "Ctrl+Z"},
        {"acEditRedo", 3350, "Ctrl+Y"},
        {"acEditCut", 15, "Ctrl+X"},
        {"acEditCopy", 16, "Ctrl+C"},
        {"acEditPaste", 17, "Ctrl+V"},
        {"acEditDelete", 18, "Del"},
        {"acEditSelectAll", 19, "Ctrl+A"},
        {"acInput", 51, ""},
        {"acUvodniText", 52, ""},
        {"acOtopneObdobi", 53, ""},
        {"acProvozniRezim", 54, ""},
        {"acRozmeryHaly", 55, ""},
        {"acRozmerySvetliku", 56, ""},
        {"acTepelneZtraty", 57, ""},
        {"acStavebniKonstrukce", 58, ""},
        {"acPracovniPodminky", 59, ""},
        {"acZaver", 60, ""},
        {"acShowHelp", 90, "", true},
        {"acThrowOptions", 3453, ""},
        {"acLanguage", 81, ""},
        {"acCZ", 82, "", true},
        {"acEN", 83, "", true},
        {"acGE", 84, "", true},
        {"acPL", 85, "", true},
        {"acRU", 86, "", true},
        {"acSL", 87, "", true},
        {"acKatalog_Techicke_podklady", 104, ""},
        {"acKatalog_Letaky", 105, ""},
        {"acKatalogStavPrvky", 103, ""},
        {"acKatalogBrisant", 101, "Ctrl+K", false, true}, // hidden; its shortcut works
        {"acKatalogProjDoc", 102, "", false, true},
        {"acAbout", 121, ""},
    };
    return table;
}

bool CommandHandlers::run(const QString& name) const {
    const auto it = handlers_.constFind(name);
    if (it == handlers_.constEnd() || !it.value())
        return false;
    it.value()();
    return true;
}

const CommandDef* findCommand(const QString& name) {
    for (const CommandDef& c : commandTable())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

bool commandEnabled(const QString& name, const ShellState& s) {
    if (name == QLatin1String("acFileNew"))
        return !s.wizardVisible;
    if (name == QLatin1String("acFileSave"))
        return s.modified && s.projectOpen;
    static const QStringList whileOpen = {QStringLiteral("acClose"),
                                          QStringLiteral("acFileSaveAs"),
                                          QStringLiteral("acPrintPreview"),
                                          QStringLiteral("acPrint"),
                                          QStringLiteral("acPDFCreate"),
                                          QStringLiteral("acRTFCreate"),
                                          QStringLiteral("acExport"),
                                          QStringLiteral("acExportPlan"),
                                          QStringLiteral("acExportWorkbook"),
                                          QStringLiteral("acInput"),
                                          QStringLiteral("acUvodniText"),
                                          QStringLiteral("acOtopneObdobi"),
                                          QStringLiteral("acProvozniRezim"),
                                          QStringLiteral("acRozmeryHaly"),
                                          QStringLiteral("acRozmerySvetliku"),
                                          QStringLiteral("acTepelneZtraty"),
                                          QStringLiteral("acPracovniPodminky"),
                                          QStringLiteral("acZaver")};
    if (whileOpen.contains(name))
        return s.projectOpen;
    if (name == QLatin1String("acStavebniKonstrukce"))
        return s.projectOpen && s.constructionsPageShown;
    return true;
}

const std::vector<MenuDef>& mainMenu() {
    static const std::vector<MenuDef> menu = {
        {1,
         {"acFileNew", "acFileOpen", "acClose", "-", "acFileSave", "acFileSaveAs", "-",
          "acPrintPreview", "acPrint", "-", "acPDFCreate", "acRTFCreate", ">acExport", "-",
          "acFileExit"}},
        {13,
         {"acEditUndo", "acEditRedo", "-", "acEditCut", "acEditCopy", "acEditPaste", "-",
          "acEditDelete", "-", "acEditSelectAll"}},
        {50,
         {"acInput", "-", "acUvodniText", "acOtopneObdobi", "acProvozniRezim", "acRozmeryHaly",
          "acRozmerySvetliku", "acTepelneZtraty", "acStavebniKonstrukce", "acPracovniPodminky",
          "acZaver"}},
        {80, {"acShowHelp", "acThrowOptions", "-", ">acLanguage"}},
        {100,
         {">acKatalog_Techicke_podklady", ">acKatalog_Letaky", "acKatalogBrisant",
          "acKatalogProjDoc", "-", "acKatalogStavPrvky"}},
        {120, {"acAbout"}},
    };
    return menu;
}

const QStringList& toolBarItems() {
    static const QStringList items = {"acFileNew",      "acFileOpen", "acFileSave", "acClose", "-",
                                      "acPrintPreview", "acPrint",    "-",          "acInput", "-",
                                      "acFileExit"};
    return items;
}

const QStringList& submenuCommands(const QString& name) {
    static const QStringList exports = {"acExportPlan", "acExportWorkbook"};
    static const QStringList none;
    if (name == QLatin1String("acLanguage"))
        return languageCommands();
    if (name == QLatin1String("acExport"))
        return exports;
    return none;
}

const QStringList& languageCommands() {
    static const QStringList names = [] {
        QStringList list;
        int count = 0;
        const LanguageInfo* rows = languageRows(&count);
        for (int i = 0; i < count; ++i)
            if (!list.contains(QLatin1String(rows[i].command)))
                list << QString::fromLatin1(rows[i].command);
        return list;
    }();
    return names;
}

int baseOfLanguageCommand(const QString& name) {
    const LanguageInfo* row = languageOfCommand(name);
    return row ? row->base : -1;
}

QString languageCommandOfBase(int base) {
    const LanguageInfo* row = findLanguage(base);
    return row ? QString::fromLatin1(row->command) : QString();
}

QString wizardPageOfCommand(const QString& name) {
    static const QStringList commands = {
        "acUvodniText",         "acOtopneObdobi",     "acProvozniRezim",
        "acRozmeryHaly",        "acRozmerySvetliku",  "acTepelneZtraty",
        "acStavebniKonstrukce", "acPracovniPodminky", "acZaver"};
    static const QStringList pages = {
        "tsUvodniText",         "tsOtopneObdobi",     "tsProvozniRezim",
        "tsRozmeryHaly",        "tsRozmerySvetliku",  "tsTepelneZtraty",
        "tsStavebniKonstrukce", "tsPracovniPodminky", "tsZaver"};
    const qsizetype i = commands.indexOf(name);
    return i < 0 ? QString() : pages[i];
}

SupplierText supplier(int base) {
    if (base == BaseCZ)
        return {QStringLiteral("Brisant Tepelná technika s.r.o."),
                QStringLiteral("Průmyslová 1428, 460 01 Liberec"),
                QStringLiteral("Tel.: +420 485 100 200, e-mail: info@brisant.example"),
                QStringLiteral("www.brisant.example")};
    return {QStringLiteral("Brisant Tepelna technika s.r.o."),
            QStringLiteral("Prumyslova 1428, 460 01 Liberec"),
            QStringLiteral("Tel.: +420 485 100 200, e-mail: info@brisant.example"),
            QStringLiteral("www.brisant.example")};
}

} // namespace zf

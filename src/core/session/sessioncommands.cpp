#include "session/sessioncommands.h"

#include "catalogs/documents.h"
#include "session/projectsession.h"

namespace zf {

void registerSessionCommands(CommandHandlers& h, ProjectSession& s) {
    h.set(QStringLiteral("acFileNew"), [&s] { s.commandNew(); });
    h.set(QStringLiteral("acFileOpen"), [&s] { s.commandOpen(); });
    h.set(QStringLiteral("acClose"), [&s] { s.commandClose(); });
    h.set(QStringLiteral("acFileSave"), [&s] { s.commandSave(); });
    h.set(QStringLiteral("acFileSaveAs"), [&s] { s.commandSaveAs(); });
    h.set(QStringLiteral("acExportPlan"), [&s] { s.commandExportPlan(); });
    h.set(QStringLiteral("acExportWorkbook"), [&s] { s.commandExportWorkbook(); });
    h.set(QStringLiteral("acInput"), [&s] { s.openWizard(); });
    for (const char* c :
         {"acUvodniText", "acOtopneObdobi", "acProvozniRezim", "acRozmeryHaly", "acRozmerySvetliku",
          "acTepelneZtraty", "acStavebniKonstrukce", "acPracovniPodminky", "acZaver"}) {
        const QString page = wizardPageOfCommand(QLatin1String(c));
        h.set(QLatin1String(c), [&s, page] { s.openWizard(page); });
    }
    h.set(QStringLiteral("acKatalogStavPrvky"), [&s] { s.openElementsCatalog(); });
    // --- the catalogs: the units catalog viewer and the documents
    h.set(QStringLiteral("acKatalogBrisant"), [&s] { s.openUnitsCatalog(); });
    h.set(QStringLiteral("acKatalogProjDoc"), [] { OpenProjectDocumentation(); });
    for (const DocumentCommand& d : documentCommands())
        h.set(d.command, [&d] { openDocumentCommand(d); });
    // --- end of the catalogs
    h.set(QStringLiteral("acShowHelp"), [&s] { s.setHelpDisplay(!s.helpDisplay()); });
    for (const QString& command : languageCommands()) {
        const int base = baseOfLanguageCommand(command);
        h.set(command, [&s, base] { s.switchLanguage(base); });
    }
}

} // namespace zf

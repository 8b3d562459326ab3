#include "commands.h"

#include "clidialogs.h"
#include "cmd_input.h"
#include "cmd_report.h"
#include "cmd_units.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "session/projectsession.h"
#include "storage/jsonexport.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"
#include "units/projectunits.h"

#include <QFileInfo>

namespace zf {

namespace {

const char* usageText =
    "usage: zefrant-cli [--lang CZ|EN|GE|PL|RU] COMMAND ARGS...\n"
    "commands:\n"
    "  new FILE                 create a new project and save it as FILE\n"
    "  input FILE DESIGN.json   enter a design into the input wizard, finish it, save\n"
    "  units FILE UNITS.json    choose units, place them, save\n"
    "  export FILE              print every project table of FILE as JSON\n"
    "  texts                    print the text table of the language\n"
    "  report FILE (--pdf OUT | --rtf OUT)  the report of FILE to a PDF or RTF file\n";

int usage(std::FILE* err, const QString& problem) {
    if (!problem.isEmpty())
        std::fprintf(err, "zefrant-cli: %s\n", qPrintable(problem));
    std::fputs(usageText, err);
    return 2;
}

// The languages the tool takes; -1 for any other code.
int baseOfCode(const QString& code) {
    static const QStringList codes = {QStringLiteral("CZ"), QStringLiteral("EN"),
                                      QStringLiteral("GE"), QStringLiteral("PL"),
                                      QStringLiteral("RU")};
    return codes.contains(code) ? baseOfStoredCode(code) : -1;
}

QByteArray escapeText(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += QString(c).toUtf8();
        }
    }
    return out;
}

int commandTexts(std::FILE* out) {
    // The table itself: under the re-encoded Russian base its re-encoded copies.
    for (int id = 0; id < 10000; ++id) {
        const QString t = storedLanguageText(id);
        if (t.isEmpty())
            continue;
        std::fprintf(out, "%d\t%s\n", id, escapeText(t).constData());
    }
    return 0;
}

int commandExport(const QString& file, std::FILE* out) {
    TZFData data;
    if (!data.startUp())
        return 1;
    ProjectFiles files(data);
    const int r = files.OpenProject(QFileInfo(file).absoluteFilePath());
    if (r != ResultOk) {
        files.atExit();
        return 1;
    }
    int rc = 0;
    try {
        const QByteArray json = exportProjectJson(data.ADOConnectionProject);
        std::fwrite(json.constData(), 1, size_t(json.size()), out);
        std::fflush(out);
    } catch (const DbError& e) {
        ShowMessageBox(e.message(), QString::fromLatin1(ProductName), MbError);
        rc = 1;
    }
    files.CloseProject(true);
    files.atExit();
    return rc;
}

} // namespace

int runCli(const QStringList& argsIn, std::FILE* out, std::FILE* err, const QString& appFolder) {
    QStringList args = argsIn;
    int base = BaseEN;
    if (!args.isEmpty() && args[0] == QLatin1String("--lang")) {
        if (args.size() < 2 || baseOfCode(args[1]) < 0)
            return usage(err, QStringLiteral("--lang takes CZ, EN, GE, PL or RU"));
        base = baseOfCode(args[1]);
        args = args.mid(2);
    }
    if (args.isEmpty())
        return usage(err, QString());
    initProgramPaths(appFolder);
    CliDialogs dialogs(err);
    setDialogs(&dialogs);
    struct Restore {
        ~Restore() { setDialogs(nullptr); }
    } restore;
    // Russian on a system without Cyrillic gets its re-encoded texts, with the
    // warning, as in the windows.
    setLanguage(CheckRussianCodePage(base));

    const QString command = args[0];
    if (command == QLatin1String("export")) {
        if (args.size() != 2)
            return usage(err, QStringLiteral("export takes one FILE"));
        return commandExport(args[1], out);
    }
    if (command == QLatin1String("new") || command == QLatin1String("input")) {
        const int arity = command == QLatin1String("new") ? 2 : 3;
        if (args.size() != arity)
            return usage(err, command == QLatin1String("new")
                                  ? QStringLiteral("new takes one FILE")
                                  : QStringLiteral("input takes FILE and DESIGN.json"));
        ProjectSession session;
        session.setHelpDisplay(false);
        if (!session.start())
            return 1;
        return command == QLatin1String("new") ? commandNewProject(session, args[1])
                                               : commandInput(session, dialogs, args[1], args[2]);
    }
    if (command == QLatin1String("units")) {
        if (args.size() != 3)
            return usage(err, QStringLiteral("units takes FILE and UNITS.json"));
        ProjectSession session;
        session.setHelpDisplay(false);
        if (!session.start())
            return 1;
        return commandUnits(session, args[1], args[2]);
    }
    if (command == QLatin1String("report")) {
        if (args.size() != 4 ||
            (args[2] != QLatin1String("--pdf") && args[2] != QLatin1String("--rtf")))
            return usage(err, QStringLiteral("report takes FILE and --pdf OUT or --rtf OUT"));
        ProjectSession session;
        session.setHelpDisplay(false);
        if (!session.start())
            return 1;
        return commandReport(session, args[1], args[2] == QLatin1String("--pdf"), args[3]);
    }
    if (command == QLatin1String("texts")) {
        if (args.size() != 1)
            return usage(err, QStringLiteral("texts takes no arguments"));
        return commandTexts(out);
    }
    return usage(err, QStringLiteral("unknown command '%1'").arg(command));
}

} // namespace zf

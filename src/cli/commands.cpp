#include "commands.h"

#include "clidialogs.h"
#include "cmd_input.h"
#include "cmd_report.h"
#include "cmd_units.h"
#include "common/globals.h"
#include "common/numberformat.h"
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

// The commands as they are called, with the text that says what each does.
const struct {
    const char* call;
    int text;
} usageLines[] = {
    {"new FILE                ", 3172}, {"input FILE DESIGN.json  ", 3173},
    {"units FILE UNITS.json   ", 3174}, {"export FILE             ", 3175},
    {"texts                   ", 3176}, {"report FILE (--pdf OUT | --rtf OUT) ", 3177}};

int usage(std::FILE* err, const QString& problem) {
    if (!problem.isEmpty())
        std::fprintf(err, "zefrant-cli: %s\n", problem.toUtf8().constData());
    QByteArray text = LanguageText(3170).toUtf8() + '\n' + LanguageText(3171).toUtf8() + '\n';
    for (const auto& line : usageLines)
        text += QByteArray("  ") + line.call + ' ' + LanguageText(line.text).toUtf8() + '\n';
    std::fputs(text.constData(), err);
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
            return usage(err, LanguageText(3178));
        base = baseOfCode(args[1]);
        args = args.mid(2);
    }
    // The usage is told in the language asked for.
    setLanguage(base);
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
            return usage(err, formatText(LanguageText(3179), {command}));
        return commandExport(args[1], out);
    }
    if (command == QLatin1String("new") || command == QLatin1String("input")) {
        const int arity = command == QLatin1String("new") ? 2 : 3;
        if (args.size() != arity)
            return usage(err, command == QLatin1String("new")
                                  ? formatText(LanguageText(3179), {command})
                                  : formatText(LanguageText(3180),
                                               {command, QStringLiteral("DESIGN.json")}));
        ProjectSession session;
        session.setHelpDisplay(false);
        if (!session.start())
            return 1;
        return command == QLatin1String("new") ? commandNewProject(session, args[1])
                                               : commandInput(session, dialogs, args[1], args[2]);
    }
    if (command == QLatin1String("units")) {
        if (args.size() != 3)
            return usage(err,
                         formatText(LanguageText(3180), {command, QStringLiteral("UNITS.json")}));
        ProjectSession session;
        session.setHelpDisplay(false);
        if (!session.start())
            return 1;
        return commandUnits(session, args[1], args[2]);
    }
    if (command == QLatin1String("report")) {
        if (args.size() != 4 ||
            (args[2] != QLatin1String("--pdf") && args[2] != QLatin1String("--rtf")))
            return usage(err, formatText(LanguageText(3181), {command}));
        ProjectSession session;
        session.setHelpDisplay(false);
        if (!session.start())
            return 1;
        return commandReport(session, args[1], args[2] == QLatin1String("--pdf"), args[3]);
    }
    if (command == QLatin1String("texts")) {
        if (args.size() != 1)
            return usage(err, formatText(LanguageText(3182), {command}));
        return commandTexts(out);
    }
    return usage(err, formatText(LanguageText(3183), {command}));
}

} // namespace zf

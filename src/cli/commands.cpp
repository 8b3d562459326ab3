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

#include <memory>
#include <optional>

namespace zf {

namespace {

// The commands as they are called, with the text that says what each does.
const struct {
    const char* call;
    int text;
} usageLines[] = {
    {"new FILE                ", 3172},      {"input FILE DESIGN.json  ", 3173},
    {"units FILE UNITS.json   ", 3174},      {"export FILE             ", 3175},
    {"texts                   ", 3176},      {"report FILE (--pdf OUT | --rtf OUT) ", 3177},
    {"coverage FILE [--spread DEG] ", 3184}, {"plan FILE --dxf OUT     ", 3185},
    {"sheet FILE --xlsx OUT   ", 3186}};

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

void print(const QByteArray& bytes, std::FILE* out) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    std::fflush(out);
}

// The session of one command, started; nothing when the reference database
// could not be opened (the fatal message has been shown).
std::unique_ptr<ProjectSession> startSession() {
    auto session = std::make_unique<ProjectSession>();
    session->setHelpDisplay(false);
    if (!session->start())
        return nullptr;
    // The zones' spread is the user's, as in the program; the tool reads
    // nothing else of the settings and writes none.
    UserSettings settings;
    settings.readThrowZones();
    session->setThrowSpread(settings.throwSpread);
    return session;
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
    auto is = [&](const char* name) { return command == QLatin1String(name); };
    if (is("texts")) {
        if (args.size() != 1)
            return usage(err, formatText(LanguageText(3182), {command}));
        return commandTexts(out);
    }
    if (!(is("new") || is("input") || is("units") || is("export") || is("report") ||
          is("coverage") || is("plan") || is("sheet")))
        return usage(err, formatText(LanguageText(3183), {command}));

    // The arguments first: a usage error opens nothing.
    if ((is("new") || is("export")) && args.size() != 2)
        return usage(err, formatText(LanguageText(3179), {command}));
    if ((is("input") || is("units")) && args.size() != 3)
        return usage(err, formatText(LanguageText(3180),
                                     {command, is("input") ? QStringLiteral("DESIGN.json")
                                                           : QStringLiteral("UNITS.json")}));
    if (is("report") && (args.size() != 4 ||
                         (args[2] != QLatin1String("--pdf") && args[2] != QLatin1String("--rtf"))))
        return usage(err, formatText(LanguageText(3181), {command}));
    std::optional<double> spread;
    if (is("coverage")) {
        if (!(args.size() == 2 || (args.size() == 4 && args[2] == QLatin1String("--spread"))))
            return usage(err, formatText(LanguageText(3187), {command}));
        if (args.size() == 4) {
            bool ok = false;
            spread = args[3].toDouble(&ok);
            if (!ok)
                return usage(err, formatText(LanguageText(3190), {args[3]}));
        }
    }
    if (is("plan") && (args.size() != 4 || args[2] != QLatin1String("--dxf")))
        return usage(err, formatText(LanguageText(3188), {command}));
    if (is("sheet") && (args.size() != 4 || args[2] != QLatin1String("--xlsx")))
        return usage(err, formatText(LanguageText(3189), {command}));

    const std::unique_ptr<ProjectSession> session = startSession();
    if (!session)
        return 1;
    ProjectSession& s = *session;
    const QString& file = args[1];
    if (is("new"))
        return commandNewProject(s, file);
    if (is("input"))
        return commandInput(s, dialogs, file, args[2]);
    if (is("units"))
        return commandUnits(s, file, args[2]);
    if (is("report"))
        return commandReport(s, file, args[2] == QLatin1String("--pdf"), args[3]);
    if (is("plan"))
        return s.writePlanDxf(file, args[3]) ? 0 : 1;
    if (is("sheet"))
        return s.writeWorkbook(file, args[3]) ? 0 : 1;
    QByteArray json;
    const bool ok = is("export") ? s.exportProject(file, &json)
                                 : s.coverageReport(file, spread.value_or(s.throwSpread()), &json);
    if (ok)
        print(json, out);
    return ok ? 0 : 1;
}

} // namespace zf

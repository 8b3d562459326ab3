#include "shell/settings.h"

#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace zf {

namespace {
const QString currentKey = QStringLiteral("Software/Quadrel/Zefrant/1.0");
const QString previousRoot = QStringLiteral("Software/T_NOVA/Zefrant");
const QString previousKey = QStringLiteral("Software/T_NOVA/Zefrant/1.0");

bool groupExists(QSettings& s, const QString& path) {
    s.beginGroup(path);
    const bool exists = !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
    s.endGroup();
    return exists;
}

// A stored whole number ("1", " 45 "); nothing for any other text.
std::optional<int> storedInteger(const QVariant& v) {
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// The key of the settings that read() takes: the previous program's while its
// tree is still there.
QString generalKey(QSettings& s) {
    return (groupExists(s, previousRoot) ? previousKey : currentKey) + QStringLiteral("/General/");
}
} // namespace

bool isValidThrowSpreadSetting(int degrees) {
    return degrees >= MinThrowSpreadSetting && degrees <= MaxThrowSpreadSetting;
}

std::optional<int> parseThrowSpreadSetting(const QString& text, QString* refusal) {
    QString t = text.trimmed();
    if (t.endsWith(QChar(0x00b0)))
        t = t.chopped(1).trimmed();
    // Digits only: no sign, no decimals, no exponent, no group separators.
    bool digits = !t.isEmpty() && t.size() <= 6;
    for (const QChar c : t)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digits && isValidThrowSpreadSetting(t.toInt()))
        return t.toInt();
    if (refusal)
        *refusal = formatText(LanguageText(3457),
                              {text.trimmed(), MinThrowSpreadSetting, MaxThrowSpreadSetting});
    return std::nullopt;
}

QString UserSettings::defaultFile() {
    QString own = qEnvironmentVariable("ZEFRANT_SETTINGS");
    if (!own.isEmpty())
        return own;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quadrel/Zefrant.ini");
}

UserSettings::UserSettings(const QString& file)
    : store_(std::make_unique<QSettings>(file.isEmpty() ? defaultFile() : file,
                                         QSettings::IniFormat)) {}

UserSettings::~UserSettings() = default;

void UserSettings::read(const std::function<int()>& askLanguage) {
    QSettings& s = *store_;
    const bool previous = groupExists(s, previousRoot);
    const QString key = previous ? previousKey : currentKey;
    bool failed = s.status() != QSettings::NoError;
    if (!failed) {
        const QString language =
            s.value(key + QStringLiteral("/General/Language"), QStringLiteral("NONE")).toString();
        lastFolder = s.value(key + QStringLiteral("/General/MRUFolder")).toString();
        exportFolder = s.value(key + QStringLiteral("/General/ExportFolder")).toString();
        const QString report = s.value(key + QStringLiteral("/General/ReportLanguage")).toString();
        reportLanguage = isOfferedLanguage(baseOfStoredCode(report)) &&
                                 languageCodeOfBase(baseOfStoredCode(report)) == report
                             ? report
                             : QString();
        bool ok = false;
        const int hints = s.value(key + QStringLiteral("/General/ShowHints")).toString().toInt(&ok);
        showHints = ok ? hints != 0 : true;
        readThrowZones();
        int base = BaseCZ;
        if (language == QLatin1String("NONE")) {
            askedLanguage = true;
            base = askLanguage ? askLanguage() : BaseCZ;
        } else {
            base = baseOfStoredCode(language);
        }
        checkedLanguage = base;
        languageBase = CheckRussianCodePage(base);
    }
    if (failed) {
        languageBase = BaseCZ;
        checkedLanguage = BaseCZ;
    }
    if (previous) {
        s.remove(previousRoot);
        migrated = true;
    }
}

void UserSettings::readThrowZones() {
    QSettings& s = *store_;
    const QString g = generalKey(s);
    showThrowZones = storedInteger(s.value(g + QStringLiteral("ShowThrowZones"))).value_or(0) != 0;
    const std::optional<int> spread = storedInteger(s.value(g + QStringLiteral("ThrowSpread")));
    throwSpread =
        spread && isValidThrowSpreadSetting(*spread) ? *spread : DefaultThrowSpreadSetting;
}

void UserSettings::write(const QString& appPath) {
    QSettings& s = *store_;
    const QString g = currentKey + QStringLiteral("/General/");
    s.setValue(g + QStringLiteral("AppPath"), QDir::toNativeSeparators(appPath));
    s.setValue(g + QStringLiteral("MRUFolder"), lastFolder);
    if (exportFolder.isEmpty())
        s.remove(g + QStringLiteral("ExportFolder"));
    else
        s.setValue(g + QStringLiteral("ExportFolder"), exportFolder);
    s.setValue(g + QStringLiteral("ShowHints"),
               showHints ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(g + QStringLiteral("ShowThrowZones"),
               showThrowZones ? QStringLiteral("1") : QStringLiteral("0"));
    s.setValue(g + QStringLiteral("ThrowSpread"),
               QString::number(isValidThrowSpreadSetting(throwSpread) ? throwSpread
                                                                      : DefaultThrowSpreadSetting));
    if (reportLanguage.isEmpty())
        s.remove(g + QStringLiteral("ReportLanguage"));
    else
        s.setValue(g + QStringLiteral("ReportLanguage"), reportLanguage);
    const QString code = checkedLanguage < 0 ? QString() : languageCodeOfBase(checkedLanguage);
    if (!code.isEmpty())
        s.setValue(g + QStringLiteral("Language"), code);
    s.sync();
}

} // namespace zf

#include "shell/settings.h"

#include "i18n/language.h"

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
} // namespace

QString UserSettings::defaultFile() {
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

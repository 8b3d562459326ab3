#include "cmd_units.h"

#include "design.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "session/projectsession.h"
#include "storage/operation.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace zf {

namespace {

struct UnitsInput {
    std::vector<std::pair<int, int>> counts; // ID, Pocet_jednotek
    std::optional<int> variant;
    bool longerSide = true;
    std::optional<double> unitHeight;
    std::optional<double> destratifierHeight;
    bool place = false;
};

bool asInteger(const QJsonValue& v, int* out) {
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::trunc(d) || d < std::numeric_limits<qint32>::min() ||
        d > std::numeric_limits<qint32>::max())
        return false;
    *out = int(d);
    return true;
}

bool asNumber(const QJsonValue& v, double* out) {
    if (!v.isDouble() || !std::isfinite(v.toDouble()))
        return false;
    *out = v.toDouble();
    return true;
}

// Reads UNITS.json; on a fault the reason goes to *error.
bool readUnitsInput(const QString& path, UnitsInput* in, QString* error) {
    QByteArray bytes;
    if (!readInputFile(path, &bytes, error))
        return false;
    QJsonObject root;
    QString why;
    if (!parseJsonObject(bytes, &root, &why)) {
        *error = formatText(LanguageText(3150), {path, why});
        return false;
    }
    auto bad = [&](const QString& what) {
        *error = QStringLiteral("%1: %2").arg(path, what);
        return false;
    };
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString key = it.key();
        const QJsonValue v = it.value();
        if (key == QLatin1String("counts")) {
            if (!v.isArray())
                return bad(formatText(LanguageText(3151), {QStringLiteral("\"counts\"")}));
            for (const QJsonValue& e : v.toArray()) {
                const QJsonObject o = e.toObject();
                int id = 0, n = 0;
                if (!e.isObject() || o.size() != 2 ||
                    !asInteger(o.value(QLatin1String("ID")), &id) ||
                    !asInteger(o.value(QLatin1String("Pocet_jednotek")), &n))
                    return bad(formatText(LanguageText(3152), {QStringLiteral("\"counts\"")}));
                if (n < 0 || n > MaxChosenUnits)
                    return bad(formatText(LanguageText(3153), {QStringLiteral("\"Pocet_jednotek\""),
                                                               MaxChosenUnits, n}));
                in->counts.emplace_back(id, n);
            }
        } else if (key == QLatin1String("Varianta_rozmisteni_enum")) {
            int variant = 0;
            if (!asInteger(v, &variant) || variant < 0 ||
                variant >= int(ProjectUnits::variantEntries().size()))
                return bad(
                    formatText(LanguageText(3154), {QStringLiteral("\"Varianta_rozmisteni_enum\""),
                                                    ProjectUnits::variantEntries().size() - 1}));
            in->variant = variant;
        } else if (key == QLatin1String("side")) {
            const QString side = v.toString();
            if (!v.isString() ||
                (side != QLatin1String("longer") && side != QLatin1String("shorter")))
                return bad(formatText(LanguageText(3155),
                                      {QStringLiteral("\"side\""), QStringLiteral("\"longer\""),
                                       QStringLiteral("\"shorter\"")}));
            in->longerSide = side == QLatin1String("longer");
        } else if (key == QLatin1String("Vyska_jednotek") ||
                   key == QLatin1String("Vyska_destrat")) {
            double h = 0;
            if (!asNumber(v, &h) || std::fabs(h) > FLT_MAX)
                return bad(
                    formatText(LanguageText(3156), {QLatin1Char('"') + key + QLatin1Char('"')}));
            (key == QLatin1String("Vyska_jednotek") ? in->unitHeight : in->destratifierHeight) = h;
        } else if (key == QLatin1String("place")) {
            if (!v.isBool())
                return bad(formatText(LanguageText(3157), {QStringLiteral("\"place\"")}));
            in->place = v.toBool();
        } else {
            return bad(formatText(LanguageText(3158), {QLatin1Char('"') + key + QLatin1Char('"')}));
        }
    }
    return true;
}

QString caption() {
    return QString::fromLatin1(ProductName);
}

} // namespace

int commandUnits(ProjectSession& s, const QString& file, const QString& unitsJsonPath) {
    UnitsInput in;
    QString error;
    if (!readUnitsInput(unitsJsonPath, &in, &error)) {
        ShowMessageBox(error, caption(), MbError);
        return 1;
    }
    const QString path = QFileInfo(file).absoluteFilePath();
    if (s.openFile(path) != ResultOk)
        return 1;
    // From here every refusal copies the backup of the opening back, so the file
    // is left as it was.
    auto refuse = [&](const QString& reason) {
        if (!reason.isEmpty())
            ShowMessageBox(reason, caption(), MbError);
        s.files.RevertFromBackup(false);
        return 1;
    };
    try {
        Database::Transaction transaction(s.data.ADOConnectionProject);
        Dataset& types = s.data.tResults;
        for (const auto& [id, n] : in.counts) {
            if (!types.locate(QStringLiteral("ID"), id))
                return refuse(formatText(LanguageText(3159), {unitsJsonPath, id}));
        }
        for (const auto& [id, n] : in.counts)
            if (!s.chooseUnitCount(id, n))
                return refuse(QString()); // the operation's own message says why
        if (in.variant)
            s.setPlacementVariant(*in.variant);
        s.setTowardsLongerSide(in.longerSide);
        if (in.unitHeight)
            s.setPlacementHeight(QStringLiteral("Vyska_jednotek"), *in.unitHeight);
        if (in.destratifierHeight)
            s.setPlacementHeight(QStringLiteral("Vyska_destrat"), *in.destratifierHeight);
        if (in.place && s.placeUnits() != PlaceResult::Placed)
            return refuse(QString()); // the placement's own message says why
        transaction.commit();
    } catch (const DbError& e) {
        reportFailedOperation(path, e.message());
        return refuse(QString());
    } catch (const std::exception& e) {
        reportFailedOperation(path, QString::fromLocal8Bit(e.what()));
        return refuse(QString());
    }
    if (s.commandSave() != ResultOk) {
        s.files.RevertFromBackup(false);
        return 1;
    }
    s.files.CloseProject(true);
    return 0;
}

} // namespace zf

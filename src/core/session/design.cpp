#include "design.h"

#include "common/numberformat.h"
#include "i18n/texts.h"
#include "units/projectunits.h"
#include "units/unittypes.h"
#include "wizard/inputwizard.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf {

bool readInputFile(const QString& path, QByteArray* bytes, QString* error) {
    auto fail = [&](const QString& why) {
        *error = formatText(LanguageText(3100), {path, why});
        return false;
    };
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(st.st_mode))
        return fail(LanguageText(3101));
    if (st.st_size > MaxInputFileSize)
        return fail(formatText(LanguageText(3102), {MaxInputFileSize >> 20}));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QByteArray data;
    data.reserve(qsizetype(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(QString::fromLocal8Bit(std::strerror(errno)));
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (data.size() + n > MaxInputFileSize)
            return fail(formatText(LanguageText(3102), {MaxInputFileSize >> 20}));
        data.append(buf, n);
    }
    *bytes = std::move(data);
    return true;
}

bool parseJsonObject(const QByteArray& bytes, QJsonObject* object, QString* error) {
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &pe);
    if (pe.error != QJsonParseError::NoError) {
        *error = formatText(LanguageText(3103), {pe.errorString(), pe.offset});
        return false;
    }
    if (!doc.isObject()) {
        *error = LanguageText(3104);
        return false;
    }
    *object = doc.object();
    return true;
}

const QStringList& designChoiceKeys() {
    static const QStringList keys = {QStringLiteral("Typ_strechy_enum"),
                                     QStringLiteral("Typ_svetliku_enum"),
                                     QStringLiteral("Oblast_text"),
                                     QStringLiteral("Provoz_dny_tyden"),
                                     QStringLiteral("Provoz_hodiny_den"),
                                     QStringLiteral("Druh_paliva_enum"),
                                     QStringLiteral("Cena_enum"),
                                     QStringLiteral("Ucinnost_regulace_enum"),
                                     QStringLiteral("Vytapeni_bool"),
                                     QStringLiteral("Vetrani_bool"),
                                     QStringLiteral("PouziteJednotky"),
                                     QStringLiteral("Tepelne_ztraty_enum"),
                                     QStringLiteral("Tepelne_ztraty_priblizne_enum"),
                                     QStringLiteral("n_enum"),
                                     QStringLiteral("Trida_prace_enum"),
                                     QStringLiteral("Poloha_cloveka_enum")};
    return keys;
}

namespace {

class Refusal {
public:
    explicit Refusal(QString why) : why(std::move(why)) {}
    QString why;
};

QString shown(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::String:
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    case QJsonValue::Double:
        return QString::number(v.toDouble(), 'g', 17);
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Array:
        return LanguageText(3105);
    case QJsonValue::Object:
        return LanguageText(3106);
    default:
        return LanguageText(3107);
    }
}

void refuseUnknownKeys(const QJsonObject& o, const QStringList& known, const QString& what) {
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!known.contains(it.key()))
            throw Refusal(formatText(LanguageText(3108), {it.key(), what}));
}

// A number the calculation can work with: its results are single-precision.
void requireNumber(const QJsonValue& v, const QString& key, const QString& what) {
    if (!v.isDouble())
        throw Refusal(formatText(LanguageText(3109), {key, what, shown(v)}));
    if (!std::isfinite(v.toDouble()) || std::fabs(v.toDouble()) > FLT_MAX)
        throw Refusal(formatText(LanguageText(3110), {key, what, shown(v)}));
}

void requireText(const QJsonValue& v, const QString& key, const QString& what) {
    if (!v.isString())
        throw Refusal(formatText(LanguageText(3111), {key, what, shown(v)}));
}

void checkProject(const QJsonObject& project) {
    const QString what = LanguageText(3115);
    for (auto it = project.begin(); it != project.end(); ++it) {
        const QString key = it.key();
        const QJsonValue v = it.value();
        if (designChoiceKeys().contains(key)) {
            // Kinds only; the lists of the choices are the wizard's.
            if (key == QLatin1String("Oblast_text"))
                requireText(v, key, what);
            else if (key.endsWith(QLatin1String("_bool")) && !v.isBool())
                throw Refusal(formatText(LanguageText(3112), {key, shown(v)}));
            else if (!key.endsWith(QLatin1String("_bool")))
                requireNumber(v, key, what);
            continue;
        }
        if (key == DesignDateKey) {
            requireText(v, key, what);
            if (!designDate(v).isValid())
                throw Refusal(formatText(LanguageText(3113), {key, shown(v)}));
            continue;
        }
        // Column names are exact: a key in another case would be silently lost.
        const WizardEdit* e = wizardEditOfField(key);
        if (!e || key != QLatin1String(e->field))
            throw Refusal(formatText(LanguageText(3114), {key}));
        if (e->kind == EditKind::Text) {
            requireText(v, key, what);
        } else if (v.isString()) {
            // Typed as text: the wizard reads the number, which must fit.
            bool ok = false;
            const double d = v.toString().trimmed().toDouble(&ok);
            if (ok && std::isfinite(d) && std::fabs(d) > FLT_MAX)
                throw Refusal(formatText(LanguageText(3110), {key, what, shown(v)}));
        } else {
            requireNumber(v, key, what);
        }
    }
}

DesignWall readWall(const QJsonValue& entry, int index) {
    const QString what = formatText(LanguageText(3116), {index + 1});
    if (!entry.isObject())
        throw Refusal(formatText(LanguageText(3119), {index + 1, shown(entry)}));
    const QJsonObject e = entry.toObject();
    refuseUnknownKeys(e,
                      {QStringLiteral("VariantaHaly"), QStringLiteral("CisloSteny"),
                       QStringLiteral("Material"), QStringLiteral("k"), QStringLiteral("Ti"),
                       QStringLiteral("Te"), QStringLiteral("openings")},
                      what);
    DesignWall w;
    const QJsonValue variant = e.value(QStringLiteral("VariantaHaly"));
    requireText(variant, QStringLiteral("VariantaHaly"), what);
    w.variant = variant.toString();
    const QJsonValue number = e.value(QStringLiteral("CisloSteny"));
    requireNumber(number, QStringLiteral("CisloSteny"), what);
    if (number.toDouble() != std::floor(number.toDouble()) || std::fabs(number.toDouble()) > 1e9)
        throw Refusal(
            formatText(LanguageText(3120), {QStringLiteral("CisloSteny"), what, shown(number)}));
    w.number = int(number.toDouble());
    if (e.contains(QStringLiteral("Material"))) {
        requireText(e.value(QStringLiteral("Material")), QStringLiteral("Material"), what);
        w.values.insert(QStringLiteral("Material"), e.value(QStringLiteral("Material")));
    }
    for (const QString& c : {QStringLiteral("k"), QStringLiteral("Ti"), QStringLiteral("Te")}) {
        if (!e.contains(c))
            continue;
        requireNumber(e.value(c), c, what);
        w.values.insert(c, e.value(c));
    }
    if (e.contains(QStringLiteral("openings"))) {
        const QJsonValue list = e.value(QStringLiteral("openings"));
        if (!list.isArray())
            throw Refusal(
                formatText(LanguageText(3121), {QStringLiteral("openings"), what, shown(list)}));
        std::vector<QJsonObject> openings;
        const QJsonArray a = list.toArray();
        for (qsizetype i = 0; i < a.size(); ++i) {
            const QString of = formatText(LanguageText(3117), {i + 1, what});
            if (!a[i].isObject())
                throw Refusal(formatText(LanguageText(3122), {of, shown(a[i])}));
            const QJsonObject op = a[i].toObject();
            refuseUnknownKeys(op,
                              {QStringLiteral("Nazev"), QStringLiteral("k"),
                               QStringLiteral("Vyska"), QStringLiteral("Sirka"),
                               QStringLiteral("Pocet"), QStringLiteral("Ti"), QStringLiteral("Te")},
                              of);
            for (auto it = op.begin(); it != op.end(); ++it) {
                if (it.key() == QLatin1String("Nazev"))
                    requireText(it.value(), it.key(), of);
                else
                    requireNumber(it.value(), it.key(), of);
                // The count's cell takes whole numbers only, as in the grid.
                if (it.key() == QLatin1String("Pocet") &&
                    it.value().toDouble() != std::floor(it.value().toDouble()))
                    throw Refusal(formatText(LanguageText(3120),
                                             {QStringLiteral("Pocet"), of, shown(it.value())}));
            }
            openings.push_back(op);
        }
        w.openings = std::move(openings);
    }
    return w;
}

} // namespace

QDateTime designDate(const QJsonValue& v) {
    const QString text = v.toString().trimmed();
    QDateTime d = QDateTime::fromString(text, Qt::ISODate);
    if (!d.isValid()) {
        const QDate day = QDate::fromString(text, Qt::ISODate);
        if (day.isValid())
            d = QDateTime(day, QTime(0, 0));
    }
    if (!d.isValid() || d.date().year() < 100 || d.date().year() > 9999)
        return {};
    // The date picker holds local time to the second.
    d = d.toLocalTime();
    return d.addMSecs(-d.time().msec());
}

bool parseDesign(const QByteArray& bytes, Design* design, QString* error) {
    QJsonObject root;
    if (!parseJsonObject(bytes, &root, error))
        return false;
    try {
        refuseUnknownKeys(root, {QStringLiteral("project"), QStringLiteral("walls")},
                          LanguageText(3118));
        Design d;
        if (root.contains(QStringLiteral("project"))) {
            const QJsonValue p = root.value(QStringLiteral("project"));
            if (!p.isObject())
                throw Refusal(
                    formatText(LanguageText(3123), {QStringLiteral("project"), shown(p)}));
            d.project = p.toObject();
            checkProject(d.project);
        }
        if (root.contains(QStringLiteral("walls"))) {
            const QJsonValue w = root.value(QStringLiteral("walls"));
            if (!w.isArray())
                throw Refusal(formatText(LanguageText(3124), {QStringLiteral("walls"), shown(w)}));
            const QJsonArray a = w.toArray();
            for (qsizetype i = 0; i < a.size(); ++i)
                d.walls.push_back(readWall(a[i], int(i)));
        }
        *design = std::move(d);
        return true;
    } catch (const Refusal& r) {
        *error = r.why;
        return false;
    }
}

namespace {

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

} // namespace

bool parseUnitsInput(const QByteArray& bytes, const QString& source, UnitsInput* in,
                     QString* error) {
    QJsonObject root;
    QString why;
    if (!parseJsonObject(bytes, &root, &why)) {
        *error = formatText(LanguageText(3150), {source, why});
        return false;
    }
    auto bad = [&](const QString& what) {
        *error = QStringLiteral("%1: %2").arg(source, what);
        return false;
    };
    in->source = source;
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString key = it.key();
        const QJsonValue v = it.value();
        if (key == QLatin1String("counts")) {
            if (!v.isArray())
                return bad(formatText(LanguageText(3151), {QStringLiteral("\"counts\"")}));
            const QJsonArray entries = v.toArray();
            for (const auto& e : entries) {
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

} // namespace zf

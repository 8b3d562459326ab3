#include "catalogdata.h"

#include "catalogs/unitscatalog.h"
#include "storage/sqlite.h"

#include <cmath>

namespace zf::art {

QString familyKeyOf(const QString& s) {
    // The viewer's own rule, so that the pictures are the ones it asks for.
    return UnitsCatalog::familyKey(s);
}

const QStringList& allDimensionColumns() {
    static const QStringList all = {"A", "B", "B1", "B2", "C", "D",     "E",     "F", "G",
                                    "H", "J", "K",  "L",  "M", "N",     "O",     "P", "Q",
                                    "R", "S", "T",  "U",  "V", "Netto", "Brutto"};
    return all;
}

const QStringList& dimensionColumnsOf(const QString& key) {
    static const QStringList blenda = {"A", "B", "C", "D", "E", "F",     "H",
                                       "K", "L", "M", "N", "O", "P",     "Q",
                                       "R", "S", "T", "U", "V", "Netto", "Brutto"};
    static const QStringList ax = {"A", "B", "B1", "C", "D", "E", "F", "G",     "H",     "J",
                                   "K", "L", "M",  "N", "P", "R", "S", "Netto", "Brutto"};
    static const QStringList rd = {"A", "B", "B2", "C", "D", "E", "F", "G",     "H",     "J",
                                   "K", "L", "M",  "N", "P", "R", "S", "Netto", "Brutto"};
    static const QStringList mk = {"A", "B", "C", "D", "E", "F", "G", "H",
                                   "K", "L", "O", "P", "R", "S", "T"};
    static const QStringList k = {"A", "R", "Netto", "Brutto"};
    if (key == QLatin1String("BLENDA"))
        return blenda;
    if (key == QLatin1String("AX"))
        return ax;
    if (key == QLatin1String("RD"))
        return rd;
    if (key == QLatin1String("MK-I"))
        return mk;
    if (key == QLatin1String("K"))
        return k;
    return allDimensionColumns();
}

QString technicalKeyOf(const QString& s) {
    if (s.contains(QLatin1String("MK")))
        return s;
    const qsizetype dash = s.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return s;
    return s.left(qMax<qsizetype>(0, dash - 1));
}

QString numberText(double value, QChar decimalPoint) {
    QString t = QString::number(value, 'f', 2);
    while (t.contains(QLatin1Char('.')) && (t.endsWith(QLatin1Char('0'))))
        t.chop(1);
    if (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    if (t == QLatin1String("-0"))
        t = QStringLiteral("0");
    t.replace(QLatin1Char('.'), decimalPoint);
    return t;
}

double rangeMetres(const QString& range) {
    const QStringList parts = range.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    double sum = 0;
    int n = 0;
    for (const QString& p : parts) {
        bool ok = false;
        const double v = p.trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok) {
            sum += v;
            ++n;
        }
    }
    return n ? sum / n : 0.0;
}

Catalog::Catalog(const QString& path) {
    Database db;
    Database::OpenOptions o;
    o.readOnly = true;
    o.applicationId = ReferenceApplicationId;
    o.quickCheck = false;
    db.open(path, o);

    QStringList nameCols, descCols;
    for (const QString& c : catalogLanguages()) {
        nameCols << Database::quoteIdentifier(QStringLiteral("Name") + c);
        descCols << Database::quoteIdentifier(QStringLiteral("Popis") + c);
    }
    {
        Statement st(db,
                     QStringLiteral("SELECT TypeID, imFoto, %1, %2 FROM tGeneral ORDER BY ID")
                         .arg(nameCols.join(QLatin1Char(',')), descCols.join(QLatin1Char(','))));
        while (st.step()) {
            Family f;
            f.key = st.columnText(0);
            f.photo = st.columnText(1);
            const qsizetype n = catalogLanguages().size();
            for (qsizetype i = 0; i < n; ++i) {
                f.name.insert(catalogLanguages()[i], st.columnText(int(2 + i)));
                f.description.insert(catalogLanguages()[i], st.columnText(int(2 + n + i)));
            }
            families_.push_back(std::move(f));
        }
    }

    QHash<QString, TechnicalData> tech;
    {
        Statement st(db, QStringLiteral("SELECT Typ, TypeID, Umisteni_jednotek, Rezim, Tep_vykon, "
                                        "Tep_vykon_min, Prutok_vzduchu, El_prikon, Dosah, dT, dB, "
                                        "dp FROM tBrisant ORDER BY ID"));
        while (st.step()) {
            TechnicalData t;
            t.typ = st.columnText(0);
            t.typeId = st.columnText(1);
            t.placement = int(st.columnInt64(2));
            t.mode = int(st.columnInt64(3));
            t.heatOutput = st.column(4).toDouble();
            t.heatOutputMin = st.column(5).toDouble();
            t.airFlow = st.column(6).toDouble();
            t.electricInput = st.column(7).toDouble();
            t.range = st.columnText(8).trimmed();
            t.tempRise = st.columnText(9).trimmed();
            t.noise = st.columnText(10).trimmed();
            t.pressure = st.columnText(11).trimmed();
            if (!tech.contains(t.typ))
                tech.insert(t.typ, t);
        }
    }

    QStringList dimCols;
    for (const QString& c : allDimensionColumns())
        dimCols << Database::quoteIdentifier(c);
    Statement st(db, QStringLiteral("SELECT Typ, Pic_rozmery, Pic_rychlost, Pic_teplota, %1 FROM "
                                    "tBrisantRozmery ORDER BY ID")
                         .arg(dimCols.join(QLatin1Char(','))));
    while (st.step()) {
        UnitType u;
        u.typ = st.columnText(0);
        u.family = familyKeyOf(u.typ);
        u.sizePicture = st.columnText(1).trimmed();
        u.velocityPicture = st.columnText(2).trimmed();
        u.temperaturePicture = st.columnText(3).trimmed();
        for (qsizetype i = 0; i < allDimensionColumns().size(); ++i) {
            if (!st.columnIsNull(int(4 + i)))
                u.dims.insert(allDimensionColumns()[i], st.column(int(4 + i)).toDouble());
        }
        const auto it = tech.constFind(technicalKeyOf(u.typ));
        if (it != tech.constEnd())
            u.tech = *it;
        types_.push_back(std::move(u));
    }
}

const Family* Catalog::family(const QString& key) const {
    for (const Family& f : families_)
        if (f.key == key)
            return &f;
    return nullptr;
}

std::vector<const UnitType*> Catalog::typesOf(const QString& key) const {
    std::vector<const UnitType*> out;
    for (const UnitType& u : types_)
        if (u.family == key)
            out.push_back(&u);
    return out;
}

} // namespace zf::art

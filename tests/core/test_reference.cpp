// The content of the reference database and the catalog trees as the program
// uses them: groups that give the kinds, family names the filters and the viewer
// rely on, every language filled, the re-encoded Russian copies.
#include "catalogs/unitscatalog.h"
#include "common/globals.h"
#include "i18n/codepage.h"
#include "testsupport.h"

#include <QFile>
#include <QHash>
#include <QSet>

using namespace zf;
using namespace zf::test;

namespace {

class ReferenceTest : public StorageTest {
protected:
    // All rows of a reference table in the order of its rowid, as column maps.
    std::vector<QHash<QString, QVariant>> rows(const QString& table) {
        std::vector<QHash<QString, QVariant>> out;
        Statement st(data->catalogConnection(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid")
                                                    .arg(Database::quoteIdentifier(table)));
        QStringList names;
        for (const TableColumn& c : data->catalogConnection().tableColumns(table))
            names << c.name;
        while (st.step()) {
            QHash<QString, QVariant> r;
            for (int i = 0; i < names.size(); ++i)
                r.insert(names[i], st.column(i));
            out.push_back(r);
        }
        return out;
    }
    static QString text(const QHash<QString, QVariant>& r, const char* c) {
        return r.value(QLatin1String(c)).toString();
    }
};

const char* const codes[] = {"CZ", "EN", "GE", "PL", "RU"};

// The family of a type string as the catalog viewer classifies it; empty for none.
QString familyOf(const QString& s) {
    bool matched = false;
    const QString key = UnitsCatalog::familyKey(s, &matched);
    return matched ? key : QString();
}

// The key the viewer looks a tree node up by in tBrisant.
QString viewerKey(const QString& s) {
    return UnitsCatalog::brisantKey(s);
}

} // namespace

TEST_F(ReferenceTest, ClimateRegions) {
    QHash<QString, int> perCountry;
    for (const auto& r : rows(QStringLiteral("tTeploty"))) {
        const QString loc = text(r, "Location");
        ++perCountry[loc];
        EXPECT_TRUE(QStringList({"CZ", "SK", "PL", "BLR", "UKR", "RUS"}).contains(loc))
            << qPrintable(loc);
        EXPECT_FALSE(text(r, "Misto").isEmpty());
        EXPECT_EQ(text(r, "Misto_1250"), reencode1251As1250(text(r, "Misto")))
            << qPrintable(text(r, "Misto"));
        const int days = r.value(QStringLiteral("Otop_obd")).toInt();
        const double tes = r.value(QStringLiteral("Tes")).toDouble(),
                     te = r.value(QStringLiteral("Te")).toDouble();
        EXPECT_TRUE(days >= 120 && days <= 320) << qPrintable(text(r, "Misto"));
        EXPECT_TRUE(te < tes && te >= -45 && te <= -5) << qPrintable(text(r, "Misto"));
    }
    // The 76 districts have 72 seats: Prague, Brno, Plzeň and Ostrava serve more than one.
    EXPECT_GE(perCountry.value(QStringLiteral("CZ")), 72) << "every district town";
    for (const char* c : {"SK", "PL"})
        EXPECT_GE(perCountry.value(QLatin1String(c)), 30) << c;
    for (const char* c : {"BLR", "UKR", "RUS"})
        EXPECT_GE(perCountry.value(QLatin1String(c)), 15) << c;
}

TEST_F(ReferenceTest, WorkClasses) {
    const auto all = rows(QStringLiteral("tTridaPrace"));
    QStringList labels;
    int previousMax = -1;
    for (const auto& r : all) {
        labels << text(r, "Trida");
        const int lo = r.value(QStringLiteral("EnergieMin")).toInt(),
                  hi = r.value(QStringLiteral("EnergieMax")).toInt();
        EXPECT_LT(lo, hi);
        EXPECT_GT(lo, previousMax);
        previousMax = hi;
        for (const char* c : codes)
            EXPECT_FALSE(r.value(QStringLiteral("Text") + QLatin1String(c)).toString().isEmpty())
                << c;
        EXPECT_EQ(text(r, "TextRU_1250"), reencode1251As1250(text(r, "TextRU")));
    }
    EXPECT_EQ(labels, (QStringList{"I", "IIa", "IIb", "IIIa", "IIIb", "IVa", "IVb", "V"}));
}

TEST_F(ReferenceTest, MaterialsGroupsGiveTheKinds) {
    std::vector<std::vector<QHash<QString, QVariant>>> tables;
    for (const char* c : codes)
        tables.push_back(rows(QStringLiteral("tMaterialy") + QLatin1String(c)));
    const auto ru1250 = rows(QStringLiteral("tMaterialyRU_1250"));
    for (size_t t = 0; t < tables.size(); ++t) {
        const auto& table = tables[t];
        ASSERT_GE(table.size(), 60u) << codes[t];
        ASSERT_EQ(table.size(), tables[0].size())
            << "the same items in every language: " << codes[t];
        QStringList groups;
        QSet<QString> names;
        for (size_t i = 0; i < table.size(); ++i) {
            const auto& r = table[i];
            const QString g = text(r, "Skupina");
            if (!groups.contains(g))
                groups << g;
            const int typ = r.value(QStringLiteral("Typ")).toInt();
            EXPECT_EQ(typ, std::min<int>(int(groups.indexOf(g)) + 1, 5))
                << codes[t] << " " << qPrintable(text(r, "Material"));
            EXPECT_NE(r.value(QStringLiteral("ReadOnly")).toInt(), 0);
            EXPECT_GT(r.value(QStringLiteral("k")).toDouble(), 0.0);
            EXPECT_FALSE(names.contains(text(r, "Material"))) << "unique names";
            names.insert(text(r, "Material"));
            EXPECT_EQ(r.value(QStringLiteral("k")), tables[0][i].value(QStringLiteral("k")))
                << codes[t] << " row " << i;
            EXPECT_EQ(r.value(QStringLiteral("Typ")), tables[0][i].value(QStringLiteral("Typ")));
        }
        EXPECT_GE(groups.size(), 7)
            << "walls, roofs, floors, skylights and three groups of openings";
    }
    ASSERT_EQ(ru1250.size(), tables[4].size());
    for (size_t i = 0; i < ru1250.size(); ++i) {
        EXPECT_EQ(text(ru1250[i], "Material"), reencode1251As1250(text(tables[4][i], "Material")));
        EXPECT_EQ(text(ru1250[i], "Skupina"), reencode1251As1250(text(tables[4][i], "Skupina")));
        EXPECT_EQ(ru1250[i].value(QStringLiteral("k")), tables[4][i].value(QStringLiteral("k")));
    }
}

TEST_F(ReferenceTest, UnitsCatalogNamesFitTheFamilyRules) {
    const auto units = rows(QStringLiteral("tBrisant"));
    EXPECT_GE(units.size(), 25u);
    int blenda = 0;
    QSet<QString> types;
    for (const auto& r : units) {
        const QString id = text(r, "TypeID");
        types.insert(text(r, "Typ"));
        int codesFound = 0;
        for (const char* fam : {"AX", "RD", "MK"})
            codesFound += id.contains(QLatin1String(fam), Qt::CaseInsensitive) ? 1 : 0;
        EXPECT_EQ(codesFound, 1) << "one family code: " << qPrintable(id);
        const bool mk = id.contains(QLatin1String("MK"));
        EXPECT_EQ(id.contains(QLatin1String("Brisant")), !mk) << qPrintable(id);
        if (id.contains(QLatin1String("AX")) && id.contains(QLatin1String(" M")))
            ++blenda;
        const double q = r.value(QStringLiteral("Tep_vykon")).toDouble();
        EXPECT_TRUE(q >= 8 && q <= 110) << qPrintable(id);
        EXPECT_LT(r.value(QStringLiteral("Tep_vykon_min")).toDouble(), q);
        EXPECT_GT(r.value(QStringLiteral("Prutok_vzduchu")).toDouble(), 0.0);
        EXPECT_FALSE(text(r, "dT").isEmpty()) << "the viewer always shows dT";
    }
    EXPECT_GE(blenda, 2);

    // Dimensions: one row per type and per destratifier, with the columns the
    // family shows.
    QHash<QString, QHash<QString, QVariant>> sizes;
    for (const auto& r : rows(QStringLiteral("tBrisantRozmery")))
        sizes.insert(text(r, "Typ"), r);
    for (const auto& r : units) {
        const QString typ = text(r, "Typ");
        bool found = sizes.contains(typ);
        for (auto it = sizes.begin(); !found && it != sizes.end(); ++it)
            found = viewerKey(it.key()) == typ;
        EXPECT_TRUE(found) << "no dimensions for " << qPrintable(typ);
    }
    for (const char* k : {"Destratifikátor K1", "Destratifikátor K2", "Destratifikátor K3"}) {
        ASSERT_TRUE(sizes.contains(QString::fromUtf8(k))) << k;
        EXPECT_EQ(familyOf(QString::fromUtf8(k)), QStringLiteral("K"));
    }
    for (auto it = sizes.begin(); it != sizes.end(); ++it) {
        EXPECT_FALSE(familyOf(it.key()).isEmpty()) << qPrintable(it.key());
        EXPECT_FALSE(it.value().value(QStringLiteral("A")).isNull()) << qPrintable(it.key());
        EXPECT_FALSE(text(it.value(), "Pic_rozmery").isEmpty()) << qPrintable(it.key());
    }

    const auto families = rows(QStringLiteral("tGeneral"));
    QSet<QString> keys;
    for (const auto& r : families) {
        keys.insert(text(r, "TypeID"));
        for (const char* c : codes) {
            EXPECT_FALSE(r.value(QStringLiteral("Name") + QLatin1String(c)).toString().isEmpty());
            EXPECT_FALSE(r.value(QStringLiteral("Popis") + QLatin1String(c)).toString().isEmpty());
        }
        EXPECT_EQ(text(r, "NameRU_1250"), reencode1251As1250(text(r, "NameRU")));
        EXPECT_EQ(text(r, "PopisRU_1250"), reencode1251As1250(text(r, "PopisRU")));
        EXPECT_FALSE(text(r, "imFoto").isEmpty());
    }
    for (const char* k : {"AX", "BLENDA", "RD", "MK-I", "K"})
        EXPECT_TRUE(keys.contains(QLatin1String(k))) << k;
    EXPECT_TRUE(rows(QStringLiteral("tDefPerson")).empty())
        << "the compiler's defaults start empty";
}

TEST_F(ReferenceTest, CatalogTreeLeavesAreTypes) {
    QSet<QString> sizes, units;
    for (const auto& r : rows(QStringLiteral("tBrisantRozmery")))
        sizes.insert(text(r, "Typ"));
    for (const auto& r : rows(QStringLiteral("tBrisant")))
        units.insert(text(r, "Typ"));
    for (const char* view : {"tv", "tvp"})
        for (const char* c : codes) {
            const QString path = AppPath + QStringLiteral("DB/") + QLatin1String(view) +
                                 QLatin1String(c) + QStringLiteral(".txt");
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
            QList<QPair<int, QString>> nodes;
            for (const QByteArray& raw : f.readAll().split('\n')) {
                QString line = QString::fromUtf8(raw);
                if (line.endsWith(QLatin1Char('\r')))
                    line.chop(1);
                if (line.trimmed().isEmpty())
                    continue;
                int depth = 0;
                while (depth < line.size() &&
                       (line[depth] == QLatin1Char('\t') || line[depth] == QLatin1Char(' ')))
                    ++depth;
                nodes.append({depth, line.mid(depth)});
            }
            int leaves = 0;
            for (int i = 0; i < nodes.size(); ++i) {
                const bool leaf = i + 1 == nodes.size() || nodes[i + 1].first <= nodes[i].first;
                if (!leaf) {
                    EXPECT_FALSE(sizes.contains(nodes[i].second))
                        << "a group node matches a type: " << qPrintable(nodes[i].second);
                    continue;
                }
                ++leaves;
                const QString s = nodes[i].second;
                EXPECT_TRUE(sizes.contains(s)) << qPrintable(path) << ": " << qPrintable(s);
                if (familyOf(s) != QLatin1String("K")) {
                    EXPECT_TRUE(units.contains(viewerKey(s)))
                        << qPrintable(path) << ": " << qPrintable(s);
                }
            }
            EXPECT_GT(leaves, 20) << qPrintable(path);
        }
}

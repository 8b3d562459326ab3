// The pictures and documents of the units catalog in the program folder, as the
// catalog viewer and the Catalogs menu will look for them: every name the viewer
// can build for a node of the tree files, every document file of the menu in
// Czech and English.
#include "catalogs/unitscatalog.h"
#include "i18n/texts.h"
#include "storage/sqlite.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <gtest/gtest.h>

using namespace zf;

namespace {

const QString Program = QStringLiteral(ZEFRANT_PROGRAM_DIR);

QString images(const QString& rel) {
    return Program + QStringLiteral("/Images/") + rel;
}

// The family key of a node text, by the viewer's rule.
QString familyOf(const QString& s) {
    return UnitsCatalog::familyKey(s);
}

// A picture named with a raster extension is delivered as SVG or PNG of the same
// base name; an SVG or PNG name is taken as it is.
QString resolvePicture(const QString& path) {
    if (QFileInfo::exists(path))
        return path;
    const QString stem = path.left(path.lastIndexOf(QLatin1Char('.')));
    for (const char* ext : {".svg", ".png"})
        if (QFileInfo::exists(stem + QLatin1String(ext)))
            return stem + QLatin1String(ext);
    return QString();
}

// Loads a picture and tells whether it draws anything.
::testing::AssertionResult loadsAndDraws(const QString& path) {
    const QString file = resolvePicture(path);
    if (file.isEmpty())
        return ::testing::AssertionFailure() << "missing: " << path.toStdString();
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    if (file.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer r(file);
        if (!r.isValid() || r.defaultSize().isEmpty())
            return ::testing::AssertionFailure() << "not a valid SVG: " << file.toStdString();
        QPainter p(&image);
        r.render(&p);
    } else {
        const QImage raster(file);
        if (raster.isNull())
            return ::testing::AssertionFailure() << "not an image: " << file.toStdString();
        QPainter p(&image);
        p.drawImage(image.rect(), raster);
    }
    int inked = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            inked += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
    if (inked < 20)
        return ::testing::AssertionFailure() << "draws nothing: " << file.toStdString();
    return ::testing::AssertionSuccess();
}

// The texts an SVG file draws.
QStringList svgTexts(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString svg = QString::fromUtf8(f.readAll());
    QStringList out;
    static const QRegularExpression text(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    for (auto it = text.globalMatch(svg); it.hasNext();) {
        QString t = it.next().captured(1).trimmed();
        t.replace(QLatin1String("&lt;"), QLatin1String("<"));
        t.replace(QLatin1String("&gt;"), QLatin1String(">"));
        t.replace(QLatin1String("&amp;"), QLatin1String("&"));
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

struct Dimensions {
    QString typ, sizes, velocity, temperature;
};

class CatalogFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db = new Database;
        Database::OpenOptions o;
        o.readOnly = true;
        db->open(Program + QStringLiteral("/DB/ZF.zft"), o);
    }
    static void TearDownTestSuite() {
        delete db;
        db = nullptr;
    }

    static std::vector<Dimensions> dimensionRows() {
        std::vector<Dimensions> out;
        Statement st(*db, QStringLiteral("SELECT Typ, Pic_rozmery, Pic_rychlost, Pic_teplota FROM "
                                         "tBrisantRozmery ORDER BY ID"));
        while (st.step())
            out.push_back({st.columnText(0), st.columnText(1).trimmed(), st.columnText(2).trimmed(),
                           st.columnText(3).trimmed()});
        return out;
    }
    static QHash<QString, QString> photos() {
        QHash<QString, QString> out;
        Statement st(*db, QStringLiteral("SELECT TypeID, imFoto FROM tGeneral"));
        while (st.step())
            out.insert(st.columnText(0), st.columnText(1).trimmed());
        return out;
    }
    // Every node text of every tree file of the program folder.
    static QStringList treeNodes() {
        QStringList out;
        const QDir dir(Program + QStringLiteral("/DB"));
        for (const QString& name : dir.entryList({QStringLiteral("tv*.txt")}, QDir::Files)) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly))
                continue;
            for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
                if (!line.trimmed().isEmpty())
                    out << line.trimmed();
        }
        return out;
    }

    static Database* db;
};

Database* CatalogFiles::db = nullptr;

TEST_F(CatalogFiles, EveryPictureTheViewerCanNameExistsAndDraws) {
    const QStringList nodes = treeNodes();
    ASSERT_GT(nodes.size(), 30);
    const auto rows = dimensionRows();
    QHash<QString, Dimensions> byTyp;
    for (const Dimensions& d : rows)
        byTyp.insert(d.typ, d);
    const auto photo = photos();
    QSet<QString> checked;
    auto check = [&](const QString& file, const QString& node) {
        if (checked.contains(file))
            return;
        checked.insert(file);
        EXPECT_TRUE(loadsAndDraws(file)) << "for the node " << node.toStdString();
    };
    int typesWithPictures = 0;
    for (const QString& node : nodes) {
        const QString key = familyOf(node);
        if (photo.contains(key)) {
            EXPECT_FALSE(photo.value(key).isEmpty()) << key.toStdString();
            check(images(photo.value(key)), node);
        }
        check(images(node.contains(QLatin1String("MK")) ? QStringLiteral("legenda_r_mk.bmp")
                                                        : QStringLiteral("legenda_r.bmp")),
              node);
        if (!byTyp.contains(node))
            continue;
        const Dimensions& d = byTyp.value(node);
        ASSERT_FALSE(d.sizes.isEmpty()) << node.toStdString();
        check(images(QStringLiteral("Sizes/") + d.sizes), node);
        if (!d.velocity.isEmpty())
            check(images(d.velocity), node);
        if (!d.temperature.isEmpty())
            check(images(d.temperature), node);
        if (!d.velocity.isEmpty() && !d.temperature.isEmpty())
            ++typesWithPictures;
    }
    // Every warm-air and MK type of the trees has both air pictures.
    EXPECT_GE(typesWithPictures, 27);
    // The fixed legend of the temperature tab.
    EXPECT_TRUE(loadsAndDraws(images(QStringLiteral("legenda_t.svg"))));
}

TEST_F(CatalogFiles, AirUnitsNameBothAirPicturesAndDestratifiersNone) {
    for (const Dimensions& d : dimensionRows()) {
        const QString key = familyOf(d.typ);
        if (key == QLatin1String("K")) {
            EXPECT_TRUE(d.velocity.isEmpty() && d.temperature.isEmpty()) << d.typ.toStdString();
        } else {
            EXPECT_FALSE(d.velocity.isEmpty()) << d.typ.toStdString();
            EXPECT_FALSE(d.temperature.isEmpty()) << d.typ.toStdString();
            EXPECT_NE(d.velocity, d.temperature) << d.typ.toStdString();
        }
    }
}

TEST_F(CatalogFiles, DimensionDrawingsCarryTheLettersOfTheirFamilysColumns) {
    const QHash<QString, QStringList> visible = {
        {"BLENDA",
         {"A", "B", "C", "D", "E", "F", "H", "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T", "U",
          "V"}},
        {"AX",
         {"A", "B", "B1", "C", "D", "E", "F", "G", "H", "J", "K", "L", "M", "N", "P", "R", "S"}},
        {"RD",
         {"A", "B", "B2", "C", "D", "E", "F", "G", "H", "J", "K", "L", "M", "N", "P", "R", "S"}},
        {"MK-I", {"A", "B", "C", "D", "E", "F", "G", "H", "K", "L", "O", "P", "R", "S", "T"}},
        {"K", {"A", "R"}}};
    for (const Dimensions& d : dimensionRows()) {
        const QString file = images(QStringLiteral("Sizes/") + d.sizes);
        QStringList letters = svgTexts(file);
        ASSERT_FALSE(letters.isEmpty()) << file.toStdString();
        for (QString& l : letters)
            l.remove(QChar(0x00d8)); // diameters are written ØD
        letters.removeDuplicates();
        letters.sort();
        QStringList expected = visible.value(familyOf(d.typ));
        expected.sort();
        EXPECT_EQ(letters, expected) << d.typ.toStdString();
    }
}

TEST_F(CatalogFiles, AirPicturesAndLegendsCarryNoWordsOfAnyLanguage) {
    // One picture serves every language: numbers, the axis and quantity symbols
    // and units only.
    static const QRegularExpression neutral(
        QStringLiteral("^[0-9.\u2212\u2013\u2265< xyzmsvTaC/=\\[\\]\u00b0]+$"));
    QStringList files{images(QStringLiteral("legenda_r.svg")),
                      images(QStringLiteral("legenda_r_mk.svg")),
                      images(QStringLiteral("legenda_t.svg"))};
    for (const Dimensions& d : dimensionRows()) {
        if (!d.velocity.isEmpty())
            files << images(d.velocity) << images(d.temperature);
    }
    for (const QString& f : files) {
        const QStringList texts = svgTexts(f);
        EXPECT_FALSE(texts.isEmpty()) << f.toStdString();
        for (const QString& t : texts)
            EXPECT_TRUE(neutral.match(t).hasMatch()) << f.toStdString() << ": " << t.toStdString();
    }
}

// ---------------------------------------------------------------- documents

struct DocumentRow {
    int group;
    QString folder, base, caption;
    int captionId;
    QString content;
};

std::vector<DocumentRow> documentList() {
    std::vector<DocumentRow> out;
    QFile f(QStringLiteral(ZEFRANT_DATA_DIR) + QStringLiteral("/documents/documents.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    bool header = true;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (header) {
            header = false;
            continue;
        }
        const QStringList c = line.split(QLatin1Char('\t'));
        if (c.value(2) == QLatin1String("-"))
            continue;
        out.push_back({c.value(0).toInt(), c.value(1), c.value(2), c.value(4), c.value(3).toInt(),
                       c.value(5)});
    }
    return out;
}

// The file the menu opens: folder + base + "_" + code + ".pdf"; the project
// documentation is the one file "proj-docCZ.pdf" in PDF.
QString documentPath(const DocumentRow& d, const QString& code) {
    if (d.group == 2)
        return Program + QLatin1Char('/') + d.folder + QLatin1Char('/') + d.base + code +
               QStringLiteral(".pdf");
    return Program + QLatin1Char('/') + d.folder + QLatin1Char('/') + d.base + QLatin1Char('_') +
           code + QStringLiteral(".pdf");
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString plainCaption(QString s) {
    s.remove(QLatin1Char('&'));
    return s.trimmed();
}

// pdftotext lays text out in columns and may break a caption across lines.
QString squeezed(QString s) {
    return s.simplified();
}

TEST_F(CatalogFiles, TheMenuStructureIsComplete) {
    const auto docs = documentList();
    int technical = 0, leaflets = 0, project = 0;
    QList<int> ids;
    for (const DocumentRow& d : docs) {
        technical += d.group == 0;
        leaflets += d.group == 1;
        project += d.group == 2;
        if (d.group == 0 && d.folder != QLatin1String("PDF/Sarvin"))
            ADD_FAILURE() << d.base.toStdString();
        if (d.group == 1 && d.folder != QLatin1String("PDF/Prospekty"))
            ADD_FAILURE() << d.base.toStdString();
        if (d.captionId > 0)
            ids << d.captionId;
        else
            EXPECT_FALSE(d.caption.isEmpty()) << d.base.toStdString();
    }
    EXPECT_EQ(technical, 12);
    EXPECT_EQ(leaflets, 4);
    EXPECT_EQ(project, 1);
    // Texts 106 to 113 caption eight technical documents and 114, 115 two leaflets,
    // in this order.
    EXPECT_EQ(ids, (QList<int>{106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 102}));
    for (const DocumentRow& d : docs) {
        if (d.group == 2) {
            EXPECT_EQ(QFileInfo(documentPath(d, QStringLiteral("CZ"))).fileName(),
                      QStringLiteral("proj-docCZ.pdf"));
        }
    }
}

TEST_F(CatalogFiles, EveryDocumentExistsInCzechAndEnglishAsAPdfWithItsCaption) {
    const auto docs = documentList();
    ASSERT_EQ(docs.size(), 17u);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
    for (const DocumentRow& d : docs) {
        for (const QString& code : {QStringLiteral("CZ"), QStringLiteral("EN")}) {
            const QString path = documentPath(d, code);
            SCOPED_TRACE(path.toStdString());
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            EXPECT_TRUE(bytes.startsWith("%PDF-1."));
            EXPECT_TRUE(bytes.right(32).contains("%%EOF"));
            if (!pdfinfo.isEmpty()) {
                static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
                const auto m = pages.match(run(pdfinfo, {path}));
                ASSERT_TRUE(m.hasMatch());
                const int n = m.captured(1).toInt();
                EXPECT_GE(n, 1);
                // Leaflets are two pages at most.
                if (d.group == 1) {
                    EXPECT_LE(n, 2);
                }
            }
            if (!pdffonts.isEmpty()) {
                const QStringList lines =
                    run(pdffonts, {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
                EXPECT_GT(lines.size(), 2);
                for (int i = 2; i < lines.size(); ++i)
                    EXPECT_TRUE(lines[i].contains(QLatin1String(" yes ")))
                        << "not embedded: " << lines[i].toStdString();
            }
            if (pdftotext.isEmpty())
                continue;
            const QString text =
                squeezed(run(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                         QStringLiteral("-")}));
            ASSERT_FALSE(text.isEmpty());
            const int base = code == QLatin1String("CZ") ? BaseCZ : BaseEN;
            const QString caption =
                d.captionId > 0 ? plainCaption(LanguageTextIn(base, d.captionId)) : d.caption;
            EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
        }
    }
}

TEST_F(CatalogFiles, DataSheetsListEveryTypeOfTheirFamilyWithItsOutput) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QHash<QString, QStringList> typesOf;
    for (const Dimensions& d : dimensionRows())
        typesOf[familyOf(d.typ)] << d.typ;
    QHash<QString, QString> output; // tBrisant Typ -> heat output
    Statement st(*db, QStringLiteral("SELECT Typ, Tep_vykon FROM tBrisant"));
    while (st.step())
        output.insert(st.columnText(0), QString::number(st.column(1).toDouble()));
    for (const DocumentRow& d : documentList()) {
        if (!d.content.startsWith(QLatin1String("family:")))
            continue;
        const QString key = d.content.mid(7);
        for (const QString& code : {QStringLiteral("CZ"), QStringLiteral("EN")}) {
            const QString path = documentPath(d, code);
            const QString text =
                squeezed(run(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                         QStringLiteral("-")}));
            ASSERT_FALSE(typesOf.value(key).isEmpty()) << key.toStdString();
            for (QString typ : typesOf.value(key)) {
                const QString shortTyp =
                    typ.startsWith(QLatin1String("Brisant ")) ? typ.mid(8) : typ;
                EXPECT_TRUE(text.contains(shortTyp))
                    << path.toStdString() << ": " << typ.toStdString();
                // The output of the type in the decimal notation of the language.
                QString key2 = typ.contains(QLatin1String("MK"))
                                   ? typ
                                   : typ.left(typ.indexOf(QLatin1String(" -")));
                if (!output.contains(key2))
                    continue;
                QString value = output.value(key2);
                if (code == QLatin1String("CZ"))
                    value.replace(QLatin1Char('.'), QLatin1Char(','));
                EXPECT_TRUE(text.contains(QLatin1Char(' ') + value + QLatin1Char(' ')))
                    << path.toStdString() << ": " << typ.toStdString() << " "
                    << value.toStdString();
            }
        }
    }
}

} // namespace

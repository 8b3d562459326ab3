#include "catalogs/unitscatalog.h"

#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardItemModel>

namespace zf {

namespace {

struct TreeLine {
    int depth;
    QString text;
};

} // namespace

QString resolvePictureFile(const QString& path) {
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    if (info.isFile())
        return path;
    // The catalog's tables name bitmaps; the program folder has the same
    // pictures as SVG or PNG.
    if (info.fileName().isEmpty())
        return QString();
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString stem = dot > slash ? path.left(dot) : path;
    for (const char* ext : {".svg", ".png"}) {
        QString candidate = stem + QLatin1String(ext);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

bool LoadPictureOnce(const QString& file, PictureMemory& picture) {
    const QString resolved = resolvePictureFile(file);
    if (resolved.isEmpty()) {
        picture.file.clear();
        return false;
    }
    if (picture.file != resolved) {
        picture.file = resolved;
        ++picture.loads;
    }
    return true;
}

UnitsCatalog::UnitsCatalog(TZFData& data)
    : data_(data), tree_(std::make_unique<QStandardItemModel>()),
      visibleColumns_(dimensionColumns()) {
    languageHandle_ = registerLanguageApplier([this](int) { applyLanguage(); });
}

UnitsCatalog::~UnitsCatalog() {
    unregisterLanguageApplier(languageHandle_);
}

const QStringList& UnitsCatalog::dimensionColumns() {
    static const QStringList columns = {
        QStringLiteral("A"),     QStringLiteral("B"), QStringLiteral("B1"), QStringLiteral("B2"),
        QStringLiteral("C"),     QStringLiteral("D"), QStringLiteral("E"),  QStringLiteral("F"),
        QStringLiteral("G"),     QStringLiteral("H"), QStringLiteral("J"),  QStringLiteral("K"),
        QStringLiteral("L"),     QStringLiteral("M"), QStringLiteral("N"),  QStringLiteral("O"),
        QStringLiteral("P"),     QStringLiteral("Q"), QStringLiteral("R"),  QStringLiteral("S"),
        QStringLiteral("T"),     QStringLiteral("U"), QStringLiteral("V"),  QStringLiteral("Netto"),
        QStringLiteral("Brutto")};
    return columns;
}

QString UnitsCatalog::familyKey(const QString& s, bool* matched) {
    if (matched)
        *matched = true;
    if (s.contains(QLatin1String("AX")) && s.contains(QLatin1String(" M")))
        return QStringLiteral("BLENDA");
    if (s.contains(QLatin1String("AX")))
        return QStringLiteral("AX");
    if (s.contains(QLatin1String("RD")))
        return QStringLiteral("RD");
    if (s.contains(QLatin1String("MK")))
        return QStringLiteral("MK-I");
    if (s.contains(QLatin1Char('K')))
        return QStringLiteral("K");
    if (matched)
        *matched = false;
    return s;
}

QStringList UnitsCatalog::familyColumns(const QString& key) {
    auto split = [](const char* list) { return QString::fromLatin1(list).split(QLatin1Char(' ')); };
    if (key == QLatin1String("BLENDA"))
        return split("A B C D E F H K L M N O P Q R S T U V Netto Brutto");
    if (key == QLatin1String("AX"))
        return split("A B B1 C D E F G H J K L M N P R S Netto Brutto");
    if (key == QLatin1String("RD"))
        return split("A B B2 C D E F G H J K L M N P R S Netto Brutto");
    if (key == QLatin1String("MK-I"))
        return split("A B C D E F G H K L O P R S T");
    if (key == QLatin1String("K"))
        return split("A R Netto Brutto");
    return {};
}

QString UnitsCatalog::brisantKey(const QString& s) {
    if (s.contains(QLatin1String("MK")))
        return s;
    const qsizetype dash = s.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return s;
    // The characters before the one that precedes the first "-": "AX 20 - E"
    // gives "AX 20".
    return s.left(std::max<qsizetype>(0, dash - 1));
}

QString UnitsCatalog::treeFile(View view) {
    return catalogTreeFile(view == ByApplication);
}

QString UnitsCatalog::temperatureLegendFile() {
    return ImagesPath + QStringLiteral("legenda_t.svg");
}

bool UnitsCatalog::loadTree(const QString& file, QStandardItemModel& model) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    std::vector<TreeLine> lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        int depth = 0;
        while (depth < line.size() &&
               (line[depth] == QLatin1Char('\t') || line[depth] == QLatin1Char(' ')))
            ++depth;
        const QString node = line.mid(depth).trimmed();
        if (!node.isEmpty())
            lines.push_back({depth, node});
    }
    model.clear();
    // parents[d] is the last node of depth d; a line deeper than the last node's
    // child goes under the last node.
    std::vector<QStandardItem*> parents;
    for (const TreeLine& l : lines) {
        auto* item = new QStandardItem(l.text);
        item->setEditable(false);
        const size_t depth = std::min(size_t(l.depth), parents.size());
        parents.resize(depth);
        if (depth == 0)
            model.appendRow(item);
        else
            parents.back()->appendRow(item);
        parents.push_back(item);
    }
    return true;
}

void UnitsCatalog::chooseView(View view) {
    view_ = view;
    const QString file = AppPath + treeFile(view);
    if (QFileInfo(file).isFile() && loadTree(file, *tree_))
        events_->stateChanged(Window::UnitsCatalog, UnitsCatalogTree);
}

void UnitsCatalog::open() {
    Dataset& r = data_.tRozmery;
    if (!r.active()) {
        try {
            r.open();
        } catch (const DbError&) {
            return;
        }
        // Showing again keeps the type that was shown.
        if (!lastDimensionType_.isEmpty())
            r.locate(QStringLiteral("Typ"), lastDimensionType_);
    }
    events_->stateChanged(Window::UnitsCatalog, UnitsCatalogDetails);
}

void UnitsCatalog::closed() {
    data_.tRozmery.close();
}

void UnitsCatalog::ShowTypeDetails(const QString& s) {
    Dataset& r = data_.tRozmery;
    try {
        if (!r.active())
            r.open();
        if (!r.locate(QStringLiteral("Typ"), s))
            return;
    } catch (const DbError&) {
        return;
    }
    lastDimensionType_ = s;
    LoadPictureOnce(ImagesPath + QStringLiteral("Sizes/") +
                        r.asString(QStringLiteral("Pic_rozmery")).trimmed(),
                    drawing_);
    velocityTab_ = LoadPictureOnce(
        ImagesPath + r.asString(QStringLiteral("Pic_rychlost")).trimmed(), velocity_);
    LoadPictureOnce(ImagesPath + (s.contains(QLatin1String("MK"))
                                      ? QStringLiteral("legenda_r_mk.bmp")
                                      : QStringLiteral("legenda_r.bmp")),
                    legend_);
    temperatureTab_ = LoadPictureOnce(
        ImagesPath + r.asString(QStringLiteral("Pic_teplota")).trimmed(), temperature_);
    bool matched = false;
    const QString key = familyKey(s, &matched);
    if (matched)
        visibleColumns_ = familyColumns(key);
}

void UnitsCatalog::technicalData(const QString& s) {
    specLines_.clear();
    Dataset& t = data_.tTmp;
    bool found = false;
    try {
        if (!t.active() || t.tableName() != QLatin1String("tBrisant") || t.filtered()) {
            t.close();
            t.setTableName(QStringLiteral("tBrisant"));
            t.setFiltered(false);
            t.open();
        }
        found = t.locate(QStringLiteral("Typ"), brisantKey(s));
    } catch (const DbError&) {
        found = false;
    }
    specVisible_ = found;
    if (!found)
        return;
    const QString floatFormat = QString::fromLatin1(FloatDisplayFormat);
    auto number = [&](const char* field) {
        return formatFloat(floatFormat, t.asFloat(QLatin1String(field)));
    };
    auto text = [&](const char* field) { return t.asString(QLatin1String(field)).trimmed(); };
    specLines_.push_back({LanguageText(1510), number("Tep_vykon") + QStringLiteral(" kW")});
    specLines_.push_back({LanguageText(1511), number("Tep_vykon_min") + QStringLiteral(" kW")});
    specLines_.push_back({LanguageText(1512), number("Prutok_vzduchu") + QStringLiteral(" m3/h")});
    specLines_.push_back({LanguageText(1513), number("El_prikon") + QStringLiteral(" W")});
    if (!text("Dosah").isEmpty())
        specLines_.push_back({LanguageText(1514), text("Dosah") + QStringLiteral(" m")});
    specLines_.push_back({LanguageText(1515), text("dT") + QStringLiteral(" \u00b0C")});
    if (!text("dB").isEmpty())
        specLines_.push_back({LanguageText(1516), text("dB") + QStringLiteral(" dB")});
    if (!text("dp").isEmpty())
        specLines_.push_back({LanguageText(1517), text("dp") + QStringLiteral(" Pa")});
}

void UnitsCatalog::selectNode(const QString& s) {
    ShowTypeDetails(s);
    technicalData(s);
    Dataset& g = data_.tGeneral;
    QString photo;
    bool found = false;
    try {
        found = g.active() && g.locate(QStringLiteral("TypeID"), familyKey(s));
    } catch (const DbError&) {
        found = false;
    }
    if (found) {
        generalLocated_ = true;
        const QString column = referenceName(QStringLiteral("Popis"));
        description_ = g.hasField(column) ? readableText(g.asString(column)) : QString();
        photo = g.asString(QStringLiteral("imFoto")).trimmed();
    }
    LoadPictureOnce(photo.isEmpty() ? QString() : ImagesPath + photo, photo_);
    events_->stateChanged(Window::UnitsCatalog, UnitsCatalogDetails | UnitsCatalogPictures);
}

QString UnitsCatalog::familyName() const {
    const Dataset& g = data_.tGeneral;
    const QString column = referenceName(QStringLiteral("Name"));
    if (!generalLocated_ || !g.active() || g.isEmpty() || !g.hasField(column))
        return QString();
    return readableText(g.asString(column));
}

QString UnitsCatalog::dimensionType() const {
    const Dataset& r = data_.tRozmery;
    if (!r.active() || r.isEmpty())
        return QString();
    return r.asString(QStringLiteral("Typ"));
}

void UnitsCatalog::applyLanguage() {
    // The name label follows the column of the language; the tree is read from
    // the file of the new code, which drops the selection. The description, the
    // photo and the technical data lines stay until another node is selected.
    chooseView(view_);
    events_->stateChanged(Window::UnitsCatalog, UnitsCatalogDetails);
}

} // namespace zf

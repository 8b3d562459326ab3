#include "units/unitproperties.h"

#include "common/globals.h"
#include "i18n/refusals.h"
#include "i18n/texts.h"
#include "storage/dataset.h"
#include "storage/sqlite.h"
#include "units/unittypes.h"

#include <QFileInfo>

namespace zf {

namespace {

struct PropertyInfo {
    const char* stem;
    int firstTextId;
    int entries;
};

const PropertyInfo& info(UnitProperty property) {
    static const PropertyInfo infos[] = {{"Umisteni", 2450, 5},
                                         {"Odvod_spalin", 2400, 7},
                                         {"Privod_vzduchu", 2500, 4},
                                         {"Zpusob_regulace", 671, 6}};
    return infos[int(property)];
}

} // namespace

QString unitPropertyStem(UnitProperty property) {
    return QString::fromLatin1(info(property).stem);
}

QString unitPropertyIndexColumn(UnitProperty property) {
    return unitPropertyStem(property) + QStringLiteral("_enum");
}

QString unitPropertyTextColumn(UnitProperty property, const QString& code) {
    return unitPropertyStem(property) + QStringLiteral("_text") + code;
}

int unitPropertyFirstTextId(UnitProperty property) {
    return info(property).firstTextId;
}

int unitPropertyEntryCount(UnitProperty property) {
    return info(property).entries;
}

QStringList unitPropertyEntries(UnitProperty property) {
    QStringList entries;
    for (int i = 0; i < unitPropertyEntryCount(property); ++i)
        entries << LanguageText(unitPropertyFirstTextId(property) + i);
    return entries;
}

void SetUnitChoice(UnitProperty property, int index, Dataset& row) {
    row.setValue(unitPropertyIndexColumn(property), index);
    if (index < 0)
        return;
    const int id = unitPropertyFirstTextId(property) + index;
    auto write = [&](const char* code, int base) {
        row.setValue(unitPropertyTextColumn(property, QString::fromLatin1(code)),
                     LanguageTextIn(base, id));
    };
    write("CZ", BaseCZ);
    write("EN", BaseEN);
    write("GE", BaseGE);
    write("PL", BasePL);
    if (LanguageBase == BaseRU || LanguageBase == BaseRU1250)
        write("RU", LanguageBase);
    write("SL", BaseSL);
}

int shownUnitChoice(const Dataset& units, int row, UnitProperty property) {
    if (!units.active() || row < 0 || row >= units.recordCount())
        return -1;
    const QStringList entries = unitPropertyEntries(property);
    const int textField = units.fieldIndex(unitPropertyTextColumn(property, LanguageCode));
    if (textField >= 0) {
        const QString text = readableText(units.valueAt(row, textField).toString());
        if (!text.isEmpty()) {
            const int i = entries.indexOf(text);
            if (i >= 0)
                return i;
        }
    }
    const int indexField = units.fieldIndex(unitPropertyIndexColumn(property));
    const QVariant index = indexField >= 0 ? units.valueAt(row, indexField) : QVariant();
    if (index.isValid() && !index.isNull() && index.toInt() >= 0 && index.toInt() < entries.size())
        return index.toInt();
    return -1;
}

QString mountingPictureFile(int locationIndex) {
    return ImagesPath + QStringLiteral("Montaz%1.svg").arg(locationIndex + 1);
}

QString flueGasPictureFile(int flueGasIndex) {
    return ImagesPath + QStringLiteral("Odvod%1.svg").arg(flueGasIndex + 1);
}

UnitPictureFiles unitPictureFiles(const Dataset& units) {
    if (!units.active() || units.isEmpty())
        return {};
    if (isDestratifierType(units.asString(QStringLiteral("Typ"))))
        return {ImagesPath + QStringLiteral("Dest.svg"),
                ImagesPath + QStringLiteral("Sizes/Rozv1.svg")};
    return {
        mountingPictureFile(units.asInteger(unitPropertyIndexColumn(UnitProperty::Location))),
        flueGasPictureFile(units.asInteger(unitPropertyIndexColumn(UnitProperty::FlueGasExhaust)))};
}

bool PictureSlot::show(const QString& file) {
    if (file == file_)
        return false;
    file_ = file;
    return true;
}

bool PictureSlot::exists() const {
    return !file_.isEmpty() && QFileInfo(file_).isFile();
}

void UnitPropertiesDialog::load() {
    number_ = units_.asInteger(QStringLiteral("IDJednotky"));
    typ_ = units_.asString(QStringLiteral("Typ"));
    destratifier_ = isDestratifierType(typ_);
}

bool UnitPropertiesDialog::listEnabled(UnitProperty property) const {
    return property == UnitProperty::Location || !destratifier_;
}

int UnitPropertiesDialog::choice(UnitProperty property) const {
    if (!units_.active() || units_.isEmpty())
        return -1;
    return shownUnitChoice(units_, units_.currentRow(), property);
}

void UnitPropertiesDialog::choose(UnitProperty property, int index) {
    SetUnitChoice(property, index, units_);
}

bool UnitPropertiesDialog::setNumber(const QString& column, double value) {
    if (!(value >= MinValue && value <= MaxValue))
        return false;
    units_.setValue(column, value);
    return true;
}

bool UnitPropertiesDialog::enterNumber(const QString& column, const QVariant& value,
                                       QString* error) {
    QVariant number = value;
    if (value.isValid() && !value.isNull() && value.typeId() == QMetaType::QString) {
        // What the data layer makes of the text, or its refusal.
        bool ok = false;
        const double d = value.toString().trimmed().toDouble(&ok);
        number = ok ? QVariant(d) : value;
    }
    if (number.isValid() && !number.isNull() && number.typeId() != QMetaType::QString) {
        const double d = number.toDouble();
        if (!(d >= MinValue && d <= MaxValue)) {
            if (error)
                *error = fieldRefusal(3004, {value.toString(), column}, 1);
            return false;
        }
    }
    try {
        units_.setValue(column, number);
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        return false;
    }
    return true;
}

} // namespace zf

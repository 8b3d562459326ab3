#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace zf {

class Dataset;

// The four installation properties of a placed unit. Each is stored in tJednotky
// as an index column and one text column per language.
enum class UnitProperty { Location, FlueGasExhaust, AirSupply, ControlMethod };

inline constexpr UnitProperty AllUnitProperties[] = {
    UnitProperty::Location, UnitProperty::FlueGasExhaust, UnitProperty::AirSupply,
    UnitProperty::ControlMethod};

// "Umisteni", "Odvod_spalin", "Privod_vzduchu", "Zpusob_regulace".
QString unitPropertyStem(UnitProperty property);
QString unitPropertyIndexColumn(UnitProperty property);                     // stem + "_enum"
QString unitPropertyTextColumn(UnitProperty property, const QString& code); // stem + "_text" + code
int unitPropertyFirstTextId(UnitProperty property);                         // 2450, 2400, 2500, 671
int unitPropertyEntryCount(UnitProperty property);                          // 5, 7, 4, 6
// The entries of the property's list in the current language.
QStringList unitPropertyEntries(UnitProperty property);

// Writes one choice into the current row of tJednotky (entering edit state):
// the index, and for an index of 0 or more the entry's text under every
// language: CZ, EN, GE, PL from their bases, RU only under the Russian base in
// use (40000 or 50000; any other base leaves it as it was), SL from 60000, which
// holds no texts.
void SetUnitChoice(UnitProperty property, int index, Dataset& row);

// The entry a list of the property shows for a row of tJednotky (by position):
// the entry whose text in the current language is the row's text column of the
// language; when that column holds no entry's text (a column the choice never
// wrote, e.g. Russian after a choice under another language), the entry of the
// index column; -1 when neither names an entry.
int shownUnitChoice(const Dataset& units, int row, UnitProperty property);

// The pictures of the list page for the current row of tJednotky: the mounting
// and the flue gas pictures of a unit ("Montaz" and "Odvod" + index + 1), or the
// destratifier's picture and its sizes. Full paths under ImagesPath; a file that
// does not exist leaves its picture empty.
struct UnitPictureFiles {
    QString location;
    QString flueGas;
};
UnitPictureFiles unitPictureFiles(const Dataset& units);
QString mountingPictureFile(int locationIndex);
QString flueGasPictureFile(int flueGasIndex);

// A picture of the list page: it is loaded again only when its file changes.
class PictureSlot {
public:
    // True when the file differs from the one shown: the caller loads it, or
    // clears the picture when the file does not exist.
    bool show(const QString& file);
    const QString& file() const { return file_; }
    bool exists() const;

private:
    QString file_;
};

// The unit properties dialog (TfrmObjProp) without its widgets: what it shows
// and enables for the row of tJednotky it edits.
class UnitPropertiesDialog {
public:
    explicit UnitPropertiesDialog(Dataset& units) : units_(units) {}

    static constexpr double MinValue = -999999999;
    static constexpr double MaxValue = 999999999;
    static constexpr const char* NumberFormat = "0.##";

    // Gives the number fields their format and range; once.
    void prepareNumberFields() { numberFieldsPrepared_ = true; }
    bool numberFieldsPrepared() const { return numberFieldsPrepared_; }

    // Sets the dialog up for the current row: number, type, which lists are on.
    void load();
    int number() const { return number_; }
    const QString& typ() const { return typ_; }
    bool listEnabled(UnitProperty property) const;
    // The entry shown by a list (shownUnitChoice of the row).
    int choice(UnitProperty property) const;
    // A list changed: SetUnitChoice for the row.
    void choose(UnitProperty property, int index);
    // A number field was typed into: X, Y, Z or Uhel of the row. A value outside
    // the fields' range is refused (false) and not written.
    bool setNumber(const QString& column, double value);
    // A number field left with its value: a number, an empty value, or a text
    // as typed. A text that is not a number or a number outside the range is
    // refused with the data layer's message and nothing is written.
    bool enterNumber(const QString& column, const QVariant& value, QString* error);

    Dataset& row() { return units_; }

private:
    Dataset& units_;
    bool numberFieldsPrepared_ = false;
    int number_ = 0;
    QString typ_;
    bool destratifier_ = false;
};

} // namespace zf

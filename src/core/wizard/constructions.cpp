#include "wizard/constructions.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/texts.h"
#include "storage/operation.h"
#include "wizard/inputwizard.h"

#include <QFileInfo>

namespace zf {

namespace {

QString caption() {
    return QString::fromLatin1(ProductName);
}

bool isColumn(const QString& field, const char* name) {
    return field.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// Sets a flag for the life of the object, restoring it in every case.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~Raised() { flag_ = old_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
    bool old_;
};

} // namespace

ConstructionsPage::ConstructionsPage(TZFData& data, std::function<bool()> wizardShown)
    : data_(data), wizardShown_(std::move(wizardShown)) {
    wallHandle_ = data_.dsSteny.addDataChange(
        [this](DataSource&, const QString& field) { onWallChange(field); });
    openingHandle_ = data_.dsStavOtvory.addDataChange(
        [this](DataSource&, const QString& field) { onOpeningChange(field); });
}

ConstructionsPage::~ConstructionsPage() {
    data_.dsSteny.removeDataChange(wallHandle_);
    data_.dsStavOtvory.removeDataChange(openingHandle_);
}

void ConstructionsPage::setAfterEdit(AfterEdit afterEdit) {
    afterEdit_ = std::move(afterEdit);
    // A question put off by the one before is not waited for any more.
    openingsQuestionPending_ = false;
}

void ConstructionsPage::afterEdit(std::function<void()> then) {
    if (afterEdit_)
        afterEdit_(std::move(then));
    else
        then();
}

void ConstructionsPage::askForOpeningsAfterEdit() {
    // One edit asks once, however many of its steps chose the material.
    if (openingsQuestionPending_)
        return;
    openingsQuestionPending_ = true;
    const QVariant wall = data_.tSteny.value(QStringLiteral("IDSteny"));
    afterEdit([this, wall] {
        openingsQuestionPending_ = false;
        Dataset& w = data_.tSteny;
        if (!active() || !w.active() || w.isEmpty())
            return;
        // The question is about the surface whose material was chosen, also
        // when the cursor has left it since.
        if (w.value(QStringLiteral("IDSteny")) != wall &&
            !w.locate(QStringLiteral("IDSteny"), wall))
            return;
        AskForOpenings();
    });
}

void ConstructionsPage::changed() {
    events_->stateChanged(Window::Wizard, WizardWalls);
}

int ConstructionsPage::wallGridColumnOnEntry(int column) {
    return column >= 0 && column < MaterialColumn ? MaterialColumn : column;
}

bool ConstructionsPage::wallCellRed(int row, int column) const {
    const Dataset& w = data_.tSteny;
    if (!w.active() || row < 0 || row >= w.recordCount())
        return false;
    if (column == MaterialColumn)
        return row != w.currentRow() &&
               w.valueAt(row, w.fieldIndex(QStringLiteral("Material"))).toString().isEmpty();
    if (column == UColumn) {
        const QVariant k = w.valueAt(row, w.fieldIndex(QStringLiteral("k")));
        return !(k.isValid() && !k.isNull() && k.toDouble() > 0);
    }
    return false;
}

int ConstructionsPage::takeOpeningsColumnRequest() {
    const int c = openingsColumn_;
    openingsColumn_ = -1;
    return c;
}

void ConstructionsPage::onWallChange(const QString& field) {
    Dataset& walls = data_.tSteny;
    if (!active() || !walls.active() || walls.isEmpty())
        return;
    const QString picture = ImagesPath + QStringLiteral("Building/") +
                            walls.asString(QStringLiteral("VariantaHaly")) +
                            walls.asString(QStringLiteral("CisloSteny")) + QStringLiteral(".svg");
    if (QFileInfo::exists(picture))
        wallPicture_ = picture;
    openingsCaption_ = LanguageText(920) + QStringLiteral(" (") +
                       walls.asString(QStringLiteral("Nazev") + LanguageCode) + QStringLiteral(")");
    materialPickList_ = FillMaterialPickList(walls.asInteger(QStringLiteral("TypSteny")));
    changed();
    if (isColumn(field, "Material")) {
        if (data_.tMaterialy.active()) {
            const QVariant k = data_.tMaterialy.lookup(QStringLiteral("Material"),
                                                       walls.value(QStringLiteral("Material")),
                                                       QStringLiteral("k"));
            if (k.isValid() && !k.isNull())
                walls.setValue(QStringLiteral("k"), k);
        }
        askForOpeningsAfterEdit();
    }
}

void ConstructionsPage::showAfterEdit(int message, int flags) {
    afterEdit([message, flags] { ShowMessageBox(LanguageText(message), caption(), flags); });
}

void ConstructionsPage::onOpeningChange(const QString& field) {
    Dataset& openings = data_.tStavOtvory;
    Dataset& walls = data_.tSteny;
    if (field.isEmpty() || !active() || !openings.active())
        return;
    const bool wall = walls.active() && !walls.isEmpty();
    if (isColumn(field, "Vyska")) {
        const double v = openings.asFloat(QStringLiteral("Vyska"));
        if (v < 0) {
            openings.setValue(QStringLiteral("Vyska"), 0.0);
            showAfterEdit(5021, MbError);
            return;
        }
        if (wall && v > walls.asFloat(QStringLiteral("Vyska")))
            showAfterEdit(5022, MbWarning);
    } else if (isColumn(field, "Sirka")) {
        // A negative width is not refused.
        if (wall &&
            openings.asFloat(QStringLiteral("Sirka")) > walls.asFloat(QStringLiteral("Sirka")))
            showAfterEdit(5023, MbWarning);
    } else if (isColumn(field, "Nazev")) {
        if (!data_.tMaterialy.active())
            return;
        const QVariant k =
            data_.tMaterialy.lookup(QStringLiteral("Material"),
                                    openings.value(QStringLiteral("Nazev")), QStringLiteral("k"));
        if (k.isValid() && !k.isNull()) {
            openings.setValue(QStringLiteral("k"), k);
            openingsColumn_ = OpeningUColumn;
            changed();
        }
    }
}

QStringList ConstructionsPage::FillMaterialPickList(int typ) {
    Dataset& m = data_.tMaterialy;
    QStringList names;
    if (!m.active())
        return names;
    m.setFilter(QStringLiteral("Typ = %1").arg(typ));
    m.setFiltered(true);
    for (m.first(); !m.eof(); m.next())
        names << m.asString(QStringLiteral("Material"));
    m.setFiltered(false);
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    return names;
}

QStringList ConstructionsPage::openingPickList() {
    return FillMaterialPickList(5);
}

void ConstructionsPage::AskForOpenings() {
    Dataset& w = data_.tSteny;
    if (!w.active() || w.isEmpty())
        return;
    const int message = w.asInteger(QStringLiteral("TypSteny")) == 2 ? 5024 : 5007;
    const QString name = w.asString(QStringLiteral("Nazev") + LanguageCode);
    if (ShowMessageBox(formatText(LanguageText(message), {name}), caption(), MbQuestionYesNo) !=
        IdYes)
        return;
    newOpening();
    events_->focusControl(Window::Wizard, QStringLiteral("ExDBGrid_Otvory"));
}

void ConstructionsPage::newOpening() {
    if (data_.IsEmptyOpening())
        return;
    Dataset& w = data_.tSteny;
    Dataset& o = data_.tStavOtvory;
    if (!w.active() || w.isEmpty() || !o.active())
        return;
    runOperation(*o.database(), [&] {
        o.append();
        o.setValue(QStringLiteral("Nazev"), QString());
        o.setValue(QStringLiteral("k"), 0.0);
        o.setValue(QStringLiteral("Vyska"), 0.0);
        o.setValue(QStringLiteral("Sirka"), 0.0);
        o.setValue(QStringLiteral("Pocet"), 1);
        o.setValue(QStringLiteral("Ti"), w.value(QStringLiteral("Ti")));
        o.setValue(QStringLiteral("Te"), w.value(QStringLiteral("Te")));
        o.setValue(QStringLiteral("Ztrata"), 0.0);
        o.setValue(QStringLiteral("Ztrata_kW"), 0.0);
        o.post();
    });
    changed();
}

void ConstructionsPage::openingFromCatalog(const QString& name, double k) {
    Dataset& w = data_.tSteny;
    Dataset& o = data_.tStavOtvory;
    if (!w.active() || w.isEmpty() || !o.active())
        return;
    runOperation(*o.database(), [&] {
        o.append();
        o.setValue(QStringLiteral("Nazev"), name);
        o.setValue(QStringLiteral("k"), k);
        o.setValue(QStringLiteral("Vyska"), 0.0);
        o.setValue(QStringLiteral("Sirka"), 0.0);
        o.setValue(QStringLiteral("Pocet"), 1);
        o.setValue(QStringLiteral("Ti"), w.value(QStringLiteral("Ti")));
        o.setValue(QStringLiteral("Te"), w.value(QStringLiteral("Te")));
        o.post();
    });
    changed();
}

void ConstructionsPage::wallFromCatalog(const QString& name, double k) {
    Dataset& w = data_.tSteny;
    if (!w.active() || w.isEmpty())
        return;
    {
        // The catalog gives the U-value: the pick list's lookup must not run.
        Raised quiet(suppressed_);
        if (!runOperation(*w.database(), [&] {
                w.setValue(QStringLiteral("Material"), name);
                w.setValue(QStringLiteral("k"), k);
                w.post();
            }))
            return;
    }
    onWallChange(QString());
    AskForOpenings();
}

void ConstructionsPage::deleteOpening() {
    Dataset& o = data_.tStavOtvory;
    if (!o.active() || o.isEmpty())
        return;
    runOperation(*o.database(), [&] { o.deleteRecord(); });
    changed();
}

void ConstructionsPage::CopyToSameKind() {
    Dataset& w = data_.tSteny;
    if (!w.active() || w.isEmpty())
        return;
    runOperation(*w.database(), [&] {
        w.checkBrowseMode();
        Dataset::ControlsSuspended quiet(w);
        const int position = w.recNo();
        const QVariant material = w.value(QStringLiteral("Material"));
        const QVariant k = w.value(QStringLiteral("k"));
        const int kind = w.asInteger(QStringLiteral("TypSteny"));
        for (w.first(); !w.eof(); w.next()) {
            if (w.asInteger(QStringLiteral("TypSteny")) != kind)
                continue;
            w.setValue(QStringLiteral("Material"), material);
            w.setValue(QStringLiteral("k"), k);
            w.post();
        }
        w.refresh();
        w.first();
        for (int i = 1; i < position; ++i)
            w.next();
    });
    changed();
}

} // namespace zf

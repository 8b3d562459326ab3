// The plan's symbols and tJednotky, the unit properties dialog and the list page.
#include "units/projectunits.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "storage/zfdata.h"

#include <QHash>
#include <QSet>
#include <cmath>

namespace zf {

namespace {

// The plain message of the plan: OK, no icon.
constexpr int PlainMessage = 0;

QString caption() {
    return QString::fromLatin1(ProductName);
}

// Writes a column only when its value differs, so that storing an unchanged
// plan does not mark the project as modified.
void putIfChanged(Dataset& row, const QString& column, double value) {
    if (row.isNull(column) || row.asFloat(column) != value)
        row.setValue(column, value);
}

} // namespace

ProjectUnits::ProjectUnits(TZFData& data, TProject& project)
    : data_(data), project_(project), dialog_(data.tJednotky) {
    plan.OnPlotModified = [] { Modified = true; };
    plan.onDropped = [this](int from, const PlanSymbol& before) {
        const PlanSymbol& after = plan.object(plan.count() - 1);
        history.recordMove(before.number, from, plan.count() - 1,
                           {before.x, before.y, before.z, before.angle},
                           {after.x, after.y, after.z, after.angle}, true);
    };
}

void ProjectUnits::setHallFromProject() {
    // The plan takes the hall from the single-precision copy of the project.
    plan.SetHall(project_.StenaA, project_.StenaB, project_.StenaH1);
}

void ProjectUnits::resetPlanSettings() {
    plan.mouseMode = MouseMode::mmMove;
    plan.AutoAlign = true;
    plan.ShowLabels = false;
    plan.resetZoomAndScrollBars();
    towardsLongerSide = true;
}

void ProjectUnits::showProject() {
    setHallFromProject();
    LoadObjectsFromTable();
    plan.repaint();
    plan.ZoomToDefault();
    restoreVariant();
}

void ProjectUnits::LoadObjectsFromTable() {
    BusyCursor busy;
    Dataset& u = data_.tJednotky;
    plan.ClearObjects(false);
    if (!u.active())
        return;
    Dataset::ControlsSuspended quiet(u);
    const QString dosah = QStringLiteral("Dosah");
    const bool throws = u.hasField(dosah);
    for (u.first(); !u.eof(); u.next()) {
        const int i = plan.AddObject(
            u.asInteger(QStringLiteral("ObjType")), u.asInteger(QStringLiteral("Uhel")),
            u.asFloat(QStringLiteral("X")), u.asFloat(QStringLiteral("Y")),
            u.asFloat(QStringLiteral("Z")), u.asString(QStringLiteral("Typ")), false);
        if (throws)
            plan.object(i).throwM = throwFromDosah(u.asString(dosah)).value_or(0);
    }
    u.first();
    history.clear();
}

void ProjectUnits::StoreObjectsToTable() {
    Dataset& u = data_.tJednotky;
    if (!u.active())
        return;
    BusyCursor busy;
    Dataset::ControlsSuspended quiet(u);
    Database::Transaction transaction(*u.database());
    u.checkBrowseMode();
    const bool hadRow = !u.isEmpty();
    const int remembered = hadRow ? u.asInteger(QStringLiteral("IDJednotky")) : 0;
    // One walk over the rows: each symbol goes to the first row with its number,
    // as a search by number from the top would find it.
    QHash<int, const PlanSymbol*> byNumber;
    for (const PlanSymbol& s : plan.objects())
        byNumber.insert(s.number, &s);
    QSet<int> written;
    for (u.first(); !u.eof(); u.next()) {
        const int number = u.asInteger(QStringLiteral("IDJednotky"));
        const PlanSymbol* s = byNumber.value(number);
        if (!s || written.contains(number))
            continue;
        written.insert(number);
        putIfChanged(u, QStringLiteral("ObjType"), s->kind);
        putIfChanged(u, QStringLiteral("X"), s->x);
        putIfChanged(u, QStringLiteral("Y"), s->y);
        putIfChanged(u, QStringLiteral("Z"), s->z);
        putIfChanged(u, QStringLiteral("Uhel"), s->angle);
        u.post();
    }
    transaction.commit();
    for (const PlanSymbol& s : plan.objects()) {
        if (!written.contains(s.number))
            ShowMessageBox(formatText(QStringLiteral("ID %d not found"), {s.number}), caption(),
                           PlainMessage);
    }
    // The rows were written through the dataset, which holds them as written:
    // reading the table again would cost a plan of a thousand units its speed
    // and change nothing.
    if (!hadRow || !u.locate(QStringLiteral("IDJednotky"), remembered))
        u.first();
}

void ProjectUnits::storePlanIfChanged() {
    if (!plan.PlanChanged)
        return;
    StoreObjectsToTable();
    plan.PlanChanged = false;
}

bool ProjectUnits::ShowUnitProperties(int symbolIndex) {
    if (symbolIndex < 0 || symbolIndex >= plan.count())
        return false;
    StoreObjectsToTable();
    plan.PlanChanged = false;
    if (!dialog_.numberFieldsPrepared())
        dialog_.prepareNumberFields();
    Dataset& u = data_.tJednotky;
    if (!u.locate(QStringLiteral("IDJednotky"), plan.object(symbolIndex).number)) {
        ShowMessageBox(QStringLiteral("Object not found"), caption(), PlainMessage);
        return false;
    }
    dialog_.load();
    const bool ok = events_->execDialog(Window::UnitProperties).value_or(false);
    if (!ok) {
        u.cancel();
        return false;
    }
    u.checkBrowseMode();
    PlanSymbol& s = plan.object(symbolIndex);
    const PlanHistory::Place before{s.x, s.y, s.z, s.angle};
    s.x = float(u.asFloat(QStringLiteral("X")));
    s.y = float(u.asFloat(QStringLiteral("Y")));
    s.z = float(u.asFloat(QStringLiteral("Z")));
    s.angle = roundToInt(u.asFloat(QStringLiteral("Uhel"))); // halves to even
    const PlanHistory::Place after{s.x, s.y, s.z, s.angle};
    if (before.x != after.x || before.y != after.y || before.z != after.z ||
        before.angle != after.angle)
        history.recordMove(s.number, symbolIndex, symbolIndex, before, after, false);
    plan.repaint();
    return true;
}

void ProjectUnits::activateListPage() {
    storePlanIfChanged();
    refreshUnitPictures();
}

ProjectUnits::ListPictures ProjectUnits::refreshUnitPictures() {
    const UnitPictureFiles files = unitPictureFiles(data_.tJednotky);
    ListPictures changed;
    changed.locationChanged = locationPicture_.show(files.location);
    changed.flueGasChanged = flueGasPicture_.show(files.flueGas);
    return changed;
}

} // namespace zf

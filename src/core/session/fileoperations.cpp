// The session's operations on a project file as a whole (what the command-line
// tool runs) and the exports of the open project.
#include "session/projectsession.h"

#include "building/buildingmodel.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "exchange/exchange.h"
#include "i18n/texts.h"
#include "shell/settings.h"
#include "storage/filecopy.h"
#include "storage/jsonexport.h"
#include "storage/operation.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>

namespace zf {

namespace {

QString caption() {
    return QString::fromLatin1(ProductName);
}

// While an operation enters values for the user, the questions it meets get
// the answer the operation stands for; every box is still shown through the
// port in use, and the error boxes are counted.
class AnsweringDialogs final : public Dialogs {
public:
    explicit AnsweringDialogs(int yesNoAnswer) : inner_(dialogs()), answer_(yesNoAnswer) {
        setDialogs(this);
    }
    ~AnsweringDialogs() override { setDialogs(&inner_); }
    AnsweringDialogs(const AnsweringDialogs&) = delete;
    AnsweringDialogs& operator=(const AnsweringDialogs&) = delete;

    int errorBoxes() const { return errorBoxes_; }

    int messageBox(const QString& text, const QString& caption, int flags) override {
        if (iconOfFlags(flags) == MessageIcon::Error)
            ++errorBoxes_;
        const int shown = inner_.messageBox(text, caption, flags);
        return (flags & 0x0f) == 4 ? answer_ : shown;
    }
    QString openFileName(const QString& title, const QString& filter,
                         const QString& folder) override {
        return inner_.openFileName(title, filter, folder);
    }
    QString saveFileName(const SaveDialogOptions& options) override {
        return inner_.saveFileName(options);
    }
    void beginBusy() override { inner_.beginBusy(); }
    void endBusy() override { inner_.endBusy(); }
    void processEvents() override { inner_.processEvents(); }
    bool interactive() const override { return inner_.interactive(); }

private:
    Dialogs& inner_;
    int answer_;
    int errorBoxes_ = 0;
};

// A design the wizard does not take; an empty reason: a box has said why.
class Refused {
public:
    explicit Refused(QString why) : why(std::move(why)) {}
    QString why;
};

int intOf(const QJsonValue& v, const QString& key, int lo, int hi) {
    if (!v.isDouble() || v.toDouble() != std::floor(v.toDouble()) || v.toDouble() < lo ||
        v.toDouble() > hi)
        throw Refused(
            formatText(LanguageText(3125),
                       {key, v.isString() ? v.toString() : v.toVariant().toString(), lo, hi}));
    return v.toInt();
}

bool boolOf(const QJsonValue& v, const QString& key) {
    if (!v.isBool())
        throw Refused(formatText(LanguageText(3126), {key}));
    return v.toBool();
}

QVariant scalar(const QJsonValue& v) {
    if (v.isDouble())
        return v.toDouble();
    if (v.isString())
        return v.toString();
    if (v.isBool())
        return v.toBool();
    return {};
}

// The choices, applied first and in this order, each as choosing it in its control.
void applyChoice(InputWizard& w, const QString& key, const QJsonValue& v) {
    if (key == QLatin1String("Typ_strechy_enum"))
        w.chooseRoofType(RoofType(intOf(v, key, 0, RoofTypeCount - 1)));
    else if (key == QLatin1String("Typ_svetliku_enum"))
        w.chooseSkylightType(SkylightType(intOf(v, key, 0, SkylightTypeCount - 1)));
    else if (key == QLatin1String("Oblast_text")) {
        if (!v.isString())
            throw Refused(formatText(LanguageText(3007), {QStringLiteral("Oblast_text")}));
        w.chooseRegion(v.toString());
    } else if (key == QLatin1String("Provoz_dny_tyden"))
        w.chooseDays(intOf(v, key, 1, 7));
    else if (key == QLatin1String("Provoz_hodiny_den"))
        w.chooseHours(intOf(v, key, 1, 24));
    else if (key == QLatin1String("Druh_paliva_enum"))
        w.chooseFuel(Fuel(intOf(v, key, 0, FuelCount - 1)));
    else if (key == QLatin1String("Cena_enum"))
        w.choosePriceUnit(PriceUnit(intOf(v, key, 0, PriceUnitCount - 1)));
    else if (key == QLatin1String("Ucinnost_regulace_enum"))
        w.chooseControlMethod(ControlMethod(intOf(v, key, 0, ControlMethodCount - 1)));
    else if (key == QLatin1String("Vytapeni_bool"))
        w.setHeating(boolOf(v, key));
    else if (key == QLatin1String("Vetrani_bool"))
        w.setVentilation(boolOf(v, key));
    else if (key == QLatin1String("PouziteJednotky")) {
        const int bits = intOf(v, key, 0, 7);
        for (const int family : UnitFamilies) {
            const bool on = bits & family;
            if (bool(w.state().families & family) != on)
                w.setFamily(UnitFamily(family), on);
        }
    } else if (key == QLatin1String("Tepelne_ztraty_enum"))
        w.chooseLossWay(LossWay(intOf(v, key, 0, 2)));
    else if (key == QLatin1String("Tepelne_ztraty_priblizne_enum"))
        // The fourth class is never offered.
        w.chooseCladding(CladdingClass(intOf(v, key, 0, 2)));
    else if (key == QLatin1String("n_enum"))
        w.chooseInfiltration(InfiltrationClass(intOf(v, key, 0, InfiltrationClassCount - 1)));
    else if (key == QLatin1String("Trida_prace_enum"))
        w.chooseWorkClass(intOf(v, key, 0, WorkClassCount - 1));
    else if (key == QLatin1String("Poloha_cloveka_enum"))
        w.choosePosture(Posture(intOf(v, key, 0, PostureCount - 1)));
}

// A value the wizard refuses with an error box (a negative height of an
// opening set back to 0) refuses the design: the box has said why. The
// geometry's boxes while the project's values are typed (an arc too high for
// a width typed before its height) are no refusal: the wizard goes on.
class RefusedValues {
public:
    explicit RefusedValues(const AnsweringDialogs& dialogs)
        : dialogs_(dialogs), seen_(dialogs.errorBoxes()) {}
    void check() const {
        if (dialogs_.errorBoxes() != seen_)
            throw Refused(QString());
    }

private:
    const AnsweringDialogs& dialogs_;
    int seen_;
};

void typeInto(Dataset& ds, const QString& column, const QJsonValue& v,
              const RefusedValues& refused) {
    try {
        // A Text column's cell is one line, as in the grid.
        const bool oneLine = v.isString() && ds.isTextField(column);
        ds.setValue(column, oneLine ? QVariant(oneLineText(v.toString())) : scalar(v));
        ds.post();
    } catch (const DbError& e) {
        ds.cancel();
        throw Refused(e.message());
    }
    refused.check();
}

// Makes the surface record of the variant and number current among the visible
// ones; false when the design's roof and skylight choices do not show it.
bool findVisibleSurface(Dataset& w, const QString& variant, int number) {
    for (w.first(); !w.eof(); w.next())
        if (w.asString(QStringLiteral("VariantaHaly")) == variant &&
            w.asInteger(QStringLiteral("CisloSteny")) == number)
            return true;
    return false;
}

// The figures of the throw zones as the tool prints them: areas and the share
// to the hundredth, the angles and throws as stored.
QByteArray coverageJson(const CoverageFigures& f) {
    auto fixed = [](double v) { return QByteArray::number(v, 'f', 2); };
    QByteArray out = "{\n";
    out += "  \"floor_area\": " + fixed(f.floorArea) + ",\n";
    out += "  \"covered_area\": " + fixed(f.coveredArea) + ",\n";
    out += "  \"covered_percent\": " + fixed(f.coveredPercent) + ",\n";
    out += "  \"spread_deg\": " + jsonDouble(f.spreadDeg) + ",\n";
    out += "  \"units\": [";
    for (size_t i = 0; i < f.units.size(); ++i) {
        const CoverageFigures::Unit& u = f.units[i];
        out += i ? ",\n" : "\n";
        out += "    { \"IDJednotky\": " + QByteArray::number(u.id) +
               ", \"throw\": " + jsonDouble(u.throwM) + ", \"zone_area\": " + fixed(u.zoneArea) +
               " }";
    }
    out += f.units.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

} // namespace

// --- operations on a project file ----------------------------------------------------

bool ProjectSession::openForOperation(const QString& file) {
    return openFile(QFileInfo(file).absoluteFilePath()) == ResultOk;
}

void ProjectSession::revertAndClose() {
    // What the operation or the opening wrote (the wizard refreshes a few
    // stored texts) goes back to the state the file was opened in.
    files_.RevertFromBackup(false);
    if (!files_.CurrentFile.isEmpty())
        files_.CloseProject(true);
}

bool ProjectSession::newProjectFile(const QString& file) {
    if (commandNew() != ResultOk)
        return false;
    const bool saved = files_.SaveProjectAs(QFileInfo(file).absoluteFilePath()) == ResultOk;
    units_.history.projectSaved();
    if (!files_.CurrentFile.isEmpty())
        files_.CloseProject(true);
    return saved;
}

bool ProjectSession::applyDesign(const QString& file, const Design& design) {
    const QString path = QFileInfo(file).absoluteFilePath();
    if (!openForOperation(path))
        return false;
    auto refuse = [&] {
        revertAndClose();
        return false;
    };
    try {
        // The whole design is one operation: after a failure or a kill the file
        // holds the state before it.
        Database::Transaction transaction(data_.projectConnection());
        // Picking a material does not add openings: the design gives them.
        AnsweringDialogs answers(IdNo);
        resetSingleOverflows();
        openWizard();
        const QJsonObject& values = design.project;
        for (const QString& c : designChoiceKeys()) {
            if (!values.contains(c))
                continue;
            try {
                applyChoice(wizard_, c, values.value(c));
            } catch (const DbError& e) {
                // A text the field cannot hold: the data layer's message.
                throw Refused(e.message());
            }
        }
        // Every other key in the column order of the project record.
        for (const Dataset::Field& field : data_.tADOProject.fields()) {
            if (!values.contains(field.name) || designChoiceKeys().contains(field.name))
                continue;
            if (field.name == DesignDateKey) {
                wizard_.setDate(designDate(values.value(field.name)));
                continue;
            }
            const WizardEdit* e = wizardEditOfField(field.name);
            if (!e)
                throw Refused(formatText(LanguageText(3114), {field.name}));
            QString why;
            if (!wizard_.enterEdit(QLatin1String(e->name), scalar(values.value(field.name)), &why))
                throw Refused(why);
        }
        const RefusedValues refused(answers);
        Dataset& w = data_.tSteny;
        Dataset& o = data_.tStavOtvory;
        for (const DesignWall& e : design.walls) {
            if (!findVisibleSurface(w, e.variant, e.number))
                throw Refused(formatText(LanguageText(3127), {e.variant, e.number}));
            for (const char* c : {"Material", "k", "Ti", "Te"})
                if (e.values.contains(QLatin1String(c)))
                    typeInto(w, QLatin1String(c), e.values.value(QLatin1String(c)), refused);
            if (e.openings) {
                o.refresh();
                while (!o.isEmpty())
                    o.deleteRecord();
                for (const QJsonObject& op : *e.openings) {
                    wizard_.constructions.newOpening();
                    for (const char* c : {"Nazev", "k", "Vyska", "Sirka", "Pocet", "Ti", "Te"})
                        if (op.contains(QLatin1String(c)))
                            typeInto(o, QLatin1String(c), op.value(QLatin1String(c)), refused);
                }
            }
        }
        // Through the pages as a user finishing the wizard would.
        wizard_.setPage(tsUvodniText);
        while (wizard_.activePage() != tsZaver) {
            const int before = wizard_.activePage();
            wizard_.next();
            if (wizard_.activePage() == before)
                break;
        }
        if (!finishWizard(true))
            return refuse();
        transaction.commit();
    } catch (const Refused& r) {
        if (!r.why.isEmpty())
            ShowMessageBox(r.why, caption(), MbError);
        return refuse();
    } catch (const DbError& e) {
        reportFailedOperation(path, e.message());
        return refuse();
    } catch (const std::exception& e) {
        reportFailedOperation(path, QString::fromLocal8Bit(e.what()));
        return refuse();
    }
    if (commandSave() != ResultOk)
        return refuse();
    files_.CloseProject(true);
    return true;
}

bool ProjectSession::applyUnits(const QString& file, const UnitsInput& in) {
    const QString path = QFileInfo(file).absoluteFilePath();
    if (!openForOperation(path))
        return false;
    // From here every refusal copies the backup of the opening back, so the file
    // is left as it was.
    auto refuse = [&](const QString& reason) {
        if (!reason.isEmpty())
            ShowMessageBox(reason, caption(), MbError);
        revertAndClose();
        return false;
    };
    try {
        Database::Transaction transaction(data_.projectConnection());
        Dataset& types = data_.tResults;
        for (const auto& [id, n] : in.counts) {
            if (!types.locate(QStringLiteral("ID"), id))
                return refuse(formatText(LanguageText(3159), {in.source, id}));
        }
        for (const auto& [id, n] : in.counts)
            if (!chooseUnitCount(id, n))
                return refuse(QString()); // the operation's own message says why
        if (in.variant)
            setPlacementVariant(*in.variant);
        setTowardsLongerSide(in.longerSide);
        if (in.unitHeight)
            setPlacementHeight(QStringLiteral("Vyska_jednotek"), *in.unitHeight);
        if (in.destratifierHeight)
            setPlacementHeight(QStringLiteral("Vyska_destrat"), *in.destratifierHeight);
        if (in.place) {
            // The placement's questions (replace the units placed, more units
            // than the hall takes) are answered Yes.
            AnsweringDialogs answers(IdYes);
            if (placeUnits() != PlaceResult::Placed)
                return refuse(QString()); // the placement's own message says why
        }
        transaction.commit();
    } catch (const DbError& e) {
        reportFailedOperation(path, e.message());
        return refuse(QString());
    } catch (const std::exception& e) {
        reportFailedOperation(path, QString::fromLocal8Bit(e.what()));
        return refuse(QString());
    }
    if (commandSave() != ResultOk)
        return refuse(QString());
    files_.CloseProject(true);
    return true;
}

bool ProjectSession::exportProject(const QString& file, QByteArray* json) {
    // The tables as stored: the file is opened without loading it into the
    // wizard and the plan, which would refresh values on their way.
    files_.setHooks(nullptr);
    struct Rehook {
        ProjectSession& s;
        ~Rehook() { s.files_.setHooks(&s); }
    } rehook{*this};
    if (files_.OpenProject(QFileInfo(file).absoluteFilePath()) != ResultOk) {
        if (!files_.CurrentFile.isEmpty())
            files_.CloseProject(true);
        return false;
    }
    bool ok = true;
    try {
        *json = exportProjectJson(data_.projectConnection());
    } catch (const DbError& e) {
        ShowMessageBox(e.message(), caption(), MbError);
        ok = false;
    }
    files_.CloseProject(true);
    return ok;
}

bool ProjectSession::writeReport(const QString& file, ReportKind kind, const QString& out) {
    if (!openForOperation(file))
        return false;
    bool ok = false;
    if (refuseProjectAsOutput(out)) {
        revertAndClose();
        return false;
    }
    try {
        const QString target = QFileInfo(out).absoluteFilePath();
        // The plan picture has one fixed name in the temporary folder; reports
        // made side by side (runs of the tool) each get a folder of their own.
        QTemporaryDir own;
        const QString temp = TempPath;
        if (own.isValid())
            TempPath = withTrailingSlash(own.path());
        const ReportRunResult r = runReport(kind, target);
        TempPath = temp;
        ok = r.ok;
    } catch (const DbError& e) {
        ShowMessageBox(e.message(), caption(), MbError);
    }
    // A report changes nothing of the project.
    revertAndClose();
    return ok;
}

bool ProjectSession::coverageReport(const QString& file, double spreadDeg, QByteArray* json) {
    if (!isValidThrowSpread(spreadDeg)) {
        ShowMessageBox(
            formatText(LanguageText(3546), {QString::number(spreadDeg, 'g', 6), MaxThrowSpreadDeg}),
            caption(), MbError);
        return false;
    }
    if (!openForOperation(file))
        return false;
    bool ok = false;
    try {
        *json = coverageJson(projectThrowCoverage(data_, units_.plan, spreadDeg));
        ok = true;
    } catch (const DbError& e) {
        ShowMessageBox(e.message(), caption(), MbError);
    }
    revertAndClose();
    return ok;
}

bool ProjectSession::writePlanDxf(const QString& file, const QString& out) {
    if (!openForOperation(file))
        return false;
    const bool ok = exportToFile(true, out);
    revertAndClose();
    return ok;
}

bool ProjectSession::writeWorkbook(const QString& file, const QString& out) {
    if (!openForOperation(file))
        return false;
    const bool ok = exportToFile(false, out);
    revertAndClose();
    return ok;
}

// --- the exports of the open project ---------------------------------------------------

bool ProjectSession::refuseProjectAsOutput(const QString& out, int message) {
    const QString target = QFileInfo(out).absoluteFilePath();
    for (const QString& own : {files_.CurrentFile, files_.BackupFile}) {
        if (!own.isEmpty() &&
            (sameFile(own, target) || QFileInfo(own).absoluteFilePath() == target)) {
            ShowMessageBox(formatText(LanguageText(message), {QDir::toNativeSeparators(target)}),
                           caption(), MbError);
            return true;
        }
    }
    return false;
}

bool ProjectSession::refusesOutput(const QString& file) {
    return refuseProjectAsOutput(file, 3555);
}

bool ProjectSession::exportToFile(bool drawing, const QString& out) {
    // An output over the project would replace the file the project lives in.
    if (refuseProjectAsOutput(out))
        return false;
    // The file shows what the windows show: pending edits and the plan's moves
    // go to the project first, as one operation.
    if (data_.projectConnected() &&
        !runOperation(data_.projectConnection(), [this] { files_.PostPendingEdits(); }))
        return false;
    BusyCursor busy;
    const QString target = QFileInfo(out).absoluteFilePath();
    return drawing ? exportPlanDxf(data_, LanguageBase, target, throwSpread())
                   : exportProjectWorkbook(data_, LanguageBase, target);
}

bool ProjectSession::exportPlan(const QString& out) {
    return exportToFile(true, out);
}

bool ProjectSession::exportWorkbook(const QString& out) {
    return exportToFile(false, out);
}

bool ProjectSession::commandExport(bool drawing) {
    if (!data_.projectConnected())
        return false;
    SaveDialogOptions o;
    o.title = LanguageText(drawing ? 3551 : 3553);
    o.filter = LanguageText(drawing ? 3552 : 3554);
    o.defaultSuffix = drawing ? QStringLiteral("dxf") : QStringLiteral("xlsx");
    // The folder of the last export, else the project's; the file named after
    // the project.
    const QString folder = !exportFolder_.isEmpty() ? exportFolder_
                           : !files_.CurrentFile.isEmpty()
                               ? QFileInfo(files_.CurrentFile).absolutePath()
                               : files_.LastFolder;
    const QString base =
        files_.CurrentFile.isEmpty() || ProjectFiles::IsTempProjectFile(files_.CurrentFile)
            ? QString()
            : QFileInfo(files_.CurrentFile).completeBaseName();
    o.initialFolder = base.isEmpty() || folder.isEmpty()
                          ? folder
                          : QDir(folder).filePath(base + QLatin1Char('.') + o.defaultSuffix);
    o.promptOverwrite = true;
    const QString file = dialogs().saveFileName(o);
    if (file.isEmpty())
        return false;
    if (!exportToFile(drawing, file))
        return false;
    exportFolder_ = withTrailingSlash(QFileInfo(file).absolutePath());
    writeSettings();
    return true;
}

bool ProjectSession::commandExportPlan() {
    return commandExport(true);
}

bool ProjectSession::commandExportWorkbook() {
    return commandExport(false);
}

} // namespace zf

#include "cmd_input.h"

#include "storage/operation.h"

#include "clidialogs.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "session/projectsession.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zf {

int commandNewProject(ProjectSession& s, const QString& file) {
    if (s.commandNew() != ResultOk)
        return 1;
    return s.files.SaveProjectAs(QFileInfo(file).absoluteFilePath()) == ResultOk ? 0 : 1;
}

namespace {

class Refused {
public:
    explicit Refused(QString why) : why(std::move(why)) {}
    QString why;
};

void refuseUnknownKeys(const QJsonObject& o, const QStringList& known, const char* what) {
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!known.contains(it.key()))
            throw Refused(
                QStringLiteral("Unknown key %1 of %2.").arg(it.key(), QLatin1String(what)));
}

int intOf(const QJsonValue& v, const QString& key, int lo, int hi) {
    if (!v.isDouble() || v.toDouble() != std::floor(v.toDouble()) || v.toDouble() < lo ||
        v.toDouble() > hi)
        throw Refused(QStringLiteral("%1: %2 is not one of %3 to %4.")
                          .arg(key, v.isString() ? v.toString() : v.toVariant().toString())
                          .arg(lo)
                          .arg(hi));
    return v.toInt();
}

bool boolOf(const QJsonValue& v, const QString& key) {
    if (!v.isBool())
        throw Refused(QStringLiteral("%1 takes true or false.").arg(key));
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
            throw Refused(QStringLiteral("Oblast_text takes a text."));
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

const char* const choiceOrder[] = {"Typ_strechy_enum",
                                   "Typ_svetliku_enum",
                                   "Oblast_text",
                                   "Provoz_dny_tyden",
                                   "Provoz_hodiny_den",
                                   "Druh_paliva_enum",
                                   "Cena_enum",
                                   "Ucinnost_regulace_enum",
                                   "Vytapeni_bool",
                                   "Vetrani_bool",
                                   "PouziteJednotky",
                                   "Tepelne_ztraty_enum",
                                   "Tepelne_ztraty_priblizne_enum",
                                   "n_enum",
                                   "Trida_prace_enum",
                                   "Poloha_cloveka_enum"};

void typeInto(Dataset& ds, const QString& column, const QJsonValue& v) {
    try {
        ds.setValue(column, scalar(v));
        ds.post();
    } catch (const DbError& e) {
        ds.cancel();
        throw Refused(e.message());
    }
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

void applyWalls(ProjectSession& s, CliDialogs& dialogs, const QJsonArray& walls) {
    Dataset& w = s.data.tSteny;
    Dataset& o = s.data.tStavOtvory;
    for (const QJsonValue& entry : walls) {
        const QJsonObject e = entry.toObject();
        const QString variant = e.value(QStringLiteral("VariantaHaly")).toString();
        const int number = e.value(QStringLiteral("CisloSteny")).toInt(-1);
        if (!findVisibleSurface(w, variant, number))
            throw Refused(QStringLiteral("The design has no visible surface %1 %2.")
                              .arg(variant)
                              .arg(number));
        refuseUnknownKeys(e,
                          {"VariantaHaly", "CisloSteny", "Material", "k", "Ti", "Te", "openings"},
                          "a surface");
        // Picking a material answers No to the openings question.
        dialogs.answerYesNo = IdNo;
        if (e.contains(QStringLiteral("Material"))) {
            if (!e.value(QStringLiteral("Material")).isString())
                throw Refused(QStringLiteral("Material takes a text."));
            typeInto(w, QStringLiteral("Material"), e.value(QStringLiteral("Material")));
        }
        for (const char* c : {"k", "Ti", "Te"})
            if (e.contains(QLatin1String(c))) {
                if (!e.value(QLatin1String(c)).isDouble())
                    throw Refused(
                        QStringLiteral("%1 of a surface takes a number.").arg(QLatin1String(c)));
                typeInto(w, QLatin1String(c), e.value(QLatin1String(c)));
            }
        if (e.contains(QStringLiteral("openings"))) {
            o.refresh();
            while (!o.isEmpty())
                o.deleteRecord();
            for (const QJsonValue& ov : e.value(QStringLiteral("openings")).toArray()) {
                const QJsonObject op = ov.toObject();
                s.wizard.constructions.newOpening();
                for (const char* c : {"Nazev", "k", "Vyska", "Sirka", "Pocet", "Ti", "Te"}) {
                    if (!op.contains(QLatin1String(c)))
                        continue;
                    const bool text = QLatin1String(c) == QLatin1String("Nazev");
                    if (text != op.value(QLatin1String(c)).isString())
                        throw Refused(QStringLiteral("%1 of an opening takes %2.")
                                          .arg(QLatin1String(c), text
                                                                     ? QStringLiteral("a text")
                                                                     : QStringLiteral("a number")));
                    typeInto(o, QLatin1String(c), op.value(QLatin1String(c)));
                }
                refuseUnknownKeys(op, {"Nazev", "k", "Vyska", "Sirka", "Pocet", "Ti", "Te"},
                                  "an opening");
            }
        }
    }
}

} // namespace

int commandInput(ProjectSession& s, CliDialogs& dialogs, const QString& file,
                 const QString& designJson) {
    QFile f(designJson);
    if (!f.open(QIODevice::ReadOnly)) {
        ShowMessageBox(QStringLiteral("Cannot read %1: %2").arg(designJson, f.errorString()),
                       QString::fromLatin1(ProductName), MbError);
        return 1;
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        ShowMessageBox(QStringLiteral("%1 is not a design: %2").arg(designJson, pe.errorString()),
                       QString::fromLatin1(ProductName), MbError);
        return 1;
    }
    if (s.openFile(QFileInfo(file).absoluteFilePath()) != ResultOk)
        return 1;
    InputWizard& w = s.wizard;
    const QJsonObject root = doc.object();
    auto revert = [&] {
        // Nothing of a refused design stays in the file.
        s.files.RevertFromBackup(false);
        return 1;
    };
    try {
        // The whole design is one operation: after a failure or a kill the file
        // holds the state before it.
        Database::Transaction transaction(s.data.ADOConnectionProject);
        s.openWizard();
        refuseUnknownKeys(root, {"project", "walls"}, "the design");
        const QJsonObject project = root.value(QStringLiteral("project")).toObject();
        QStringList choices;
        for (const char* c : choiceOrder) {
            choices << QLatin1String(c);
            if (project.contains(QLatin1String(c)))
                applyChoice(w, QLatin1String(c), project.value(QLatin1String(c)));
        }
        for (auto it = project.begin(); it != project.end(); ++it)
            if (!choices.contains(it.key()) && !wizardEditOfField(it.key()))
                throw Refused(
                    QStringLiteral("%1 is not a column the input wizard edits.").arg(it.key()));
        // Every other key in the column order of the project record.
        for (const Dataset::Field& field : s.data.tADOProject.fields()) {
            if (!project.contains(field.name) || choices.contains(field.name))
                continue;
            const WizardEdit* e = wizardEditOfField(field.name);
            QString error;
            if (!w.enterEdit(QLatin1String(e->name), scalar(project.value(field.name)), &error))
                throw Refused(error);
        }
        applyWalls(s, dialogs, root.value(QStringLiteral("walls")).toArray());
        // Through the pages as a user finishing the wizard would.
        w.setPage(tsUvodniText);
        while (w.activePage() != tsZaver) {
            const int before = w.activePage();
            w.next();
            if (w.activePage() == before)
                break;
        }
        if (!s.finishWizard(true))
            return revert();
        transaction.commit();
    } catch (const Refused& r) {
        ShowMessageBox(r.why, QString::fromLatin1(ProductName), MbError);
        return revert();
    } catch (const DbError& e) {
        reportFailedOperation(QFileInfo(file).absoluteFilePath(), e.message());
        return revert();
    }
    return s.commandSave() == ResultOk ? 0 : 1;
}

} // namespace zf

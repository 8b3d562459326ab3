#include "cmd_input.h"

#include "storage/operation.h"

#include "building/buildingmodel.h"
#include "clidialogs.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "design.h"
#include "i18n/texts.h"
#include "session/projectsession.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cfloat>
#include <cmath>

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
    explicit RefusedValues(const CliDialogs& dialogs) : dialogs_(dialogs) {}
    void check() {
        if (dialogs_.errorBoxes != seen_)
            throw Refused(QString());
    }

private:
    const CliDialogs& dialogs_;
    int seen_ = dialogs_.errorBoxes;
};

void typeInto(Dataset& ds, const QString& column, const QJsonValue& v, RefusedValues& refused) {
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

void applyWalls(ProjectSession& s, CliDialogs& dialogs, const std::vector<DesignWall>& walls,
                RefusedValues& refused) {
    Dataset& w = s.data.tSteny;
    Dataset& o = s.data.tStavOtvory;
    for (const DesignWall& e : walls) {
        if (!findVisibleSurface(w, e.variant, e.number))
            throw Refused(formatText(LanguageText(3127), {e.variant, e.number}));
        // Picking a material answers No to the openings question.
        dialogs.answerYesNo = IdNo;
        for (const char* c : {"Material", "k", "Ti", "Te"})
            if (e.values.contains(QLatin1String(c)))
                typeInto(w, QLatin1String(c), e.values.value(QLatin1String(c)), refused);
        if (e.openings) {
            o.refresh();
            while (!o.isEmpty())
                o.deleteRecord();
            for (const QJsonObject& op : *e.openings) {
                s.wizard.constructions.newOpening();
                for (const char* c : {"Nazev", "k", "Vyska", "Sirka", "Pocet", "Ti", "Te"})
                    if (op.contains(QLatin1String(c)))
                        typeInto(o, QLatin1String(c), op.value(QLatin1String(c)), refused);
            }
        }
    }
}

} // namespace

int commandInput(ProjectSession& s, CliDialogs& dialogs, const QString& file,
                 const QString& designJson) {
    QByteArray bytes;
    QString error;
    Design design;
    if (!readInputFile(designJson, &bytes, &error)) {
        ShowMessageBox(error, QString::fromLatin1(ProductName), MbError);
        return 1;
    }
    if (!parseDesign(bytes, &design, &error)) {
        ShowMessageBox(formatText(LanguageText(3128), {designJson, error}),
                       QString::fromLatin1(ProductName), MbError);
        return 1;
    }
    const QString path = QFileInfo(file).absoluteFilePath();
    if (s.openFile(path) != ResultOk)
        return 1;
    InputWizard& w = s.wizard;
    auto revert = [&] {
        // Nothing of a refused design stays in the file.
        s.files.RevertFromBackup(false);
        return 1;
    };
    try {
        // The whole design is one operation: after a failure or a kill the file
        // holds the state before it.
        Database::Transaction transaction(s.data.ADOConnectionProject);
        resetSingleOverflows();
        s.openWizard();
        const QJsonObject& project = design.project;
        for (const QString& c : designChoiceKeys()) {
            if (!project.contains(c))
                continue;
            try {
                applyChoice(w, c, project.value(c));
            } catch (const DbError& e) {
                // A text the field cannot hold: the data layer's message.
                throw Refused(e.message());
            }
        }
        // Every other key in the column order of the project record.
        for (const Dataset::Field& field : s.data.tADOProject.fields()) {
            if (!project.contains(field.name) || designChoiceKeys().contains(field.name))
                continue;
            if (field.name == DesignDateKey) {
                w.setDate(designDate(project.value(field.name)));
                continue;
            }
            const WizardEdit* e = wizardEditOfField(field.name);
            if (!e)
                throw Refused(formatText(LanguageText(3114), {field.name}));
            QString why;
            if (!w.enterEdit(QLatin1String(e->name), scalar(project.value(field.name)), &why))
                throw Refused(why);
        }
        RefusedValues refused(dialogs);
        applyWalls(s, dialogs, design.walls, refused);
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
        if (!r.why.isEmpty())
            ShowMessageBox(r.why, QString::fromLatin1(ProductName), MbError);
        return revert();
    } catch (const DbError& e) {
        reportFailedOperation(path, e.message());
        return revert();
    } catch (const std::exception& e) {
        reportFailedOperation(path, QString::fromLocal8Bit(e.what()));
        return revert();
    }
    if (s.commandSave() != ResultOk)
        return revert();
    return 0;
}

} // namespace zf

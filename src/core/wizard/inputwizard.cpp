#include "wizard/inputwizard.h"

#include "building/operatingcosts.h"
#include "building/requiredoutputs.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "units/unittypes.h"

#include <cmath>

namespace zf {

namespace {

const char* const pageNames[] = {"tsUvodniText",         "tsOtopneObdobi",     "tsProvozniRezim",
                                 "tsRozmeryHaly",        "tsRozmerySvetliku",  "tsTepelneZtraty",
                                 "tsStavebniKonstrukce", "tsPracovniPodminky", "tsZaver"};

QString caption() {
    return QString::fromLatin1(ProductName);
}

QStringList texts(int first, int last) {
    QStringList out;
    for (int id = first; id <= last; ++id)
        out << LanguageText(id);
    return out;
}

// Cladding classes: specific loss above 15000 m3 and the polynomial below.
struct Cladding {
    float specific;
    float a, b, c;
};
const Cladding claddings[4] = {{15, 1e-9f, 3e-5f, 0.5538f},
                               {19, 2e-9f, 5e-5f, 0.9363f},
                               {23, 3e-9f, 9e-5f, 1.8424f},
                               {28, 0, 0, 0}};

const double infiltrationRates[5] = {0.5, 0.8, 1.2, 2.0, 0.0};

} // namespace

QString wizardPageName(int page) {
    return page >= 0 && page < WizardPageCount ? QString::fromLatin1(pageNames[page]) : QString();
}

int wizardPageOfName(const QString& name) {
    for (int i = 0; i < WizardPageCount; ++i)
        if (name == QLatin1String(pageNames[i]))
            return i;
    return -1;
}

const std::vector<WizardEdit>& wizardEdits() {
    static const std::vector<WizardEdit> edits = {
        {"DBEd_ProjectName", "ProjectName_text", 0, 1, tsUvodniText},
        {"DBmemo_ProjectDesc", "ProjectDesc_memo", 0, 1, tsUvodniText},
        {"DBed_Investor", "Investor_text", 0, 1, tsUvodniText},
        {"DBed_Person", "Vypracoval_text", 0, 1, tsUvodniText},
        {"DBmemo_Address", "Address_memo", 0, 1, tsUvodniText},
        {"DBEd_Phone", "Phone", 0, 1, tsUvodniText},
        {"DBEd_Fax", "Fax", 0, 1, tsUvodniText},
        {"DBEd_Email", "Email", 0, 1, tsUvodniText},
        {"DBEd_OtopneObdobi", "Pocet_dnu_otop_obd", 3, 1, tsOtopneObdobi},
        {"DBEd_Tes", "Tes", 1, 1, tsOtopneObdobi},
        {"DBEd_Te", "Te", 1, 2, tsOtopneObdobi},
        {"DBEd_Tzeme", "Tzeme", 1, 2, tsOtopneObdobi},
        {"DBEd_Ti", "Ti", 1, 2, tsOtopneObdobi},
        {"DBEd_Ttlumena", "Ttlumena", 1, 2, tsOtopneObdobi},
        {"DBEd_CZK_m3", "Cena_Kc_m3", 2, 1, tsOtopneObdobi},
        {"DBEd_CZK_kWh", "Cena_Kc_kWh", 2, 1, tsOtopneObdobi},
        {"DBEd_CZK_kg", "Cena_Kc_kg", 2, 1, tsOtopneObdobi},
        {"DBEd_Ucinnost_regulace", "Ucinnost_regulace", 1, 1, tsOtopneObdobi},
        {"DBEd_Technologie", "TZ_technologie", 1, 1, tsOtopneObdobi},
        {"DBEd_Vyt_system", "TZ_vytapeci_system", 1, 1, tsOtopneObdobi},
        {"DBEd_Ostatni", "TZ_ostatni", 1, 1, tsOtopneObdobi},
        {"DBEd_Vcz", "Vc_zima", 1, 1, tsProvozniRezim},
        {"DBEd_Vcl", "Vc_leto", 1, 1, tsProvozniRezim},
        {"DBEd_Rekuperace", "Rekuperace", 1, 1, tsProvozniRezim},
        {"DBEd_A", "Stena_A", 1, 0, tsRozmeryHaly},
        {"DBEd_B", "Stena_B", 1, 0, tsRozmeryHaly},
        {"DBEd_H1", "Stena_H1", 1, 0, tsRozmeryHaly},
        {"DBEd_H2", "Stena_H2", 1, 0, tsRozmeryHaly},
        {"DBEd_svA", "Svetlik_A", 1, 0, tsRozmerySvetliku},
        {"DBEd_svB", "Svetlik_B", 1, 0, tsRozmerySvetliku},
        {"DBEd_svH1", "Svetlik_H1", 1, 0, tsRozmerySvetliku},
        {"DBEd_svH2", "Svetlik_H2", 1, 0, tsRozmerySvetliku},
        {"DBEd_Q_kW", "Q_kW", 1, 1, tsTepelneZtraty},
        {"DBEd_n", "n", 1, 3, tsStavebniKonstrukce},
        {"DBEdZaver_text", "Zaver_text", 0, 1, tsZaver},
        {"DBmemo_Zaver", "Zaver_memo", 0, 1, tsZaver},
        {"DBEdit1", "Vypracoval_text", 0, 1, tsZaver},
    };
    return edits;
}

const WizardEdit* wizardEditOfField(const QString& field) {
    for (const WizardEdit& e : wizardEdits())
        if (field.compare(QLatin1String(e.field), Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

const WizardEdit* wizardEdit(const QString& name) {
    for (const WizardEdit& e : wizardEdits())
        if (name == QLatin1String(e.name))
            return &e;
    return nullptr;
}

InputWizard::InputWizard(TZFData& data, ProjectFiles& files, TProject& project)
    : building(data, project), data_(data), files_(files), project_(project) {
    building.roofTypeChoice = [this] { return roofType; };
    building.skylightTypeChoice = [this] { return skylightType; };
    data_.hooks.wizardVisible = [this] { return visible; };
    data_.hooks.askForOpenings = [this] { AskForOpenings(); };
    if (!data_.hooks.updateCoverage)
        data_.hooks.updateCoverage = [this] { UpdateCoverage(data_); };
    nextCaption = LanguageText(155);
}

QStringList InputWizard::roofTypeCaptions() {
    return texts(703, 706);
}
QStringList InputWizard::skylightTypeCaptions() {
    return texts(753, 757);
}
QStringList InputWizard::fuelCaptions() {
    return texts(570, 572);
}
QStringList InputWizard::controlMethodCaptions() {
    return texts(671, 676);
}
QStringList InputWizard::infiltrationCaptions() {
    return texts(851, 855);
}
QStringList InputWizard::postureCaptions() {
    return texts(960, 961);
}
QStringList InputWizard::workClasses() {
    return {QStringLiteral("---"), QStringLiteral("I"),    QStringLiteral("IIa"),
            QStringLiteral("IIb"), QStringLiteral("IIIa"), QStringLiteral("IIIb"),
            QStringLiteral("IVa"), QStringLiteral("IVb"),  QStringLiteral("V")};
}

void InputWizard::postProject() {
    Dataset& p = data_.tADOProject;
    if (p.state() == Dataset::State::Edit || p.state() == Dataset::State::Insert)
        p.post();
}

// A stored index that is valid selects its item; any other selects the fallback,
// which is written back.
void InputWizard::restoreIndex(const char* field, int& target, int count, int fallback) {
    const int v = data_.tADOProject.asInteger(QLatin1String(field));
    if (v >= 0 && v < count) {
        target = v;
        return;
    }
    target = fallback;
    data_.tADOProject.setValue(QLatin1String(field), fallback);
    data_.tADOProject.post();
}

// --- loading -----------------------------------------------------------------

void InputWizard::LoadProjectIntoWizard(bool newProject) {
    Dataset& p = data_.tADOProject;
    p.first();
    activePage = tsUvodniText;
    pageChange();
    FillRegionList();
    regionText = p.asString(QStringLiteral("Oblast_text"));

    // Fuel, price unit, control method, modes, families.
    restoreIndex("Druh_paliva_enum", fuel, 3, 0);
    const int price = p.asInteger(QStringLiteral("Cena_enum"));
    priceUnit = (price >= 0 && price <= 2) ? price : 1;
    restoreIndex("Ucinnost_regulace_enum", controlMethod, 6, 1);
    chooseControlMethod(controlMethod);
    heating = p.asBoolean(QStringLiteral("Vytapeni_bool"));
    ventilation = p.asBoolean(QStringLiteral("Vetrani_bool"));
    cooling = false;
    const int fam = p.asInteger(QStringLiteral("PouziteJednotky"));
    for (int i = 0; i < 3; ++i)
        families[i] = (fam >> i) & 1;

    if (newProject)
        building.GenerateWallRecords(-1);
    data_.tSteny.first();

    restoreIndex("Typ_strechy_enum", roofType, 4, 0);
    chooseRoofType(roofType);
    restoreIndex("Typ_svetliku_enum", skylightType, 5, 0);
    chooseSkylightType(skylightType);

    restoreIndex("Tepelne_ztraty_enum", lossWay, 3, 0);
    restoreIndex("Tepelne_ztraty_priblizne_enum", claddingClass, 4, 0);
    chooseLossWay(lossWay);

    restoreIndex("n_enum", infiltration, 5, 0);
    nEditEnabled = infiltration != 4;
    if (newProject)
        chooseInfiltration(infiltration);

    restoreIndex("Trida_prace_enum", workClass, 9, 0);
    chooseWorkClass(workClass);
    restoreIndex("Poloha_cloveka_enum", posture, 2, 0);
    choosePosture(posture);

    if (newProject) {
        LoadCompilerDefaults();
        regionText = regionList.value(0);
        p.setValue(QStringLiteral("Oblast_text"), regionText);
        fuel = 0;
        p.setValue(QStringLiteral("Druh_paliva_enum"), 0);
        p.setValue(QStringLiteral("Druh_paliva_text"), fuelCaptions().value(0));
        datePicker = QDateTime::currentDateTime();
        p.setValue(
            QStringLiteral("Datum_vypracovani"),
            QDateTime(datePicker.date(), datePicker.time().addMSecs(-datePicker.time().msec())));
        p.post();
    } else {
        const QDateTime stored = p.asDateTime(QStringLiteral("Datum_vypracovani"));
        datePicker = stored.isValid() ? stored : QDateTime::currentDateTime();
    }
    if (windows.showVentilationLine)
        windows.showVentilationLine(ventilation);
    building.ReadProjectGeometry();
    ShowLossEstimates(float(p.asFloat(QStringLiteral("Ti")) - p.asFloat(QStringLiteral("Te"))),
                      float(p.asFloat(QStringLiteral("Vtotal"))));
    if (windows.setPlacementVariant)
        windows.setPlacementVariant(p.asInteger(QStringLiteral("Varianta_rozmisteni_enum")));
}

void InputWizard::FillRegionList() {
    regionList.clear();
    regionList << LanguageText(516);
    Dataset& t = data_.tTeploty;
    if (!t.active())
        return;
    const QString column = QStringLiteral("Misto") + LanguageCodeSuffix;
    auto add = [&](const QString& filter) {
        t.setFilter(filter);
        t.setFiltered(true);
        for (t.first(); !t.eof(); t.next())
            regionList << t.asString(column);
    };
    if (LanguageBase == BaseRU || LanguageBase == BaseRU1250)
        add(QStringLiteral("(Location = 'BLR') OR (Location = 'UKR') OR (Location = 'RUS')"));
    add(QStringLiteral("(Location = 'CZ') OR (Location = 'SK') OR (Location = 'PL')"));
    t.setFiltered(false);
}

// --- storing, validation, commit ------------------------------------------------

void InputWizard::StoreWizardChoices() {
    Dataset& p = data_.tADOProject;
    p.edit();
    p.setValue(QStringLiteral("Typ_strechy_enum"), roofType);
    p.setValue(QStringLiteral("Typ_strechy_text"), roofTypeCaptions().value(roofType));
    p.setValue(QStringLiteral("Typ_svetliku_enum"), skylightType);
    p.setValue(QStringLiteral("Typ_svetliku_text"), skylightTypeCaptions().value(skylightType));
    p.setValue(QStringLiteral("Vytapeni_bool"), heating);
    p.setValue(QStringLiteral("Vetrani_bool"), ventilation);
    p.setValue(QStringLiteral("Chlazeni_bool"), cooling);
    p.setValue(QStringLiteral("PouziteJednotky"),
               (families[0] ? 1 : 0) + (families[1] ? 2 : 0) + (families[2] ? 4 : 0));
    p.setValue(QStringLiteral("Druh_paliva_enum"), fuel);
    p.setValue(QStringLiteral("Druh_paliva_text"), fuelCaptions().value(fuel));
    p.setValue(QStringLiteral("Ucinnost_regulace_enum"), controlMethod);
    // The price as its edit shows it, the currency and the unit.
    const char* field = priceUnit == 0   ? "Cena_Kc_m3"
                        : priceUnit == 1 ? "Cena_Kc_kWh"
                                         : "Cena_Kc_kg";
    const char* unit = priceUnit == 0 ? "/m3" : priceUnit == 1 ? "/kWh" : "/kg";
    const QString shown =
        formatFloat(QString::fromLatin1(FloatDisplayFormat), p.asFloat(QLatin1String(field)));
    p.setValue(QStringLiteral("Cena_enum"), priceUnit);
    p.setValue(QStringLiteral("Cena_text"),
               shown + QLatin1Char(' ') + CurrencyName(LanguageBase) + QLatin1String(unit));
    p.setValue(QStringLiteral("Trida_prace_enum"), workClass);
    p.setValue(QStringLiteral("Trida_prace_text"), workClasses().value(workClass));
    p.setValue(QStringLiteral("Trida_prace_memo"), workClassDescription);
    p.setValue(QStringLiteral("Poloha_cloveka_enum"), posture);
    p.setValue(QStringLiteral("Poloha_cloveka_text"), postureCaptions().value(posture));
    p.setValue(QStringLiteral("n_enum"), infiltration);
    p.setValue(QStringLiteral("Tepelne_ztraty_enum"), lossWay);
    p.setValue(QStringLiteral("Tepelne_ztraty_priblizne_enum"),
               claddingClass < 0 ? 0 : claddingClass);
    p.setValue(QStringLiteral("Datum_vypracovani"), datePicker);
    p.post();
}

bool InputWizard::ValidateWizardInput() {
    building.ReadProjectGeometry();
    auto fail = [&](int page, const char* control, int message) {
        setPage(page);
        if (windows.focusControl)
            windows.focusControl(QLatin1String(control));
        ShowMessageBox(LanguageText(message), caption(), MbWarning);
        return true;
    };
    if (!(project_.StenaA > 0))
        return fail(tsRozmeryHaly, "DBEd_A", 5004);
    if (!(project_.StenaB > 0))
        return fail(tsRozmeryHaly, "DBEd_B", 5004);
    if (!(project_.StenaH1 > 0))
        return fail(tsRozmeryHaly, "DBEd_H1", 5004);
    if (!heating && !ventilation && !cooling)
        return fail(tsProvozniRezim, "cbVytapeni", 5005);
    return false;
}

float InputWizard::estimateOfClass(int cls) const {
    if (cls < 0 || cls > 3 || estimateValue[cls].isEmpty())
        return 0;
    // The hidden value is written with the locale's separators.
    bool ok = false;
    const QLocale locale;
    float v = locale.toFloat(estimateValue[cls], &ok);
    if (!ok)
        v = estimateValue[cls].toFloat(&ok);
    return ok ? v : 0;
}

bool InputWizard::CommitWizard(bool openUnitsPage) {
    Dataset& p = data_.tADOProject;
    postProject();
    StoreWizardChoices();
    p.refresh();
    p.first();
    for (Dataset* ds : {&data_.tStavOtvory, &data_.tSteny}) {
        if (ds->state() == Dataset::State::Edit || ds->state() == Dataset::State::Insert)
            ds->post();
        ds->refresh();
    }
    building.ReadProjectGeometry();
    if (ValidateWizardInput())
        return false;

    BusyCursor busy;
    visible = false;
    closeButtonVisible = true;
    if (windows.hideWizard)
        windows.hideWizard();

    // The heat loss by the chosen way.
    float q = 0, qkw = 0, qred = 0, qredkw = 0;
    const float ti = float(p.asFloat(QStringLiteral("Ti")));
    const float te = float(p.asFloat(QStringLiteral("Te")));
    const float tred = float(p.asFloat(QStringLiteral("Ttlumena")));
    const float dT = ti - te;
    const float ratio = dT > 0 ? (tred - te) / dT : 0.0f;
    if (lossWay == 0) {
        q = building.ComputeHeatLosses(false);
        qkw = q / 1000.0f;
        p.refresh();
        qred = float(p.asFloat(QStringLiteral("Q_tlumeny")));
        qredkw = float(p.asFloat(QStringLiteral("Q_tlumeny_kW")));
    } else if (lossWay == 1) {
        q = estimateOfClass(claddingClass);
        qkw = q / 1000.0f;
        qred = q * ratio;
        qredkw = qkw * ratio;
    } else if (lossWay == 2) {
        qkw = float(p.asFloat(QStringLiteral("Q_kW")));
        q = qkw * 1000.0f;
        qred = q * ratio;
        qredkw = qkw * ratio;
    }
    auto finite = [](float v) { return std::isfinite(v) ? double(v) : 0.0; };
    p.setValue(QStringLiteral("Q"), finite(q));
    p.setValue(QStringLiteral("Q_kW"), finite(qkw));
    p.setValue(QStringLiteral("Q_tlumeny"), finite(qred));
    p.setValue(QStringLiteral("Q_tlumeny_kW"), finite(qredkw));
    p.post();

    // The results.
    if (windows.showProjectWindow)
        windows.showProjectWindow();
    RequiredOutputsHooks outputs;
    outputs.buildUnitTypesTable = [this](float heat, float vent) {
        BuildUnitTypesTable(data_, heat, vent);
    };
    outputs.fillCountPickList = [this] { FillCountPickList(data_); };
    CalculateRequiredOutputs(data_, outputs);
    if (windows.showVentilationLine)
        windows.showVentilationLine(p.asBoolean(QStringLiteral("Vetrani_bool")));
    CalculateOperatingCosts(data_);
    data_.tResults.close();
    data_.tResults.open();
    if (files_.NewProject)
        files_.RefreshBackup();
    if (windows.buildResultSummary)
        windows.buildResultSummary();
    if (openUnitsPage && windows.showUnitsPage)
        windows.showUnitsPage();
    if (helpOn)
        ShowMessageBox(LanguageText(2101), caption(), MbInformation);
    return true;
}

void InputWizard::cancel() {
    visible = false;
    closeButtonVisible = true;
    if (windows.hideWizard)
        windows.hideWizard();
    files_.wizardCancelled();
}

void InputWizard::open(const QString& page) {
    const int p = wizardPageOfName(page);
    if (p >= 0)
        setPage(p);
    files_.NewProject = false;
    visible = true;
    pageChange();
}

// --- navigation -----------------------------------------------------------------

void InputWizard::pageChange() {
    int firstVisible = 0;
    while (firstVisible < WizardPageCount && !pageVisible(firstVisible))
        ++firstVisible;
    previousEnabled = activePage != firstVisible;
    nextCaption = LanguageText(activePage == tsZaver ? 156 : 155);
    if (data_.tSteny.active()) {
        if (activePage == tsRozmeryHaly || activePage == tsStavebniKonstrukce)
            data_.tSteny.first();
        else if (activePage == tsRozmerySvetliku)
            data_.tSteny.last();
    }
    if (activePage == tsTepelneZtraty && data_.tADOProject.active()) {
        Dataset& p = data_.tADOProject;
        ShowLossEstimates(float(p.asFloat(QStringLiteral("Ti")) - p.asFloat(QStringLiteral("Te"))),
                          float(p.asFloat(QStringLiteral("Vtotal"))));
    }
    if (windows.pageChanged)
        windows.pageChanged();
}

void InputWizard::setPage(int page) {
    if (page < 0 || page >= WizardPageCount || !pageVisible(page))
        return;
    activePage = page;
    pageChange();
}

void InputWizard::next() {
    if (activePage == tsZaver) {
        CommitWizard(true);
        return;
    }
    int p = activePage + 1;
    while (p < WizardPageCount && !pageVisible(p))
        ++p;
    if (p < WizardPageCount)
        setPage(p);
}

void InputWizard::previous() {
    int p = activePage - 1;
    while (p >= 0 && !pageVisible(p))
        --p;
    if (p >= 0)
        setPage(p);
}

// --- edits ------------------------------------------------------------------------

bool InputWizard::editEnabled(const QString& name) const {
    const QString n = name;
    if (n == QLatin1String("DBEd_Ucinnost_regulace"))
        return efficiencyEnabled;
    if (n == QLatin1String("DBEd_Vcz") || n == QLatin1String("DBEd_Vcl") ||
        n == QLatin1String("DBEd_Rekuperace"))
        return ventilation;
    if (n == QLatin1String("DBEd_CZK_m3"))
        return priceUnit == 0;
    if (n == QLatin1String("DBEd_CZK_kWh"))
        return priceUnit == 1;
    if (n == QLatin1String("DBEd_CZK_kg"))
        return priceUnit == 2;
    if (n == QLatin1String("DBEd_Q_kW"))
        return lossWay == 2;
    if (n == QLatin1String("DBEd_H2"))
        return roofType != 0;
    if (n == QLatin1String("DBEd_svA") || n == QLatin1String("DBEd_svB") ||
        n == QLatin1String("DBEd_svH1"))
        return skylightType != 0;
    if (n == QLatin1String("DBEd_svH2"))
        return skylightType == 2;
    if (n == QLatin1String("DBEd_n"))
        return nEditEnabled && lossWay == 0;
    return wizardEdit(n) != nullptr;
}

EditColour InputWizard::editColour(const QString& name, bool focused) const {
    const WizardEdit* e = wizardEdit(name);
    if (!e)
        return EditColour::Window;
    if (focused)
        return EditColour::Aqua;
    if (e->kind == 0)
        return EditColour::Window;
    if (!editEnabled(name))
        return EditColour::ButtonFace;
    const Dataset& p = data_.tADOProject;
    if (p.isNull(QLatin1String(e->field)) || p.asFloat(QLatin1String(e->field)) == 0.0)
        return EditColour::Red;
    return EditColour::Window;
}

bool InputWizard::enterEdit(const QString& name, const QVariant& value, QString* error) {
    const WizardEdit* e = wizardEdit(name);
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!e)
        return refuse(QStringLiteral("There is no edit %1.").arg(name));
    if (!editEnabled(name))
        return refuse(QStringLiteral("The edit of %1 is disabled for the choices of this design.")
                          .arg(QLatin1String(e->field)));
    QVariant v = value;
    if (e->kind != 0) {
        bool ok = false;
        const double d = value.typeId() == QMetaType::QString
                             ? value.toString().trimmed().toDouble(&ok)
                             : value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return refuse(QStringLiteral("'%1' is not a valid number for %2.")
                              .arg(value.toString(), QLatin1String(e->field)));
        if (e->kind == 3 && d != std::floor(d))
            return refuse(QStringLiteral("'%1' is not a valid integer for %2.")
                              .arg(value.toString(), QLatin1String(e->field)));
        v = d;
    } else if (value.typeId() != QMetaType::QString) {
        return refuse(QStringLiteral("%1 takes a text.").arg(QLatin1String(e->field)));
    }
    try {
        // Leaving an edit whose text did not change writes nothing.
        const QVariant stored = data_.tADOProject.value(QLatin1String(e->field));
        const bool same = e->kind == 0 ? stored.toString() == v.toString()
                                       : (stored.isValid() && !stored.isNull() &&
                                          stored.toDouble() == v.toDouble());
        if (!same) {
            data_.tADOProject.setValue(QLatin1String(e->field), v);
            markModified();
        }
        postProject();
    } catch (const DbError& err) {
        data_.tADOProject.cancel();
        return refuse(err.message());
    }
    if (Modified) {
        switch (e->recompute) {
        case 0:
            building.ComputeHallGeometry();
            break;
        case 2:
            building.ApplyProjectTemperatures();
            break;
        case 3:
            building.ComputeHeatLosses(true);
            break;
        default:
            break;
        }
    }
    return true;
}

// --- choices ------------------------------------------------------------------

void InputWizard::chooseRegion(const QString& text) {
    markModified();
    regionText = text;
    Dataset& p = data_.tADOProject;
    p.setValue(QStringLiteral("Oblast_text"), text);
    Dataset& t = data_.tTeploty;
    const QString column = QStringLiteral("Misto") + LanguageCodeSuffix;
    t.setFiltered(false);
    if (t.active() && t.locate(column, text)) {
        p.setValue(QStringLiteral("Pocet_dnu_otop_obd"), t.asInteger(QStringLiteral("Otop_obd")));
        p.setValue(QStringLiteral("Tes"), t.asFloat(QStringLiteral("Tes")));
        p.setValue(QStringLiteral("Te"), t.asFloat(QStringLiteral("Te")));
        p.post();
        locationLabel = t.asString(QStringLiteral("Location"));
        building.ApplyProjectTemperatures();
    } else {
        locationLabel.clear();
    }
    postProject();
}

void InputWizard::chooseDays(int days) {
    markModified();
    data_.tADOProject.setValue(QStringLiteral("Provoz_dny_tyden"), days);
    postProject();
}

void InputWizard::chooseHours(int hours) {
    markModified();
    data_.tADOProject.setValue(QStringLiteral("Provoz_hodiny_den"), hours);
    postProject();
}

void InputWizard::chooseFuel(int index) {
    markModified();
    fuel = index;
    priceUnit = index == 0 ? 0 : 2;
}

void InputWizard::choosePriceUnit(int unit) {
    priceUnit = unit;
}

void InputWizard::chooseControlMethod(int index) {
    markModified();
    controlMethod = index;
    Dataset& p = data_.tADOProject;
    static const double efficiencies[] = {0.8, 1.0, 1.1};
    if (index < 3) {
        efficiencyEnabled = false;
        p.setValue(QStringLiteral("Ucinnost_regulace"), efficiencies[index]);
    } else if (index == 3) {
        efficiencyEnabled = true;
        if (windows.focusControl)
            windows.focusControl(QStringLiteral("DBEd_Ucinnost_regulace"));
    }
    postProject();
}

void InputWizard::setHeating(bool on) {
    markModified();
    heating = on;
}

void InputWizard::setVentilation(bool on) {
    markModified();
    ventilation = on;
    if (on)
        families[2] = true;
}

void InputWizard::setCooling(bool) {
    // Cooling is not designed yet: its check box stays disabled and cleared.
    markModified();
    cooling = false;
}

void InputWizard::setFamily(int item, bool on) {
    markModified();
    if (item >= 0 && item < 3)
        families[item] = on;
}

void InputWizard::chooseRoofType(int index) {
    roofType = index;
    building.FilterWallVariants(roofType, skylightType);
    building.ApplyProjectTemperatures();
    building.ComputeHallGeometry();
}

void InputWizard::chooseSkylightType(int index) {
    skylightType = index;
    building.FilterWallVariants(roofType, skylightType);
    building.ApplyProjectTemperatures();
    building.ComputeHallGeometry();
    if (index >= 1 && index <= 4)
        data_.tSteny.last();
}

void InputWizard::chooseLossWay(int way) {
    markModified();
    lossWay = way;
    if (!pageVisible(activePage))
        activePage = tsTepelneZtraty;
}

void InputWizard::chooseCladding(int cls) {
    claddingClass = cls;
}

void InputWizard::chooseInfiltration(int index) {
    markModified();
    infiltration = index;
    nEditEnabled = index != 4;
    Dataset& p = data_.tADOProject;
    p.setValue(QStringLiteral("n_enum"), index);
    if (index >= 0 && index < 5)
        p.setValue(QStringLiteral("n"), infiltrationRates[index]);
    p.post();
    building.ComputeHeatLosses(true);
}

void InputWizard::chooseWorkClass(int index) {
    markModified();
    workClass = index;
    Dataset& t = data_.tTridaPrace;
    Dataset& p = data_.tADOProject;
    const QString label = workClasses().value(index);
    t.setFiltered(false);
    if (t.active() && t.locate(QStringLiteral("Trida"), label)) {
        p.setValue(QStringLiteral("Energ_vydej_text"),
                   t.asString(QStringLiteral("EnergieMin")) + QStringLiteral(" - ") +
                       t.asString(QStringLiteral("EnergieMax")) + QStringLiteral(" W/m2"));
        workClassDescription =
            t.asString(QStringLiteral("Text") + LanguageCode + LanguageCodeSuffix);
    } else {
        workClassDescription.clear();
        p.setValue(QStringLiteral("Energ_vydej_text"), QStringLiteral("? W/m2"));
    }
    p.post();
}

void InputWizard::choosePosture(int index) {
    markModified();
    posture = index;
    data_.tADOProject.setValue(QStringLiteral("Vyska_dychaci_zony_text"),
                               index == 0   ? QStringLiteral("1.7 m")
                               : index == 1 ? QStringLiteral("1.1 m")
                                            : QStringLiteral("? m"));
    data_.tADOProject.post();
}

void InputWizard::ShowLossEstimates(float dT, float V) {
    if (V <= 15000.0f) {
        for (int k = 0; k < 3; ++k) {
            const Cladding& c = claddings[k];
            const float q = V * dT * (c.a * V * V - c.b * V + c.c);
            estimateText[k] = formatText(LanguageText(815), {double(V), double(q / 1000.0f)});
            estimateValue[k] = formatText(QStringLiteral("%f"), {double(q)});
        }
        // The fourth class has only its specific loss: a stored project of that
        // class gets it at every volume rather than no estimate at all.
        const float q3 = V * claddings[3].specific;
        estimateValue[3] = formatText(QStringLiteral("%f"), {double(q3)});
    } else {
        for (int k = 0; k < 4; ++k) {
            const float q = V * claddings[k].specific;
            if (k < 3)
                estimateText[k] = formatText(LanguageText(816), {int(claddings[k].specific),
                                                                 double(V), double(q / 1000.0f)});
            estimateValue[k] = formatText(QStringLiteral("%f"), {double(q)});
        }
        class3Enabled = true;
    }
}

// --- compiler defaults ---------------------------------------------------------

void InputWizard::LoadCompilerDefaults() {
    Dataset& d = data_.tDefPerson;
    Dataset& p = data_.tADOProject;
    d.open();
    d.last();
    const bool any = !d.isEmpty();
    p.setValue(QStringLiteral("Vypracoval_text"),
               any ? d.value(QStringLiteral("Person")) : QVariant(QString()));
    p.setValue(QStringLiteral("Address_memo"),
               any ? d.value(QStringLiteral("Address")) : QVariant(QString()));
    for (const char* c : {"Phone", "Fax", "Email"})
        p.setValue(QLatin1String(c), any ? d.value(QLatin1String(c)) : QVariant(QString()));
    p.post();
    d.close();
}

void InputWizard::SaveCompilerDefaults() {
    postProject();
    Dataset& d = data_.tDefPerson;
    Dataset& p = data_.tADOProject;
    d.open();
    data_.ClearTable(d);
    d.append();
    d.setValue(QStringLiteral("Person"), p.value(QStringLiteral("Vypracoval_text")));
    d.setValue(QStringLiteral("Address"), p.value(QStringLiteral("Address_memo")));
    for (const char* c : {"Phone", "Fax", "Email"})
        d.setValue(QLatin1String(c), p.value(QLatin1String(c)));
    d.post();
    d.close();
}

void InputWizard::saveAsDefaultClicked() {
    SaveCompilerDefaults();
    ShowMessageBox(LanguageText(5008), caption(), MbInformation);
}

void InputWizard::deleteDefaultClicked() {
    Dataset& d = data_.tDefPerson;
    d.open();
    data_.ClearTable(d);
    d.close();
    ShowMessageBox(LanguageText(5009), caption(), MbWarning);
}

// --- constructions and openings ---------------------------------------------------

QStringList InputWizard::FillMaterialPickList(int typ) {
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

void InputWizard::AskForOpenings() {
    Dataset& w = data_.tSteny;
    if (!w.active() || w.isEmpty())
        return;
    const int message = w.asInteger(QStringLiteral("TypSteny")) == 2 ? 5024 : 5007;
    const QString name = w.asString(QStringLiteral("Nazev") + LanguageCode);
    if (ShowMessageBox(formatText(LanguageText(message), {name}), caption(), MbQuestionYesNo) !=
        IdYes)
        return;
    newOpening();
    if (windows.focusControl)
        windows.focusControl(QStringLiteral("ExDBGrid_Otvory"));
}

void InputWizard::newOpening() {
    if (data_.IsEmptyOpening())
        return;
    Dataset& w = data_.tSteny;
    Dataset& o = data_.tStavOtvory;
    if (!w.active() || w.isEmpty())
        return;
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
}

void InputWizard::openingFromCatalog(const QString& name, double k) {
    Dataset& w = data_.tSteny;
    Dataset& o = data_.tStavOtvory;
    if (!w.active() || w.isEmpty())
        return;
    o.append();
    o.setValue(QStringLiteral("Nazev"), name);
    o.setValue(QStringLiteral("k"), k);
    o.setValue(QStringLiteral("Vyska"), 0.0);
    o.setValue(QStringLiteral("Sirka"), 0.0);
    o.setValue(QStringLiteral("Pocet"), 1);
    o.setValue(QStringLiteral("Ti"), w.value(QStringLiteral("Ti")));
    o.setValue(QStringLiteral("Te"), w.value(QStringLiteral("Te")));
    o.post();
}

void InputWizard::wallFromCatalog(const QString& name, double k) {
    // The pick-list path's lookup must not run: the catalog gives the U-value.
    const auto saved = data_.hooks.wizardVisible;
    data_.hooks.wizardVisible = [] { return false; };
    try {
        data_.tSteny.setValue(QStringLiteral("Material"), name);
        data_.tSteny.setValue(QStringLiteral("k"), k);
        data_.tSteny.post();
    } catch (...) {
        data_.hooks.wizardVisible = saved;
        throw;
    }
    data_.hooks.wizardVisible = saved;
    AskForOpenings();
}

void InputWizard::deleteOpening() {
    if (data_.tStavOtvory.active() && !data_.tStavOtvory.isEmpty())
        data_.tStavOtvory.deleteRecord();
}

void InputWizard::CopyToSameKind() {
    Dataset& w = data_.tSteny;
    if (!w.active() || w.isEmpty())
        return;
    w.checkBrowseMode();
    Database::Batch batch(*w.database());
    w.disableControls();
    const int position = w.recNo();
    const QVariant material = w.value(QStringLiteral("Material"));
    const QVariant k = w.value(QStringLiteral("k"));
    const int kind = w.asInteger(QStringLiteral("TypSteny"));
    try {
        for (w.first(); !w.eof(); w.next()) {
            if (w.asInteger(QStringLiteral("TypSteny")) != kind)
                continue;
            w.setValue(QStringLiteral("Material"), material);
            w.setValue(QStringLiteral("k"), k);
            w.post();
        }
    } catch (...) {
        w.enableControls();
        throw;
    }
    w.refresh();
    w.first();
    for (int i = 1; i < position; ++i)
        w.next();
    w.enableControls();
}

} // namespace zf

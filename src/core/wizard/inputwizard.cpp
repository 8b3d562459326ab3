#include "wizard/inputwizard.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/refusals.h"
#include "i18n/texts.h"
#include "storage/operation.h"

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

constexpr double infiltrationRates[InfiltrationClassCount] = {0.5, 0.8, 1.2, 2.0, 0.0};
constexpr double controlEfficiencies[] = {0.8, 1.0, 1.1};

template <class E> int indexOf(E e) {
    return static_cast<int>(e);
}

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
    using K = EditKind;
    using R = Recompute;
    static const std::vector<WizardEdit> edits = {
        {"DBEd_ProjectName", "ProjectName_text", K::Text, R::Nothing, tsUvodniText},
        {"DBmemo_ProjectDesc", "ProjectDesc_memo", K::Text, R::Nothing, tsUvodniText},
        {"DBed_Investor", "Investor_text", K::Text, R::Nothing, tsUvodniText},
        {"DBed_Person", "Vypracoval_text", K::Text, R::Nothing, tsUvodniText},
        {"DBmemo_Address", "Address_memo", K::Text, R::Nothing, tsUvodniText},
        {"DBEd_Phone", "Phone", K::Text, R::Nothing, tsUvodniText},
        {"DBEd_Fax", "Fax", K::Text, R::Nothing, tsUvodniText},
        {"DBEd_Email", "Email", K::Text, R::Nothing, tsUvodniText},
        {"DBEd_OtopneObdobi", "Pocet_dnu_otop_obd", K::Integer, R::Nothing, tsOtopneObdobi},
        {"DBEd_Tes", "Tes", K::Float, R::Nothing, tsOtopneObdobi},
        {"DBEd_Te", "Te", K::Float, R::WallTemperatures, tsOtopneObdobi},
        {"DBEd_Tzeme", "Tzeme", K::Float, R::WallTemperatures, tsOtopneObdobi},
        {"DBEd_Ti", "Ti", K::Float, R::WallTemperatures, tsOtopneObdobi},
        {"DBEd_Ttlumena", "Ttlumena", K::Float, R::WallTemperatures, tsOtopneObdobi},
        {"DBEd_CZK_m3", "Cena_Kc_m3", K::Price, R::Nothing, tsOtopneObdobi},
        {"DBEd_CZK_kWh", "Cena_Kc_kWh", K::Price, R::Nothing, tsOtopneObdobi},
        {"DBEd_CZK_kg", "Cena_Kc_kg", K::Price, R::Nothing, tsOtopneObdobi},
        {"DBEd_Ucinnost_regulace", "Ucinnost_regulace", K::Float, R::Nothing, tsOtopneObdobi},
        {"DBEd_Technologie", "TZ_technologie", K::Float, R::Nothing, tsOtopneObdobi},
        {"DBEd_Vyt_system", "TZ_vytapeci_system", K::Float, R::Nothing, tsOtopneObdobi},
        {"DBEd_Ostatni", "TZ_ostatni", K::Float, R::Nothing, tsOtopneObdobi},
        {"DBEd_Vcz", "Vc_zima", K::Float, R::Nothing, tsProvozniRezim},
        {"DBEd_Vcl", "Vc_leto", K::Float, R::Nothing, tsProvozniRezim},
        {"DBEd_Rekuperace", "Rekuperace", K::Float, R::Nothing, tsProvozniRezim},
        {"DBEd_A", "Stena_A", K::Float, R::Geometry, tsRozmeryHaly},
        {"DBEd_B", "Stena_B", K::Float, R::Geometry, tsRozmeryHaly},
        {"DBEd_H1", "Stena_H1", K::Float, R::Geometry, tsRozmeryHaly},
        {"DBEd_H2", "Stena_H2", K::Float, R::Geometry, tsRozmeryHaly},
        {"DBEd_svA", "Svetlik_A", K::Float, R::Geometry, tsRozmerySvetliku},
        {"DBEd_svB", "Svetlik_B", K::Float, R::Geometry, tsRozmerySvetliku},
        {"DBEd_svH1", "Svetlik_H1", K::Float, R::Geometry, tsRozmerySvetliku},
        {"DBEd_svH2", "Svetlik_H2", K::Float, R::Geometry, tsRozmerySvetliku},
        {"DBEd_Q_kW", "Q_kW", K::Float, R::Nothing, tsTepelneZtraty},
        {"DBEd_n", "n", K::Float, R::Infiltration, tsStavebniKonstrukce},
        {"DBEdZaver_text", "Zaver_text", K::Text, R::Nothing, tsZaver},
        {"DBmemo_Zaver", "Zaver_memo", K::Text, R::Nothing, tsZaver},
        {"DBEdit1", "Vypracoval_text", K::Text, R::Nothing, tsZaver},
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

InputWizard::InputWizard(TZFData& data, TProject& project)
    : building(data, project), constructions(data, [this] { return s_.visible; }), data_(data),
      project_(project) {}

void InputWizard::setViewEvents(ViewEvents* events) {
    events_ = events ? events : &noViewEvents();
    constructions.setViewEvents(events);
}

void InputWizard::notify(unsigned changes) {
    if (changes)
        events_->stateChanged(Window::Wizard, changes);
}

// One handler is one operation: one transaction; when it fails, the program's
// message has been shown and the wizard shows what it showed before.
template <class Op> bool InputWizard::operation(unsigned changes, Op&& op) {
    const WizardState before = s_;
    const bool ok = runOperation(data_.projectConnection(), std::forward<Op>(op));
    if (!ok) {
        s_ = before;
        applyTypeChoices();
        changes = WizardAll;
    }
    notify(changes);
    return ok;
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
QStringList InputWizard::familyCaptions() {
    return texts(659, 661);
}
QStringList InputWizard::lossWayCaptions() {
    return texts(802, 804);
}
QStringList InputWizard::workClasses() {
    return {QStringLiteral("---"), QStringLiteral("I"),    QStringLiteral("IIa"),
            QStringLiteral("IIb"), QStringLiteral("IIIa"), QStringLiteral("IIIb"),
            QStringLiteral("IVa"), QStringLiteral("IVb"),  QStringLiteral("V")};
}

int InputWizard::firstVisiblePage() const {
    int p = 0;
    while (p < WizardPageCount && !pageVisible(p))
        ++p;
    return p;
}

QString InputWizard::nextCaption() const {
    return LanguageText(s_.activePage == tsZaver ? 156 : 155);
}

bool InputWizard::infiltrationEditEnabled() const {
    return s_.infiltration != InfiltrationClass::None;
}

void InputWizard::postProject() {
    Dataset& p = data_.tADOProject;
    if (p.state() == Dataset::State::Edit || p.state() == Dataset::State::Insert)
        p.post();
}

void InputWizard::applyTypeChoices() {
    building.setTypeChoices(indexOf(s_.roofType), indexOf(s_.skylightType));
}

// A stored index that is valid selects its item; any other selects the fallback,
// which is written back.
template <class E>
void InputWizard::restoreIndex(const char* field, E& target, int count, E fallback) {
    const int v = data_.tADOProject.asInteger(QLatin1String(field));
    if (v >= 0 && v < count) {
        target = static_cast<E>(v);
        return;
    }
    target = fallback;
    data_.tADOProject.setValue(QLatin1String(field), indexOf(fallback));
    data_.tADOProject.post();
}

// --- loading -----------------------------------------------------------------

void InputWizard::LoadProjectIntoWizard(bool newProject) {
    Dataset& p = data_.tADOProject;
    p.first();
    s_.activePage = tsUvodniText;
    pageChange();
    FillRegionList();
    s_.regionText = readableText(p.asString(QStringLiteral("Oblast_text")));
    s_.locationLabel.clear();

    // Fuel, price unit, control method, modes, families.
    restoreIndex("Druh_paliva_enum", s_.fuel, FuelCount, Fuel::NaturalGas);
    const int price = p.asInteger(QStringLiteral("Cena_enum"));
    s_.priceUnit = (price >= 0 && price < PriceUnitCount) ? PriceUnit(price) : PriceUnit::PerKWh;
    restoreIndex("Ucinnost_regulace_enum", s_.controlMethod, ControlMethodCount,
                 ControlMethod::OneStepThermostat);
    s_.efficiencyEnabled = false;
    chooseControlMethod(s_.controlMethod);
    s_.heating = p.asBoolean(QStringLiteral("Vytapeni_bool"));
    s_.ventilation = p.asBoolean(QStringLiteral("Vetrani_bool"));
    s_.cooling = false;
    s_.families = p.asInteger(QStringLiteral("PouziteJednotky")) & (FamilyAX | FamilyRD | FamilyMK);

    if (newProject)
        building.GenerateWallRecords(-1);
    data_.tSteny.first();

    restoreIndex("Typ_strechy_enum", s_.roofType, RoofTypeCount, RoofType::Flat);
    chooseRoofType(s_.roofType);
    restoreIndex("Typ_svetliku_enum", s_.skylightType, SkylightTypeCount, SkylightType::None);
    chooseSkylightType(s_.skylightType);

    restoreIndex("Tepelne_ztraty_enum", s_.lossWay, 3, LossWay::Calculation);
    restoreIndex("Tepelne_ztraty_priblizne_enum", s_.cladding, CladdingClassCount,
                 CladdingClass::VeryGood);
    s_.estimates = LossEstimates();
    chooseLossWay(s_.lossWay);

    restoreIndex("n_enum", s_.infiltration, InfiltrationClassCount, InfiltrationClass::VeryWell);
    if (newProject)
        chooseInfiltration(s_.infiltration);

    restoreIndex("Trida_prace_enum", s_.workClass, WorkClassCount, 0);
    chooseWorkClass(s_.workClass);
    restoreIndex("Poloha_cloveka_enum", s_.posture, PostureCount, Posture::Standing);
    choosePosture(s_.posture);

    if (newProject) {
        LoadCompilerDefaults();
        s_.regionText = s_.regionList.value(0);
        p.setValue(QStringLiteral("Oblast_text"), storedText(s_.regionText));
        s_.fuel = Fuel::NaturalGas;
        p.setValue(QStringLiteral("Druh_paliva_enum"), 0);
        p.setValue(QStringLiteral("Druh_paliva_text"), storedText(fuelCaptions().value(0)));
        const QDateTime now = QDateTime::currentDateTime();
        s_.datePicker = QDateTime(now.date(), now.time().addMSecs(-now.time().msec()));
        p.setValue(QStringLiteral("Datum_vypracovani"), s_.datePicker);
        p.post();
    } else {
        const QDateTime stored = p.asDateTime(QStringLiteral("Datum_vypracovani"));
        s_.datePicker = stored.isValid() ? stored : QDateTime::currentDateTime();
    }
    showLossEstimates();
    notify(WizardAll);
}

void InputWizard::FillRegionList() {
    s_.regionList.clear();
    s_.regionList << LanguageText(516);
    Dataset& t = data_.tTeploty;
    if (!t.active())
        return;
    // The names as they are shown; the re-encoded copy is what a choice stores.
    const QString column = QStringLiteral("Misto");
    auto add = [&](const QString& filter) {
        t.setFilter(filter);
        t.setFiltered(true);
        for (t.first(); !t.eof(); t.next())
            s_.regionList << t.asString(column);
    };
    if (LanguageBase == BaseRU || LanguageBase == BaseRU1250)
        add(QStringLiteral("(Location = 'BLR') OR (Location = 'UKR') OR (Location = 'RUS')"));
    add(QStringLiteral("(Location = 'CZ') OR (Location = 'SK') OR (Location = 'PL')"));
    t.setFiltered(false);
}

void InputWizard::showLossEstimates() {
    if (!data_.tADOProject.active() || data_.tADOProject.isEmpty())
        return;
    const Dataset& p = data_.tADOProject;
    ShowLossEstimates(s_.estimates,
                      float(p.asFloat(QStringLiteral("Ti")) - p.asFloat(QStringLiteral("Te"))),
                      float(p.asFloat(QStringLiteral("Vtotal"))));
}

void InputWizard::applyLanguage() {
    const QString region = s_.regionText;
    FillRegionList();
    s_.regionText = region;
    if (data_.tADOProject.active() && !data_.tADOProject.isEmpty())
        workClassChanged();
    // The openings caption and the constructions offered are in the language.
    constructions.refresh();
    notify(WizardAll);
}

// --- storing, validation, commit ------------------------------------------------

void InputWizard::StoreWizardChoices() {
    Dataset& p = data_.tADOProject;
    p.edit();
    p.setValue(QStringLiteral("Typ_strechy_enum"), indexOf(s_.roofType));
    p.setValue(QStringLiteral("Typ_strechy_text"),
               storedText(roofTypeCaptions().value(indexOf(s_.roofType))));
    p.setValue(QStringLiteral("Typ_svetliku_enum"), indexOf(s_.skylightType));
    p.setValue(QStringLiteral("Typ_svetliku_text"),
               storedText(skylightTypeCaptions().value(indexOf(s_.skylightType))));
    p.setValue(QStringLiteral("Vytapeni_bool"), s_.heating);
    p.setValue(QStringLiteral("Vetrani_bool"), s_.ventilation);
    p.setValue(QStringLiteral("Chlazeni_bool"), s_.cooling);
    p.setValue(QStringLiteral("PouziteJednotky"), s_.families);
    p.setValue(QStringLiteral("Druh_paliva_enum"), indexOf(s_.fuel));
    p.setValue(QStringLiteral("Druh_paliva_text"),
               storedText(fuelCaptions().value(indexOf(s_.fuel))));
    p.setValue(QStringLiteral("Ucinnost_regulace_enum"), indexOf(s_.controlMethod));
    // The price as its edit shows it, the currency and the unit.
    const char* field = s_.priceUnit == PriceUnit::PerM3    ? "Cena_Kc_m3"
                        : s_.priceUnit == PriceUnit::PerKWh ? "Cena_Kc_kWh"
                                                            : "Cena_Kc_kg";
    const char* unit = s_.priceUnit == PriceUnit::PerM3    ? "/m3"
                       : s_.priceUnit == PriceUnit::PerKWh ? "/kWh"
                                                           : "/kg";
    const QString shown =
        formatFloat(QString::fromLatin1(FloatDisplayFormat), p.asFloat(QLatin1String(field)));
    p.setValue(QStringLiteral("Cena_enum"), indexOf(s_.priceUnit));
    p.setValue(QStringLiteral("Cena_text"),
               shown + QLatin1Char(' ') + CurrencyName(LanguageBase) + QLatin1String(unit));
    p.setValue(QStringLiteral("Trida_prace_enum"), s_.workClass);
    p.setValue(QStringLiteral("Trida_prace_text"), workClasses().value(s_.workClass));
    p.setValue(QStringLiteral("Trida_prace_memo"), storedText(s_.workClassDescription));
    p.setValue(QStringLiteral("Poloha_cloveka_enum"), indexOf(s_.posture));
    p.setValue(QStringLiteral("Poloha_cloveka_text"),
               storedText(postureCaptions().value(indexOf(s_.posture))));
    p.setValue(QStringLiteral("n_enum"), indexOf(s_.infiltration));
    p.setValue(QStringLiteral("Tepelne_ztraty_enum"), indexOf(s_.lossWay));
    p.setValue(QStringLiteral("Tepelne_ztraty_priblizne_enum"),
               s_.cladding == CladdingClass::None ? 0 : indexOf(s_.cladding));
    p.setValue(QStringLiteral("Datum_vypracovani"), s_.datePicker);
    p.post();
}

bool InputWizard::ValidateWizardInput() {
    auto fail = [&](int page, const char* control, int message) {
        setPage(page);
        events_->focusControl(Window::Wizard, QLatin1String(control));
        ShowMessageBox(LanguageText(message), caption(), MbWarning);
        return true;
    };
    if (!(project_.StenaA > 0))
        return fail(tsRozmeryHaly, "DBEd_A", 5004);
    if (!(project_.StenaB > 0))
        return fail(tsRozmeryHaly, "DBEd_B", 5004);
    if (!(project_.StenaH1 > 0))
        return fail(tsRozmeryHaly, "DBEd_H1", 5004);
    if (!s_.heating && !s_.ventilation && !s_.cooling) {
        s_.modesAlert = true;
        notify(WizardChoices);
        fail(tsProvozniRezim, "cbVytapeni", 5005);
        s_.modesAlert = false;
        notify(WizardChoices);
        return true;
    }
    return false;
}

bool InputWizard::CommitWizard() {
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
    if (ValidateWizardInput())
        return false;
    hide();
    DetermineHeatLoss(data_, building, s_.lossWay, s_.estimates, s_.cladding);
    return true;
}

void InputWizard::show(const QString& page) {
    const int p = wizardPageOfName(page);
    if (p >= 0 && pageVisible(p))
        s_.activePage = p;
    s_.visible = true;
    pageChange();
    constructions.refresh();
    events_->showWindow(Window::Wizard, true);
    notify(WizardAll);
}

void InputWizard::hide() {
    if (!s_.visible && s_.closeButtonVisible)
        return;
    s_.visible = false;
    // Closing the wizard shows the Close button again.
    s_.closeButtonVisible = true;
    events_->showWindow(Window::Wizard, false);
    notify(WizardButtons);
}

void InputWizard::setCloseButtonVisible(bool on) {
    s_.closeButtonVisible = on;
    notify(WizardButtons);
}

// --- navigation -----------------------------------------------------------------

void InputWizard::pageChange() {
    if (data_.tSteny.active()) {
        if (s_.activePage == tsRozmeryHaly || s_.activePage == tsStavebniKonstrukce)
            data_.tSteny.first();
        else if (s_.activePage == tsRozmerySvetliku)
            data_.tSteny.last();
    }
    if (s_.activePage == tsTepelneZtraty)
        showLossEstimates();
    events_->pageChanged(Window::Wizard, s_.activePage);
    notify(WizardPageChange | WizardEstimates);
}

void InputWizard::setPage(int page) {
    if (page < 0 || page >= WizardPageCount || !pageVisible(page))
        return;
    s_.activePage = page;
    pageChange();
}

bool InputWizard::next() {
    if (s_.activePage == tsZaver)
        return false;
    int p = s_.activePage + 1;
    while (p < WizardPageCount && !pageVisible(p))
        ++p;
    if (p < WizardPageCount)
        setPage(p);
    return true;
}

void InputWizard::previous() {
    int p = s_.activePage - 1;
    while (p >= 0 && !pageVisible(p))
        --p;
    if (p >= 0)
        setPage(p);
}

// --- edits ------------------------------------------------------------------------

bool InputWizard::editEnabled(const QString& n) const {
    if (n == QLatin1String("DBEd_Ucinnost_regulace"))
        return s_.efficiencyEnabled;
    if (n == QLatin1String("DBEd_Vcz") || n == QLatin1String("DBEd_Vcl") ||
        n == QLatin1String("DBEd_Rekuperace"))
        return s_.ventilation;
    if (n == QLatin1String("DBEd_CZK_m3"))
        return s_.priceUnit == PriceUnit::PerM3;
    if (n == QLatin1String("DBEd_CZK_kWh"))
        return s_.priceUnit == PriceUnit::PerKWh;
    if (n == QLatin1String("DBEd_CZK_kg"))
        return s_.priceUnit == PriceUnit::PerKg;
    if (n == QLatin1String("DBEd_Q_kW"))
        return s_.lossWay == LossWay::OwnValue;
    if (n == QLatin1String("DBEd_H2"))
        return s_.roofType != RoofType::Flat;
    if (n == QLatin1String("DBEd_svA") || n == QLatin1String("DBEd_svB") ||
        n == QLatin1String("DBEd_svH1"))
        return s_.skylightType != SkylightType::None;
    if (n == QLatin1String("DBEd_svH2"))
        return s_.skylightType == SkylightType::Type2;
    if (n == QLatin1String("DBEd_n"))
        return infiltrationEditEnabled() && s_.lossWay == LossWay::Calculation;
    return wizardEdit(n) != nullptr;
}

EditColour InputWizard::editColour(const QString& name, bool focused) const {
    const WizardEdit* e = wizardEdit(name);
    if (!e)
        return EditColour::Window;
    if (focused)
        return EditColour::Aqua;
    const Dataset& p = data_.tADOProject;
    if (e->kind == EditKind::Text || !p.active() || p.isEmpty())
        return editColourOfValue(name, QVariant());
    return editColourOfValue(name, p.value(QLatin1String(e->field)));
}

EditColour InputWizard::editColourOfValue(const QString& name, const QVariant& typed) const {
    const WizardEdit* e = wizardEdit(name);
    if (!e || e->kind == EditKind::Text)
        return EditColour::Window;
    if (!editEnabled(name))
        return EditColour::ButtonFace;
    if (!typed.isValid() || typed.isNull())
        return EditColour::Red;
    if (typed.typeId() == QMetaType::QString) {
        // A text that is no number is not 0: it is refused when the edit is left.
        const QString t = typed.toString().trimmed();
        double d = 0;
        return t.isEmpty() || (parseNumber(t, &d) && d == 0.0) ? EditColour::Red
                                                               : EditColour::Window;
    }
    return typed.toDouble() == 0.0 ? EditColour::Red : EditColour::Window;
}

bool InputWizard::multiLineEdit(const QString& name) {
    return name.startsWith(QLatin1String("DBmemo_"));
}

bool InputWizard::enterEdit(const QString& name, const QVariant& value, QString* error) {
    const WizardEdit* e = wizardEdit(name);
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!e)
        return refuse(formatText(LanguageText(3008), {name}));
    if (!editEnabled(name))
        return refuse(fieldRefusal(3009, {QLatin1String(e->field)}, 0));
    QVariant v = value;
    const bool empty =
        !value.isValid() || value.isNull() ||
        (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty());
    if (e->kind != EditKind::Text && empty) {
        // An emptied number is accepted: the field becomes empty and its edit red.
        v = QVariant();
    } else if (e->kind != EditKind::Text) {
        bool ok = false;
        const double d = value.typeId() == QMetaType::QString
                             ? value.toString().trimmed().toDouble(&ok)
                             : value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return refuse(fieldRefusal(3000, {value.toString(), QLatin1String(e->field)}, 1));
        if (e->kind == EditKind::Integer && d != std::floor(d))
            return refuse(fieldRefusal(3001, {value.toString(), QLatin1String(e->field)}, 1));
        v = d;
    } else if (value.typeId() != QMetaType::QString) {
        return refuse(fieldRefusal(3007, {QLatin1String(e->field)}, 0));
    } else if (!multiLineEdit(name)) {
        v = oneLineText(value.toString());
    }
    Dataset& p = data_.tADOProject;
    // Leaving an edit whose text did not change writes nothing.
    const QVariant stored = p.value(QLatin1String(e->field));
    const bool storedEmpty = !stored.isValid() || stored.isNull();
    const bool same = e->kind == EditKind::Text ? stored.toString() == v.toString()
                      : !v.isValid()            ? storedEmpty
                                     : (!storedEmpty && stored.toDouble() == v.toDouble());
    // A value the field cannot hold is refused before anything is written, with
    // the data layer's message; the field keeps its value.
    if (!same) {
        try {
            p.setValue(QLatin1String(e->field), v);
        } catch (const DbError& err) {
            p.cancel();
            return refuse(err.message());
        }
        markModified();
    }
    const bool ok = operation(WizardFields | WizardWalls | WizardEstimates, [&] {
        postProject();
        if (!Modified)
            return;
        switch (e->recompute) {
        case Recompute::Geometry:
            building.ComputeHallGeometry();
            break;
        case Recompute::WallTemperatures:
            building.ApplyProjectTemperatures();
            // The infiltration loss is stored for the temperatures as typed.
            building.ComputeHeatLosses(true);
            break;
        case Recompute::Infiltration:
            building.ComputeHeatLosses(true);
            break;
        case Recompute::Nothing:
            break;
        }
    });
    if (!ok) {
        p.cancel();
        return refuse(LastError.isEmpty() ? LanguageText(3010) : LastError);
    }
    return true;
}

// --- choices ------------------------------------------------------------------

void InputWizard::chooseRegion(const QString& text) {
    operation(WizardChoices | WizardFields | WizardWalls, [&] {
        markModified();
        // The region's box is one line, also for a pasted text.
        const QString region = oneLineText(text);
        s_.regionText = region;
        Dataset& p = data_.tADOProject;
        p.setValue(QStringLiteral("Oblast_text"), storedText(region));
        Dataset& t = data_.tTeploty;
        t.setFiltered(false);
        if (t.active() && t.locate(QStringLiteral("Misto"), region)) {
            p.setValue(QStringLiteral("Pocet_dnu_otop_obd"),
                       t.asInteger(QStringLiteral("Otop_obd")));
            p.setValue(QStringLiteral("Tes"), t.asFloat(QStringLiteral("Tes")));
            p.setValue(QStringLiteral("Te"), t.asFloat(QStringLiteral("Te")));
            p.post();
            s_.locationLabel = t.asString(QStringLiteral("Location"));
            building.ApplyProjectTemperatures();
            building.ComputeHeatLosses(true);
        } else {
            s_.locationLabel.clear();
        }
        postProject();
    });
}

void InputWizard::chooseDays(int days) {
    operation(WizardFields, [&] {
        markModified();
        data_.tADOProject.setValue(QStringLiteral("Provoz_dny_tyden"), days);
        postProject();
    });
}

void InputWizard::chooseHours(int hours) {
    operation(WizardFields, [&] {
        markModified();
        data_.tADOProject.setValue(QStringLiteral("Provoz_hodiny_den"), hours);
        postProject();
    });
}

void InputWizard::chooseFuel(Fuel fuel) {
    markModified();
    s_.fuel = fuel;
    s_.priceUnit = fuel == Fuel::NaturalGas ? PriceUnit::PerM3 : PriceUnit::PerKg;
    notify(WizardChoices | WizardFields);
}

void InputWizard::choosePriceUnit(PriceUnit unit) {
    s_.priceUnit = unit;
    notify(WizardChoices | WizardFields);
}

void InputWizard::chooseControlMethod(ControlMethod method) {
    operation(WizardChoices | WizardFields, [&] {
        markModified();
        s_.controlMethod = method;
        const int index = indexOf(method);
        if (index < 3) {
            s_.efficiencyEnabled = false;
            data_.tADOProject.setValue(QStringLiteral("Ucinnost_regulace"),
                                       controlEfficiencies[index]);
        } else if (method == ControlMethod::SelfControl) {
            s_.efficiencyEnabled = true;
            events_->focusControl(Window::Wizard, QStringLiteral("DBEd_Ucinnost_regulace"));
        }
        postProject();
    });
}

void InputWizard::setHeating(bool on) {
    markModified();
    s_.heating = on;
    notify(WizardChoices);
}

void InputWizard::setVentilation(bool on) {
    markModified();
    s_.ventilation = on;
    if (on)
        s_.families |= FamilyMK;
    notify(WizardChoices | WizardFields);
}

void InputWizard::setCooling(bool) {
    // Cooling is not designed yet: its check box stays disabled and cleared.
    markModified();
    s_.cooling = false;
    notify(WizardChoices);
}

void InputWizard::setFamily(UnitFamily family, bool on) {
    markModified();
    if (on)
        s_.families |= family;
    else
        s_.families &= ~int(family);
    notify(WizardChoices);
}

void InputWizard::chooseRoofType(RoofType type) {
    operation(WizardChoices | WizardFields | WizardWalls, [&] {
        s_.roofType = type;
        applyTypeChoices();
        building.FilterWallVariants(indexOf(s_.roofType), indexOf(s_.skylightType));
        building.ApplyProjectTemperatures();
        building.ComputeHallGeometry();
    });
}

void InputWizard::chooseSkylightType(SkylightType type) {
    operation(WizardChoices | WizardFields | WizardWalls, [&] {
        s_.skylightType = type;
        applyTypeChoices();
        building.FilterWallVariants(indexOf(s_.roofType), indexOf(s_.skylightType));
        building.ApplyProjectTemperatures();
        building.ComputeHallGeometry();
        if (type != SkylightType::None)
            data_.tSteny.last();
    });
}

void InputWizard::chooseLossWay(LossWay way) {
    markModified();
    s_.lossWay = way;
    if (!pageVisible(s_.activePage)) {
        s_.activePage = tsTepelneZtraty;
        events_->pageChanged(Window::Wizard, s_.activePage);
    }
    notify(WizardChoices | WizardFields | WizardPageChange);
}

void InputWizard::chooseCladding(CladdingClass cls) {
    s_.cladding = cls;
    notify(WizardChoices);
}

void InputWizard::chooseInfiltration(InfiltrationClass cls) {
    operation(WizardChoices | WizardFields, [&] {
        markModified();
        s_.infiltration = cls;
        Dataset& p = data_.tADOProject;
        p.setValue(QStringLiteral("n_enum"), indexOf(cls));
        p.setValue(QStringLiteral("n"), infiltrationRates[indexOf(cls)]);
        p.post();
        building.ComputeHeatLosses(true);
    });
}

void InputWizard::workClassChanged() {
    Dataset& t = data_.tTridaPrace;
    Dataset& p = data_.tADOProject;
    const QString label = workClasses().value(s_.workClass);
    t.setFiltered(false);
    if (t.active() && t.locate(QStringLiteral("Trida"), label)) {
        p.setValue(QStringLiteral("Energ_vydej_text"),
                   t.asString(QStringLiteral("EnergieMin")) + QStringLiteral(" - ") +
                       t.asString(QStringLiteral("EnergieMax")) + QStringLiteral(" W/m2"));
        s_.workClassDescription = t.asString(QStringLiteral("Text") + LanguageCode);
    } else {
        s_.workClassDescription.clear();
        p.setValue(QStringLiteral("Energ_vydej_text"), QStringLiteral("? W/m2"));
    }
    p.post();
}

void InputWizard::chooseWorkClass(int index) {
    operation(WizardChoices | WizardFields, [&] {
        markModified();
        s_.workClass = index;
        workClassChanged();
    });
}

void InputWizard::choosePosture(Posture posture) {
    operation(WizardChoices | WizardFields, [&] {
        markModified();
        s_.posture = posture;
        data_.tADOProject.setValue(QStringLiteral("Vyska_dychaci_zony_text"),
                                   posture == Posture::Standing  ? QStringLiteral("1.7 m")
                                   : posture == Posture::Sitting ? QStringLiteral("1.1 m")
                                                                 : QStringLiteral("? m"));
        data_.tADOProject.post();
    });
}

void InputWizard::setDate(const QDateTime& date) {
    markModified();
    s_.datePicker = date;
    notify(WizardChoices);
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

// ClearTable stops silently at a row it cannot delete: the default would then
// be there twice, or still there.
void InputWizard::clearDefaults(Dataset& defaults) {
    data_.ClearTable(defaults);
    if (!defaults.isEmpty())
        throw DbError(QStringLiteral("The default data of the compiler cannot be deleted."));
}

bool InputWizard::SaveCompilerDefaults() {
    postProject();
    Dataset& d = data_.tDefPerson;
    Dataset& p = data_.tADOProject;
    const bool ok = runOperation(data_.catalogConnection(), [&] {
        d.open();
        clearDefaults(d);
        d.append();
        d.setValue(QStringLiteral("Person"), p.value(QStringLiteral("Vypracoval_text")));
        d.setValue(QStringLiteral("Address"), p.value(QStringLiteral("Address_memo")));
        for (const char* c : {"Phone", "Fax", "Email"})
            d.setValue(QLatin1String(c), p.value(QLatin1String(c)));
        d.post();
    });
    if (!ok)
        d.cancel();
    d.close();
    return ok;
}

// The messages say what was done: after a failure the user has the program's
// error message instead.
void InputWizard::saveAsDefaultClicked() {
    if (SaveCompilerDefaults())
        ShowMessageBox(LanguageText(5008), caption(), MbInformation);
}

void InputWizard::deleteDefaultClicked() {
    Dataset& d = data_.tDefPerson;
    const bool ok = runOperation(data_.catalogConnection(), [&] {
        d.open();
        clearDefaults(d);
    });
    d.close();
    if (ok)
        ShowMessageBox(LanguageText(5009), caption(), MbWarning);
}

} // namespace zf

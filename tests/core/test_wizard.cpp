// The input wizard's controller on real projects: loading and its restore rules,
// navigation, validation, the handlers and the commit.
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "sessionsupport.h"
#include "wizard/inputwizard.h"

#include <QRegularExpression>
#include <cmath>

using namespace zf;
using namespace zf::test;

namespace {

class WizardTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        data->openMaterials();
    }
    void newProject() { ASSERT_EQ(session->commandNew(), ResultOk); }
    Dataset& p() { return data->tADOProject; }
    double f(const char* c) { return p().asFloat(QLatin1String(c)); }
    const WizardState& st() { return wizard->state(); }
    // A saved named project, open in the wizard.
    QString named() {
        newProject();
        const QString path = work.filePath(QStringLiteral("w.zfp"));
        EXPECT_EQ(files->SaveProjectAs(path), ResultOk);
        EXPECT_EQ(files->commandSave(), ResultOk);
        session->openWizard();
        return path;
    }
};

} // namespace

TEST_F(WizardTest, NewProjectStartsComplete) {
    newProject();
    EXPECT_TRUE(wizard->visible());
    EXPECT_FALSE(st().closeButtonVisible) << "a new project can only be finished or cancelled";
    EXPECT_EQ(p().asString(QStringLiteral("Oblast_text")), QStringLiteral("* not defined"));
    EXPECT_EQ(p().asString(QStringLiteral("Druh_paliva_text")), QStringLiteral("Natural gas"));
    EXPECT_EQ(p().asDateTime(QStringLiteral("Datum_vypracovani")).date(), QDate::currentDate());
    data->tSteny.setFiltered(false);
    EXPECT_EQ(data->tSteny.recordCount(), 51);
    EXPECT_DOUBLE_EQ(f("n"), 0.8) << "a new project applies its infiltration class";
    EXPECT_GT(f("Vtotal"), 0.0);
    EXPECT_EQ(st().regionList.first(), QStringLiteral("* not defined"));
}

TEST_F(WizardTest, RestoreRulesWriteBackOutOfListCodes) {
    const QString path = named();
    p().setValue(QStringLiteral("Typ_strechy_enum"), 7);
    p().setValue(QStringLiteral("Ucinnost_regulace_enum"), 9);
    p().setValue(QStringLiteral("Ucinnost_regulace"), 0.3);
    p().setValue(QStringLiteral("Trida_prace_enum"), 12);
    p().setValue(QStringLiteral("Cena_enum"), 5);
    p().setValue(QStringLiteral("Tepelne_ztraty_enum"), 4);
    p().setValue(QStringLiteral("n"), 0.65);
    p().post();
    wizard->LoadProjectIntoWizard(false);
    EXPECT_EQ(st().roofType, RoofType::Flat);
    EXPECT_EQ(p().asInteger(QStringLiteral("Typ_strechy_enum")), 0) << "rewritten as 0";
    EXPECT_EQ(st().controlMethod, ControlMethod::OneStepThermostat);
    EXPECT_EQ(p().asInteger(QStringLiteral("Ucinnost_regulace_enum")), 1);
    EXPECT_DOUBLE_EQ(f("Ucinnost_regulace"), 1.0);
    EXPECT_EQ(st().workClass, 0);
    EXPECT_EQ(p().asInteger(QStringLiteral("Trida_prace_enum")), 0);
    EXPECT_EQ(p().asString(QStringLiteral("Energ_vydej_text")), QStringLiteral("? W/m2"));
    EXPECT_EQ(st().priceUnit, PriceUnit::PerKWh) << "shown as kWh";
    EXPECT_EQ(p().asInteger(QStringLiteral("Cena_enum")), 5) << "not rewritten";
    EXPECT_EQ(st().lossWay, LossWay::Calculation);
    EXPECT_DOUBLE_EQ(f("n"), 0.65) << "an existing project keeps its n";
}

TEST_F(WizardTest, NavigationSkipsTheHiddenConstructionsPage) {
    newProject();
    wizard->setPage(tsTepelneZtraty);
    wizard->chooseLossWay(LossWay::Estimate);
    EXPECT_FALSE(wizard->pageVisible(tsStavebniKonstrukce));
    wizard->next();
    EXPECT_EQ(wizard->activePage(), tsPracovniPodminky);
    wizard->previous();
    EXPECT_EQ(wizard->activePage(), tsTepelneZtraty);
    wizard->chooseLossWay(LossWay::Calculation);
    wizard->next();
    EXPECT_EQ(wizard->activePage(), tsStavebniKonstrukce);
    wizard->setPage(tsZaver);
    EXPECT_EQ(wizard->nextCaption(), LanguageText(156));
    wizard->setPage(tsUvodniText);
    EXPECT_FALSE(wizard->previousEnabled());
    EXPECT_EQ(wizard->nextCaption(), LanguageText(155));
}

TEST_F(WizardTest, FinishValidates) {
    newProject();
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_A"), 0));
    RecordingView view(*session);
    wizard->setPage(tsZaver);
    EXPECT_FALSE(session->wizardNext()) << "Next on the last page is Finish";
    EXPECT_EQ(wizard->activePage(), tsRozmeryHaly);
    EXPECT_TRUE(view.saw(QStringLiteral("focus wizard DBEd_A")));
    EXPECT_EQ(dlg.last().text, QStringLiteral("Enter a positive nonzero value please."));
    EXPECT_TRUE(wizard->visible()) << "the wizard stays open";
    EXPECT_DOUBLE_EQ(f("Q"), 0.0) << "nothing stored in Q";

    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_A"), 20));
    wizard->setHeating(false);
    wizard->setVentilation(false);
    bool redWhileAsked = false;
    dlg.onBox = [&](const TestDialogs::Box&) { redWhileAsked = wizard->state().modesAlert; };
    EXPECT_FALSE(session->finishWizard(true));
    dlg.onBox = nullptr;
    EXPECT_EQ(wizard->activePage(), tsProvozniRezim);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("Select at least one option of the operating modes."));
    EXPECT_TRUE(redWhileAsked) << "the modes' caption is red while the message is up";
    EXPECT_FALSE(wizard->state().modesAlert) << "and its colour comes back after";
}

TEST_F(WizardTest, CommitRunsTheResultsChain) {
    newProject();
    wizard->chooseRoofType(RoofType::Saddle);
    for (auto [e, v] : std::vector<std::pair<const char*, double>>{{"DBEd_A", 20},
                                                                   {"DBEd_B", 10},
                                                                   {"DBEd_H1", 5},
                                                                   {"DBEd_H2", 3},
                                                                   {"DBEd_Ti", 18},
                                                                   {"DBEd_Te", -15}})
        ASSERT_TRUE(wizard->enterEdit(QLatin1String(e), v));
    RecordingView view(*session);
    ASSERT_TRUE(session->finishWizard(true));
    EXPECT_FALSE(wizard->visible());
    EXPECT_TRUE(view.saw(QStringLiteral("hide wizard")));
    EXPECT_TRUE(view.saw(QStringLiteral("show project")));
    EXPECT_EQ(view.events.last(), QStringLiteral("page project 1")) << "the units page last";
    EXPECT_TRUE(session->projectWindowShown());
    EXPECT_EQ(SessionProbe(*session).units().plan.hallLength(), 20) << "the plan has the hall";
    EXPECT_TRUE(session->summary().filled);
    EXPECT_GT(f("Q"), 0.0);
    EXPECT_NEAR(f("Q_kW"), f("Q") / 1000, 1e-3);
    EXPECT_GT(f("Topny_vykon"), 0.0);
    EXPECT_GT(data->tResults.recordCount(), 3) << "the unit types table was rebuilt";
    EXPECT_EQ(p().asString(QStringLiteral("Typ_strechy_text")), QStringLiteral("Saddle roof"));
    EXPECT_EQ(readAll(files->CurrentFile), readAll(files->BackupFile))
        << "a new project's backup is refreshed";
}

TEST_F(WizardTest, EstimatesAndOwnValue) {
    newProject();
    LossEstimates e;
    ShowLossEstimates(e, 33, 10000);
    const QLocale c;
    auto value = [&](int k) { return c.toDouble(e.value[k]); };
    EXPECT_NEAR(value(0), 116754, 1.0);
    EXPECT_NEAR(value(1), 209979, 1.0);
    EXPECT_NEAR(value(2), 409992, 1.5);
    EXPECT_EQ(e.text[0], formatText(LanguageText(815), {10000.0, value(0) / 1000}));
    EXPECT_TRUE(e.text[0].contains(formatFloat(QStringLiteral("0.00"), 116.75)));
    EXPECT_NEAR(value(3), 280000, 1.0) << "class 3 takes its 28 W/m3 below 15000 m3 too";

    ShowLossEstimates(e, 33, 20000);
    EXPECT_NEAR(value(0), 300000, 1.0);
    EXPECT_NEAR(value(1), 380000, 1.0);
    EXPECT_NEAR(value(2), 460000, 1.0);
    EXPECT_TRUE(e.text[1].contains(QStringLiteral(" 19 W/m^3")));
    EXPECT_TRUE(e.veryPoorEnabled);
    ShowLossEstimates(e, 33, 15000);
    EXPECT_LT(value(0), 15000 * 15.0) << "15000 m3 exactly uses the polynomial";
    ShowLossEstimates(e, 33, 15000.5f);
    EXPECT_NEAR(value(0), 15000.5 * 15, 1.0);

    // Own value 120 kW with Ti 18, Te -15, reduced 10.
    wizard->chooseLossWay(LossWay::OwnValue);
    for (auto [ed, v] : std::vector<std::pair<const char*, double>>{
             {"DBEd_Ti", 18}, {"DBEd_Te", -15}, {"DBEd_Ttlumena", 10}, {"DBEd_Q_kW", 120}})
        ASSERT_TRUE(wizard->enterEdit(QLatin1String(ed), v));
    ASSERT_TRUE(session->finishWizard(false));
    EXPECT_DOUBLE_EQ(f("Q"), 120000);
    EXPECT_NEAR(f("Q_tlumeny"), 90909.09, 0.05);
}

TEST_F(WizardTest, FinishingFromPage4CommitsTheOldEstimate) {
    newProject();
    wizard->chooseLossWay(LossWay::Estimate);
    wizard->chooseCladding(CladdingClass::Medium);
    wizard->setPage(tsTepelneZtraty); // the estimate of the volume now
    const double before = QLocale().toDouble(st().estimates.value[1]);
    wizard->setPage(tsRozmeryHaly);
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_A"), 72.0)); // the volume doubles
    ASSERT_TRUE(session->finishWizard(false));
    EXPECT_NEAR(f("Q"), before, 1.0) << "page 6 was not shown again";
}

TEST_F(WizardTest, TheStoredInfiltrationLossFollowsTheTemperaturesInEveryWay) {
    auto expected = [&] {
        const float q = float(f("Vtotal")) / 3600.0f * 0.8f * 1020.0f * 1.2f * float(f("n")) *
                        float(f("Ti") - f("Te"));
        return double(std::max(q, 0.0f));
    };
    for (LossWay way : {LossWay::Estimate, LossWay::OwnValue, LossWay::Calculation}) {
        SCOPED_TRACE(int(way));
        newProject();
        wizard->chooseLossWay(way);
        wizard->chooseCladding(CladdingClass::Medium);
        for (auto [e, v] : std::vector<std::pair<const char*, double>>{
                 {"DBEd_A", 30}, {"DBEd_B", 20}, {"DBEd_H1", 6}})
            ASSERT_TRUE(wizard->enterEdit(QLatin1String(e), v));
        // The temperatures come after the geometry, as the pages order them.
        wizard->chooseRegion(QStringLiteral("Praha"));
        EXPECT_NEAR(f("Q_infiltrace"), expected(), 0.5) << "the region's Te counts at once";
        ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_Ti"), 16));
        EXPECT_NEAR(f("Q_infiltrace"), expected(), 0.5) << "so does a typed Ti";
        ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_Te"), -13));
        if (way == LossWay::OwnValue) {
            ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_Q_kW"), 50));
        }
        wizard->setPage(tsTepelneZtraty);
        ASSERT_TRUE(session->finishWizard(false));
        EXPECT_NEAR(f("Q_infiltrace"), expected(), 0.5);
        EXPECT_NEAR(f("Q_infiltrace_kW"), expected() / 1000, 1e-3);
        EXPECT_DOUBLE_EQ(f("Ti") - f("Te"), 29.0);
        files->CloseProject(true);
    }
}

TEST_F(WizardTest, ClimateFuelAndControl) {
    newProject();
    wizard->chooseRegion(QStringLiteral("Praha"));
    EXPECT_EQ(p().asInteger(QStringLiteral("Pocet_dnu_otop_obd")), 225);
    EXPECT_DOUBLE_EQ(f("Te"), -12);
    EXPECT_EQ(st().locationLabel, QStringLiteral("CZ"));
    data->tSteny.first();
    EXPECT_DOUBLE_EQ(data->tSteny.asFloat(QStringLiteral("Te")), -12)
        << "the walls take the region's Te";
    wizard->chooseRegion(QStringLiteral("Our own village"));
    EXPECT_DOUBLE_EQ(f("Te"), -12) << "a typed name changes only the name";
    EXPECT_TRUE(st().locationLabel.isEmpty());

    wizard->chooseFuel(Fuel::Propane);
    EXPECT_EQ(st().priceUnit, PriceUnit::PerKg);
    EXPECT_TRUE(wizard->editEnabled(QStringLiteral("DBEd_CZK_kg")));
    EXPECT_FALSE(wizard->editEnabled(QStringLiteral("DBEd_CZK_m3")));
    EXPECT_EQ(wizard->editColour(QStringLiteral("DBEd_CZK_kg")), EditColour::Red) << "0 is red";
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_CZK_kg"), 12));
    EXPECT_EQ(wizard->editColour(QStringLiteral("DBEd_CZK_kg")), EditColour::Window);
    EXPECT_EQ(wizard->editColour(QStringLiteral("DBEd_CZK_m3")), EditColour::ButtonFace);
    setLanguage(BaseCZ);
    wizard->StoreWizardChoices();
    EXPECT_EQ(p().asString(QStringLiteral("Cena_text")), QStringLiteral("12 CZK/kg"));
    setLanguage(BaseEN);

    wizard->chooseControlMethod(ControlMethod::SelfControl);
    EXPECT_TRUE(wizard->editEnabled(QStringLiteral("DBEd_Ucinnost_regulace")));
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_Ucinnost_regulace"), 0.95));
    wizard->chooseControlMethod(ControlMethod::Modulated);
    EXPECT_DOUBLE_EQ(f("Ucinnost_regulace"), 1.1);
    EXPECT_FALSE(wizard->enterEdit(QStringLiteral("DBEd_Ucinnost_regulace"), 0.9))
        << "disabled again";

    wizard->setVentilation(true);
    EXPECT_TRUE(st().families & FamilyMK) << "ventilation ticks the MK family";
    wizard->setVentilation(false);
    EXPECT_TRUE(st().families & FamilyMK) << "clearing it does not clear MK";
    EXPECT_FALSE(wizard->editEnabled(QStringLiteral("DBEd_Vcz")));
}

TEST_F(WizardTest, RegionListByLanguage) {
    newProject();
    setLanguage(BaseCZ);
    wizard->FillRegionList();
    EXPECT_EQ(st().regionList.first(), QStringLiteral("* nezadáno"));
    EXPECT_EQ(st().regionList.value(1), QStringLiteral("Praha"));
    const int czech = int(st().regionList.size());
    setLanguage(BaseRU);
    wizard->FillRegionList();
    EXPECT_GT(st().regionList.size(), czech);
    EXPECT_TRUE(st().regionList.value(1).contains(QRegularExpression(QStringLiteral("[А-Яа-я]"))))
        << "Belarus, Ukraine and Russia first";
    setLanguage(BaseEN);
}

TEST_F(WizardTest, WorkConditions) {
    newProject();
    wizard->chooseWorkClass(0);
    EXPECT_EQ(p().asString(QStringLiteral("Energ_vydej_text")), QStringLiteral("? W/m2"));
    EXPECT_TRUE(st().workClassDescription.isEmpty());
    wizard->chooseWorkClass(2);
    EXPECT_TRUE(p().asString(QStringLiteral("Energ_vydej_text")).endsWith(QStringLiteral(" W/m2")));
    EXPECT_FALSE(st().workClassDescription.isEmpty());
    wizard->choosePosture(Posture::Sitting);
    EXPECT_EQ(p().asString(QStringLiteral("Vyska_dychaci_zony_text")), QStringLiteral("1.1 m"));
    wizard->choosePosture(Posture::Standing);
    EXPECT_EQ(p().asString(QStringLiteral("Vyska_dychaci_zony_text")), QStringLiteral("1.7 m"));
    setLanguage(BaseGE);
    wizard->chooseWorkClass(2);
    const QString german = st().workClassDescription;
    setLanguage(BaseEN);
    wizard->chooseWorkClass(2);
    EXPECT_NE(german, st().workClassDescription) << "the description follows the language";
}

TEST_F(WizardTest, CompilerDefaults) {
    newProject();
    for (auto [e, v] :
         std::vector<std::pair<const char*, const char*>>{{"DBed_Person", "Ing. Nováková"},
                                                          {"DBEd_Phone", "+420 1"},
                                                          {"DBEd_Email", "n@x.example"}})
        ASSERT_TRUE(wizard->enterEdit(QLatin1String(e), QString::fromUtf8(v)));
    wizard->saveAsDefaultClicked();
    wizard->saveAsDefaultClicked();
    EXPECT_EQ(dlg.last().text, LanguageText(5008));
    data->tDefPerson.open();
    EXPECT_EQ(data->tDefPerson.recordCount(), 1) << "saving twice leaves one record";
    data->tDefPerson.close();
    dlg.answers = {IdNo};
    newProject();
    EXPECT_EQ(p().asString(QStringLiteral("Vypracoval_text")), QStringLiteral("Ing. Nováková"));
    EXPECT_EQ(p().asString(QStringLiteral("Email")), QStringLiteral("n@x.example"));
    wizard->deleteDefaultClicked();
    wizard->deleteDefaultClicked();
    EXPECT_EQ(dlg.last().text, LanguageText(5009)) << "also without a default";
    dlg.answers = {IdNo};
    newProject();
    EXPECT_TRUE(p().asString(QStringLiteral("Vypracoval_text")).isEmpty());
}

// A default that cannot be written is reported as the failure it is, never as
// saved; the same for deleting it.
TEST_F(WizardTest, CompilerDefaultsThatCannotBeWrittenAreNotReportedAsSaved) {
    newProject();
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBed_Person"), QStringLiteral("Ing. Dvořák")));
    wizard->saveAsDefaultClicked();
    ASSERT_EQ(dlg.last().text, LanguageText(5008));
    Database& reference = data->catalogConnection();
    for (const char* change : {"INSERT", "DELETE"})
        reference.exec(QStringLiteral("CREATE TEMP TRIGGER refuse%1 BEFORE %1 ON main.tDefPerson "
                                      "BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                           .arg(QLatin1String(change)));
    const size_t boxes = dlg.boxes.size();
    wizard->saveAsDefaultClicked();
    ASSERT_EQ(dlg.boxes.size(), boxes + 1);
    EXPECT_TRUE(dlg.last().text.startsWith(QStringLiteral("Cannot write to file")))
        << qPrintable(dlg.last().text);
    EXPECT_EQ(dlg.last().flags, MbError);
    wizard->deleteDefaultClicked();
    ASSERT_EQ(dlg.boxes.size(), boxes + 2);
    EXPECT_TRUE(dlg.last().text.startsWith(QStringLiteral("Cannot write to file")))
        << qPrintable(dlg.last().text);
    data->tDefPerson.open();
    EXPECT_EQ(data->tDefPerson.recordCount(), 1) << "the default stays as it was";
    data->tDefPerson.close();
    reference.exec(QStringLiteral("DROP TRIGGER temp.refuseINSERT"));
    reference.exec(QStringLiteral("DROP TRIGGER temp.refuseDELETE"));
    wizard->deleteDefaultClicked();
    EXPECT_EQ(dlg.last().text, LanguageText(5009));
}

TEST_F(WizardTest, ConstructionsAndOpenings) {
    newProject();
    wizard->chooseRoofType(RoofType::Saddle);
    wizard->setPage(tsStavebniKonstrukce);
    Dataset& w = data->tSteny;
    // The first roof plane of the saddle roof asks about openings other than skylights.
    for (w.first(); !w.eof() && w.asInteger(QStringLiteral("TypSteny")) != 2; w.next()) {
    }
    ASSERT_FALSE(w.eof());
    const QString roof = w.asString(QStringLiteral("NazevEN"));
    dlg.answers = {IdNo};
    wizard->constructions.wallFromCatalog(QStringLiteral("Roof of my own"), 0.3);
    EXPECT_EQ(dlg.last().text, formatText(LanguageText(5024), {roof}));
    EXPECT_DOUBLE_EQ(w.asFloat(QStringLiteral("k")), 0.3) << "the catalog's U";

    w.first();
    dlg.answers = {IdYes};
    wizard->constructions.wallFromCatalog(QStringLiteral("Brick"), 1.45);
    EXPECT_EQ(dlg.last().text,
              formatText(LanguageText(5007), {w.asString(QStringLiteral("NazevEN"))}));
    ASSERT_EQ(data->tStavOtvory.recordCount(), 1);
    EXPECT_EQ(data->tStavOtvory.asInteger(QStringLiteral("Pocet")), 1);
    EXPECT_DOUBLE_EQ(data->tStavOtvory.asFloat(QStringLiteral("Te")),
                     w.asFloat(QStringLiteral("Te")));
    dlg.answers = {IdYes};
    wizard->constructions.AskForOpenings();
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1) << "no second blank row";
    wizard->constructions.deleteOpening();
    EXPECT_TRUE(data->tStavOtvory.isEmpty());
    wizard->constructions.deleteOpening(); // nothing to delete: nothing happens

    // Copy actual: walls and gables of kind 1 together, not the roof or floor.
    w.first();
    w.setValue(QStringLiteral("k"), 0.35);
    w.post();
    wizard->constructions.CopyToSameKind();
    for (w.first(); !w.eof(); w.next()) {
        if (w.asInteger(QStringLiteral("TypSteny")) == 1)
            EXPECT_DOUBLE_EQ(w.asFloat(QStringLiteral("k")), 0.35);
        else
            EXPECT_NE(w.asFloat(QStringLiteral("k")), 0.35);
    }
    const QStringList openings = wizard->constructions.FillMaterialPickList(5);
    EXPECT_GT(openings.size(), 10);
    QStringList sorted = openings;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(openings, sorted);
}

TEST_F(WizardTest, CancelDiscardsTheWizardsChanges) {
    const QString path = named();
    const QByteArray saved = readAll(path);
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_ProjectName"), QStringLiteral("changed")));
    session->cancelWizard();
    EXPECT_FALSE(wizard->visible());
    EXPECT_EQ(readAll(path), saved);
    EXPECT_EQ(p().asString(QStringLiteral("ProjectName_text")), QString());

    session->openWizard();
    session->cancelWizard();
    EXPECT_EQ(readAll(path), saved) << "Cancel without a change leaves the project";
    EXPECT_TRUE(data->projectConnected());
}

TEST_F(WizardTest, LeavingAnEditRecomputesOnlyAfterAChange) {
    newProject();
    wizard->chooseRoofType(RoofType::Saddle);
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_H1"), 7));
    const double walls = f("Shala_steny");
    files->commandSave();                          // no unsaved change any more
    p().setValue(QStringLiteral("Stena_H1"), 4.0); // changed behind the wizard's back
    p().post();
    Modified = false;
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_H1"), 4.0));
    EXPECT_DOUBLE_EQ(f("Shala_steny"), walls) << "nothing changed: no recomputation";
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_H1"), 5.0));
    EXPECT_NE(f("Shala_steny"), walls);
    EXPECT_FALSE(wizard->enterEdit(QStringLiteral("DBEd_svA"), 3)) << "disabled without a skylight";
    EXPECT_FALSE(wizard->enterEdit(QStringLiteral("DBEd_A"), QStringLiteral("wide")));
}

TEST_F(WizardTest, ColourWhileTypingAndOneLineTexts) {
    newProject();
    const QString price = QStringLiteral("DBEd_CZK_m3");
    wizard->choosePriceUnit(PriceUnit::PerM3);
    EXPECT_EQ(wizard->editColourOfValue(price, QStringLiteral("0")), EditColour::Red);
    EXPECT_EQ(wizard->editColourOfValue(price, QStringLiteral("")), EditColour::Red);
    EXPECT_EQ(wizard->editColourOfValue(price, QStringLiteral("12")), EditColour::Window);
    EXPECT_EQ(wizard->editColourOfValue(price, QStringLiteral("twelve")), EditColour::Window)
        << "refused when left, not red while typed";
    EXPECT_EQ(wizard->editColourOfValue(price, 0.0), EditColour::Red);
    EXPECT_EQ(wizard->editColourOfValue(QStringLiteral("DBEd_CZK_kg"), 12.0),
              EditColour::ButtonFace);
    EXPECT_EQ(wizard->editColourOfValue(QStringLiteral("DBEd_ProjectName"), QString()),
              EditColour::Window);
    ASSERT_TRUE(wizard->enterEdit(price, 0.0));
    EXPECT_EQ(wizard->editColour(price), EditColour::Red);
    ASSERT_TRUE(wizard->enterEdit(price, 12.0));
    EXPECT_EQ(wizard->editColour(price), EditColour::Window);
    EXPECT_EQ(wizard->editColour(price, true), EditColour::Aqua);

    // An emptied number is accepted as empty and shown red.
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_A"), QStringLiteral(" ")));
    EXPECT_TRUE(p().isNull(QStringLiteral("Stena_A")));
    EXPECT_EQ(wizard->editColour(QStringLiteral("DBEd_A")), EditColour::Red);
    EXPECT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_A"), QVariant()));

    // A text pasted with line breaks into a one-line field becomes one line;
    // a memo keeps its lines.
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBEd_ProjectName"),
                                  QStringLiteral("Hall\r\nnorth\n\nwing\r\n")));
    EXPECT_EQ(p().asString(QStringLiteral("ProjectName_text")), QStringLiteral("Hall north wing"));
    ASSERT_TRUE(wizard->enterEdit(QStringLiteral("DBmemo_ProjectDesc"), QStringLiteral("a\nb")));
    EXPECT_EQ(p().asString(QStringLiteral("ProjectDesc_memo")), QStringLiteral("a\nb"));
    // Longer than the column: refused with the data layer's message, the value kept.
    QString error;
    EXPECT_FALSE(
        wizard->enterEdit(QStringLiteral("DBed_Investor"), QString(65, QLatin1Char('x')), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("too long"))) << qPrintable(error);
    EXPECT_EQ(p().asString(QStringLiteral("Investor_text")), QString());
    EXPECT_EQ(p().state(), Dataset::State::Browse);
}

TEST_F(WizardTest, LanguageSwitchRenamesTheConstructionsPage) {
    newProject();
    wizard->setPage(tsStavebniKonstrukce);
    EXPECT_EQ(wizard->constructions.openingsCaption(),
              QStringLiteral("Building openings (Wall 1)"));
    LoadLanguage(BaseGE);
    EXPECT_EQ(wizard->constructions.openingsCaption(),
              LanguageText(920) + QStringLiteral(" (Wand 1)"));
    EXPECT_EQ(wizard->constructions.materialPickList(),
              wizard->constructions.FillMaterialPickList(1))
        << "the constructions of the German catalog";
    LoadLanguage(BaseEN);
}

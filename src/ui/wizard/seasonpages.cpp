#include "wizard/seasonpages.h"

#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "wizard/tfrmzinput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zf {

namespace {

QStringList numbers(int first, int last) {
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QString::number(i);
    return out;
}

} // namespace

// --- page 2 ----------------------------------------------------------------------------

SeasonPage::SeasonPage(TfrmZInput& frame) : InputPage(frame, "tsOtopneObdobi") {
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    layout_->addLayout(columns);
    layout_->addStretch(1);
    buildClimate(left);
    buildOperation(left);
    left->addStretch(1);
    buildFuel(right);
    buildGains(right);
    right->addStretch(1);
}

// Climate: the region fills the days and the outdoor temperatures.
void SeasonPage::buildClimate(QVBoxLayout* column) {
    column->addWidget(form_.header(this, "LMDLbKlimUdaje", 550));
    QGroupBox* gk = form_.make<QGroupBox>(this, "gbKlimatickeUdaje", 551);
    auto* k = new QGridLayout(gk);
    DBcb_Oblast_ = form_.make<QComboBox>(gk, "DBcb_Oblast");
    DBcb_Oblast_->setEditable(true);
    DBcb_Oblast_->setInsertPolicy(QComboBox::NoInsert);
    DBcb_Oblast_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    DBcb_Oblast_->setMinimumContentsLength(24);
    // The combo shows the names as they are read.
    FieldAccess region =
        WizardForm::choice([this] { return wizard().state().regionText; },
                           [this](const QVariant& v) { wizard().chooseRegion(v.toString()); });
    region.maxLength = [&p = frame_.projectRecord()] {
        return FieldBinder::textLength(p, QStringLiteral("Oblast_text"));
    };
    form_.bind(DBcb_Oblast_, region);
    form_.hint(DBcb_Oblast_, 5111);
    lbLocation_ = new QLabel(gk);
    lbLocation_->setObjectName(QStringLiteral("lbLocation"));
    WizardForm::row(k, form_.make<QLabel>(gk, "lbOblast", 552), DBcb_Oblast_, lbLocation_);
    const std::tuple<const char*, int, const char*, int> rows[] = {
        {"lbPocetDnu", 553, "DBEd_OtopneObdobi", 5112},
        {"lbTes", 554, "DBEd_Tes", 5113},
        {"lbTe", 555, "DBEd_Te", 5114},
        {"lbTz", 556, "DBEd_Tzeme", 5115}};
    for (const auto& [label, id, name, hint] : rows) {
        auto* e = form_.make<QLineEdit>(gk, name);
        form_.hint(e, hint, WizardForm::Balloon);
        WizardForm::row(k, form_.make<QLabel>(gk, label, id), e);
    }
    k->setColumnStretch(2, 1);
    column->addWidget(gk);
}

// Operating time and indoor temperatures.
void SeasonPage::buildOperation(QVBoxLayout* column) {
    column->addWidget(form_.header(this, "LMDLbRezim", 557));
    QGroupBox* gr = form_.make<QGroupBox>(this, "gbRezim", 558);
    auto* r = new QGridLayout(gr);
    Dataset& p = frame_.projectRecord();
    auto dayList = [&](const char* label, int id, const char* name, const char* column, int last,
                       void (InputWizard::*choose)(int), int hint) {
        FieldAccess a;
        a.entries = [last] { return numbers(1, last); };
        a.read = [&p, column]() -> QVariant {
            if (!p.active() || p.isEmpty())
                return {};
            return QString::number(p.asInteger(QLatin1String(column)));
        };
        a.write = [this, choose](const QVariant& v, QString*) {
            (wizard().*choose)(v.toInt() + 1);
            return true;
        };
        auto* list = form_.make<QComboBox>(gr, name, 0, a);
        form_.hint(list, hint, WizardForm::Balloon);
        WizardForm::row(r, form_.make<QLabel>(gr, label, id), list);
    };
    dayList("lbDnyTyden", 559, "DBCb_Dny_za_tyden", "Provoz_dny_tyden", 7, &InputWizard::chooseDays,
            5116);
    dayList("lbHodDen", 560, "DBCb_Hodiny_za_den", "Provoz_hodiny_den", 24,
            &InputWizard::chooseHours, 5118);
    for (const auto& [label, id, name, hint] :
         {std::tuple{"lbTi", 561, "DBEd_Ti", 5119}, {"lbTtlumena", 562, "DBEd_Ttlumena", 5120}}) {
        auto* e = form_.make<QLineEdit>(gr, name);
        form_.hint(e, hint, WizardForm::Balloon);
        WizardForm::row(r, form_.make<QLabel>(gr, label, id), e);
    }
    r->setColumnStretch(2, 1);
    column->addWidget(gr);
}

// Fuel, its price and the control method.
void SeasonPage::buildFuel(QVBoxLayout* column) {
    column->addWidget(form_.header(this, "LMDLbZdrojeTepla", 563));
    QGroupBox* gf = form_.make<QGroupBox>(this, "gbPalivo", 564);
    auto* f = new QGridLayout(gf);
    FieldAccess fuel =
        WizardForm::choice([this] { return int(wizard().state().fuel); },
                           [this](const QVariant& v) { wizard().chooseFuel(Fuel(v.toInt())); });
    fuel.entries = &InputWizard::fuelCaptions;
    auto* cbDruhPaliva = form_.make<QComboBox>(gf, "cbDruhPaliva", 0, fuel);
    form_.hint(cbDruhPaliva, 5121);
    WizardForm::row(f, form_.make<QLabel>(gf, "lbDruhPaliva", 565), cbDruhPaliva);
    const std::tuple<const char*, const char*, int> prices[] = {{"rbCZK_m3", "DBEd_CZK_m3", 5122},
                                                                {"rbCZK_kWh", "DBEd_CZK_kWh", 5123},
                                                                {"rbCZK_kg", "DBEd_CZK_kg", 5124}};
    for (int i = 0; i < 3; ++i) {
        const auto& [radio, edit, hint] = prices[i];
        FieldAccess unit;
        unit.read = [this, i] { return int(wizard().state().priceUnit) == i; };
        unit.write = [this, i](const QVariant& v, QString*) {
            if (v.toBool())
                wizard().choosePriceUnit(PriceUnit(i));
            return true;
        };
        // Its caption names the currency; it is set with the language.
        prices_[i] = form_.make<QRadioButton>(gf, radio, 0, unit);
        priceEdits_[i] = form_.make<QLineEdit>(gf, edit);
        form_.hint(priceEdits_[i], hint, WizardForm::Balloon);
        const int row = f->rowCount();
        f->addWidget(prices_[i], row, 0);
        f->addWidget(priceEdits_[i], row, 1);
    }
    FieldAccess control = WizardForm::choice(
        [this] { return int(wizard().state().controlMethod); },
        [this](const QVariant& v) { wizard().chooseControlMethod(ControlMethod(v.toInt())); });
    control.entries = &InputWizard::controlMethodCaptions;
    QLabel* lbRegulace = form_.make<QLabel>(gf, "lbRegulace", 670);
    auto* cbRegulace = form_.make<QComboBox>(gf, "cbRegulace", 0, control);
    form_.hint(cbRegulace, 5125);
    efficiency_ = form_.make<QLineEdit>(gf, "DBEd_Ucinnost_regulace");
    form_.hint(efficiency_, 5126, WizardForm::Balloon);
    const int row = f->rowCount();
    f->addWidget(lbRegulace, row, 0, 1, 2);
    f->addWidget(cbRegulace, row + 1, 0);
    f->addWidget(efficiency_, row + 1, 1);
    lbRegulace->setBuddy(cbRegulace);
    f->setColumnStretch(2, 1);
    column->addWidget(gf);
}

// Permanent heat gains.
void SeasonPage::buildGains(QVBoxLayout* column) {
    column->addWidget(form_.header(this, "LMDLbTrvaleZisky", 598));
    QGroupBox* gt = form_.make<QGroupBox>(this, "gbTrvaleZisky", 599);
    auto* t = new QGridLayout(gt);
    const std::tuple<const char*, int, const char*, int> rows[] = {
        {"lbTechnologie", 600, "DBEd_Technologie", 5127},
        {"lbVyt_system", 601, "DBEd_Vyt_system", 5128},
        {"lbOstatni", 602, "DBEd_Ostatni", 5129}};
    for (const auto& [label, id, name, hint] : rows) {
        auto* e = form_.make<QLineEdit>(gt, name);
        form_.hint(e, hint, WizardForm::Balloon);
        WizardForm::row(t, form_.make<QLabel>(gt, label, id), e);
    }
    t->setColumnStretch(2, 1);
    column->addWidget(gt);
}

void SeasonPage::refresh(unsigned what) {
    if (what & WizardValues) {
        refreshRegionList();
        lbLocation_->setText(wizard().state().locationLabel);
    }
    InputPage::refresh(what);
}

void SeasonPage::refreshRegionList() {
    const QStringList& list = wizard().state().regionList;
    QStringList shown;
    for (int i = 0; i < DBcb_Oblast_->count(); ++i)
        shown << DBcb_Oblast_->itemText(i);
    if (shown == list)
        return;
    const QSignalBlocker quiet(DBcb_Oblast_);
    DBcb_Oblast_->clear();
    DBcb_Oblast_->addItems(list);
    frame_.binder().refresh(DBcb_Oblast_);
}

void SeasonPage::applyLanguage() {
    InputPage::applyLanguage();
    // The price captions name the currency of the language; each names its edit.
    for (int i = 0; i < 3; ++i) {
        prices_[i]->setText(formatText(LanguageText(590 + i), {CurrencyName(LanguageBase)}));
        priceEdits_[i]->setAccessibleName(WizardForm::accessibleText(prices_[i]->text()));
    }
    efficiency_->setAccessibleName(WizardForm::accessibleText(3300));
    // The region's label is the list's buddy; the list's own edit is named by
    // it too, and so is the list where the platform takes its name.
    const QString region = WizardForm::accessibleText(552);
    DBcb_Oblast_->setAccessibleName(region);
    DBcb_Oblast_->lineEdit()->setAccessibleName(region);
}

// --- page 3 ----------------------------------------------------------------------------

ModePage::ModePage(TfrmZInput& frame) : InputPage(frame, "tsProvozniRezim") {
    layout_->addWidget(form_.header(this, "LMDLbProvozniRezim", 650));
    gbProvozniRezim_ = form_.make<QGroupBox>(this, "gbProvozniRezim", 651);
    auto* v = new QVBoxLayout(gbProvozniRezim_);
    QGroupBox* g = gbProvozniRezim_;
    auto check = [&](const char* name, int id, int hint, auto read, auto write,
                     std::function<bool()> enabled = {}) {
        FieldAccess a =
            WizardForm::choice(read, [write](const QVariant& on) { write(on.toBool()); });
        a.enabled = std::move(enabled);
        auto* box = form_.make<QCheckBox>(g, name, id, a);
        form_.hint(box, hint);
        return box;
    };
    v->addWidget(check(
        "cbVytapeni", 652, 5130, [this] { return wizard().state().heating; },
        [this](bool on) { wizard().setHeating(on); }));
    v->addWidget(check(
        "cbVetrani", 653, 5131, [this] { return wizard().state().ventilation; },
        [this](bool on) { wizard().setVentilation(on); }));
    // The fresh air, under ventilation.
    auto* air = new QGridLayout;
    air->setContentsMargins(g->fontMetrics().averageCharWidth() * 4, 0, 0, 0);
    const std::tuple<const char*, int, const char*, const char*> airRows[] = {
        {"lbVcz", 654, "DBEd_Vcz", "m3/h"},
        {"lbVcl", 655, "DBEd_Vcl", "m3/h"},
        {"lbRekuperace", 656, "DBEd_Rekuperace", "%"}};
    for (const auto& [label, id, edit, unit] : airRows) {
        auto* u = new QLabel(QLatin1String(unit), g);
        u->setObjectName(QLatin1String(label) + QStringLiteral("Unit"));
        WizardForm::row(air, form_.make<QLabel>(g, label, id), form_.make<QLineEdit>(g, edit), u);
    }
    air->setColumnStretch(3, 1);
    v->addLayout(air);
    // Cooling is not designed yet: its box stays cleared and disabled.
    v->addWidget(check(
        "cbChlazeni", 657, 5132, [this] { return wizard().state().cooling; },
        [this](bool on) { wizard().setCooling(on); }, [] { return false; }));
    layout_->addWidget(g);

    QLabel* families = form_.header(this, "LMDLbTypJednotek", 658);
    layout_->addWidget(families);
    cblbPouziteJednotky_ = new QListWidget(this);
    cblbPouziteJednotky_->setObjectName(QStringLiteral("cblbPouziteJednotky"));
    for (int i = 0; i < 3; ++i) {
        auto* item = new QListWidgetItem(cblbPouziteJednotky_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    const int rowHeight = std::max(cblbPouziteJednotky_->sizeHintForRow(0),
                                   cblbPouziteJednotky_->fontMetrics().height() + 4);
    cblbPouziteJednotky_->setFixedHeight(3 * rowHeight + 2 * cblbPouziteJednotky_->frameWidth() +
                                         4);
    connect(cblbPouziteJednotky_, &QListWidget::itemChanged, this, &ModePage::familyChanged);
    families->setBuddy(cblbPouziteJednotky_);
    form_.hint(cblbPouziteJednotky_, 5133);
    frame_.watchKeys(cblbPouziteJednotky_);
    layout_->addWidget(cblbPouziteJednotky_);
    layout_->addStretch(1);
}

void ModePage::familyChanged(QListWidgetItem* item) {
    if (frame_.refreshing())
        return;
    const int i = cblbPouziteJednotky_->row(item);
    if (i >= 0 && i < 3)
        wizard().setFamily(UnitFamily(UnitFamilies[i]), item->checkState() == Qt::Checked);
}

void ModePage::refresh(unsigned what) {
    InputPage::refresh(what);
    if (!(what & WizardValues))
        return;
    const QStringList captions = InputWizard::familyCaptions();
    const int families = wizard().state().families;
    {
        const QSignalBlocker quiet(cblbPouziteJednotky_);
        for (int i = 0; i < cblbPouziteJednotky_->count() && i < captions.size(); ++i) {
            QListWidgetItem* item = cblbPouziteJednotky_->item(i);
            item->setText(captions[i]);
            item->setCheckState(families & UnitFamilies[i] ? Qt::Checked : Qt::Unchecked);
        }
    }
    // While the message that no mode is chosen is up, the group's caption is red.
    const bool alert = wizard().state().modesAlert;
    if (gbProvozniRezim_->property("alert").toBool() == alert)
        return;
    gbProvozniRezim_->setProperty("alert", alert);
    gbProvozniRezim_->setStyleSheet(
        alert ? QStringLiteral("QGroupBox#gbProvozniRezim::title { color: red; }") : QString());
}

void ModePage::applyLanguage() {
    InputPage::applyLanguage();
    {
        const QSignalBlocker quiet(cblbPouziteJednotky_);
        const QStringList captions = InputWizard::familyCaptions();
        for (int i = 0; i < cblbPouziteJednotky_->count() && i < captions.size(); ++i)
            cblbPouziteJednotky_->item(i)->setText(captions[i]);
    }
    cblbPouziteJednotky_->setAccessibleName(WizardForm::accessibleText(658));
}

} // namespace zf

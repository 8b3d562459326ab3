// The wizard's form pages: the project and its compiler, the heating season,
// heating and ventilation, the work conditions and the closing text.
#include "wizard/tfrmzinput.h"

#include "helphints.h"
#include "i18n/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
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

QWidget* TfrmZInput::buildProjectPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsUvodniText", 503, "LMDLbZpracovatel", &l);

    QGroupBox* gp = newGroup(page, "gbProjekt", 504);
    auto* g = new QGridLayout(gp);
    addRow(g, newLabel(gp, "lbNazevProjektu", 505), newEdit(gp, "DBEd_ProjectName"));
    addRow(g, newLabel(gp, "lbPopisProjektu", 506), newMemo(gp, "DBmemo_ProjectDesc", 3));
    addRow(g, newLabel(gp, "lbZadavatel", 507), newEdit(gp, "DBed_Investor"));
    g->setColumnStretch(1, 1);
    l->addWidget(gp);

    QGroupBox* gz = newGroup(page, "gbZpracovatel", 508);
    auto* z = new QGridLayout(gz);
    addRow(z, newLabel(gz, "lbVypracoval", 509), newEdit(gz, "DBed_Person"));
    addRow(z, newLabel(gz, "lbAddress", 510), newMemo(gz, "DBmemo_Address", 3));
    addRow(z, newLabel(gz, "lbPhone", 511), newEdit(gz, "DBEd_Phone"));
    addRow(z, newLabel(gz, "lbFax", 512), newEdit(gz, "DBEd_Fax"));
    addRow(z, newLabel(gz, "lbEmail", 513), newEdit(gz, "DBEd_Email"));
    z->setColumnStretch(1, 1);
    auto* defaults = new QHBoxLayout;
    defaults->addStretch(1);
    for (const auto& [name, id, click] :
         {std::tuple{"btSaveAsDefault", 514, &InputWizard::saveAsDefaultClicked},
          std::tuple{"btDeleteDefault", 515, &InputWizard::deleteDefaultClicked}}) {
        auto* b = new QPushButton(gz);
        b->setObjectName(QLatin1String(name));
        // Not in the tab order; a click still leaves the edit, so that what was
        // typed is stored before it is saved as the default.
        b->setFocusPolicy(Qt::ClickFocus);
        texts_.push_back({b, id});
        connect(b, &QPushButton::clicked, this, [this, click = click] { (wizard().*click)(); });
        defaults->addWidget(b);
    }
    z->addLayout(defaults, z->rowCount(), 0, 1, 2);
    l->addWidget(gz);
    l->addStretch(1);
    return page;
}

QWidget* TfrmZInput::buildSeasonPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsOtopneObdobi", 0, nullptr, &l);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    l->addLayout(columns);
    l->addStretch(1);

    // Climate: the region fills the days and the outdoor temperatures.
    left->addWidget(newHeader(page, "LMDLbKlimUdaje", 550));
    QGroupBox* gk = newGroup(page, "gbKlimatickeUdaje", 551);
    auto* k = new QGridLayout(gk);
    DBcb_Oblast_ = new QComboBox(gk);
    DBcb_Oblast_->setObjectName(QStringLiteral("DBcb_Oblast"));
    DBcb_Oblast_->setEditable(true);
    DBcb_Oblast_->setInsertPolicy(QComboBox::NoInsert);
    DBcb_Oblast_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    DBcb_Oblast_->setMinimumContentsLength(24);
    FieldAccess region;
    region.read = [this] { return QVariant(wizard().state().regionText); };
    region.write = [this](const QVariant& v, QString*) {
        // The combo shows the names as they are read.
        wizard().chooseRegion(v.toString());
        return true;
    };
    binder_.bind(DBcb_Oblast_, region);
    watchKeys(DBcb_Oblast_);
    lbLocation_ = new QLabel(gk);
    lbLocation_->setObjectName(QStringLiteral("lbLocation"));
    addRow(k, newLabel(gk, "lbOblast", 552), DBcb_Oblast_, lbLocation_);
    addRow(k, newLabel(gk, "lbPocetDnu", 553), newEdit(gk, "DBEd_OtopneObdobi"));
    addRow(k, newLabel(gk, "lbTes", 554), newEdit(gk, "DBEd_Tes"));
    addRow(k, newLabel(gk, "lbTe", 555), newEdit(gk, "DBEd_Te"));
    addRow(k, newLabel(gk, "lbTz", 556), newEdit(gk, "DBEd_Tzeme"));
    k->setColumnStretch(2, 1);
    left->addWidget(gk);

    // Operating time and indoor temperatures.
    left->addWidget(newHeader(page, "LMDLbRezim", 557));
    QGroupBox* gr = newGroup(page, "gbRezim", 558);
    auto* r = new QGridLayout(gr);
    auto dayList = [this](const char* column, int last, void (InputWizard::*choose)(int)) {
        FieldAccess a;
        a.entries = [last] { return numbers(1, last); };
        a.read = [this, column]() -> QVariant {
            const Dataset& p = session().data.tADOProject;
            if (!p.active() || p.isEmpty())
                return {};
            return QString::number(p.asInteger(QLatin1String(column)));
        };
        a.write = [this, choose](const QVariant& v, QString*) {
            (wizard().*choose)(v.toInt() + 1);
            return true;
        };
        return a;
    };
    addRow(r, newLabel(gr, "lbDnyTyden", 559),
           newCombo(gr, "DBCb_Dny_za_tyden",
                    dayList("Provoz_dny_tyden", 7, &InputWizard::chooseDays)));
    addRow(r, newLabel(gr, "lbHodDen", 560),
           newCombo(gr, "DBCb_Hodiny_za_den",
                    dayList("Provoz_hodiny_den", 24, &InputWizard::chooseHours)));
    addRow(r, newLabel(gr, "lbTi", 561), newEdit(gr, "DBEd_Ti"));
    addRow(r, newLabel(gr, "lbTtlumena", 562), newEdit(gr, "DBEd_Ttlumena"));
    r->setColumnStretch(2, 1);
    left->addWidget(gr);
    left->addStretch(1);

    // Fuel, its price and the control method.
    right->addWidget(newHeader(page, "LMDLbZdrojeTepla", 563));
    QGroupBox* gf = newGroup(page, "gbPalivo", 564);
    auto* f = new QGridLayout(gf);
    FieldAccess fuel;
    fuel.entries = &InputWizard::fuelCaptions;
    fuel.read = [this] { return int(wizard().state().fuel); };
    fuel.write = [this](const QVariant& v, QString*) {
        wizard().chooseFuel(Fuel(v.toInt()));
        return true;
    };
    addRow(f, newLabel(gf, "lbDruhPaliva", 565), newCombo(gf, "cbDruhPaliva", fuel));
    const std::pair<const char*, const char*> prices[] = {
        {"rbCZK_m3", "DBEd_CZK_m3"}, {"rbCZK_kWh", "DBEd_CZK_kWh"}, {"rbCZK_kg", "DBEd_CZK_kg"}};
    for (int i = 0; i < 3; ++i) {
        FieldAccess unit;
        unit.read = [this, i] { return int(wizard().state().priceUnit) == i; };
        unit.write = [this, i](const QVariant& v, QString*) {
            if (v.toBool())
                wizard().choosePriceUnit(PriceUnit(i));
            return true;
        };
        // Its caption names the currency; it is set with the language.
        QRadioButton* radio = newRadio(gf, prices[i].first, 0, unit);
        const int row = f->rowCount();
        f->addWidget(radio, row, 0);
        f->addWidget(newEdit(gf, prices[i].second), row, 1);
    }
    FieldAccess control;
    control.entries = &InputWizard::controlMethodCaptions;
    control.read = [this] { return int(wizard().state().controlMethod); };
    control.write = [this](const QVariant& v, QString*) {
        wizard().chooseControlMethod(ControlMethod(v.toInt()));
        return true;
    };
    QLabel* lbRegulace = newLabel(gf, "lbRegulace", 670);
    QComboBox* cbRegulace = newCombo(gf, "cbRegulace", control);
    const int row = f->rowCount();
    f->addWidget(lbRegulace, row, 0, 1, 2);
    f->addWidget(cbRegulace, row + 1, 0);
    f->addWidget(newEdit(gf, "DBEd_Ucinnost_regulace"), row + 1, 1);
    lbRegulace->setBuddy(cbRegulace);
    f->setColumnStretch(2, 1);
    right->addWidget(gf);

    // Permanent heat gains.
    right->addWidget(newHeader(page, "LMDLbTrvaleZisky", 598));
    QGroupBox* gt = newGroup(page, "gbTrvaleZisky", 599);
    auto* t = new QGridLayout(gt);
    addRow(t, newLabel(gt, "lbTechnologie", 600), newEdit(gt, "DBEd_Technologie"));
    addRow(t, newLabel(gt, "lbVyt_system", 601), newEdit(gt, "DBEd_Vyt_system"));
    addRow(t, newLabel(gt, "lbOstatni", 602), newEdit(gt, "DBEd_Ostatni"));
    t->setColumnStretch(2, 1);
    right->addWidget(gt);
    right->addStretch(1);
    return page;
}

QWidget* TfrmZInput::buildModePage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsProvozniRezim", 0, nullptr, &l);
    l->addWidget(newHeader(page, "LMDLbProvozniRezim", 650));
    QGroupBox* g = newGroup(page, "gbProvozniRezim", 651);
    auto* v = new QVBoxLayout(g);
    auto check = [this](const char* name, int id, auto read, auto write) {
        FieldAccess a;
        a.read = read;
        a.write = [write](const QVariant& value, QString*) {
            write(value.toBool());
            return true;
        };
        return std::pair{name, std::pair{id, a}};
    };
    const auto heating = check(
        "cbVytapeni", 652, [this] { return QVariant(wizard().state().heating); },
        [this](bool on) { wizard().setHeating(on); });
    v->addWidget(newCheck(g, heating.first, heating.second.first, heating.second.second));
    const auto ventilation = check(
        "cbVetrani", 653, [this] { return QVariant(wizard().state().ventilation); },
        [this](bool on) { wizard().setVentilation(on); });
    v->addWidget(
        newCheck(g, ventilation.first, ventilation.second.first, ventilation.second.second));
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
        addRow(air, newLabel(g, label, id), newEdit(g, edit), u);
    }
    air->setColumnStretch(3, 1);
    v->addLayout(air);
    const auto cooling = check(
        "cbChlazeni", 657, [this] { return QVariant(wizard().state().cooling); },
        [this](bool on) { wizard().setCooling(on); });
    FieldAccess coolingAccess = cooling.second.second;
    // Cooling is not designed yet: its box stays cleared and disabled.
    coolingAccess.enabled = [] { return false; };
    v->addWidget(newCheck(g, cooling.first, cooling.second.first, coolingAccess));
    l->addWidget(g);

    QLabel* families = newHeader(page, "LMDLbTypJednotek", 658);
    l->addWidget(families);
    cblbPouziteJednotky_ = new QListWidget(page);
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
    connect(cblbPouziteJednotky_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (refreshing_)
            return;
        const int i = cblbPouziteJednotky_->row(item);
        if (i >= 0 && i < 3)
            wizard().setFamily(UnitFamily(UnitFamilies[i]), item->checkState() == Qt::Checked);
    });
    families->setBuddy(cblbPouziteJednotky_);
    watchKeys(cblbPouziteJednotky_);
    l->addWidget(cblbPouziteJednotky_);
    l->addStretch(1);
    return page;
}

QWidget* TfrmZInput::buildWorkPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsPracovniPodminky", 950, "LMDLbTrida", &l);
    QGroupBox* gw = newGroup(page, "gbPracoviste", 951);
    auto* w = new QGridLayout(gw);
    FieldAccess work;
    work.entries = &InputWizard::workClasses;
    work.read = [this] { return wizard().state().workClass; };
    work.write = [this](const QVariant& v, QString*) {
        wizard().chooseWorkClass(v.toInt());
        return true;
    };
    cbTridaPrace_ = newCombo(gw, "cbTridaPrace", work);
    addRow(w, newLabel(gw, "lbTrida", 952), cbTridaPrace_);
    lbTridaPrace_ = new QLabel(gw);
    lbTridaPrace_->setObjectName(QStringLiteral("lbTridaPrace"));
    lbTridaPrace_->setWordWrap(true);
    lbTridaPrace_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Room for the longest description of a class in two lines and more.
    lbTridaPrace_->setMinimumHeight(lbTridaPrace_->fontMetrics().lineSpacing() * 3);
    lbTridaPrace_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    w->addWidget(lbTridaPrace_, w->rowCount(), 0, 1, 3);
    w->setColumnStretch(2, 1);
    l->addWidget(gw);

    QGroupBox* ga = newGroup(page, "gbPredpoklady", 953);
    auto* a = new QGridLayout(ga);
    FieldAccess posture;
    posture.entries = &InputWizard::postureCaptions;
    posture.read = [this] { return int(wizard().state().posture); };
    posture.write = [this](const QVariant& v, QString*) {
        wizard().choosePosture(Posture(v.toInt()));
        return true;
    };
    addRow(a, newLabel(ga, "lbPoloha", 954), newCombo(ga, "cbPolohaCloveka", posture));
    auto text = [&](const char* captionName, int id, const char* name, const char* field) {
        QLabel* caption = newLabel(ga, captionName, id);
        const int row = a->rowCount();
        a->addWidget(caption, row, 0);
        a->addWidget(newValue(ga, name, QLatin1String(field), false, caption), row, 1);
    };
    auto fixed = [&](const char* captionName, int id, const char* name, const char* value) {
        QLabel* caption = newLabel(ga, captionName, id);
        auto* v = new QLabel(QString::fromUtf8(value), ga);
        v->setObjectName(QLatin1String(name));
        const int row = a->rowCount();
        a->addWidget(caption, row, 0);
        a->addWidget(v, row, 1);
    };
    text("lbEnergVydej", 955, "DBText_Energ_vydej", "Energ_vydej_text");
    fixed("lbTepOdporOdevu", 956, "lbOdev", "1 clo");
    fixed("lbRychlostVzduchu", 957, "lbRychlost", "0 - 0.2 m/s");
    fixed("lbVlhkost", 958, "lbVlhkostVzduchu", "30 - 70 %");
    text("lbVyskaDychZony", 959, "DBText_Vyska_dychaci_zony", "Vyska_dychaci_zony_text");
    a->setColumnStretch(2, 1);
    l->addWidget(ga);
    l->addStretch(1);
    return page;
}

QWidget* TfrmZInput::buildClosingPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsZaver", 1000, "LMDLbZaver", &l);
    auto* g = new QGridLayout;
    addRow(g, newLabel(page, "lbNadpis", 1001), newEdit(page, "DBEdZaver_text"));
    addRow(g, newLabel(page, "lbText", 1002), newMemo(page, "DBmemo_Zaver", 8));
    addRow(g, newLabel(page, "lbName", 1003), newEdit(page, "DBEdit1"));
    auto* date = new QDateTimeEdit(page);
    date->setObjectName(QStringLiteral("dtVypracovani"));
    date->setCalendarPopup(true);
    // The user's short date, always with the full year.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    date->setDisplayFormat(format);
    date->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    FieldAccess when;
    when.read = [this] { return QVariant(wizard().state().datePicker); };
    when.write = [this](const QVariant& v, QString*) {
        wizard().setDate(v.toDateTime());
        return true;
    };
    binder_.bind(date, when);
    watchKeys(date);
    addRow(g, newLabel(page, "lbDatum", 1004), date);
    g->setColumnStretch(1, 1);
    l->addLayout(g);
    l->addStretch(1);
    return page;
}

} // namespace zf

// The wizard's pages of the building: the hall and the skylight with their
// surfaces, and the way the heat loss is determined.
#include "wizard/tfrmzinput.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "i18n/texts.h"
#include "svgpicture.h"
#include "units/resultsummary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr Qt::Alignment numberAlignment = Qt::AlignRight | Qt::AlignVCenter;

// The surfaces as the hall and skylight pages list them: read only.
std::vector<GridColumn> surfaceColumns() {
    return {{QStringLiteral("NazevEN"), QString(), 0, false},
            {QStringLiteral("Plocha"), QString(), 0, false, numberAlignment},
            {QStringLiteral("Vyska"), QString(), 0, false, numberAlignment},
            {QStringLiteral("Sirka"), QString(), 0, false, numberAlignment},
            {QStringLiteral("Ti"), QString(), 0, false, numberAlignment},
            {QStringLiteral("Te"), QString(), 0, false, numberAlignment}};
}

} // namespace

QWidget* TfrmZInput::buildHallPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsRozmeryHaly", 700, "LMDLbRozmeryHaly", &l);
    auto* top = new QHBoxLayout;
    QGroupBox* g = newGroup(page, "gbRozmeryHaly", 701);
    auto* f = new QGridLayout(g);
    FieldAccess roof;
    roof.entries = &InputWizard::roofTypeCaptions;
    roof.read = [this] { return int(wizard().state().roofType); };
    roof.write = [this](const QVariant& v, QString*) {
        wizard().chooseRoofType(RoofType(v.toInt()));
        return true;
    };
    addRow(f, newLabel(g, "lbTypStrechy", 702), newCombo(g, "cbTypStrechy", roof));
    addRow(f, newLabel(g, "lbDelka", 707), newEdit(g, "DBEd_A"));
    addRow(f, newLabel(g, "lbSirka", 708), newEdit(g, "DBEd_B"));
    addRow(f, newLabel(g, "lb_H1", 709), newEdit(g, "DBEd_H1"));
    addRow(f, newLabel(g, "lb_H2", 710), newEdit(g, "DBEd_H2"));
    addValueRow(f, g, "slbPlochaSten", 711, "DBText_Shala_steny", "Shala_steny");
    addValueRow(f, g, "slbPlochaPodlahy", 712, "DBText_Shala_podlaha", "Shala_podlaha");
    addValueRow(f, g, "slb_Vhala", 713, "DBText_Vhala", "Vhala");
    addValueRow(f, g, "slb_Vtotal", 714, "DBText_Vtotal", "Vtotal");
    f->setColumnStretch(2, 1);
    top->addWidget(g, 1);
    imTypHaly_ = new SvgPicture(page);
    imTypHaly_->setObjectName(QStringLiteral("imTypHaly"));
    // As high as the dimensions beside it, in the proportions of the pictures.
    const int h = g->sizeHint().height();
    imTypHaly_->setPreferredSize(QSize(h * 4 / 3, h));
    top->addWidget(imTypHaly_, 0, Qt::AlignTop);
    l->addLayout(top);

    hallModel_ = new DatasetModel(session().data.dsSteny, this);
    hallModel_->setColumns(surfaceColumns());
    ExDBGrid_Hala_ = newGrid(page, "ExDBGrid_Hala", hallModel_);
    l->addWidget(ExDBGrid_Hala_, 1);
    return page;
}

QWidget* TfrmZInput::buildSkylightPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsRozmerySvetliku", 750, "LMDLbRozmerySvetliku", &l);
    auto* top = new QHBoxLayout;
    QGroupBox* g = newGroup(page, "gbRozmerySvetliku", 751);
    auto* f = new QGridLayout(g);
    FieldAccess skylight;
    skylight.entries = &InputWizard::skylightTypeCaptions;
    skylight.read = [this] { return int(wizard().state().skylightType); };
    skylight.write = [this](const QVariant& v, QString*) {
        wizard().chooseSkylightType(SkylightType(v.toInt()));
        return true;
    };
    addRow(f, newLabel(g, "lbTypSvetliku", 752), newCombo(g, "cbTypSvetliku", skylight));
    addRow(f, newLabel(g, "lb_svDelka", 758), newEdit(g, "DBEd_svA"));
    addRow(f, newLabel(g, "lb_svSirka", 759), newEdit(g, "DBEd_svB"));
    addRow(f, newLabel(g, "lb_svH1", 760), newEdit(g, "DBEd_svH1"));
    addRow(f, newLabel(g, "lb_svH2", 761), newEdit(g, "DBEd_svH2"));
    addValueRow(f, g, "slbPlochaSvetliku", 762, "DBText_Ssvetlik_steny", "Ssvetlik_steny");
    addValueRow(f, g, "slbPlochaPodstavy", 763, "DBText_Ssvetlik_podlaha", "Ssvetlik_podlaha");
    addValueRow(f, g, "slb_Vsvetlik", 764, "DBText_Vsvetlik", "Vsvetlik");
    addValueRow(f, g, "slb_svVtotal", 765, "DBText_svVtotal", "Vtotal");
    f->setColumnStretch(2, 1);
    top->addWidget(g, 1);
    imTypSvetliku_ = new SvgPicture(page);
    imTypSvetliku_->setObjectName(QStringLiteral("imTypSvetliku"));
    const int h = g->sizeHint().height();
    imTypSvetliku_->setPreferredSize(QSize(h * 4 / 3, h));
    top->addWidget(imTypSvetliku_, 0, Qt::AlignTop);
    l->addLayout(top);

    skylightModel_ = new DatasetModel(session().data.dsSteny, this);
    skylightModel_->setColumns(surfaceColumns());
    ExDBGrid_Svetlik_ = newGrid(page, "ExDBGrid_Svetlik", skylightModel_);
    l->addWidget(ExDBGrid_Svetlik_, 1);
    return page;
}

QWidget* TfrmZInput::buildLossesPage() {
    QVBoxLayout* l = nullptr;
    QWidget* page = newPage("tsTepelneZtraty", 800, "LMDLbTepelneZtraty", &l);
    QGroupBox* way = newGroup(page, "rgTepZtraty", 801);
    auto* w = new QVBoxLayout(way);
    for (int i = 0; i < 3; ++i) {
        FieldAccess a;
        a.read = [this, i] { return int(wizard().state().lossWay) == i; };
        a.write = [this, i](const QVariant& v, QString*) {
            if (v.toBool())
                wizard().chooseLossWay(LossWay(i));
            return true;
        };
        const QByteArray name = "rgTepZtraty" + QByteArray::number(i);
        w->addWidget(newRadio(way, name.constData(), 802 + i, a));
    }
    l->addWidget(way);

    // The own value right below the ways.
    auto* own = new QVBoxLayout;
    own->setSpacing(4);
    QLabel* lbQUser = newLabel(page, "lbQUser", 814);
    QLineEdit* q = newEdit(page, "DBEd_Q_kW");
    lbQUser->setBuddy(q);
    own->addSpacing(12 - l->spacing());
    own->addWidget(lbQUser);
    own->addWidget(q);
    l->addLayout(own);

    LMDLabelQ_ = new QLabel(page);
    LMDLabelQ_->setObjectName(QStringLiteral("LMDLabelQ"));
    LMDLabelQ_->setWordWrap(true);
    LMDLabelQ_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    l->addWidget(LMDLabelQ_);

    QGroupBox* approx = newGroup(page, "gbTepZtratyAprox", 808);
    auto* a = new QGridLayout(approx);
    for (int i = 0; i < CladdingClassCount; ++i) {
        FieldAccess cls;
        cls.read = [this, i] { return int(wizard().state().cladding) == i; };
        cls.write = [this, i](const QVariant& v, QString*) {
            if (v.toBool())
                wizard().chooseCladding(CladdingClass(i));
            return true;
        };
        const QByteArray name = "rbZatepleni" + QByteArray::number(i);
        QRadioButton* r = newRadio(approx, name.constData(), 809 + i, cls);
        auto* estimate = new QLabel(approx);
        estimate->setObjectName(QStringLiteral("lbZatepleni%1").arg(i));
        estimate->setWordWrap(true);
        estimate->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        estimate->setContentsMargins(r->fontMetrics().averageCharWidth() * 4, 0, 0, 0);
        // The longest estimate takes two lines.
        estimate->setMinimumHeight(estimate->fontMetrics().lineSpacing() * 2);
        const int row = a->rowCount();
        a->addWidget(r, row, 0);
        a->addWidget(estimate, row + 1, 0);
        // The fourth class is never offered.
        if (i == int(CladdingClass::VeryPoor)) {
            r->hide();
            estimate->hide();
        }
    }
    l->addWidget(approx);
    l->addStretch(1);
    return page;
}

void TfrmZInput::refreshPictures() {
    const WizardState& s = wizard().state();
    const QString hall = buildingPictureFile(int(s.roofType), true);
    const QString sky = buildingPictureFile(int(s.skylightType), false);
    imTypHaly_->setFile(hall);
    imTypSvetliku_->setFile(sky);
    // The picture's hint is its file, as the report's pictures are named.
    imTypHaly_->setProperty("hint", hall);
    imTypSvetliku_->setProperty("hint", sky);
    imTypHaly_->setAccessibleName(InputWizard::roofTypeCaptions().value(int(s.roofType)));
    imTypSvetliku_->setAccessibleName(
        InputWizard::skylightTypeCaptions().value(int(s.skylightType)));
    // The edits the types do not use are hidden with their labels.
    const bool h2 = s.roofType != RoofType::Flat;
    const bool svH2 = s.skylightType == SkylightType::Type2;
    for (const auto& [name, shown] :
         {std::pair{"lb_H2", h2}, {"DBEd_H2", h2}, {"lb_svH2", svH2}, {"DBEd_svH2", svH2}})
        if (QWidget* w = findChild<QWidget*>(QLatin1String(name)))
            w->setVisible(shown);
}

void TfrmZInput::refreshLosses() {
    const WizardState& s = wizard().state();
    const int way = int(s.lossWay);
    LMDLabelQ_->setText(LanguageText(805 + std::clamp(way, 0, 2)));
    findChild<QGroupBox*>(QStringLiteral("gbTepZtratyAprox"))
        ->setVisible(s.lossWay == LossWay::Estimate);
    const bool own = s.lossWay == LossWay::OwnValue;
    findChild<QLabel*>(QStringLiteral("lbQUser"))->setVisible(own);
    findChild<QLineEdit*>(QStringLiteral("DBEd_Q_kW"))->setVisible(own);
    for (int i = 0; i < CladdingClassCount; ++i) {
        auto* label = findChild<QLabel*>(QStringLiteral("lbZatepleni%1").arg(i));
        label->setText(s.estimates.text[i]);
        label->setProperty("hint", s.estimates.value[i]);
    }
    // The fourth class is never offered; only a stored project selects it.
    auto* veryPoor = findChild<QRadioButton*>(QStringLiteral("rbZatepleni3"));
    veryPoor->setVisible(false);
    veryPoor->setEnabled(s.estimates.veryPoorEnabled);
    findChild<QLabel*>(QStringLiteral("lbZatepleni3"))->setVisible(false);
}

} // namespace zf

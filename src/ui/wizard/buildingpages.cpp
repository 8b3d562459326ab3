#include "wizard/buildingpages.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "i18n/texts.h"
#include "svgpicture.h"
#include "units/resultsummary.h"
#include "wizard/tfrmzinput.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr Qt::Alignment numberAlignment = Qt::AlignRight | Qt::AlignVCenter;

// Rows the surface grids show without scrolling.
constexpr int surfaceRows = 6;

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

// --- pages 4 and 5 -----------------------------------------------------------------------

DimensionsPage::DimensionsPage(TfrmZInput& frame, const Fields& fields, FieldAccess type)
    : InputPage(frame, fields.name, fields.headerId, fields.headerName),
      firstTitle_(fields.firstTitle), groupTitle_(fields.groupId) {
    auto* top = new QHBoxLayout;
    QGroupBox* g = form_.make<QGroupBox>(this, fields.group, fields.groupId);
    auto* f = new QGridLayout(g);
    auto* list = form_.make<QComboBox>(g, fields.typeList, 0, std::move(type));
    form_.hint(list, fields.typeHint);
    WizardForm::row(f, form_.make<QLabel>(g, fields.typeLabel, fields.typeLabelId), list);
    for (int i = 0; i < 4; ++i) {
        auto* edit = form_.make<QLineEdit>(g, fields.edits[i][1]);
        auto* label = form_.make<QLabel>(g, fields.edits[i][0], fields.firstEditLabel + i);
        WizardForm::row(f, label, edit);
        if (i == 3)
            secondHeight_[0] = label, secondHeight_[1] = edit;
    }
    for (int i = 0; i < 4; ++i)
        form_.valueRow(f, g, fields.values[i][0], fields.firstValueCaption + i, fields.values[i][1],
                       fields.values[i][2]);
    f->setColumnStretch(2, 1);
    top->addWidget(g, 1);
    picture_ = new SvgPicture(this);
    picture_->setObjectName(QLatin1String(fields.picture));
    // As high as the dimensions beside it, in the proportions of the pictures.
    const int h = g->sizeHint().height();
    picture_->setPreferredSize(QSize(h * 4 / 3, h));
    top->addWidget(picture_, 0, Qt::AlignTop);
    layout_->addLayout(top);

    auto* model = new DatasetModel(frame_.wallsSource(), this);
    model->setColumns(surfaceColumns());
    grid_ = form_.make<DatasetGrid>(this, fields.grid);
    grid_->setDatasetModel(model);
    form_.hint(grid_, 5135);
    layout_->addWidget(grid_, 1);
}

void DimensionsPage::showPicture(const QString& file, const QString& type) {
    picture_->setFile(file);
    // The picture's hint is its file, as the report's pictures are named.
    picture_->setProperty("hint", file);
    picture_->setAccessibleName(type);
}

void DimensionsPage::applyLanguage() {
    InputPage::applyLanguage();
    WizardForm::layOutGrid(grid_, firstTitle_, true, -1, surfaceRows, frame_.font());
    grid_->setAccessibleName(WizardForm::accessibleText(groupTitle_));
}

void DimensionsPage::fitColumns() {
    grid_->setFittedColumn(0);
}

HallPage::HallPage(TfrmZInput& frame)
    : DimensionsPage(frame,
                     {"tsRozmeryHaly",
                      700,
                      "LMDLbRozmeryHaly",
                      "gbRozmeryHaly",
                      701,
                      "lbTypStrechy",
                      702,
                      "cbTypStrechy",
                      5134,
                      {{"lbDelka", "DBEd_A"},
                       {"lbSirka", "DBEd_B"},
                       {"lb_H1", "DBEd_H1"},
                       {"lb_H2", "DBEd_H2"}},
                      707,
                      {{"slbPlochaSten", "DBText_Shala_steny", "Shala_steny"},
                       {"slbPlochaPodlahy", "DBText_Shala_podlaha", "Shala_podlaha"},
                       {"slb_Vhala", "DBText_Vhala", "Vhala"},
                       {"slb_Vtotal", "DBText_Vtotal", "Vtotal"}},
                      711,
                      "imTypHaly",
                      "ExDBGrid_Hala",
                      715},
                     [&frame] {
                         FieldAccess roof;
                         roof.entries = &InputWizard::roofTypeCaptions;
                         roof.read = [&frame] { return int(frame.wizard().state().roofType); };
                         roof.write = [&frame](const QVariant& v, QString*) {
                             frame.wizard().chooseRoofType(RoofType(v.toInt()));
                             return true;
                         };
                         return roof;
                     }()) {}

void HallPage::refresh(unsigned what) {
    InputPage::refresh(what);
    if (!(what & WizardValues))
        return;
    const RoofType roof = wizard().state().roofType;
    showPicture(buildingPictureFile(int(roof), true),
                InputWizard::roofTypeCaptions().value(int(roof)));
    // The second height is hidden with its label where the roof has none.
    for (QWidget* w : secondHeight_)
        w->setVisible(roof != RoofType::Flat);
}

SkylightPage::SkylightPage(TfrmZInput& frame)
    : DimensionsPage(frame,
                     {"tsRozmerySvetliku",
                      750,
                      "LMDLbRozmerySvetliku",
                      "gbRozmerySvetliku",
                      751,
                      "lbTypSvetliku",
                      752,
                      "cbTypSvetliku",
                      5136,
                      {{"lb_svDelka", "DBEd_svA"},
                       {"lb_svSirka", "DBEd_svB"},
                       {"lb_svH1", "DBEd_svH1"},
                       {"lb_svH2", "DBEd_svH2"}},
                      758,
                      {{"slbPlochaSvetliku", "DBText_Ssvetlik_steny", "Ssvetlik_steny"},
                       {"slbPlochaPodstavy", "DBText_Ssvetlik_podlaha", "Ssvetlik_podlaha"},
                       {"slb_Vsvetlik", "DBText_Vsvetlik", "Vsvetlik"},
                       {"slb_svVtotal", "DBText_svVtotal", "Vtotal"}},
                      762,
                      "imTypSvetliku",
                      "ExDBGrid_Svetlik",
                      766},
                     [&frame] {
                         FieldAccess sky;
                         sky.entries = &InputWizard::skylightTypeCaptions;
                         sky.read = [&frame] { return int(frame.wizard().state().skylightType); };
                         sky.write = [&frame](const QVariant& v, QString*) {
                             frame.wizard().chooseSkylightType(SkylightType(v.toInt()));
                             return true;
                         };
                         return sky;
                     }()) {}

void SkylightPage::refresh(unsigned what) {
    InputPage::refresh(what);
    if (!(what & WizardValues))
        return;
    const SkylightType sky = wizard().state().skylightType;
    showPicture(buildingPictureFile(int(sky), false),
                InputWizard::skylightTypeCaptions().value(int(sky)));
    for (QWidget* w : secondHeight_)
        w->setVisible(sky == SkylightType::Type2);
}

// --- page 6 -----------------------------------------------------------------------------

LossesPage::LossesPage(TfrmZInput& frame)
    : InputPage(frame, "tsTepelneZtraty", 800, "LMDLbTepelneZtraty") {
    QGroupBox* way = form_.make<QGroupBox>(this, "rgTepZtraty", 801);
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
        w->addWidget(form_.make<QRadioButton>(way, name.constData(), 802 + i, a));
    }
    layout_->addWidget(way);

    // The own value right below the ways.
    auto* own = new QVBoxLayout;
    own->setSpacing(4);
    QLabel* lbQUser = form_.make<QLabel>(this, "lbQUser", 814);
    auto* q = form_.make<QLineEdit>(this, "DBEd_Q_kW");
    lbQUser->setBuddy(q);
    own->addSpacing(12 - layout_->spacing());
    own->addWidget(lbQUser);
    own->addWidget(q);
    layout_->addLayout(own);
    own_[0] = lbQUser, own_[1] = q;

    LMDLabelQ_ = new QLabel(this);
    LMDLabelQ_->setObjectName(QStringLiteral("LMDLabelQ"));
    LMDLabelQ_->setWordWrap(true);
    LMDLabelQ_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout_->addWidget(LMDLabelQ_);

    gbTepZtratyAprox_ = form_.make<QGroupBox>(this, "gbTepZtratyAprox", 808);
    auto* a = new QGridLayout(gbTepZtratyAprox_);
    for (int i = 0; i < CladdingClassCount; ++i) {
        FieldAccess cls;
        cls.read = [this, i] { return int(wizard().state().cladding) == i; };
        cls.write = [this, i](const QVariant& v, QString*) {
            if (v.toBool())
                wizard().chooseCladding(CladdingClass(i));
            return true;
        };
        const QByteArray name = "rbZatepleni" + QByteArray::number(i);
        auto* r = form_.make<QRadioButton>(gbTepZtratyAprox_, name.constData(), 809 + i, cls);
        auto* estimate = new QLabel(gbTepZtratyAprox_);
        estimate->setObjectName(QStringLiteral("lbZatepleni%1").arg(i));
        estimate->setWordWrap(true);
        estimate->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        estimate->setContentsMargins(r->fontMetrics().averageCharWidth() * 4, 0, 0, 0);
        // The longest estimate takes two lines.
        estimate->setMinimumHeight(estimate->fontMetrics().lineSpacing() * 2);
        const int row = a->rowCount();
        a->addWidget(r, row, 0);
        a->addWidget(estimate, row + 1, 0);
        estimates_[i] = estimate;
        // The fourth class is never offered.
        if (i == int(CladdingClass::VeryPoor)) {
            r->hide();
            estimate->hide();
            veryPoor_ = r;
        }
    }
    layout_->addWidget(gbTepZtratyAprox_);
    layout_->addStretch(1);
}

void LossesPage::refresh(unsigned what) {
    InputPage::refresh(what);
    if (!(what & WizardValues))
        return;
    const WizardState& s = wizard().state();
    LMDLabelQ_->setText(LanguageText(805 + std::clamp(int(s.lossWay), 0, 2)));
    gbTepZtratyAprox_->setVisible(s.lossWay == LossWay::Estimate);
    for (QWidget* w : own_)
        w->setVisible(s.lossWay == LossWay::OwnValue);
    for (int i = 0; i < CladdingClassCount; ++i) {
        estimates_[i]->setText(s.estimates.text[i]);
        estimates_[i]->setProperty("hint", s.estimates.value[i]);
    }
    // The fourth class is never offered; only a stored project selects it.
    veryPoor_->setVisible(false);
    veryPoor_->setEnabled(s.estimates.veryPoorEnabled);
    estimates_[int(CladdingClass::VeryPoor)]->setVisible(false);
}

} // namespace zf

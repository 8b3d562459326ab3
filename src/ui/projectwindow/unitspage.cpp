#include "projectwindow/unitspage.h"

#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "binding/fieldbinder.h"
#include "i18n/language.h"
#include "mainwindow.h"
#include "projectwindow/projectwidgets.h"
#include "session/projectsession.h"
#include "units/unittypes.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr int CountColumn = 2;
const QColor ChosenRow(0, 128, 0);

QLabel* hintLabel(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(255, 0, 0));
    l->setPalette(p);
    l->hide();
    return l;
}

} // namespace

UnitsPage::UnitsPage(ProjectSession& session, TfrmZMain* main, QWidget* parent)
    : QWidget(parent), session_(session), main_(main) {
    binder_ = new FieldBinder(this);
    auto* focusKeys = new FocusKeys(this);
    auto* balloons = new HelpBalloon(main_, this);
    auto* layout = new QVBoxLayout(this);

    lbTyp_ = new QLabel(this);
    lbTyp_->setObjectName(QStringLiteral("LMDLbTyp"));
    QFont hf = lbTyp_->font();
    hf.setBold(true);
    hf.setPointSizeF(hf.pointSizeF() * 1.25);
    lbTyp_->setFont(hf);
    layout->addWidget(lbTyp_);

    auto* totals = new QHBoxLayout;
    lbPocetJednotek_ = new QLabel(this);
    lbPocetJednotek_->setObjectName(QStringLiteral("lbPocetJednotek"));
    units_ = new QLabel(this);
    units_->setObjectName(QStringLiteral("DBTxtPocetJednotek"));
    lbPocetDestrat_ = new QLabel(this);
    lbPocetDestrat_->setObjectName(QStringLiteral("lbPocetDestrat"));
    destratifiers_ = new QLabel(this);
    destratifiers_->setObjectName(QStringLiteral("DBTxtPocetDestrat"));
    for (QLabel* v : {units_, destratifiers_}) {
        QFont f = v->font();
        f.setBold(true);
        v->setFont(f);
    }
    lbPocetJednotek_->setBuddy(units_);
    lbPocetDestrat_->setBuddy(destratifiers_);
    totals->addWidget(lbPocetJednotek_);
    totals->addWidget(units_);
    totals->addSpacing(24);
    totals->addWidget(lbPocetDestrat_);
    totals->addWidget(destratifiers_);
    totals->addStretch();
    layout->addLayout(totals);
    // No rule shows this recommendation; it is kept with its text.
    lbUseDestrat_ = new QLabel(this);
    lbUseDestrat_->setObjectName(QStringLiteral("lbUseDestrat"));
    lbUseDestrat_->hide();
    layout->addWidget(lbUseDestrat_);

    // The grid of tTempTable and the placement panel.
    auto* body = new QHBoxLayout;
    model_ = new DatasetModel(session_.unitTypesSource(), this);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    model_->setColumns({{QStringLiteral("ID"), {}, 24, false, right},
                        {QStringLiteral("Typ"), {}, 150},
                        {QStringLiteral("Pocet_jednotek"), {}, 70, true, right},
                        {QStringLiteral("Max_pocet_jednotek"), {}, 70, false, right},
                        {QStringLiteral("Tep_vykon"), {}, 55, false, right},
                        {QStringLiteral("Prutok_vzduchu"), {}, 55, false, right},
                        {QStringLiteral("El_prikon"), {}, 60, false, right},
                        {QStringLiteral("Dosah"), {}, 40, false, right},
                        {QStringLiteral("dT"), {}, 60, false, right},
                        {QStringLiteral("dB"), {}, 45, false, right},
                        {QStringLiteral("dp"), {}, 45, false, right}});
    // Rows with a chosen number are green with white text; the chosen number
    // and its title are bold.
    model_->setCellRule([this](int row, int column, int role) -> QVariant {
        if (role == Qt::FontRole && column == CountColumn) {
            QFont f = grid_ ? grid_->font() : QFont();
            f.setBold(true);
            return f;
        }
        if (row < 0 || (role != Qt::BackgroundRole && role != Qt::ForegroundRole))
            return {};
        const Dataset& t = session_.unitTypes();
        const int field = t.fieldIndex(QStringLiteral("Pocet_jednotek"));
        if (field < 0 || row >= t.recordCount() || !(t.valueAt(row, field).toInt() > 0))
            return {};
        return role == Qt::BackgroundRole ? QVariant(ChosenRow) : QVariant(QColor(Qt::white));
    });
    grid_ = new DatasetGrid(this);
    grid_->setObjectName(QStringLiteral("ExDBGrid1"));
    model_->setTitleAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    grid_->setDatasetModel(model_);
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid_->horizontalHeader()->setStretchLastSection(false);
    grid_->setWordWrap(true);
    // Only the chosen number can be edited: every other column leads to it.
    grid_->setColumnEntryRule([this](int) { return model_->columnCount() > 2 ? CountColumn : 0; });
    counts_ = new PickListDelegate(
        [this](int row) { return session_.countPickList(row); }, this);
    counts_->setKeepOpenAfterChoice(true);
    counts_->setMaxVisibleEntries(16);
    grid_->setItemDelegateForColumn(CountColumn, counts_);
    connect(grid_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { editCount(index.row()); });
    body->addWidget(grid_, 1);

    gbRozmisteni_ = new QGroupBox(this);
    gbRozmisteni_->setObjectName(QStringLiteral("gbRozmisteni"));
    auto* panel = new QGridLayout(gbRozmisteni_);
    lbVarianta_ = new QLabel(gbRozmisteni_);
    lbVarianta_->setObjectName(QStringLiteral("lbVarianta"));
    variant_ = new QComboBox(gbRozmisteni_);
    variant_->setObjectName(QStringLiteral("cbUmisteni"));
    variant_->addItems(ProjectUnits::variantEntries());
    lbVarianta_->setBuddy(variant_);
    focusKeys->watch(variant_);
    balloons->watch(variant_);
    connect(variant_, qOverload<int>(&QComboBox::activated), this,
            [this](int i) { session_.setPlacementVariant(i); });
    variantPicture_ = new SvgPicture(gbRozmisteni_);
    variantPicture_->setObjectName(QStringLiteral("imUmisteni"));
    variantPicture_->setMinimumSize(180, 120);
    panel->addWidget(lbVarianta_, 0, 0);
    panel->addWidget(variant_, 0, 1);
    panel->addWidget(variantPicture_, 1, 0, 1, 2);

    auto heightField = [&](QLabel*& label, const char* labelName, QLineEdit*& edit,
                           const char* editName, const char* column) {
        label = new QLabel(gbRozmisteni_);
        label->setObjectName(QLatin1String(labelName));
        label->setWordWrap(true);
        edit = new QLineEdit(gbRozmisteni_);
        edit->setObjectName(QLatin1String(editName));
        edit->setAlignment(Qt::AlignRight);
        label->setBuddy(edit);
        focusKeys->watch(edit);
        const QString col = QLatin1String(column);
        FieldAccess a = FieldBinder::datasetField(session_.projectRecord(), col, EditKind::Float);
        auto refusing = a.write;
        // A number goes through the session (one operation, the views told);
        // anything else to the data layer, which refuses it with its message.
        a.write = [this, col, refusing](const QVariant& v, QString* error) {
            if (v.isValid() && !v.isNull() && v.typeId() != QMetaType::QString)
                return session_.setPlacementHeight(col, v.toDouble());
            return refusing(v, error);
        };
        binder_->bind(edit, a);
    };
    heightField(lbVyskaJednotek_, "lbVyskaJednotek", unitHeight_, UnitHeightControl,
                "Vyska_jednotek");
    heightField(lbVyskaDestrat_, "lbVyskaDestrat", destrHeight_, DestratifierHeightControl,
                "Vyska_destrat");
    panel->addWidget(lbVyskaJednotek_, 2, 0);
    panel->addWidget(unitHeight_, 2, 1);
    panel->addWidget(lbVyskaDestrat_, 3, 0);
    panel->addWidget(destrHeight_, 3, 1);

    rgSide_ = new QGroupBox(gbRozmisteni_);
    rgSide_->setObjectName(QStringLiteral("rgSide"));
    auto* sides = new QVBoxLayout(rgSide_);
    longer_ = new QRadioButton(rgSide_);
    longer_->setObjectName(QStringLiteral("rbDelsiStrana"));
    shorter_ = new QRadioButton(rgSide_);
    shorter_->setObjectName(QStringLiteral("rbKratsiStrana"));
    sides->addWidget(longer_);
    sides->addWidget(shorter_);
    connect(longer_, &QRadioButton::clicked, this, [this] { session_.setTowardsLongerSide(true); });
    connect(shorter_, &QRadioButton::clicked, this,
            [this] { session_.setTowardsLongerSide(false); });
    panel->addWidget(rgSide_, 4, 0, 1, 2);

    place_ = new QPushButton(gbRozmisteni_);
    place_->setObjectName(QStringLiteral("btUmistitJednotky"));
    place_->setAutoFillBackground(true);
    connect(place_, &QPushButton::clicked, this, [this] { session_.placeUnits(); });
    panel->addWidget(place_, 5, 0, 1, 2);
    panel->setRowStretch(6, 1);
    panel->setColumnStretch(1, 1);
    gbRozmisteni_->setMaximumWidth(420);
    body->addWidget(gbRozmisteni_);
    layout->addLayout(body, 1);

    // The coverage lines: caption, with its hint 14 px right of the caption's
    // text, above the bar.
    auto line = [&](QLabel*& caption, const char* name, QLabel* hint, CoverageBar*& bar,
                    const char* barName) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        caption = new QLabel(this);
        caption->setObjectName(QLatin1String(name));
        row->addWidget(caption);
        if (hint) {
            row->addSpacing(14);
            row->addWidget(hint);
        }
        row->addStretch();
        layout->addLayout(row);
        bar = new CoverageBar(this);
        bar->setObjectName(QLatin1String(barName));
        caption->setBuddy(bar);
        layout->addWidget(bar);
    };
    lbDestr_ = hintLabel("lbDestr", this);
    lbVetraci_ = hintLabel("lbVetraci", this);
    line(lbTepelny_, "lbTepelny", nullptr, heat_, "pbTepelny");
    line(lbCirkulacni_, "lbCirkulacni", lbDestr_, circulation_, "pbCirkulacni");
    line(lbVetrani_, "lbVetrani", lbVetraci_, ventilation_, "pbVetrani");
    // The throw of the placed units: the figure, and 14 px right of it what a
    // low one means.
    auto* reach = new QHBoxLayout;
    reach->setSpacing(0);
    lbThrowFigure_ = new QLabel(this);
    lbThrowFigure_->setObjectName(QStringLiteral("lbThrowFigure"));
    lbThrowHint_ = hintLabel("lbThrowHint", this);
    lbThrowHint_->setWordWrap(true);
    reach->addWidget(lbThrowFigure_);
    reach->addSpacing(14);
    reach->addWidget(lbThrowHint_, 1);
    layout->addLayout(reach);

    if (main_) {
        main_->registerHelpControl(lbTyp_);
        main_->registerHelpControl(variant_);
        main_->registerHelpControl(place_);
    }
    applyLanguage();
    refreshPlacement();
    refreshTable();
}

void UnitsPage::SetUnitTableTitles() {
    for (int c = 0; c < model_->columnCount(); ++c)
        model_->setColumnTitle(c, LanguageText(2130 + c));
    // Columns 0 and 1 keep their widths; the others take theirs, widened where
    // a word of the title would not fit. The model keeps the width, so that the
    // grid has it again when a project's table is read.
    if (baseWidths_.empty())
        for (int c = 0; c < model_->columnCount(); ++c)
            baseWidths_.push_back(model_->column(c).width);
    QFont titleBold = grid_->horizontalHeader()->font();
    titleBold.setBold(true);
    for (int c = 2; c < model_->columnCount(); ++c) {
        const QFontMetrics fm(c == CountColumn ? titleBold : grid_->horizontalHeader()->font());
        int word = 0;
        for (const QString& w : model_->column(c).title.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            word = std::max(word, fm.horizontalAdvance(w) + 10);
        const int width = std::max(baseWidths_[size_t(c)], word);
        model_->setColumnWidth(c, width);
        grid_->setColumnWidth(c, width);
    }
    // The titles wrap within their widths; the header is as high as the
    // longest of them needs.
    QHeaderView* header = grid_->horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    int height = 0;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const QFontMetrics fm(c == CountColumn ? bold : header->font());
        const QRect r =
            fm.boundingRect(QRect(0, 0, std::max(10, grid_->columnWidth(c) - 8), 2000),
                            Qt::AlignCenter | Qt::TextWordWrap, model_->column(c).title);
        height = std::max(height, r.height());
    }
    header->setFixedHeight(height + 10);
}

void UnitsPage::applyLanguage() {
    lbTyp_->setText(LanguageText(2100));
    lbPocetJednotek_->setText(LanguageText(2102));
    lbPocetDestrat_->setText(LanguageText(2103));
    lbUseDestrat_->setText(LanguageText(2104));
    gbRozmisteni_->setTitle(LanguageText(2105));
    lbVarianta_->setText(LanguageText(2106));
    lbVyskaJednotek_->setText(LanguageText(2107));
    lbVyskaDestrat_->setText(LanguageText(2108));
    rgSide_->setTitle(LanguageText(2109));
    longer_->setText(LanguageText(2110));
    shorter_->setText(LanguageText(2111));
    place_->setText(LanguageText(2120));
    lbTepelny_->setText(LanguageText(2121));
    lbCirkulacni_->setText(LanguageText(2122));
    lbVetrani_->setText(LanguageText(2123));
    lbDestr_->setText(LanguageText(2127));
    lbVetraci_->setText(LanguageText(2128));
    grid_->setAccessibleName(LanguageText(2100).trimmed());
    SetUnitTableTitles();
    // The language's face for the controls with fonts of their own.
    const QString face = ApplyLanguageFonts(LanguageBase).face;
    for (QWidget* w :
         std::initializer_list<QWidget*>{lbTyp_, lbDestr_, lbVetraci_, lbThrowHint_, place_}) {
        QFont f = w->font();
        f.setFamily(face);
        w->setFont(f);
    }
    if (main_) {
        main_->setControlHint(lbTyp_, LanguageText(2101));
        main_->setControlHint(variant_, LanguageText(5139));
        main_->setControlHint(place_, QString());
    }
    refreshVariantPicture();
    refreshCoverage();
}

void UnitsPage::refreshVariantPicture() {
    const int i = variant_->currentIndex();
    variantPicture_->setFile(ProjectUnits::variantPictureFile(i));
    variantPicture_->setAccessibleName(LanguageText(2106).trimmed() + QLatin1Char(' ') +
                                       variant_->currentText());
}

void UnitsPage::refreshPlacement() {
    const int v = session_.units().variantIndex();
    if (variant_->currentIndex() != v)
        variant_->setCurrentIndex(v >= 0 && v < variant_->count() ? v : 0);
    (session_.units().towardsLongerSide ? longer_ : shorter_)->setChecked(true);
    binder_->refresh();
    refreshVariantPicture();
}

void UnitsPage::refreshTable() {
    const bool vent = session_.ventilationLineVisible();
    lbVetrani_->setVisible(vent);
    ventilation_->setVisible(vent);
    refreshCoverage();
}

void UnitsPage::refreshCoverage() {
    const CoverageState& c = session_.coverage();
    const Dataset& p = session_.projectRecord();
    const bool has = p.active() && !p.isEmpty();
    units_->setText(has ? p.displayText(QStringLiteral("Pocet_jednotek_celkem")) : QString());
    destratifiers_->setText(has ? p.displayText(QStringLiteral("Pocet_destrat_celkem"))
                                : QString());
    heat_->setCoverage(c.barHeat, c.textHeat());
    circulation_->setCoverage(c.barCirc, c.textCirc());
    ventilation_->setCoverage(c.barVent, c.textVent());
    lbDestr_->setVisible(c.hintCirculation);
    lbVetraci_->setVisible(c.hintVentilation && session_.ventilationLineVisible());
    // Red, with white letters, once everything is covered.
    if (place_->property("covered").toBool() != c.placeButtonRed) {
        place_->setProperty("covered", c.placeButtonRed);
        place_->setStyleSheet(
            c.placeButtonRed ? QStringLiteral("QPushButton { background-color: rgb(255, 0, 0); "
                                              "color: white; border: 1px solid rgb(150, 0, "
                                              "0); border-radius: 3px; padding: 5px 12px; }")
                             : QString());
    }
    refreshThrowFigure();
    grid_->viewport()->update();
}

void UnitsPage::refreshThrowFigure() {
    const ThrowFigure f = session_.throwFigure();
    lbThrowFigure_->setVisible(f.shown);
    lbThrowFigure_->setText(f.text);
    lbThrowHint_->setText(f.hint);
    lbThrowHint_->setVisible(f.low);
}

void UnitsPage::editCount(int row) {
    if (row < 0 || row >= model_->rowCount() || model_->columnCount() <= CountColumn)
        return;
    const QModelIndex cell = model_->index(row, CountColumn);
    if (grid_->editing() && grid_->currentIndex() == cell)
        return;                   // its pick list is open already
    grid_->setCurrentIndex(cell); // which opens it, as the cell is editable
    if (!grid_->editing())
        grid_->edit(cell);
}

void UnitsPage::activated() {
    const int row = model_->currentRow();
    if (row >= 0)
        editCount(row);
}

} // namespace zf

#include "projectwindow/objprop.h"

#include "binding/fieldbinder.h"
#include "i18n/language.h"
#include "projectwindow/projectwidgets.h"
#include "qtdialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zf {

namespace {

const char* listName(UnitProperty property) {
    switch (property) {
    case UnitProperty::Location:
        return "DBCbUmisteni";
    case UnitProperty::FlueGasExhaust:
        return "DBCbOdvodSpalin";
    case UnitProperty::AirSupply:
        return "DBCbPrivodVzduchu";
    default:
        return "DBCbRegulace";
    }
}

const char* listLabelName(UnitProperty property) {
    switch (property) {
    case UnitProperty::Location:
        return "lbUmisteni";
    case UnitProperty::FlueGasExhaust:
        return "lbOdvod";
    case UnitProperty::AirSupply:
        return "lbPrivod";
    default:
        return "lbRegulace";
    }
}

} // namespace

TfrmObjProp::TfrmObjProp(ProjectSession& session, QWidget* parent)
    : QDialog(parent), SessionView(session), controller_(session.unitProperties()) {
    setObjectName(QStringLiteral("TfrmObjProp"));
    setModal(true);
    binder_ = new FieldBinder(this);
    auto* keys = new FocusKeys(this, true);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    lbTyp_ = new QLabel(this);
    lbTyp_->setObjectName(QStringLiteral("lbTyp"));
    typ_ = new QLabel(this);
    typ_->setObjectName(QStringLiteral("DBTxtTyp"));
    typ_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = typ_->font();
    bold.setBold(true);
    typ_->setFont(bold);
    lbTyp_->setBuddy(typ_);
    top->addWidget(lbTyp_);
    top->addWidget(typ_, 1);
    layout->addLayout(top);

    gbUmisteni_ = new QGroupBox(this);
    gbUmisteni_->setObjectName(QStringLiteral("gbUmisteni"));
    auto* grid = new QGridLayout(gbUmisteni_);
    lbCislo_ = new QLabel(QStringLiteral("#"), gbUmisteni_);
    lbCislo_->setObjectName(QStringLiteral("lbCislo"));
    number_ = new QLabel(gbUmisteni_);
    number_->setObjectName(QStringLiteral("DBTxtCislo"));
    number_->setFont(bold);
    lbCislo_->setBuddy(number_);
    grid->addWidget(lbCislo_, 0, 0);
    grid->addWidget(number_, 0, 1);

    int row = 1;
    auto numberField = [&](QLineEdit*& edit, const char* name, QLabel* label, const char* column) {
        edit = new QLineEdit(gbUmisteni_);
        edit->setObjectName(QLatin1String(name));
        edit->setAlignment(Qt::AlignLeft);
        edit->setProperty("column", QLatin1String(column));
        label->setBuddy(edit);
        keys->watch(edit);
        FieldAccess a;
        a.kind = EditKind::Float;
        a.displayFormat = QLatin1String(UnitPropertiesDialog::NumberFormat);
        a.writeOnlyChanged = true;
        const QString col = QLatin1String(column);
        a.read = [this, col]() -> QVariant {
            Dataset& u = controller_.row();
            if (!u.active() || u.isEmpty())
                return {};
            return u.value(col);
        };
        a.write = [this, col](const QVariant& v, QString* error) {
            return controller_.enterNumber(col, v, error);
        };
        binder_->bind(edit, a);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    };
    auto plainLabel = [&](const char* name, const char* text) {
        auto* l = new QLabel(QLatin1String(text), gbUmisteni_);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    numberField(x_, "DBEdX", plainLabel("lbX", "X [m]:"), "X");
    numberField(y_, "DBEdY", plainLabel("lbY", "Y [m]:"), "Y");
    numberField(z_, "DBEdZ", plainLabel("lbZ", "Z [m]:"), "Z");
    lbUhel_ = plainLabel("lbUhel", "");
    numberField(angle_, "DBEdUhel", lbUhel_, "Uhel");

    for (UnitProperty p : AllUnitProperties) {
        auto* label = new QLabel(gbUmisteni_);
        label->setObjectName(QLatin1String(listLabelName(p)));
        auto* combo = new QComboBox(gbUmisteni_);
        combo->setObjectName(QLatin1String(listName(p)));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        label->setBuddy(combo);
        keys->watch(combo);
        FieldAccess a;
        a.read = [this, p]() -> QVariant { return controller_.choice(p); };
        a.write = [this, p](const QVariant& v, QString*) {
            controller_.choose(p, v.toInt());
            return true;
        };
        a.enabled = [this, p] { return controller_.listEnabled(p); };
        a.entries = [p] { return unitPropertyEntries(p); };
        binder_->bind(combo, a);
        listLabels_[int(p)] = label;
        lists_[int(p)] = combo;
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    layout->addWidget(gbUmisteni_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btOK_ = new QPushButton(this);
    btOK_->setObjectName(QStringLiteral("btOK"));
    btOK_->setAutoDefault(false);
    btCancel_ = new QPushButton(this);
    btCancel_->setObjectName(QStringLiteral("btCancel"));
    btCancel_->setAutoDefault(false);
    buttons->addWidget(btOK_);
    buttons->addWidget(btCancel_);
    layout->addLayout(buttons);
    connect(btOK_, &QPushButton::clicked, this, &TfrmObjProp::ok);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);

    languageHandle_ = registerLanguageApplier([this](int) { applyLanguage(); });
    applyLanguage();
}

TfrmObjProp::~TfrmObjProp() {
    unregisterLanguageApplier(languageHandle_);
}

QLineEdit* TfrmObjProp::numberField(const QString& column) const {
    for (QLineEdit* e : {x_, y_, z_, angle_})
        if (e->property("column").toString() == column)
            return e;
    return nullptr;
}

void TfrmObjProp::applyLanguage() {
    QFont f = font();
    f.setFamily(ApplyLanguageFonts(LanguageBase).face);
    setFont(f);
    setWindowTitle(LanguageText(2300));
    gbUmisteni_->setTitle(LanguageText(2301));
    btOK_->setText(LanguageText(151));
    btCancel_->setText(LanguageText(152));
    lbTyp_->setText(LanguageText(2261) + QLatin1Char(':'));
    lbUhel_->setText(LanguageText(2265) + QLatin1Char(':'));
    for (UnitProperty p : AllUnitProperties) {
        listLabels_[int(p)]->setText(LanguageText(2266 + int(p)) + QLatin1Char(':'));
        // The lists are filled again; what they show comes from the row.
        QComboBox* combo = lists_[int(p)];
        combo->clear();
        combo->addItems(unitPropertyEntries(p));
    }
    if (isVisible())
        showChoices();
}

void TfrmObjProp::load() {
    number_->setText(QString::number(controller_.number()));
    typ_->setText(readableText(controller_.typ()));
    showChoices();
}

// The lists show the unit's choices; a list the unit does not have (the
// destratifier's) or a choice outside the list shows empty, never what
// another unit had.
void TfrmObjProp::showChoices() {
    binder_->refresh();
    for (UnitProperty p : AllUnitProperties) {
        QComboBox* combo = lists_[int(p)];
        const int choice = controller_.choice(p);
        if (!controller_.listEnabled(p) || choice < 0 || choice >= combo->count())
            combo->setCurrentIndex(-1);
    }
}

void TfrmObjProp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    x_->setFocus();
    // After the dialog's own loop has started.
    if (onShown)
        QTimer::singleShot(0, this, [this] {
            if (onShown && isVisible())
                onShown(*this);
        });
}

void TfrmObjProp::ok() {
    // The field being edited is written first; a refused value keeps the
    // dialog open with the focus in its field.
    if (QWidget* refused = binder_->refusedControl(); refused && refused->window() == this) {
        refused->setFocus();
        return;
    }
    for (QLineEdit* edit : {x_, y_, z_, angle_})
        if (!binder_->commit(edit))
            return;
    accept();
}

std::optional<bool> TfrmObjProp::execDialog(Window window) {
    if (window != Window::UnitProperties)
        return std::nullopt;
    load();
    QtDialogs::Placement place(this);
    const bool accepted = exec() == QDialog::Accepted;
    return accepted;
}

} // namespace zf

#include "wizard/formpages.h"

#include "i18n/texts.h"
#include "wizard/tfrmzinput.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

// --- page 1 ----------------------------------------------------------------------------

IntroPage::IntroPage(TfrmZInput& frame)
    : InputPage(frame, "tsUvodniText", 503, "LMDLbZpracovatel") {
    QGroupBox* gp = form_.make<QGroupBox>(this, "gbProjekt", 504);
    auto* g = new QGridLayout(gp);
    auto edit = [&](QGroupBox* group, QGridLayout* grid, const char* label, int id,
                    const char* name, int hint) {
        QWidget* control = QByteArray(name).startsWith("DBmemo_")
                               ? static_cast<QWidget*>(form_.make<QPlainTextEdit>(group, name))
                               : form_.make<QLineEdit>(group, name);
        form_.hint(control, hint, WizardForm::Balloon);
        WizardForm::row(grid, form_.make<QLabel>(group, label, id), control);
    };
    edit(gp, g, "lbNazevProjektu", 505, "DBEd_ProjectName", 5101);
    edit(gp, g, "lbPopisProjektu", 506, "DBmemo_ProjectDesc", 5102);
    edit(gp, g, "lbZadavatel", 507, "DBed_Investor", 5103);
    g->setColumnStretch(1, 1);
    layout_->addWidget(gp);

    QGroupBox* gz = form_.make<QGroupBox>(this, "gbZpracovatel", 508);
    auto* z = new QGridLayout(gz);
    edit(gz, z, "lbVypracoval", 509, "DBed_Person", 5104);
    edit(gz, z, "lbAddress", 510, "DBmemo_Address", 5105);
    edit(gz, z, "lbPhone", 511, "DBEd_Phone", 5106);
    edit(gz, z, "lbFax", 512, "DBEd_Fax", 5107);
    edit(gz, z, "lbEmail", 513, "DBEd_Email", 5108);
    z->setColumnStretch(1, 1);
    auto* defaults = new QHBoxLayout;
    defaults->addStretch(1);
    for (const auto& [name, id, hint, click] :
         {std::tuple{"btSaveAsDefault", 514, 5109, &InputWizard::saveAsDefaultClicked},
          std::tuple{"btDeleteDefault", 515, 5110, &InputWizard::deleteDefaultClicked}}) {
        auto* b = form_.make<QPushButton>(gz, name, id);
        // Not in the tab order; a click still leaves the edit, so that what was
        // typed is stored before it is saved as the default.
        b->setFocusPolicy(Qt::ClickFocus);
        form_.hint(b, hint);
        connect(b, &QPushButton::clicked, this, [this, click = click] { (wizard().*click)(); });
        defaults->addWidget(b);
    }
    z->addLayout(defaults, z->rowCount(), 0, 1, 2);
    layout_->addWidget(gz);
    layout_->addStretch(1);
}

// --- page 8 ----------------------------------------------------------------------------

WorkPage::WorkPage(TfrmZInput& frame) : InputPage(frame, "tsPracovniPodminky", 950, "LMDLbTrida") {
    QGroupBox* gw = form_.make<QGroupBox>(this, "gbPracoviste", 951);
    auto* w = new QGridLayout(gw);
    FieldAccess work =
        WizardForm::choice([this] { return wizard().state().workClass; },
                           [this](const QVariant& v) { wizard().chooseWorkClass(v.toInt()); });
    work.entries = &InputWizard::workClasses;
    cbTridaPrace_ = form_.make<QComboBox>(gw, "cbTridaPrace", 0, work);
    WizardForm::row(w, form_.make<QLabel>(gw, "lbTrida", 952), cbTridaPrace_);
    lbTridaPrace_ = new QLabel(gw);
    lbTridaPrace_->setObjectName(QStringLiteral("lbTridaPrace"));
    lbTridaPrace_->setWordWrap(true);
    lbTridaPrace_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Room for the longest description of a class in two lines and more.
    lbTridaPrace_->setMinimumHeight(lbTridaPrace_->fontMetrics().lineSpacing() * 3);
    lbTridaPrace_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    w->addWidget(lbTridaPrace_, w->rowCount(), 0, 1, 3);
    w->setColumnStretch(2, 1);
    layout_->addWidget(gw);

    QGroupBox* ga = form_.make<QGroupBox>(this, "gbPredpoklady", 953);
    auto* a = new QGridLayout(ga);
    FieldAccess posture = WizardForm::choice(
        [this] { return int(wizard().state().posture); },
        [this](const QVariant& v) { wizard().choosePosture(Posture(v.toInt())); });
    posture.entries = &InputWizard::postureCaptions;
    WizardForm::row(a, form_.make<QLabel>(ga, "lbPoloha", 954),
                    form_.make<QComboBox>(ga, "cbPolohaCloveka", 0, posture));
    // The texts of the project record and the fixed assumptions, each with its caption.
    auto line = [&](const char* captionName, int id, const char* name, const char* field,
                    const char* fixed) {
        QLabel* caption = form_.make<QLabel>(ga, captionName, id);
        QLabel* value = nullptr;
        if (fixed) {
            value = new QLabel(QString::fromUtf8(fixed), ga);
            value->setObjectName(QLatin1String(name));
        } else {
            value = form_.value(ga, name, QLatin1String(field), false, caption);
        }
        const int row = a->rowCount();
        a->addWidget(caption, row, 0);
        a->addWidget(value, row, 1);
    };
    line("lbEnergVydej", 955, "DBText_Energ_vydej", "Energ_vydej_text", nullptr);
    line("lbTepOdporOdevu", 956, "lbOdev", nullptr, "1 clo");
    line("lbRychlostVzduchu", 957, "lbRychlost", nullptr, "0 - 0.2 m/s");
    line("lbVlhkost", 958, "lbVlhkostVzduchu", nullptr, "30 - 70 %");
    line("lbVyskaDychZony", 959, "DBText_Vyska_dychaci_zony", "Vyska_dychaci_zony_text", nullptr);
    a->setColumnStretch(2, 1);
    layout_->addWidget(ga);
    layout_->addStretch(1);
}

void WorkPage::refresh(unsigned what) {
    InputPage::refresh(what);
    if (!(what & WizardValues))
        return;
    const QString description = wizard().state().workClassDescription;
    lbTridaPrace_->setText(description);
    // The class's description is the combo's tooltip whether help is shown or not.
    cbTridaPrace_->setToolTip(description);
}

// --- page 9 ----------------------------------------------------------------------------

ClosingPage::ClosingPage(TfrmZInput& frame) : InputPage(frame, "tsZaver", 1000, "LMDLbZaver") {
    auto* g = new QGridLayout;
    auto* title = form_.make<QLineEdit>(this, "DBEdZaver_text");
    form_.hint(title, 5137, WizardForm::Balloon);
    WizardForm::row(g, form_.make<QLabel>(this, "lbNadpis", 1001), title);
    auto* text = form_.make<QPlainTextEdit>(this, "DBmemo_Zaver");
    WizardForm::setLines(text, 8);
    WizardForm::row(g, form_.make<QLabel>(this, "lbText", 1002), text);
    WizardForm::row(g, form_.make<QLabel>(this, "lbName", 1003),
                    form_.make<QLineEdit>(this, "DBEdit1"));
    auto* date = form_.make<QDateTimeEdit>(this, "dtVypracovani");
    date->setCalendarPopup(true);
    // The user's short date, always with the full year.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    date->setDisplayFormat(format);
    date->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    form_.bind(date,
               WizardForm::choice([this] { return wizard().state().datePicker; },
                                  [this](const QVariant& v) { wizard().setDate(v.toDateTime()); }));
    WizardForm::row(g, form_.make<QLabel>(this, "lbDatum", 1004), date);
    g->setColumnStretch(1, 1);
    layout_->addLayout(g);
    layout_->addStretch(1);
}

} // namespace zf

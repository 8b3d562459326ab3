#include "optionsdialog.h"

#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "session/projectsession.h"
#include "shell/settings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zf {

TfrmOptions::TfrmOptions(ProjectSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("TfrmOptions"));
    auto* grid = new QGridLayout(this);
    lbSpread_ = new QLabel(this);
    lbSpread_->setObjectName(QStringLiteral("lbThrowSpread"));
    spread_ = new QLineEdit(this);
    spread_->setObjectName(QStringLiteral("edThrowSpread"));
    spread_->setAlignment(Qt::AlignRight);
    // Three digits and a little room: as wide as the font makes them.
    spread_->setMaximumWidth(spread_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    lbSpread_->setBuddy(spread_);
    lbDegrees_ = new QLabel(QStringLiteral("°"), this);
    lbDegrees_->setObjectName(QStringLiteral("lbThrowSpreadUnit"));
    grid->addWidget(lbSpread_, 0, 0);
    grid->addWidget(spread_, 0, 1);
    grid->addWidget(lbDegrees_, 0, 2);
    lbNote_ = new QLabel(this);
    lbNote_->setObjectName(QStringLiteral("lbThrowSpreadNote"));
    lbNote_->setWordWrap(true);
    grid->addWidget(lbNote_, 1, 0, 1, 4);
    auto* buttons = new QDialogButtonBox(this);
    btOK_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    btOK_->setObjectName(QStringLiteral("btOK"));
    btOK_->setDefault(true);
    btCancel_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    btCancel_->setObjectName(QStringLiteral("btCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmOptions::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    languageHandle_ = registerLanguageApplier([this](int) { applyLanguage(); });
    applyLanguage();
    load();
}

TfrmOptions::~TfrmOptions() {
    unregisterLanguageApplier(languageHandle_);
}

void TfrmOptions::applyLanguage() {
    setWindowTitle(LanguageText(3454));
    lbSpread_->setText(LanguageText(3455));
    lbNote_->setText(
        formatText(LanguageText(3456), {MinThrowSpreadSetting, MaxThrowSpreadSetting}));
    // The note wraps at a width that suits the language's font.
    lbNote_->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    btOK_->setText(LanguageText(151));
    btCancel_->setText(LanguageText(152));
}

void TfrmOptions::load() {
    spread_->setText(QString::number(int(session_.throwSpread())));
}

void TfrmOptions::accept() {
    if (!session_.applyThrowSpreadText(spread_->text())) {
        spread_->setFocus();
        spread_->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace zf

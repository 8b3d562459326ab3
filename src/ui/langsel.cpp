#include "langsel.h"

#include "common/globals.h"
#include "i18n/language.h"
#include "pictures.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zf {

TfrmLangSel::TfrmLangSel(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmLangSel"));
    setWindowTitle(QString::fromLatin1(ProductName));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Please select language, vyberte jazyk: "), this);
    group->setObjectName(QStringLiteral("rgLanguage"));
    auto* gl = new QVBoxLayout(group);
    const QList<QPair<int, QString>> entries = {
        {BaseEN, QStringLiteral("&English")}, {BaseCZ, QStringLiteral("&Czech")},
        {BaseGE, QStringLiteral("&German")},  {BasePL, QStringLiteral("&Polish")},
        {BaseRU, QStringLiteral("&Russian")}, {BaseSL, QStringLiteral("&Slovak")}};
    for (const auto& [base, text] : entries) {
        auto* rb = new QRadioButton(text, group);
        rb->setObjectName(QStringLiteral("rb") + languageCodeOfBase(base));
        rb->setIcon(flagIcon(languageCodeOfBase(base)));
        rb->setIconSize(QSize(24, 16));
        rb->setEnabled(isOfferedLanguage(base));
        rb->setChecked(base == BaseCZ);
        gl->addWidget(rb);
        choices_.append({base, rb});
    }
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("btOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TfrmLangSel::selectedBase() const {
    for (const auto& [base, rb] : choices_)
        if (rb->isChecked())
            return base;
    return BaseCZ;
}

QRadioButton* TfrmLangSel::choice(int base) const {
    for (const auto& [b, rb] : choices_)
        if (b == base)
            return rb;
    return nullptr;
}

int TfrmLangSel::ask(QWidget* parent) {
    TfrmLangSel dlg(parent);
    dlg.exec();
    return dlg.selectedBase();
}

} // namespace zf

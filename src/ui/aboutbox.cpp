#include "aboutbox.h"

#include "common/globals.h"
#include "i18n/language.h"
#include "pictures.h"
#include "shell/commands.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <sqlite3.h>

namespace zf {

TfrmAbout::TfrmAbout(const QString& referencePath, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmAbout"));
    auto* grid = new QGridLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(
        picturePixmap(QStringLiteral("about.svg"), QSize(96, 96), devicePixelRatioF()));
    picture->setFixedSize(104, 104);
    picture->setAlignment(Qt::AlignCenter);
    picture->setAccessibleName(QString::fromLatin1(ProductName));
    grid->addWidget(picture, 0, 0, 5, 1, Qt::AlignTop);

    auto* product = new QLabel(QString::fromLatin1(ProductName), this);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont pf = product->font();
    pf.setPointSizeF(pf.pointSizeF() * 1.8);
    pf.setBold(true);
    product->setFont(pf);
    grid->addWidget(product, 0, 1);
    auto* version = new QLabel(QString::fromLatin1(AboutVersionText), this);
    version->setObjectName(QStringLiteral("Version"));
    grid->addWidget(version, 1, 1);
    auto* build = new QLabel(QString::fromLatin1(AboutBuildText), this);
    build->setObjectName(QStringLiteral("lbBuild"));
    grid->addWidget(build, 2, 1);
    auto* dataAccess = new QLabel(
        QStringLiteral("SQLite version: ") + QString::fromLatin1(sqlite3_libversion()), this);
    dataAccess->setObjectName(QStringLiteral("lbMDAC"));
    grid->addWidget(dataAccess, 3, 1);

    lbComments_ = new QLabel(this);
    lbComments_->setObjectName(QStringLiteral("lbComments"));
    lbComments_->setWordWrap(true);
    lbComments_->setMinimumWidth(360);
    grid->addWidget(lbComments_, 4, 1);

    lbWeb_ = new QLabel(supplier(BaseEN).web, this);
    lbWeb_->setObjectName(QStringLiteral("lbWeb"));
    lbWeb_->setStyleSheet(QStringLiteral("color: #2f7fc1"));
    lbWeb_->setCursor(Qt::PointingHandCursor);
    // Reached with Tab and opened with Enter or Space, as with the mouse.
    lbWeb_->setFocusPolicy(Qt::StrongFocus);
    lbWeb_->installEventFilter(this);
    grid->addWidget(lbWeb_, 5, 1);

    lbDatabase_ =
        new QLabel(QStringLiteral("Database: ") + QDir::toNativeSeparators(referencePath), this);
    lbDatabase_->setObjectName(QStringLiteral("lbDatabase"));
    lbDatabase_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbDatabase_->setVisible(false);
    grid->addWidget(lbDatabase_, 6, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, 7, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    languageHandle_ = registerLanguageApplier([this](int base) { applyLanguage(base); });
}

TfrmAbout::~TfrmAbout() {
    unregisterLanguageApplier(languageHandle_);
}

void TfrmAbout::applyLanguage(int base) {
    QFont f = font();
    f.setFamily(ApplyLanguageFonts(base).face);
    setFont(f);
    setWindowTitle(LanguageText(122) + QStringLiteral(" ") + QString::fromLatin1(ProductName));
    lbComments_->setText(LanguageText(131));
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert) {
        lbDatabase_->setVisible(!lbDatabase_->isVisible());
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmAbout::openWebAddress() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + lbWeb_->text()));
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbWeb_) {
        QFont f = lbWeb_->font();
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::FocusIn:
            // Underlined while the mouse is over it, and while it has the focus.
            f.setUnderline(true);
            lbWeb_->setFont(f);
            break;
        case QEvent::Leave:
        case QEvent::FocusOut:
            f.setUnderline(lbWeb_->hasFocus() || lbWeb_->underMouse());
            lbWeb_->setFont(f);
            break;
        case QEvent::MouseButtonRelease:
            openWebAddress();
            return true;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                openWebAddress();
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zf

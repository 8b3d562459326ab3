#include "qttranslations.h"

#include "i18n/language.h"
#include "i18n/languagetable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zf {

QtTranslations::QtTranslations() {
    handle_ = registerLanguageApplier([this](int base) { apply(base); });
}

QtTranslations::~QtTranslations() {
    unregisterLanguageApplier(handle_);
    if (translator_)
        QCoreApplication::removeTranslator(translator_.get());
}

QString QtTranslations::qtLanguage(int base) {
    const LanguageInfo* row = findLanguage(base);
    return row ? QString::fromLatin1(row->qtLanguage) : QString();
}

void QtTranslations::apply(int base) {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    const QString language = qtLanguage(base);
    if (language.isEmpty())
        return;
    auto t = std::make_unique<QTranslator>();
    if (!t->load(QStringLiteral("qtbase_") + language,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return; // Qt's texts stay English
    QCoreApplication::installTranslator(t.get());
    translator_ = std::move(t);
}

bool QtTranslations::loaded() const {
    return translator_ != nullptr;
}

} // namespace zf

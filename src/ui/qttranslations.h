#pragma once

#include <QString>
#include <memory>

class QTranslator;

namespace zf {

// Qt's own texts (the buttons of message boxes, the file dialogs, the names of
// keys in shortcuts) in the interface language: Qt's translations are loaded
// anew with every language switch. English needs none.
class QtTranslations {
public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Qt's name of the language of a base ("cs", "de", ...); empty for English.
    static QString qtLanguage(int base);
    void apply(int base);
    bool loaded() const;

private:
    std::unique_ptr<QTranslator> translator_;
    int handle_ = 0;
};

} // namespace zf

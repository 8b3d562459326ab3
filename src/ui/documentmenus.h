#pragma once

#include "catalogs/documents.h"

#include <QHash>
#include <QObject>

class QAction;
class QMenu;

namespace zf {

class TfrmZMain;

// The document commands of the Catalogs menu: twelve technical documents (a
// separator before the four appendices) and four leaflets in their submenus,
// each with its caption in the language, its file's base name as its hint and
// the Czech flag while its document is missing in the language. A command runs
// through the main window's command table.
class DocumentMenus : public QObject {
    Q_OBJECT
public:
    explicit DocumentMenus(TfrmZMain& main);
    ~DocumentMenus() override;

    QMenu* menu(DocumentGroup group) const;
    void applyLanguage();
    // The flags of one group, as the files are now.
    void updateIcons(DocumentGroup group);

private:
    TfrmZMain& main_;
    QMenu* technical_ = nullptr;
    QMenu* leaflets_ = nullptr;
    QHash<QString, QAction*> actions_;
    int languageHandle_ = 0;
};

} // namespace zf

#include "documentmenus.h"

#include "i18n/language.h"
#include "mainwindow.h"
#include "pictures.h"

#include <QAction>
#include <QMenu>

namespace zf {

namespace {

QMenu* submenu(TfrmZMain& main, const char* command) {
    auto* a = main.findChild<QAction*>(QLatin1String(command) + QStringLiteral("Menu"));
    return a ? a->menu() : nullptr;
}

} // namespace

DocumentMenus::DocumentMenus(TfrmZMain& main) : QObject(&main), main_(main) {
    setObjectName(QStringLiteral("DocumentMenus"));
    technical_ = submenu(main, "acKatalog_Techicke_podklady");
    leaflets_ = submenu(main, "acKatalog_Letaky");
    for (const DocumentCommand& d : documentCommands()) {
        QMenu* m = menu(d.group);
        if (!m)
            continue;
        if (d.separatorBefore)
            m->addSeparator();
        auto* a = new QAction(&main);
        a->setObjectName(d.command);
        // The base name of the document's file is the command's hint.
        a->setToolTip(d.base);
        a->setStatusTip(d.base);
        const QString name = d.command;
        connect(a, &QAction::triggered, &main, [&main, name] { main.execute(name); });
        m->addAction(a);
        actions_.insert(d.command, a);
    }
    // The flags follow the files each time a submenu opens.
    if (technical_)
        connect(technical_, &QMenu::aboutToShow, this,
                [this] { updateIcons(DocumentGroup::Technical); });
    if (leaflets_)
        connect(leaflets_, &QMenu::aboutToShow, this,
                [this] { updateIcons(DocumentGroup::Leaflets); });
    languageHandle_ = registerLanguageApplier([this](int) { applyLanguage(); });
    applyLanguage();
}

DocumentMenus::~DocumentMenus() {
    unregisterLanguageApplier(languageHandle_);
}

QMenu* DocumentMenus::menu(DocumentGroup group) const {
    switch (group) {
    case DocumentGroup::Technical:
        return technical_;
    case DocumentGroup::Leaflets:
        return leaflets_;
    default:
        return nullptr;
    }
}

void DocumentMenus::applyLanguage() {
    for (const DocumentCommand& d : documentCommands())
        if (QAction* a = actions_.value(d.command))
            a->setText(d.caption());
    updateIcons(DocumentGroup::Technical);
    updateIcons(DocumentGroup::Leaflets);
}

void DocumentMenus::updateIcons(DocumentGroup group) {
    const QIcon czech = flagIcon(QStringLiteral("CZ"));
    for (const DocumentCommand* d : documentCommands(group))
        if (QAction* a = actions_.value(d->command))
            a->setIcon(documentShowsFlag(*d) ? czech : QIcon());
}

} // namespace zf

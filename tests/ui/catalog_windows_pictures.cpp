// Pictures of the catalogs' windows for a person to look at: the units catalog
// on each tab and on a destratifier, the structural elements catalog with a
// user's item, its new-element dialog, and the Catalogs menu's documents, in
// every language, as PNG files in the folder given.
//   xvfb-run -a env QT_QPA_PLATFORM=xcb build/tests/catalog_windows_pictures /tmp/shots
//   (again with QT_SCALE_FACTOR=2 for the pictures at 200 %)
#include "catalogs/documents.h"
#include "common/globals.h"
#include "elementscatalogwindow.h"
#include "i18n/language.h"
#include "mainwindow.h"
#include "startup.h"
#include "testsupport.h"
#include "unitscatalogwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdio>

using namespace zf;

namespace {

QModelIndex find(const QAbstractItemModel* m, const QString& text) {
    const auto hits = m->match(m->index(0, 0), Qt::DisplayRole, text, 1,
                               Qt::MatchExactly | Qt::MatchRecursive);
    return hits.isEmpty() ? QModelIndex() : hits.first();
}

void pressButton(QWidget* w, const char* name) {
    if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(name)); b && b->isVisible())
        QTest::mouseClick(b, Qt::LeftButton);
}

void typeInto(QWidget* w, const char* name, const QString& text) {
    if (auto* e = w->findChild<QLineEdit*>(QLatin1String(name)))
        e->setText(text);
}

void click(QTreeView* tree, const QModelIndex& index) {
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: catalog_windows_pictures FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir dir;
    const QString settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    {
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                   QStringLiteral("EN"));
    }
    TempPath = withTrailingSlash(dir.path());
    // A reference database of its own: the user's item added for the pictures
    // stays out of the program folder.
    QDir(dir.path()).mkpath(QStringLiteral("common/Quadrel/Zefrant"));
    const QString reference = dir.filePath(QStringLiteral("common/Quadrel/Zefrant/ZF.zft"));
    QFile::copy(QStringLiteral(ZEFRANT_PROGRAM_DIR "/DB/ZF.zft"), reference);
    QFile::setPermissions(reference, QFile::ReadOwner | QFile::WriteOwner);
    qputenv("ZEFRANT_COMMON_APPDATA", dir.filePath(QStringLiteral("common")).toUtf8());
    setDocumentOpener([](const QString&) { return true; });

    zf::test::TestDialogs dlg;
    Zefrant z;
    Zefrant::Options o;
    o.settingsFile = settingsFile;
    o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
    o.dialogs = &dlg;
    o.askLanguage = [] { return BaseEN; };
    if (!z.start({}, o))
        return 1;
    TfrmZMain& w = *z.mainWindow;
    TfrmPrvky* catalog = z.elementsCatalog.get();
    TfrmPrvekNew* dialog = z.newElement.get();
    auto* tree = catalog->findChild<QTreeView*>(QStringLiteral("ElTree1"));
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    int saved = 0;
    auto save = [&](QWidget* win, const QString& what, const QString& code) {
        QApplication::processEvents();
        QTest::qWait(150);
        if (win->grab().save(QStringLiteral("%1/%2-%3-x%4.png").arg(out, what, code, scale)))
            ++saved;
    };
    for (const int base : OfferedLanguages) {
        const QString code = languageCodeOfBase(base);
        w.action(QStringLiteral("ac") + code)->trigger();
        // The units catalog on a warm-air type, on each tab, and on a destratifier.
        z.session->openUnitsCatalog();
        TfrmKatalog& k = *z.unitsCatalog;
        auto* tv = k.findChild<QTreeView*>(QStringLiteral("tvKatalog"));
        auto* pages = k.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        k.findChild<QRadioButton*>(QStringLiteral("rgView_0"))->click();
        if (const QModelIndex ax = find(tv->model(), QStringLiteral("Brisant AX 35 - E")); ax.isValid())
            tv->setCurrentIndex(ax);
        tv->expandAll();
        for (int t = 0; t < pages->count(); ++t) {
            pages->setCurrentIndex(t);
            save(&k, QStringLiteral("katalog-tab%1").arg(t), code);
        }
        pages->setCurrentIndex(0);
        if (const QModelIndex k1 = find(tv->model(), QStringLiteral("Destratifikátor K1")); k1.isValid())
            tv->setCurrentIndex(k1);
        save(&k, QStringLiteral("katalog-k1"), code);
        k.reject();
        // The structural elements catalog with a user's item, and the dialog.
        QTimer::singleShot(0, [&, code] {
            const QModelIndex first = tree->model()->index(0, 0);
            if (!find(tree->model(), QStringLiteral("Sandwich 2000")).isValid()) {
                click(tree, first);
                pressButton(catalog, "tbNew");
                typeInto(dialog, "edMaterial", QStringLiteral("Sandwich 2000"));
                typeInto(dialog, "fed_k", QStringLiteral("0.21"));
                pressButton(dialog, "btAddAndClose");
            }
            tree->expand(tree->model()->index(0, 0));
            tree->expand(tree->model()->index(4, 0));
            click(tree, tree->model()->index(4, 0)); // the user's item shows its green
            save(catalog, QStringLiteral("prvky"), code);
            pressButton(catalog, "tbNew");
            typeInto(dialog, "edMaterial", QStringLiteral("Window 1.2 x 1.5"));
            typeInto(dialog, "fed_k", QStringLiteral("120"));
            save(dialog, QStringLiteral("prveknew"), code);
            pressButton(dialog, "btCancel");
            catalog->reject();
        });
        z.session->openElementsCatalog();
        // The Catalogs menu with its technical documents.
        QMenu* menu =
            w.findChild<QAction*>(QStringLiteral("acKatalog_Techicke_podkladyMenu"))->menu();
        menu->popup(QPoint(40, 40));
        save(menu, QStringLiteral("menu-documents"), code);
        menu->hide();
    }
    w.action(QStringLiteral("acEN"))->trigger();
    std::printf("%d pictures in %s\n", saved, qPrintable(out));
    return saved > 0 ? 0 : 1;
}

#include "catalogs/documents.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cstddef>

extern const unsigned char zf_documents_tsv[];
extern const std::size_t zf_documents_tsv_size;

namespace zf {

namespace {

DocumentOpener& opener() {
    static DocumentOpener current;
    return current;
}

bool desktopOpen(const QString& path) {
    // The desktop's handler reports only whether it could be started; a file
    // that is not there would fail later, unseen, so it is refused here.
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

struct DocumentList {
    std::vector<DocumentCommand> commands;
    DocumentCommand project;
};

// Reads the list: one row per document in menu order, "-" in the base column for
// the separator before the appendices.
DocumentList readList() {
    DocumentList list;
    const QString source = QString::fromUtf8(reinterpret_cast<const char*>(zf_documents_tsv),
                                             qsizetype(zf_documents_tsv_size));
    bool header = true, separator = false;
    for (QString line : source.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (header) {
            header = false;
            continue;
        }
        const QStringList c = line.split(QLatin1Char('\t'));
        if (c.value(2) == QLatin1String("-")) {
            separator = true;
            continue;
        }
        DocumentCommand d;
        d.group = DocumentGroup(c.value(0).toInt());
        d.folder = withTrailingSlash(c.value(1));
        d.base = c.value(2);
        d.command = QStringLiteral("ac") + d.base;
        d.captionId = c.value(3).toInt();
        d.fixedCaption = c.value(4);
        d.separatorBefore = separator;
        separator = false;
        if (d.group == DocumentGroup::ProjectDocumentation) {
            d.command = QStringLiteral("acKatalogProjDoc");
            list.project = d;
        } else {
            list.commands.push_back(d);
        }
    }
    // Technical documents first, then the leaflets, each in file order.
    std::stable_sort(list.commands.begin(), list.commands.end(),
                     [](const DocumentCommand& a, const DocumentCommand& b) {
                         return int(a.group) < int(b.group);
                     });
    return list;
}

const DocumentList& documentList() {
    static const DocumentList list = readList();
    return list;
}

} // namespace

QString DocumentCommand::caption() const {
    return captionId > 0 ? LanguageText(captionId) : fixedCaption;
}

const std::vector<DocumentCommand>& documentCommands() {
    return documentList().commands;
}

std::vector<const DocumentCommand*> documentCommands(DocumentGroup group) {
    std::vector<const DocumentCommand*> out;
    for (const DocumentCommand& d : documentCommands())
        if (d.group == group)
            out.push_back(&d);
    return out;
}

const DocumentCommand* findDocumentCommand(const QString& command) {
    for (const DocumentCommand& d : documentCommands())
        if (d.command == command)
            return &d;
    return nullptr;
}

void setDocumentOpener(DocumentOpener o) {
    opener() = std::move(o);
}

QString documentPath(const QString& base, const QString& code, const QString& folder,
                     const QString& ext) {
    return AppPath + withTrailingSlash(folder) + base + QLatin1Char('_') + code + QLatin1Char('.') +
           ext;
}

bool DocumentExists(const QString& base, const QString& code, const QString& folder,
                    const QString& ext) {
    return QFileInfo(documentPath(base, code, folder, ext)).isFile();
}

bool OpenDocument(const QString& path) {
    const bool ok = opener() ? opener()(path) : desktopOpen(path);
    if (!ok)
        ShowMessageBox(LanguageText(5003) + QStringLiteral("\r\n") + path,
                       QString::fromLatin1(ProductName), MbError);
    return ok;
}

void OpenLocalizedDocument(const QString& base, const QString& code, const QString& folder,
                           const QString& ext) {
    const QString used = DocumentExists(base, code, folder, ext) ? code : QStringLiteral("CZ");
    OpenDocument(documentPath(base, used, folder, ext));
}

void OpenProjectDocumentation() {
    const DocumentCommand& d = documentList().project;
    const QString folder = d.folder.isEmpty() ? QStringLiteral("PDF/") : d.folder;
    const QString base = d.base.isEmpty() ? QStringLiteral("proj-doc") : d.base;
    const QString path = AppPath + folder + base + QStringLiteral("CZ.pdf");
    const bool ok = opener() ? opener()(path) : desktopOpen(path);
    if (!ok)
        ShowMessageBox(LanguageText(5003), QString::fromLatin1(ProductName), MbError);
}

void openDocumentCommand(const DocumentCommand& d) {
    OpenLocalizedDocument(d.base, LanguageCode, d.folder, QStringLiteral("pdf"));
}

bool documentShowsFlag(const DocumentCommand& d) {
    return !DocumentExists(d.base, LanguageCode, d.folder, QStringLiteral("pdf"));
}

} // namespace zf

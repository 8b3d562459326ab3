#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace zf {

// The technical documents, leaflets and the project-documentation guide of the
// Catalogs menu: PDF files in the program folder, opened in the language of the
// interface when that version exists, else in Czech.
enum class DocumentGroup { Technical = 0, Leaflets = 1, ProjectDocumentation = 2 };

// One document command of the Catalogs menu. The list is installation data,
// compiled into the program from data/documents/documents.tsv.
struct DocumentCommand {
    QString command;      // the action's objectName: "ac" + base
    DocumentGroup group;  // its submenu
    QString folder;       // "PDF/Sarvin/", "PDF/Prospekty/", "PDF/"
    QString base;         // the base name of the file, also the command's hint
    int captionId = 0;    // the caption's text, or 0 for a fixed product name
    QString fixedCaption; // the product name when captionId is 0
    bool separatorBefore = false;

    QString caption() const; // in the current language
};

// The sixteen commands of the two submenus, in menu order (technical documents
// with the separator before the appendices, then the leaflets).
const std::vector<DocumentCommand>& documentCommands();
const DocumentCommand* findDocumentCommand(const QString& command);
// The commands of one group, in menu order.
std::vector<const DocumentCommand*> documentCommands(DocumentGroup group);

// AppPath + folder + base + "_" + code + "." + ext.
QString documentPath(const QString& base, const QString& code, const QString& folder,
                     const QString& ext);
bool DocumentExists(const QString& base, const QString& code, const QString& folder,
                    const QString& ext);
// Opens the document of the code when it exists, else the one of "CZ" (whether
// or not that exists: a missing file gets the message of OpenDocument).
void OpenLocalizedDocument(const QString& base, const QString& code, const QString& folder,
                           const QString& ext);
// Asks the desktop to open the file with its associated application; on failure
// message 5003 with the path. True when it was handed over.
bool OpenDocument(const QString& path);
// acKatalogProjDoc: PDF/proj-docCZ.pdf; on failure message 5003 alone.
void OpenProjectDocumentation();
// A document command: its document in the current language.
void openDocumentCommand(const DocumentCommand& command);
// The Czech flag (image 33) on a command: its document does not exist in the
// current language and will open in Czech.
bool documentShowsFlag(const DocumentCommand& command);

// How a file is handed to the desktop: by default the desktop's handler for the
// file (QDesktopServices); tests put a recorder here. Returns whether it was
// handed over. An empty function restores the default.
using DocumentOpener = std::function<bool(const QString& path)>;
void setDocumentOpener(DocumentOpener opener);

} // namespace zf

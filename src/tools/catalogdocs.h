#pragma once

// The technical documents, leaflets and the project-documentation guide of the
// Catalogs menu, written as PDF from the units catalog.

#include <QString>
#include <vector>

namespace zf::art {

class Catalog;

struct DocumentEntry {
    int group = 0;     // 0 technical documents, 1 leaflets, 2 project documentation
    QString folder;    // "PDF/Sarvin", "PDF/Prospekty", "PDF"
    QString base;      // base file name
    int captionId = 0; // text of the menu caption, 0 for a fixed caption
    QString caption;   // the fixed caption
    QString content;   // what to write: "family:AX", "flue", ...
    bool separator() const { return base == QLatin1String("-"); }
};

// Reads the document list (data/documents/documents.tsv); false with a reason on
// a malformed file.
bool readDocumentList(const QString& path, std::vector<DocumentEntry>* list, QString* error);

// The file of a document in a language, relative to the program folder:
// folder/base_CODE.pdf, or folder/baseCODE.pdf for the project documentation.
QString documentFileName(const DocumentEntry& d, const QString& code);
// The caption of a document in a language (the menu's text, or its fixed name).
QString documentCaption(const DocumentEntry& d, const QString& code);

// Writes one document; returns its number of pages, 0 on failure.
int writeDocument(const Catalog& catalog, const std::vector<DocumentEntry>& all,
                  const DocumentEntry& d, const QString& code, const QString& path, QString* error);

} // namespace zf::art

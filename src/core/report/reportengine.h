#pragma once

#include "report/reportdefinition.h"
#include "report/reportexpr.h"

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

namespace zf {

class Dataset;

// A report with its data filled in and its hidden parts left out: what every
// output draws or writes. Widths of table columns are relative weights.
struct ResolvedCell {
    QString text;
    ReportStyle style;
    int span = 1;
};

struct ResolvedRow {
    std::vector<ResolvedCell> cells;
};

struct ResolvedTable {
    std::vector<double> weights;
    QStringList aligns; // per column: left, center, right
    bool ruled = true;
    std::vector<ResolvedRow> header, body, footer;
};

struct ResolvedBlock {
    enum Type { Paragraph, Table, Picture, Space, Rule } type = Paragraph;
    QString text; // paragraph
    ReportStyle style;
    ResolvedTable table;
    QString file;                 // picture
    double width = 0, height = 0; // picture box, space height; millimetres
};

struct ResolvedPage {
    QString name;
    std::vector<ResolvedBlock> blocks;
};

struct ResolvedReport {
    QString name;     // "ReportEN"
    QString language; // "EN"
    QLocale locale;
    QStringList fonts;
    QString title;                   // of the document (the project's name)
    QString headerLeft, headerRight; // may hold the page marks
    QString footerLeft, footerRight;
    ReportStyle headerStyle, footerStyle; // styles "header" and "footer"
    std::vector<ResolvedPage> pages;
};

// The text-table base of a report's language code ("CZ" 0 ... "SL" 60000); the
// report is printed with real Cyrillic letters, so "RU" is 40000.
int reportLanguageBase(const QString& code);

// The report engine: loads a definition file, selects one of its reports, finds
// its components by page and name so the program can adapt them, reads the data
// through named connections and resolves the report into what the outputs draw.
class ReportEngine {
public:
    // Loads the definition file (opening the report project). False with
    // lastError() when the file cannot be read or is not a valid definition.
    bool loadProject(const QString& file);
    void closeProject();
    bool isOpen() const { return open_; }
    const QString& lastError() const { return lastError_; }
    QStringList reportNames() const;

    // Selects a report by its full name; false when the definition has none.
    bool selectReport(const QString& name);
    ReportDefinition* selectedReport() const { return selected_; }

    // A page of the selected report, by "Page2" or "ReportEN.Page2".
    ReportPage* page(const QString& pageName) const;
    // A component of a page of the selected report, anywhere inside it; nullptr
    // when the page or the component does not exist.
    ReportComponent* findComponent(const QString& pageName, const QString& name) const;
    // Memo and text components: the text printed as it stands.
    static void setText(ReportComponent& component, const QString& text);
    static void setVisible(ReportComponent& component, bool visible) {
        component.visible = visible;
    }
    static void setPictureFile(ReportComponent& component, const QString& file) {
        component.pictureFile = file;
    }

    // The word $currency prints; empty: the currency of the report's language.
    void setCurrency(const QString& currency) { currency_ = currency; }

    // The datasets the report reads, by connection name ("dcProject", ...).
    void setConnection(const QString& name, Dataset* dataset);
    void clearConnections() { connections_.clear(); }
    // A snapshot of every connection as it stands now.
    ReportData captureData() const;

    // The selected report filled with the data: hidden components left out,
    // pictures whose file is missing left out, data bands repeated per record.
    // Faults of the definition met on the way (unknown fields, bad expressions)
    // are added to *warnings and print as empty text.
    ResolvedReport resolve(const ReportData& data, QStringList* warnings = nullptr) const;

private:
    ReportProject project_;
    ReportDefinition* selected_ = nullptr;
    bool open_ = false;
    QString lastError_;
    QString currency_;
    std::vector<std::pair<QString, Dataset*>> connections_;
};

} // namespace zf

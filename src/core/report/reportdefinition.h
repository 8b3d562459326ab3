#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace zf {

// The kinds of report components. Memo, text, section, band and picture are the
// kinds the program adapts by name; the others only shape the layout.
enum class ComponentKind {
    Memo,    // a paragraph whose line breaks are kept
    Text,    // a paragraph, or a cell of a row or band
    Section, // a group of components shown or hidden together
    Band,    // a row of a table: header (repeated on every page the table reaches),
             // data (one row per record of its source) or footer
    Picture, // an SVG, PNG or JPEG picture scaled into its box
    Table,   // a ruled table made of bands
    Grid,    // an unruled table made of rows
    Row,     // a row of a grid
    Space,   // vertical space
    Rule,    // a horizontal line
};

const char* componentKindName(ComponentKind kind);

enum class BandRole { Header, Data, Footer };

struct ReportComponent {
    QString name; // may be empty
    ComponentKind kind = ComponentKind::Text;
    QString content;      // template with {expressions}
    bool literal = false; // content was set by the program and prints as it stands
    bool visible = true;
    QString pictureFile;
    QHash<QString, QString> attributes;
    std::vector<std::unique_ptr<ReportComponent>> children;
    int line = 0; // line in the definition file

    QString attribute(const QString& key, const QString& fallback = QString()) const {
        return attributes.value(key, fallback);
    }
    BandRole bandRole() const;
};

// Paragraph and cell look. Sizes in points, spaces in millimetres.
struct ReportStyle {
    double size = 9;
    bool bold = false;
    bool italic = false;
    QColor color = Qt::black;
    QColor background; // invalid: none
    double spaceBefore = 0;
    double spaceAfter = 0;
    QString align = QStringLiteral("left"); // left, center, right
    bool keepWithNext = false;              // never last on a page
};

struct ReportPage {
    QString name; // "Page1" ...
    std::vector<std::unique_ptr<ReportComponent>> components;
};

// One report of the definition: one language.
struct ReportDefinition {
    QString name;                             // "ReportEN"
    QString language = QStringLiteral("EN");  // texts of the text table and the report's words
    QString locale = QStringLiteral("en_GB"); // numbers and dates
    QStringList fonts{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    QHash<QString, ReportStyle> styles;
    QString headerLeft, headerRight, footerLeft, footerRight;
    std::vector<std::unique_ptr<ReportPage>> pages;

    ReportPage* page(const QString& pageName) const;
    ReportStyle style(const QString& styleName) const; // "normal" when unknown
};

// Everything one definition file holds.
struct ReportProject {
    QString file;
    std::vector<std::unique_ptr<ReportDefinition>> reports;
    ReportDefinition* report(const QString& name) const;
};

// Reads the text of a definition file (the format is described in the file's own
// header). On a fault returns false and sets *error to "line N: what".
bool parseReportProject(const QString& text, ReportProject& project, QString* error);

} // namespace zf

#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace zf {

class Dataset;

// The rows of one report connection as they stood when the report was built.
struct ReportTable {
    QStringList columns;
    QHash<QString, int> index; // lower-case column name -> position
    std::vector<QVariantList> rows;
    int column(const QString& name) const { return index.value(name.toLower(), -1); }
};

// The data a report is built from: a snapshot of every connection, taken once, so
// that building the pages neither moves the cursors of the windows' datasets nor
// sees the openings link put back before the output runs.
class ReportData {
public:
    // Reads every row of the dataset as it is filtered and linked now; the cursor
    // and the bound controls are left as they were. A closed dataset gives an
    // empty table.
    void capture(const QString& connection, Dataset& dataset);
    void setTable(const QString& connection, const ReportTable& table);
    const ReportTable* table(const QString& connection) const;
    bool empty() const { return tables_.isEmpty(); }

private:
    QHash<QString, ReportTable> tables_; // lower-case connection name
};

// Where a field without a connection is looked up: the innermost data band's row
// first, then the bands around it, then the first row of the default connection.
struct EvalScope {
    QString connection;
    const ReportTable* table = nullptr;
    int row = -1;
    const EvalScope* outer = nullptr;
};

struct EvalEnv {
    const ReportData* data = nullptr;
    int languageBase = 10000; // texts of t() and label()
    QLocale locale = QLocale::c();
    QString currency;
    QString defaultConnection = QStringLiteral("dcProject");
    QStringList* warnings = nullptr; // unknown fields and connections go here
};

// The marks that stand for the page number and the page count until the pages
// are known.
inline constexpr char16_t PageNumberMark = 0xE000;
inline constexpr char16_t PageCountMark = 0xE001;

struct ExprNode;

// A parsed expression: numbers, 'texts', fields (Field, connection.Field),
// $page, $pages, $currency, + - * / (a division by zero gives 0), comparisons
// = <> < > <= >=, and, or, not, and the functions t(id), label(id),
// sum(connection, expr[, condition]), count(connection[, condition]),
// lookup(connection, keyField, value, resultField), if(c, a, b), round(x) (halves
// to even), min, max, abs, bit(x, n) (bit n of x, 0 or 1) and fmt(id, values...)
// (a text of the text table with its placeholders filled), contains(text, part).
class ReportExpression {
public:
    ReportExpression();
    ~ReportExpression();
    ReportExpression(ReportExpression&&) noexcept;
    ReportExpression& operator=(ReportExpression&&) noexcept;

    // False with *error when the text is not an expression.
    bool parse(const QString& text, QString* error);
    QVariant evaluate(const EvalEnv& env, const EvalScope* scope) const;
    bool valid() const { return root_ != nullptr; }

private:
    std::unique_ptr<ExprNode> root_;
};

bool truthy(const QVariant& v);

// A value as the report prints it: numbers by a picture of formatFloat (",0.##"
// when none is given), dates by a QDateTime pattern (the locale's short date when
// none is given), texts as they are, nothing for null.
QString formatReportValue(const QVariant& v, const QString& picture, const QLocale& locale);

// A text with {expression} and {expression|picture} parts; {{ and }} stand for
// braces.
class ReportTemplate {
public:
    bool parse(const QString& text, QString* error);
    QString evaluate(const EvalEnv& env, const EvalScope* scope) const;
    bool isConstant() const { return parts_.size() <= 1 && (parts_.empty() || !parts_[0].expr); }

private:
    struct Part {
        QString literal;
        std::shared_ptr<ReportExpression> expr;
        QString picture;
    };
    std::vector<Part> parts_;
};

} // namespace zf

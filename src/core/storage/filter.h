#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace zf {

// A filter expression of the datasets translated into an SQL condition with bound
// parameters. The forms: column = value (also <>, <, >, <=, >=), column LIKE 'text'
// with * wildcards, column IS [NOT] NULL, joined by AND and OR, NOT, parentheses;
// text values in single quotes with '' for a quote, numbers, TRUE/FALSE. Column
// names must be columns of the table; values never become SQL text.
struct SqlCondition {
    QString sql;
    QVariantList params;
};

// Throws DbError with a clear message for a malformed expression or an unknown
// column. An empty (blank) expression gives an empty condition.
SqlCondition translateFilter(const QString& expression, const QStringList& columns);

} // namespace zf

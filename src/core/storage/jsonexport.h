#pragma once

#include <QByteArray>

namespace zf {

class Database;

// Every project table of an open project file as one JSON object: the tables in
// the order tRozmery, tSteny, tStavOtvory, tJednotky, tTempTable, each an array of
// rows in the order the program reads them, each row an object of every column in
// stored order. Numbers read back to the stored value, Currency with 4 decimals,
// Yes/No as true/false, Date/Time as "YYYY-MM-DDTHH:MM:SS", null as null.
QByteArray exportProjectJson(Database& db);

// A JSON string literal of a text.
QByteArray jsonString(const QString& text);
// The shortest decimal form that reads back to the same double.
QByteArray jsonDouble(double value);

} // namespace zf

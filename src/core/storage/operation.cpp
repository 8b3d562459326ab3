#include "storage/operation.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "storage/dataset.h"

namespace zf {

void reportFailedOperation(const QString& file, const QString& detail) {
    LastError = detail;
    ShowErrorBox(QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") + file,
                 QString::fromLatin1(ProductName), MbError);
}

bool writeField(Dataset& ds, const QString& field, const QVariant& value, QString* refused) {
    QString why;
    const bool ok = runOperation(*ds.database(), [&] {
        try {
            ds.setValue(field, value);
        } catch (const DbError& e) {
            why = e.message();
            ds.cancel();
            return;
        }
        ds.post();
    });
    if (!why.isEmpty()) {
        if (refused)
            *refused = why;
        return false;
    }
    return ok;
}

bool runOperation(Database& db, const std::function<void()>& operation) {
    if (db.inTransaction()) {
        operation();
        return true;
    }
    try {
        if (!db.isOpen()) {
            operation();
            return true;
        }
        Database::Transaction transaction(db);
        operation();
        transaction.commit();
        return true;
    } catch (const DbError& e) {
        reportFailedOperation(db.path(), e.message());
        return false;
    }
}

} // namespace zf

#include "storage/operation.h"

#include "common/dialogs.h"
#include "common/globals.h"

namespace zf {

void reportFailedOperation(const QString& file, const QString& detail) {
    LastError = detail;
    ShowErrorBox(QStringLiteral("Cannot write to file (Nelze zapsat do souboru) ") + file,
                 QString::fromLatin1(ProductName), MbError);
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

#include "data/IntegrityCheck.h"

#include <sqlite3.h>

#include <QStringList>
#include <utility>

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Statement.h"

namespace kq {

void throwIfDamaged(sqlite3* db, const QString& databasePath) {
    Statement check(db, QStringLiteral("pragma quick_check"));
    QStringList problems;
    while (problems.size() < 10 && check.step()) {
        const QString line = check.column(0).toText();
        if (line != QLatin1String("ok")) problems << line;
    }
    if (!problems.isEmpty())
        throw DatabaseError(
            DatabaseFault::Damaged, databasePath,
            QStringLiteral("pragma quick_check：\n") + problems.join(QLatin1Char('\n')));
}

BackgroundIntegrityCheck::BackgroundIntegrityCheck(Connection& connection)
    : connection_(connection) {
    const QString path = connection.databasePath();
    sqlite3* db = nullptr;
    opened_ =
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    if (!opened_) {
        sqlite3_close_v2(db);
        return;
    }
    sqlite3_busy_timeout(db, 2000);
    thread_ = std::thread([this, db, path] {
        try {
            throwIfDamaged(db, path);
        } catch (...) {
            failure_ = std::current_exception();
        }
        sqlite3_close_v2(db);
    });
}

BackgroundIntegrityCheck::~BackgroundIntegrityCheck() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundIntegrityCheck::wait() {
    if (!opened_) return connection_.verifyIntact();
    if (thread_.joinable()) thread_.join();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace kq

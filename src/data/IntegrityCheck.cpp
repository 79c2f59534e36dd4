#include "data/IntegrityCheck.h"

#include <sqlite3.h>

#include <QStringList>

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Statement.h"

namespace kq {

namespace {

[[noreturn]] void throwDamaged(const QString& databasePath, const QStringList& problems) {
    throw DatabaseError(
        DatabaseFault::Damaged, databasePath,
        QStringLiteral("pragma quick_check：\n") + problems.join(QLatin1Char('\n')));
}

}  // namespace

void throwIfDamaged(sqlite3* db, const QString& databasePath) {
    Statement check(db, QStringLiteral("pragma quick_check"));
    QStringList problems;
    while (problems.size() < 10 && check.step()) {
        const QString line = check.column(0).toText();
        if (line != QLatin1String("ok")) problems << line;
    }
    if (!problems.isEmpty()) throwDamaged(databasePath, problems);
}

BackgroundIntegrityCheck::BackgroundIntegrityCheck(Connection& connection)
    : connection_(connection) {
    const QString path = connection.databasePath();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        checkedAside_ = false;
        return;
    }
    sqlite3_busy_timeout(db, 2000);
    // Nothing is thrown on this thread (MinGW's unwinder can deadlock when
    // two threads throw at once): a failure to check is left to wait().
    thread_ = std::thread([this, db] {
        sqlite3_stmt* check = nullptr;
        bool finished = false;
        if (sqlite3_prepare_v2(db, "pragma quick_check", -1, &check, nullptr) == SQLITE_OK) {
            int rc;
            while (problems_.size() < 10 && (rc = sqlite3_step(check)) == SQLITE_ROW) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
                const QString line = QString::fromUtf8(text ? text : "");
                if (line != QLatin1String("ok")) problems_ << line;
            }
            finished = problems_.size() == 10 || rc == SQLITE_DONE;
        }
        sqlite3_finalize(check);
        sqlite3_close_v2(db);
        checkedAside_ = finished;
    });
}

BackgroundIntegrityCheck::~BackgroundIntegrityCheck() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundIntegrityCheck::wait() {
    if (thread_.joinable()) thread_.join();
    if (!problems_.isEmpty()) throwDamaged(connection_.databasePath(), problems_);
    // Busy, or the file could not be read on the side: the operation's own
    // connection checks and says why.
    if (!checkedAside_) connection_.verifyIntact();
}

}  // namespace kq

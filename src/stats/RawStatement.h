#pragma once

#include <sqlite3.h>

#include <QString>
#include <memory>

#include "data/Statement.h"

namespace kq {

// Bare statements for the run's bulk reads and writes, where values must pass
// exactly as SQLite stores them (Statement reads them back as Values).
using StatementHandle = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

inline StatementHandle prepareRaw(sqlite3* db, const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        throwSqliteError(db, sql);
    return {statement, &sqlite3_finalize};
}

// Steps through the rows of a statement; throws at a failure.
template <class Row>
void forEachRow(sqlite3* db, const QString& sql, Row row) {
    const StatementHandle statement = prepareRaw(db, sql);
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) row(statement.get());
    if (rc != SQLITE_DONE) throwSqliteError(db, sql);
}

}  // namespace kq

#include "data/InMemoryTable.h"

#include <sqlite3.h>

#include "data/Statement.h"

namespace kq {
namespace {

struct Cursor : sqlite3_vtab_cursor {
    qsizetype row = 0;
};

struct Table : sqlite3_vtab {
    const InMemoryTable* rows = nullptr;
};

int connect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    const auto* rows = static_cast<const InMemoryTable*>(aux);
    const int rc = sqlite3_declare_vtab(db, rows->schema().constData());
    if (rc != SQLITE_OK) return rc;
    auto* table = new Table{};
    table->rows = rows;
    *out = table;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* table) {
    delete static_cast<Table*>(table);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
    info->estimatedCost = 1e6;
    return SQLITE_OK;
}

int openCursor(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    *out = new Cursor{};
    return SQLITE_OK;
}

int closeCursor(sqlite3_vtab_cursor* cursor) {
    delete static_cast<Cursor*>(cursor);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**) {
    static_cast<Cursor*>(cursor)->row = 0;
    return SQLITE_OK;
}

int nextRow(sqlite3_vtab_cursor* cursor) {
    ++static_cast<Cursor*>(cursor)->row;
    return SQLITE_OK;
}

const InMemoryTable& rowsOf(sqlite3_vtab_cursor* cursor) {
    return *static_cast<Table*>(cursor->pVtab)->rows;
}

int atEnd(sqlite3_vtab_cursor* cursor) {
    return static_cast<Cursor*>(cursor)->row >= rowsOf(cursor).rows();
}

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* result, int col) {
    rowsOf(cursor).cell(static_cast<Cursor*>(cursor)->row, col, result);
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* out) {
    *out = static_cast<Cursor*>(cursor)->row;
    return SQLITE_OK;
}

// Eponymous only: the table exists while the module is registered, and
// "create virtual table" cannot make one in the file.
sqlite3_module makeModule() {
    sqlite3_module module{};
    module.xConnect = connect;
    module.xBestIndex = bestIndex;
    module.xDisconnect = disconnect;
    module.xDestroy = disconnect;
    module.xOpen = openCursor;
    module.xClose = closeCursor;
    module.xFilter = filter;
    module.xNext = nextRow;
    module.xEof = atEnd;
    module.xColumn = column;
    module.xRowid = rowid;
    return module;
}

const sqlite3_module kModule = makeModule();

}  // namespace

InMemoryTable::InMemoryTable(sqlite3* db, QString name, const QStringList& columns)
    : db_(db), name_(std::move(name)) {
    schema_ =
        (QStringLiteral("create table x(") + columns.join(QLatin1Char(',')) + QLatin1Char(')'))
            .toUtf8();
    if (sqlite3_create_module_v2(db_, name_.toUtf8().constData(), &kModule, this, nullptr) !=
        SQLITE_OK)
        throwSqliteError(db_, QStringLiteral("create module ") + name_);
}

InMemoryTable::~InMemoryTable() {
    // A null module drops the registration and the table with it.
    sqlite3_create_module_v2(db_, name_.toUtf8().constData(), nullptr, nullptr, nullptr);
}

void InMemoryTable::show(qsizetype rows, Cell cell) {
    rows_ = rows;
    cell_ = std::move(cell);
}

}  // namespace kq

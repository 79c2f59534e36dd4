#pragma once

#include <QString>

#include <optional>

#include "data/DatabaseError.h"
#include "data/Recordset.h"
#include "data/Statement.h"
#include "data/Writability.h"

struct sqlite3;

namespace kq {

// One connection to the attendance database KQ.db in the program folder,
// opened for one operation and closed when it goes out of scope. Opening
// creates the file and any table of the catalogue that is missing; it never
// drops or empties anything, and writes nothing to a complete database.
//
// A file that cannot be written (writable says no for it or its folder) is
// opened read-only, journal and all as they are: queries work, and the first
// write, or a catalogue table that would have to be created, throws the
// DatabaseError for that reason. A missing file in such a folder throws at
// once.
class Connection {
  public:
    static QString databaseFileName() { return QStringLiteral("KQ.db"); }

    explicit Connection(const QString& programFolder,
                        const WritableProbe& writable = isWritablePath);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& programFolder() const { return folder_; }
    QString databasePath() const;
    bool isOpen() const { return db_ != nullptr; }
    // Why writes are refused: the connection was opened read-only.
    const std::optional<DatabaseFault>& writeRefusal() const { return writeRefusal_; }
    void close();

    // A statement in the system's dialect without a result.
    void execute(const QString& jetSql);
    // A select in the system's dialect, read whole.
    Recordset open(const QString& jetSql);
    // Native SQLite, for the data layer and the fast paths of the core.
    Statement prepare(const QString& sql);
    void executeNative(const QString& sql);

    sqlite3* handle() const;

    // Reads the whole file once (pragma quick_check) and throws a
    // DatabaseError (damaged) when any page is bad. Operations that rewrite
    // tables call it first, so that they never write into a damaged file.
    void verifyIntact();

  private:
    QString folder_;
    sqlite3* db_ = nullptr;
    std::optional<DatabaseFault> writeRefusal_;
};

// Commits on commit(), rolls back if destroyed before: a table rewrite is
// all or nothing. Inside another transaction it is a savepoint of it, so
// that several rewrites can share one commit.
class Transaction {
  public:
    // Immediate: takes the file's write lock at once. TemporaryOnly: for
    // writes to temporary tables alone, which must not lock the file
    // against its readers.
    enum class Scope { Immediate, TemporaryOnly };
    explicit Transaction(Connection& connection, Scope scope = Scope::Immediate);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    Connection& connection_;
    bool nested_;
    bool open_ = true;
};

// True when the database holds a table of that name; false for a closed
// connection or any failure on the way.
bool TableExist(Connection& connection, const QString& strTableName);

}  // namespace kq

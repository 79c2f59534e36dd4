#pragma once

#include <QString>
#include <optional>

#include "data/Error.h"

struct sqlite3;

namespace kq {

// What went wrong with the database file, in terms the clerk can act on.
enum class DatabaseFault {
    Damaged,           // not a database, or pages that no longer read back
    NotAFile,          // KQ.db is a folder, or a file that cannot be read at all
    ReadOnly,          // the file can be read but not written
    FolderUnwritable,  // the folder refuses the journal beside the file, or a new file
    DiskFull,
    NetworkLost,  // the share the program folder lies on went away
    Locked,       // another program holds the file
    Other,
};

// A failure of the database file itself. The description names the file and
// says what to do; the engine's text and the statement are in details().
class DatabaseError : public Error {
  public:
    DatabaseError(DatabaseFault fault, const QString& databasePath, const QString& details);

    DatabaseFault fault() const { return fault_; }
    const QString& databasePath() const { return path_; }
    // The program folder the file lies in.
    QString folder() const;

  private:
    DatabaseFault fault_;
    QString path_;
};

// Which fault an engine result code stands for; the file system is asked
// where the code alone does not tell (a folder in the file's place, a
// folder without write permission).
DatabaseFault classifyDatabaseFault(int extendedCode, int systemErrno, const QString& databasePath);

// The clerk's text for a fault of this file: what happened and what to do.
QString databaseFaultDescription(DatabaseFault fault, const QString& databasePath);

// A connection opened read-only because its file cannot be written notes
// why, so that a write it refuses is named for that reason: the engine only
// says "read-only", and asking the file system again would get root's or
// Windows' optimistic answer. Forgotten before the connection closes.
void noteWriteRefusal(sqlite3* db, DatabaseFault why);
void forgetWriteRefusal(sqlite3* db);
std::optional<DatabaseFault> writeRefusalOf(sqlite3* db);

// Throws the DatabaseError for the engine's last failure on db.
[[noreturn]] void throwDatabaseError(sqlite3* db, const QString& databasePath, const QString& sql);

}  // namespace kq

#pragma once

#include <QString>
#include <QStringList>
#include <thread>

struct sqlite3;

namespace kq {

class Connection;

// Reads the whole database through db (pragma quick_check) and throws a
// DatabaseError (damaged) naming databasePath when any page is bad.
void throwIfDamaged(sqlite3* db, const QString& databasePath);

// The same check over a read-only connection of its own, on a thread of its
// own: an operation reads what it needs beside it and calls wait() before
// its first write, so that it still never writes into a damaged file.
class BackgroundIntegrityCheck {
  public:
    explicit BackgroundIntegrityCheck(Connection& connection);
    ~BackgroundIntegrityCheck();
    BackgroundIntegrityCheck(const BackgroundIntegrityCheck&) = delete;
    BackgroundIntegrityCheck& operator=(const BackgroundIntegrityCheck&) = delete;

    // Waits for the check; throws what it found. When the check could not
    // be done on the side, checks over the operation's own connection.
    void wait();

  private:
    Connection& connection_;
    QStringList problems_;
    bool checkedAside_ = false;
    std::thread thread_;
};

}  // namespace kq

#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "data/DatabaseError.h"

namespace kq {

// True when path can be written, tried for real: a folder when a file can be
// created in it, an existing file when it opens for writing (nothing is
// written). Permission bits and access() tell root that some folders are
// writable (/proc, for one) where creating a file still fails, and on
// Windows they miss the access lists of a folder or share.
bool isWritablePath(const QString& path);

// Decides whether a folder or file can be written; isWritablePath unless a
// test stands in for the file system.
using WritableProbe = std::function<bool(const QString& path)>;

// Why the database file at databasePath cannot be written, or nothing when
// it can. Writing needs the folder (the rollback journal is created beside
// the file, and a missing file is created there) and the file itself. An
// unwritable folder comes first: making the file writable would not help.
// Nothing either when the folder does not exist: opening then fails with
// the system's reason.
std::optional<DatabaseFault> databaseWriteRefusal(const QString& databasePath,
                                                  const WritableProbe& writable);

}  // namespace kq

#pragma once

#include <QDateTime>
#include <QString>

namespace kq {

// A damaged KQ.db is never deleted: it is set aside under a name that tells
// when, KQ.db.damaged-20261207-153000, and the next connection starts a
// fresh database.

// A name of that form for this moment that no file in the folder has yet.
QString damagedDatabaseName(const QString& programFolder, const QDateTime& when);

// Renames KQ.db in the folder to newName, together with any journal beside
// it (a journal left with the fresh file would be rolled back into it).
// Throws kq::Error when the file cannot be renamed; then nothing is renamed.
void setAsideDatabase(const QString& programFolder, const QString& newName);

}  // namespace kq

#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "data/Recordset.h"

namespace kq::queries {

// A time typed on the main window for the punch query: anything that reads
// as a date, a time of day or both (8:30, 23:59:59, 2026/12/1); an empty
// text, 25:00 or letters do not. A text that passes cannot hold a "#" or a
// quote, so it goes into the statement verbatim.
bool isTimeText(const QString& text);

// Runs the punch query on KQ.db in the program folder over a connection of
// its own, closed before it returns. The times must have passed isTimeText;
// throws kq::Error otherwise or on a database failure.
std::shared_ptr<const RowSet> runPunchQuery(const QString& programFolder, const QString& start,
                                            const QString& end, const QDate& from, const QDate& to,
                                            const QString& name);

}  // namespace kq::queries

#pragma once

#include <QDate>
#include <QString>

// The statement texts of the anomaly queries. Dates go in as the year-first
// short form (2026/12/1), shift and punch times verbatim between "#" marks,
// names through the dialect's quoting. An empty name means no name filter;
// any other text, a single blank included, is a filter.
namespace kq::queries {

// Punches of a shift table strictly inside start..end (no wrap past
// midnight), dated from..to inclusive.
QString shiftQueryText(const QString& table, const QString& start, const QString& end,
                       const QDate& from, const QDate& to, const QString& name);

// The B shift: later than start or earlier than end, each arm carrying the
// date range and the name on its own.
QString overnightQueryText(const QString& table, const QString& start, const QString& end,
                           const QDate& from, const QDate& to, const QString& name);

// Raw punches of ry strictly between two typed times.
QString punchQueryText(const QString& start, const QString& end, const QDate& from, const QDate& to,
                       const QString& name);

}  // namespace kq::queries

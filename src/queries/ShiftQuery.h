#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

#include "data/Recordset.h"
#include "shifts/ShiftCatalogue.h"

// The seven anomaly queries, one per window of the shift catalogue; a window
// is named by its index in shifts::windows().
namespace kq::queries {

// The query text of a window for its two settings times, a date range and a
// name.
QString queryText(const shifts::ShiftWindow& window, const QString& start, const QString& end,
                  const QDate& from, const QDate& to, const QString& name);

// A settings time must read as a time of day before it goes between "#"
// marks: the design text "Text1" of a box that pb never filled, a typo or a
// date would otherwise fail inside the engine or list nothing without a word.
bool isShiftTimeText(const QString& text);

// The first settings time of a window that is not a time of day.
struct WindowTimeProblem {
    int window;     // index in shifts::windows()
    bool atStart;   // the window's start, else its end
    int timeIndex;  // index among the settings times
    QString text;   // what it reads
};

// The problem of the window's two times, nothing when both are times.
std::optional<WindowTimeProblem> windowTimeProblem(int window, const QString& start,
                                                   const QString& end);
// The first problem over all seven windows, in window order.
std::optional<WindowTimeProblem> firstWindowTimeProblem(const shifts::WindowTimes& times);

// The problem in a sentence that names the window, its start or end and what
// it reads; the settings window adds where the time is typed.
QString describe(const WindowTimeProblem& problem);

// Checks the window's times, then runs its query on KQ.db in the program
// folder over a connection of its own. Throws kq::Error: the problem above,
// or a database failure.
std::shared_ptr<const RowSet> runShiftQuery(const QString& programFolder, int window,
                                            const QString& start, const QString& end,
                                            const QDate& from, const QDate& to,
                                            const QString& name);

}  // namespace kq::queries

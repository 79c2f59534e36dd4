#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <optional>
#include <span>

#include "data/Recordset.h"

namespace kq::queries {

// One shift query button of the main window and the shift window it applies:
// two of the fourteen boxes of the shift settings window.
struct ShiftQuery {
    QString button;        // Command10
    QString caption;       // A班异常
    QString table;         // A
    int startIndex;        // Text1(4) of the shift settings window
    int endIndex;          // Text1(5)
    QString countCaption;  // A班异常数：
    QString shiftName;     // A班, for messages
    QString frame;         // AB班: where the boxes sit in the settings window
    QString row;           // A：
    bool overnight;        // the window runs past midnight (B shift)
};

// The seven buttons, Command8 to Command14.
std::span<const ShiftQuery> shiftQueries();
// Throws std::out_of_range for a name that is not one of the seven.
const ShiftQuery& shiftQuery(const QString& button);

// The query text of the button for a window and a date range and name.
QString queryText(const ShiftQuery& query, const QString& start, const QString& end,
                  const QDate& from, const QDate& to, const QString& name);

// A shift window box must read as a time of day before it goes between "#"
// marks: the design text "Text1" of a box that pb never filled, a typo or a
// date would otherwise fail inside the engine or list nothing without a word.
bool isShiftTimeText(const QString& text);

// The message for the first box of the window that is not a time, naming the
// shift, the box and its text; nothing when both are times.
std::optional<QString> shiftWindowProblem(const ShiftQuery& query, const QString& start,
                                          const QString& end);

// Checks the window, then runs the button's query on KQ.db in the program
// folder over a connection of its own. Throws kq::Error: the window problem
// above, or a database failure.
std::shared_ptr<const RowSet> runShiftQuery(const QString& programFolder, const ShiftQuery& query,
                                            const QString& start, const QString& end,
                                            const QDate& from, const QDate& to,
                                            const QString& name);

}  // namespace kq::queries

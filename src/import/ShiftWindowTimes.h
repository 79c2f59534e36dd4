#pragma once

#include <QString>
#include <QStringList>

#include "shifts/ShiftCatalogue.h"

namespace kq {

class Connection;

// What pb offers the shift settings: the text of 时间 in each of its first
// fourteen rows, in row order (an empty time gives an empty text), and how
// many rows pb holds in all.
struct ShiftWindowTimes {
    QStringList texts;
    qsizetype rowCount = 0;

    bool isComplete() const { return texts.size() == shifts::kWindowTimeCount; }
};

// Reads "select * from pb ". Throws kq::Error when pb is missing or has no
// 时间 column while it holds rows.
ShiftWindowTimes readShiftWindowTimes(Connection& connection);

// The message for a pb with fewer than fourteen rows (but at least one).
QString shortShiftTimesMessage(qsizetype found);

}  // namespace kq

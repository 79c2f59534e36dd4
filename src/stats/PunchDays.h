#pragma once

#include <QString>

namespace kq {

class Connection;

// The punch days table ry_days (see TableCatalogue.h) is written from ry by
// each statistics run; a report that reads it must know that ry has not been
// imported again since. The run keeps what ry held then: its row count and
// its first and last rows, which a re-import of other punches changes.
QString punchTableFingerprint(Connection& connection);

// True when the latest run wrote ry_days from ry as it is now.
bool punchDaysCurrent(Connection& connection);

inline const QString kPunchDaysStaleMessage = QStringLiteral(
    "打卡数据在上次“开始统计”之后重新导入过，汇总用的打卡统计已经过时。\n"
    "请在“数据”页点击“开始统计”，再查看缺卡名单或人员汇总。");

// Throws kq::Error with the message above unless punchDaysCurrent.
void requirePunchDaysCurrent(Connection& connection);

}  // namespace kq

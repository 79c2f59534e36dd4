#pragma once

#include <QString>

namespace kq {
class Connection;
}

namespace kq::reports {

// The reports read the one-dimensional schedule yw, which only a statistics
// run writes. Before one, they would list nothing and look like a clean month.
inline const QString kNoScheduleEntriesMessage = QStringLiteral(
    "还没有可供汇总的排班：一维排班表yw中没有记录。\n"
    "请先在“数据”页依次点击“更新打卡”、“更新排班”和“开始统计”，再查看缺卡名单或人员汇总。");

bool scheduleEntriesWritten(Connection& connection);
// The same over a connection of its own to KQ.db in the program folder.
bool scheduleEntriesWritten(const QString& programFolder);
// Throws kq::Error with the message above when yw holds no row.
void requireScheduleEntries(Connection& connection);

}  // namespace kq::reports

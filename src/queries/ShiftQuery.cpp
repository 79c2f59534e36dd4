#include "queries/ShiftQuery.h"

#include <array>
#include <stdexcept>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "queries/QueryText.h"

namespace kq::queries {
namespace {

using S = QString;

const std::array<ShiftQuery, 7>& table() {
    static const std::array<ShiftQuery, 7> queries = {{
        {S("Command8"), S("常班上异常"), S("tj"), 0, 1, S("常班上午异常数："), S("常班上午"),
         S("常班"), S("上："), false},
        {S("Command9"), S("常班下异常"), S("tj"), 2, 3, S("常班下午异常数："), S("常班下午"),
         S("常班"), S("下："), false},
        {S("Command10"), S("A班异常"), S("A"), 4, 5, S("A班异常数："), S("A班"), S("AB班"),
         S("A："), false},
        {S("Command11"), S("B班异常"), S("B"), 6, 7, S("B班异常数："), S("B班"), S("AB班"),
         S("B："), true},
        {S("Command12"), S("早班异常"), S("Z"), 8, 9, S("早班异常数："), S("早班"), S("早中晚班"),
         S("早："), false},
        {S("Command13"), S("中班异常"), S("ZH"), 10, 11, S("中班异常数："), S("中班"),
         S("早中晚班"), S("中："), false},
        {S("Command14"), S("夜班异常"), S("Y"), 12, 13, S("夜班异常数："), S("夜班"), S("早中晚班"),
         S("夜："), false},
    }};
    return queries;
}

}  // namespace

std::span<const ShiftQuery> shiftQueries() { return table(); }

const ShiftQuery& shiftQuery(const QString& button) {
    for (const ShiftQuery& q : table())
        if (q.button == button) return q;
    throw std::out_of_range("no shift query button " + button.toStdString());
}

QString queryText(const ShiftQuery& query, const QString& start, const QString& end,
                  const QDate& from, const QDate& to, const QString& name) {
    return query.overnight ? overnightQueryText(query.table, start, end, from, to, name)
                           : shiftQueryText(query.table, start, end, from, to, name);
}

bool isShiftTimeText(const QString& text) {
    const auto value = datetime::parse(text);
    return value && !datetime::hasDate(*value);
}

std::optional<QString> shiftWindowProblem(const ShiftQuery& query, const QString& start,
                                          const QString& end) {
    const auto describe = [&](const QString& side, int index, const QString& text) {
        // One pass over all placeholders: a "%1" typed into the box stays text.
        return QStringLiteral(
                   "%1的%2时间“%3”不是有效的时间，无法查询%1异常。\n"
                   "请在“班次设置”窗口“%4”栏“%5”行%6的时间框（第%7个时间框）中"
                   "输入形如 8:00 的时间。")
            .arg(query.shiftName, side, text, query.frame, query.row,
                 index % 2 == 0 ? QStringLiteral("左边") : QStringLiteral("右边"),
                 QString::number(index + 1));
    };
    if (!isShiftTimeText(start)) return describe(QStringLiteral("开始"), query.startIndex, start);
    if (!isShiftTimeText(end)) return describe(QStringLiteral("结束"), query.endIndex, end);
    return std::nullopt;
}

std::shared_ptr<const RowSet> runShiftQuery(const QString& programFolder, const ShiftQuery& query,
                                            const QString& start, const QString& end,
                                            const QDate& from, const QDate& to,
                                            const QString& name) {
    if (auto problem = shiftWindowProblem(query, start, end))
        throw Error(ErrorKind::TypeMismatch, *problem);
    Connection connection(programFolder);
    return connection.open(queryText(query, start, end, from, to, name)).rows();
}

}  // namespace kq::queries

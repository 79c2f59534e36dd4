#include "queries/ShiftQuery.h"

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "queries/QueryText.h"

namespace kq::queries {

QString queryText(const shifts::ShiftWindow& window, const QString& start, const QString& end,
                  const QDate& from, const QDate& to, const QString& name) {
    const QString& table = window.shift->table;
    return window.shift->windowWrapsMidnight ? overnightQueryText(table, start, end, from, to, name)
                                             : shiftQueryText(table, start, end, from, to, name);
}

bool isShiftTimeText(const QString& text) {
    const auto value = datetime::parse(text);
    return value && !datetime::hasDate(*value);
}

std::optional<WindowTimeProblem> windowTimeProblem(int window, const QString& start,
                                                   const QString& end) {
    const shifts::Window& w = *shifts::windowAt(window).window;
    if (!isShiftTimeText(start)) return WindowTimeProblem{window, true, w.startTime, start};
    if (!isShiftTimeText(end)) return WindowTimeProblem{window, false, w.endTime, end};
    return std::nullopt;
}

std::optional<WindowTimeProblem> firstWindowTimeProblem(const shifts::WindowTimes& times) {
    const auto windows = shifts::windows();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const shifts::Window& w = *windows[i].window;
        if (auto problem = windowTimeProblem(int(i), times[std::size_t(w.startTime)],
                                             times[std::size_t(w.endTime)]))
            return problem;
    }
    return std::nullopt;
}

QString describe(const WindowTimeProblem& problem) {
    // One pass over all placeholders: a "%1" typed into the box stays text.
    return QStringLiteral("%1的%2时间“%3”不是有效的时间，无法查询%1异常。")
        .arg(shifts::windowAt(problem.window).name(),
             problem.atStart ? QStringLiteral("开始") : QStringLiteral("结束"), problem.text);
}

std::shared_ptr<const RowSet> runShiftQuery(const QString& programFolder, int window,
                                            const QString& start, const QString& end,
                                            const QDate& from, const QDate& to,
                                            const QString& name) {
    if (auto problem = windowTimeProblem(window, start, end))
        throw Error(ErrorKind::TypeMismatch, describe(*problem));
    Connection connection(programFolder);
    return connection.open(queryText(shifts::windowAt(window), start, end, from, to, name)).rows();
}

}  // namespace kq::queries

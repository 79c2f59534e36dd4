#include "reports/ScheduledDays.h"

#include <sqlite3.h>

#include <QHash>
#include <algorithm>
#include <utility>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/TableCatalogue.h"
#include "shifts/ShiftCatalogue.h"

namespace kq::reports {
namespace {

// The punches of one name and day, before 12:00 and from 12:00; with
// window times, per shift (bit i for shift i of the catalogue) whether a
// punch of each half lies inside one of its windows.
struct PunchDay {
    qint64 am = 0, pm = 0;
    Value amTime, pmTime;
    unsigned amInside = 0, pmInside = 0;
};

// The engine's order of a time against a number: texts come after numbers.
int compareTime(const Value& time, double x) {
    if (time.type() == Value::Type::Text) return 1;
    const double t = time.toDouble();
    return t < x ? -1 : t > x ? 1 : 0;
}

// min() as the engine takes it: numbers by value before texts.
bool earlier(const Value& a, const Value& b) {
    const bool aText = a.type() == Value::Type::Text, bText = b.type() == Value::Type::Text;
    if (aText != bText) return bText;
    if (aText) return a.textValue() < b.textValue();
    return a.toDouble() < b.toDouble();
}

// Each shift's windows as numbers, from the typed times.
struct WindowLimits {
    double start, end;
};
std::vector<std::vector<WindowLimits>> windowLimits(const shifts::WindowTimes& times) {
    std::vector<std::vector<WindowLimits>> out;
    for (const shifts::Shift& shift : shifts::catalogue()) {
        auto& limits = out.emplace_back();
        for (const shifts::Window& w : shift.windows)
            limits.push_back({datetime::parse(times[std::size_t(w.startTime)]).value_or(0),
                              datetime::parse(times[std::size_t(w.endTime)]).value_or(0)});
    }
    return out;
}

unsigned insideBits(const Value& time, const std::vector<std::vector<WindowLimits>>& limits) {
    unsigned bits = 0;
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const bool wraps = shifts::catalogue()[i].windowWrapsMidnight;
        for (const WindowLimits& w : limits[i]) {
            const bool afterStart = compareTime(time, w.start) > 0;
            const bool beforeEnd = compareTime(time, w.end) < 0;
            if (wraps ? afterStart || beforeEnd : afterStart && beforeEnd) bits |= 1u << i;
        }
    }
    return bits;
}

// A number from..to, as the engine's comparison with the range's literals
// takes it: a text or null never lies within it.
bool numberIn(const Value& value, double from, double to, double* out) {
    if (value.type() != Value::Type::Number && value.type() != Value::Type::DateTime) return false;
    *out = value.toDouble();
    return *out >= from && *out <= to;
}

bool isText(const Value& value) { return value.type() == Value::Type::Text; }

QString nameClause(const QString& name) {
    return name.isEmpty() ? QString() : QStringLiteral(" and 姓名 = ?3");
}

void bindRange(Statement& s, double from, double to, const QString& name) {
    s.bind(1, from);
    s.bind(2, to);
    if (!name.isEmpty()) s.bind(3, name);
}

// ry grouped by name and day as ry_days is, with the window marks: read
// raw, as ry is the month's largest table, names told apart once each.
void readMarkedPunchDays(Connection& connection, double first, double last, const QString& name,
                         const shifts::WindowTimes& times,
                         QMultiHash<std::pair<QString, double>, PunchDay>& punchDays) {
    const auto limits = windowLimits(times);
    Statement s = connection.prepare(
        QStringLiteral("select 姓名, 日期, 时间 from ry where 日期 >= ?1 and 日期 <= ?2%1 "
                       "and 时间 is not null and 时间 <> ''")
            .arg(nameClause(name)));
    bindRange(s, first, last + 1, name);
    sqlite3_stmt* row = s.handle();
    const bool timeIsDateTime = s.columnIsDateTime(2);
    // Names by their bytes, then by their text: bytes that read as the same
    // text are the same name, as for the other reports.
    QHash<QByteArray, int> nameOfBytes;
    QHash<QString, int> nameOfText;
    std::vector<QString> names;
    struct Last {
        double day;
        int group;
    };
    std::vector<Last> lastOfName;  // ry is mostly in date order
    QHash<std::pair<int, double>, int> groupOf;
    std::vector<std::pair<int, double>> keys;
    std::vector<PunchDay> groups;
    while (s.step()) {
        const int nameType = sqlite3_column_type(row, 0);
        const int dayType = sqlite3_column_type(row, 1);
        if ((nameType != SQLITE_TEXT && nameType != SQLITE_BLOB) ||
            (dayType != SQLITE_INTEGER && dayType != SQLITE_FLOAT))
            continue;
        const double day = sqlite3_column_double(row, 1);
        if (day < first || day > last + 1) continue;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, 0));
        const QByteArray bytes = QByteArray::fromRawData(text, sqlite3_column_bytes(row, 0));
        auto bytesIt = nameOfBytes.constFind(bytes);
        if (bytesIt == nameOfBytes.cend()) {
            const QString nameText = QString::fromUtf8(bytes);
            auto textIt = nameOfText.constFind(nameText);
            if (textIt == nameOfText.cend()) {
                textIt = nameOfText.insert(nameText, int(names.size()));
                names.push_back(nameText);
                lastOfName.push_back({0, -1});
            }
            bytesIt = nameOfBytes.insert(QByteArray(text, bytes.size()), *textIt);
        }
        const int nameKey = *bytesIt;
        Last& last = lastOfName[std::size_t(nameKey)];
        if (last.group < 0 || last.day != day) {
            const std::pair key(nameKey, day);
            auto it = groupOf.constFind(key);
            if (it == groupOf.cend()) {
                it = groupOf.insert(key, int(groups.size()));
                groups.emplace_back();
                keys.push_back(key);
            }
            last = {day, *it};
        }
        PunchDay& d = groups[std::size_t(last.group)];
        const Value time = sqlite3_column_type(row, 2) == SQLITE_INTEGER ||
                                   sqlite3_column_type(row, 2) == SQLITE_FLOAT
                               ? (timeIsDateTime ? Value::dateTime(sqlite3_column_double(row, 2))
                                                 : Value::number(sqlite3_column_double(row, 2)))
                               : s.column(2);
        const bool morning = compareTime(time, 0.5) < 0;
        Value& earliest = morning ? d.amTime : d.pmTime;
        if (earliest.isNull() || earlier(time, earliest)) earliest = time;
        (morning ? d.am : d.pm) += 1;
        (morning ? d.amInside : d.pmInside) |= insideBits(time, limits);
    }
    for (std::size_t g = 0; g < groups.size(); ++g)
        punchDays.insert({names[std::size_t(keys[g].first)], keys[g].second}, groups[g]);
}

}  // namespace

ScheduledRange readScheduledRange(Connection& connection, const QDate& from, const QDate& to,
                                  const QString& name, const shifts::WindowTimes* times) {
    const double first = datetime::fromDate(from), last = datetime::fromDate(to);

    // Punch days by name and day; a name and day of ry_days may in
    // principle have more than one row, and each joins.
    QMultiHash<std::pair<QString, double>, PunchDay> punchDays;
    if (!times) {
        Statement s =
            connection.prepare(QStringLiteral("select 姓名, 日期, am, pm, amTime, pmTime from %1 "
                                              "where 日期 >= ?1 and 日期 <= ?2%3")
                                   .arg(quoteIdentifier(tables::kPunchDays), nameClause(name)));
        bindRange(s, first, last + 1, name);
        while (s.step()) {
            double day = 0;
            if (!isText(s.column(0)) || !numberIn(s.column(1), first, last + 1, &day)) continue;
            punchDays.insert({s.column(0).toText(), day},
                             {qint64(s.column(2).toDouble()), qint64(s.column(3).toDouble()),
                              s.column(4), s.column(5)});
        }
    } else {
        readMarkedPunchDays(connection, first, last, name, *times, punchDays);
    }

    ScheduledRange range;
    QHash<QString, qint64> rankOf;           // first rowid of any entry
    QHash<QString, std::size_t> employeeOf;  // first rowid of a non-empty code
    Statement s = connection.prepare(
        QStringLiteral("select rowid, 日期, 姓名, 班次 from yw where 日期 >= ?1 and 日期 <= ?2%1")
            .arg(nameClause(name)));
    bindRange(s, first, last, name);
    struct Entry {
        qint64 seq;
        double day;
        QString name, code;
    };
    std::vector<Entry> onShifts;
    while (s.step()) {
        double day = 0;
        if (!isText(s.column(2)) || !numberIn(s.column(1), first, last, &day)) continue;
        const auto seq = qint64(s.column(0).toDouble());
        const QString employee = s.column(2).toText();
        rankOf.insert(employee, std::min(rankOf.value(employee, seq), seq));
        const Value codeValue = s.column(3);
        if (!isText(codeValue)) continue;
        const QString& code = codeValue.textValue();
        if (code.isEmpty()) continue;
        auto it = employeeOf.find(employee);
        if (it == employeeOf.end()) {
            it = employeeOf.insert(employee, range.employees.size());
            range.employees.push_back({employee, 0, seq});
        }
        ScheduledEmployee& e = range.employees[*it];
        e.rank = std::min(e.rank, seq);
        if (shifts::shiftIndex(code) < 0) continue;
        ++e.shiftDays;
        onShifts.push_back({seq, day, employee, code});
    }
    std::ranges::sort(range.employees, {}, &ScheduledEmployee::rank);

    for (const Entry& e : onShifts) {
        const int shift = shifts::shiftIndex(e.code);
        const bool noonToNoon = shifts::catalogue().at(std::size_t(shift)).dayRunsNoonToNoon;
        const unsigned bit = 1u << shift;
        const qint64 rank = rankOf.value(e.name);
        const auto add = [&](const PunchDay* d, const PunchDay* n) {
            ScheduledDay out{e.seq, e.day, e.name, e.code, rank, 0, {}};
            if (noonToNoon) {
                out.punches = (d ? d->pm : 0) + (n ? n->am : 0);
                out.time = d && !d->pmTime.isNull() ? d->pmTime : n ? n->amTime : Value();
                out.marked = (d && (d->pmInside & bit)) || (n && (n->amInside & bit));
            } else {
                out.punches = d ? d->am + d->pm : 0;
                out.time = d ? (d->amTime.isNull() ? d->pmTime : d->amTime) : Value();
                out.marked = d && ((d->amInside | d->pmInside) & bit);
            }
            range.days.push_back(std::move(out));
        };
        const auto ds = punchDays.equal_range({e.name, e.day});
        const auto ns = noonToNoon ? punchDays.equal_range({e.name, e.day + 1})
                                   : std::pair(punchDays.end(), punchDays.end());
        // A left join of each: no match still gives the entry once.
        std::vector<const PunchDay*> dList, nList;
        for (auto it = ds.first; it != ds.second; ++it) dList.push_back(&*it);
        for (auto it = ns.first; it != ns.second; ++it) nList.push_back(&*it);
        if (dList.empty()) dList.push_back(nullptr);
        if (nList.empty()) nList.push_back(nullptr);
        for (const PunchDay* d : dList)
            for (const PunchDay* n : nList) add(d, n);
    }
    return range;
}

}  // namespace kq::reports

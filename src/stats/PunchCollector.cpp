#include "stats/PunchCollector.h"

#include <sqlite3.h>

#include <algorithm>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/Statement.h"
#include "data/TableCatalogue.h"
#include "import/WorkbookImport.h"
#include "shifts/ShiftCatalogue.h"
#include "stats/LookAlikes.h"
#include "stats/RawStatement.h"

namespace kq {

QString columnAffinity(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT"))) return QStringLiteral("INTEGER");
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")))
        return QStringLiteral("TEXT");
    if (type.isEmpty() || type.contains(QLatin1String("BLOB"))) return {};
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB")))
        return QStringLiteral("REAL");
    return QStringLiteral("NUMERIC");
}

PunchColumns punchColumns(Connection& connection) {
    Statement info =
        connection.prepare(QStringLiteral("select name, type from main.pragma_table_info(?1)"));
    info.bind(1, tables::kPunches);
    QHash<QString, QString> declared;
    while (info.step()) declared.insert(info.column(0).toText(), info.column(1).toText());
    if (declared.isEmpty())
        throw Error(ErrorKind::TableNotFound,
                    QStringLiteral("数据库中找不到打卡表ry。请先“更新打卡”，再开始统计。"));
    for (const QString& column : {tables::kDate, tables::kName, tables::kTime})
        if (!declared.contains(column))
            throw Error(
                ErrorKind::FieldNotFound,
                QStringLiteral("打卡表ry中没有“%1”列。请检查%2第一行的列名后重新更新打卡。")
                    .arg(column, workbookFileName(connection.programFolder(), Workbook::Punches)));
    return {declared.value(tables::kDate), declared.value(tables::kName),
            declared.value(tables::kTime)};
}

PunchCollector::PunchCollector(Connection& connection, const std::vector<ScheduleEntry>& entries)
    : connection_(connection), scheduleDays_(scheduleDays(entries)) {
    prepareEntries(entries);
    if (selected_.empty()) return;  // no lookup would run: ry is not even read
    readPunches();
    table_.emplace(connection_.handle(), QStringLiteral("kq_collected"),
                   QStringList{QStringLiteral("\"日期\""), QStringLiteral("\"姓名\""),
                               QStringLiteral("\"时间\"")});
}

PunchCollector::~PunchCollector() = default;

// The distinct days and names of the selected entries, as columns of ry's
// affinities store them, numbered as SQL's "=" tells them apart.
void PunchCollector::prepareEntries(const std::vector<ScheduleEntry>& entries) {
    QHash<QString, int> nameOf;
    QHash<double, int> dayOf;
    QStringList names;
    std::vector<double> days;
    EntryDays entryDays;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int pass = shifts::shiftIndex(entries[i].code);
        if (pass < 0) continue;
        const double day = entryDays(entries[i].date);
        auto nameIt = nameOf.constFind(entries[i].name);
        if (nameIt == nameOf.cend()) {
            nameIt = nameOf.insert(entries[i].name, int(names.size()));
            names << entries[i].name;
        }
        auto dayIt = dayOf.constFind(day);
        if (dayIt == dayOf.cend()) {
            dayIt = dayOf.insert(day, int(days.size()));
            days.push_back(day);
        }
        // What the per-shift tables receive as 日期: the long date of the day.
        selected_.push_back({pass, *nameIt, *dayIt, datetime::fromDate(datetime::datePart(day))});
    }
    if (selected_.empty()) return;

    ry_ = punchColumns(connection_);
    connection_.executeNative(QStringLiteral("drop table if exists temp.kq_entry_day;"
                                             "drop table if exists temp.kq_entry_name;"
                                             "create temp table kq_entry_day (v %1);"
                                             "create temp table kq_entry_name (v %2);")
                                  .arg(columnAffinity(ry_.dateType), columnAffinity(ry_.nameType)));
    {
        Transaction transaction(connection_, Transaction::Scope::TemporaryOnly);
        Statement day = connection_.prepare(
            QStringLiteral("insert into temp.kq_entry_day (rowid, v) values (?1, ?2)"));
        for (std::size_t i = 0; i < days.size(); ++i) {
            day.bind(1, double(i));
            day.bind(2, days[i]);
            day.step();
            day.reset();
        }
        Statement name = connection_.prepare(
            QStringLiteral("insert into temp.kq_entry_name (rowid, v) values (?1, ?2)"));
        for (qsizetype i = 0; i < names.size(); ++i) {
            name.bind(1, double(i));
            name.bind(2, names[i]);
            name.step();
            name.reset();
        }
        transaction.commit();
    }
    sqlite3* db = connection_.handle();
    std::vector<int> dayKey(days.size()), nameKey(std::size_t(names.size()));
    forEachRow(db, QStringLiteral("select rowid, v from temp.kq_entry_day"),
               [&](sqlite3_stmt* row) {
                   dayKey[std::size_t(sqlite3_column_int64(row, 0))] =
                       addKey(days_, dayValues_, sqlite3_column_value(row, 1));
               });
    forEachRow(db, QStringLiteral("select rowid, v from temp.kq_entry_name"),
               [&](sqlite3_stmt* row) {
                   nameKey[std::size_t(sqlite3_column_int64(row, 0))] =
                       addKey(names_, nameValues_, sqlite3_column_value(row, 1));
               });
    connection_.executeNative(
        QStringLiteral("drop table temp.kq_entry_day; drop table temp.kq_entry_name;"));
    for (Selected& entry : selected_) {
        entry.name = nameKey[std::size_t(entry.name)];
        const int day = dayKey[std::size_t(entry.group)];
        if (entry.name < 0 || day < 0) {  // a NULL, which equals nothing
            entry.group = -1;
            continue;
        }
        entry.group = groupOf(entry.name, day);
    }
}

int PunchCollector::addKey(StoredValueKeys& keys, std::vector<StoredValue>& values,
                           sqlite3_value* value) {
    const int key = keys.add(value);
    if (key == int(values.size())) values.push_back(StoredValue::of(value));
    return key;
}

// ry is mostly in date order: a name's punch is most often on the day of its last one.
int PunchCollector::groupOf(int name, int day) {
    if (lastGroupOfName_.size() <= std::size_t(name))
        lastGroupOfName_.resize(std::size_t(name) + 1, -1);
    int& last = lastGroupOfName_[std::size_t(name)];
    if (last >= 0 && groupDay_[std::size_t(last)] == day) return last;
    const qint64 pair = (qint64(name) << 32) | qint64(day);
    if (const auto it = groups_.constFind(pair); it != groups_.cend()) return last = *it;
    groupName_.push_back(name);
    groupDay_.push_back(day);
    return last = *groups_.insert(pair, int(groupName_.size()) - 1);
}

// ry read once in its natural order, each punch with a time numbered by its
// day and name; then put group by group (a counting sort keeps ry's order
// within a group), so that each pass reads the times it writes in sequence
// rather than scattered over the month.
void PunchCollector::readPunches() {
    std::vector<int> groupOf;
    // ry's rowids run from 1 as the import writes it: the largest bounds the
    // rows to read (and is found without reading them).
    qint64 rows = 0;
    forEachRow(connection_.handle(), QStringLiteral("select max(rowid) from main.ry"),
               [&](sqlite3_stmt* row) { rows = sqlite3_column_int64(row, 0); });
    rows = std::clamp<qint64>(rows, 0, 1 << 24);
    groupOf.reserve(std::size_t(rows));
    times_.reserve(std::size_t(rows));
    // The lookups' "时间 is not null and 时间 <> ''" tested here: as the
    // column's affinity leaves '' a text, only NULL and the empty text fail.
    // A NULL day or name equals nothing.
    const std::pair<double, double> counted = scheduleDays_.value_or(std::pair(0.0, 0.0));
    const double countFrom = counted.first, countEnd = counted.second;
    readRy_ = true;
    forEachRow(connection_.handle(),
               QStringLiteral("select \"日期\", \"姓名\", \"时间\" from main.ry order by rowid"),
               [&](sqlite3_stmt* row) {
                   const int name = addKey(names_, nameValues_, sqlite3_column_value(row, 1));
                   if (name < 0) return;
                   sqlite3_value* dayValue = sqlite3_column_value(row, 0);
                   const int dayType = sqlite3_value_type(dayValue);
                   if (dayType == SQLITE_INTEGER || dayType == SQLITE_FLOAT) {
                       const double d = sqlite3_value_double(dayValue);
                       if (d >= countFrom && d < countEnd) {
                           if (punchesInDays_.size() <= std::size_t(name))
                               punchesInDays_.resize(std::size_t(name) + 1);
                           ++punchesInDays_[std::size_t(name)];
                       }
                   }
                   sqlite3_value* time = sqlite3_column_value(row, 2);
                   const int timeType = sqlite3_value_type(time);
                   if (timeType == SQLITE_NULL ||
                       (timeType == SQLITE_TEXT && sqlite3_value_bytes(time) == 0))
                       return;
                   const int day = addKey(days_, dayValues_, dayValue);
                   if (day < 0) return;
                   groupOf.push_back(this->groupOf(name, day));
                   times_.push_back(StoredValue::of(time));
               });
    groupStart_.assign(groupName_.size() + 1, 0);
    for (const int g : groupOf) ++groupStart_[std::size_t(g) + 1];
    for (std::size_t g = 1; g < groupStart_.size(); ++g) groupStart_[g] += groupStart_[g - 1];
    std::vector<qsizetype> next(groupStart_.begin(), groupStart_.end() - 1);
    std::vector<StoredValue> grouped(times_.size());
    for (std::size_t i = 0; i < groupOf.size(); ++i)
        grouped[std::size_t(next[std::size_t(groupOf[i])]++)] = std::move(times_[i]);
    times_.swap(grouped);
}

qsizetype PunchCollector::rewrite(int shiftIndex) {
    const shifts::Shift& shift = shifts::catalogue().at(std::size_t(shiftIndex));
    struct Row {
        double day;
        int name;
        qsizetype punch;
    };
    std::vector<Row> rows;
    for (const Selected& entry : selected_) {
        if (entry.pass != shiftIndex || entry.group < 0) continue;
        const auto g = std::size_t(entry.group);
        for (qsizetype p = groupStart_[g]; p < groupStart_[g + 1]; ++p)
            rows.push_back({entry.dayOnly, entry.name, p});
    }

    Transaction transaction(connection_);
    connection_.execute(QStringLiteral("delete from ") + shift.table);
    qsizetype written = 0;
    if (!rows.empty()) {
        table_->show(qsizetype(rows.size()), [&](qsizetype r, int col, sqlite3_context* result) {
            const Row& row = rows[std::size_t(r)];
            if (col == 0)
                sqlite3_result_double(result, row.day);
            else if (col == 1)
                nameValues_[std::size_t(row.name)].resultInto(result);
            else
                times_[std::size_t(row.punch)].resultInto(result);
        });
        Statement fill =
            connection_.prepare(QStringLiteral("insert into main.%1 (\"日期\", \"姓名\", \"时间\") "
                                               "select \"日期\", \"姓名\", \"时间\" from %2")
                                    .arg(quoteIdentifier(shift.table), table_->name()));
        fill.step();
        written = qsizetype(sqlite3_changes64(connection_.handle()));
        table_->show(0, {});
    }
    transaction.commit();
    return written;
}

QHash<QString, qint64> PunchCollector::punchesByName() {
    QHash<QString, qint64> counts;
    if (!scheduleDays_) return counts;
    if (!readRy_) {  // no shift was scheduled: ry was not read for the passes
        Statement s = connection_.prepare(QStringLiteral(
            "select 姓名, count(*) from ry where 日期 >= ?1 and 日期 < ?2 group by 姓名"));
        s.bind(1, scheduleDays_->first);
        s.bind(2, scheduleDays_->second);
        while (s.step()) counts[s.column(0).toText()] += qint64(s.column(1).toDouble());
        return counts;
    }
    for (std::size_t key = 0; key < punchesInDays_.size(); ++key)
        if (punchesInDays_[key] > 0) counts[nameValues_[key].toText()] += punchesInDays_[key];
    return counts;
}

}  // namespace kq

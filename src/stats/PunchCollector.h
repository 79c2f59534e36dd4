#pragma once

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

#include "data/InMemoryTable.h"
#include "stats/ScheduleFlattening.h"
#include "stats/StoredValue.h"

struct sqlite3_value;

namespace kq {

class Connection;

// ry's declared types of the columns the run reads.
struct PunchColumns {
    QString dateType, nameType, timeType;
};
// Throws kq::Error naming what the clerk must do when ry or one of them is missing.
PunchColumns punchColumns(Connection& connection);

// The column affinity SQLite gives a declared type ("" for none). The
// entries' days and names are stored once in columns of ry's affinities, so
// that they are compared with ry's values exactly as the per-entry lookup
// compares ry with its literals.
QString columnAffinity(const QString& declared);

// Gathers the punches of the selected schedule entries from one reading of
// ry, however long the schedule, and rewrites the per-shift tables.
// The rows and their order are those of one lookup per entry:
//   select * from ry where 日期 = #date# and 姓名 = 'name'
// entries in list order, each lookup's punches in ry's natural order, a
// duplicated entry collected twice. A punch without a time is left out.
// ry gets no index and is not sorted by the engine (which costs more than
// all the rest at a factory's size): its punches are read once, in order,
// and grouped in memory by the entries' days and names.
class PunchCollector {
  public:
    PunchCollector(Connection& connection, const std::vector<ScheduleEntry>& entries);
    ~PunchCollector();
    PunchCollector(const PunchCollector&) = delete;
    PunchCollector& operator=(const PunchCollector&) = delete;

    // The pass of the catalogue's shift shiftIndex: empties its table and
    // fills it in one transaction; a failure leaves the table as it was.
    // Returns the number of rows written.
    qsizetype rewrite(int shiftIndex);

    // Rewrites the punch days table from the same reading of ry, in one
    // transaction (see PunchDays.h).
    void rewritePunchDays();

    // ry's punches by name, with or without a time, whose 日期 is a number
    // within the schedule's days (scheduleDays), as
    //   select 姓名, count(*) from ry where 日期 >= first and 日期 < end group by 姓名
    // counts them: a 日期 stored as text compares above every number.
    QHash<QString, qint64> punchesByName();

  private:
    struct Selected {
        int pass;
        int name;   // key among names_
        int group;  // the entry's day and name among groups_
        double dayOnly;
    };

    void prepareEntries(const std::vector<ScheduleEntry>& entries);
    void readPunches();
    int addKey(StoredValueKeys& keys, std::vector<StoredValue>& values, sqlite3_value* value);
    int groupOf(int name, int day);
    // Per group: whether each punch is before 12:00, as ry's column compares.
    std::vector<bool> beforeNoon();
    void writeDays(const QString& table);

    Connection& connection_;
    std::vector<Selected> selected_;  // in list order
    StoredValueKeys days_;
    StoredValueKeys names_;
    std::vector<StoredValue> nameValues_;  // by key
    std::vector<StoredValue> dayValues_;   // by key
    PunchColumns ry_;
    // Each distinct (name key, day key) of the entries and of ry, numbered.
    QHash<qint64, int> groups_;
    std::vector<int> groupName_, groupDay_;  // by group
    std::vector<int> lastGroupOfName_;       // by name key, -1 before its first
    // The times of the punches kept, group by group, each group's in ry's
    // order: group g's are times_[groupStart_[g] .. groupStart_[g + 1]).
    std::vector<StoredValue> times_;
    std::vector<qsizetype> groupStart_;
    std::optional<InMemoryTable> table_;
    std::optional<std::pair<double, double>> scheduleDays_;
    bool readRy_ = false;
    std::vector<qint64> punchesInDays_;  // by name key
};

}  // namespace kq

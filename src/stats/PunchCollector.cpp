#include "stats/PunchCollector.h"

#include <sqlite3.h>

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"
#include "import/WorkbookImport.h"
#include "shifts/ShiftCatalogue.h"

namespace kq {
namespace {

// The column affinity SQLite gives a declared type. The working columns that
// are compared with ry's 日期 and 姓名 take the same affinity, so the join
// compares values exactly as the per-entry lookup compares ry with its
// literals.
QString affinityOf(const QString& declared) {
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

struct PunchColumns {
    QString dateAffinity;
    QString nameAffinity;
};

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
    return {affinityOf(declared.value(tables::kDate)), affinityOf(declared.value(tables::kName))};
}

}  // namespace

PunchCollector::PunchCollector(Connection& connection, const std::vector<ScheduleEntry>& entries)
    : connection_(connection) {
    // The working tables and their sorting stay in memory instead of
    // spilling into temporary files. Changing the setting drops TEMP tables,
    // so it is done before ours exist and undone after they are gone.
    savedTempStore_ = connection_.open(QStringLiteral("pragma temp_store")).field(0).toText();
    connection_.executeNative(QStringLiteral("pragma temp_store = memory"));
    try {
        dropWorkTables();
        prepareEntries(entries);
    } catch (...) {
        restore();
        throw;
    }
}

PunchCollector::~PunchCollector() {
    try {
        if (connection_.isOpen()) restore();
    } catch (const Error&) {
        // The TEMP tables and the setting go with the connection anyway.
    }
}

void PunchCollector::restore() {
    connection_.executeNative(
        QStringLiteral("drop table if exists temp.kq_punch; drop table if exists temp.kq_entry;"
                       "pragma temp_store = %1;")
            .arg(savedTempStore_.toInt()));
}

void PunchCollector::dropWorkTables() {
    connection_.executeNative(
        QStringLiteral("drop table if exists temp.kq_punch; drop table if exists temp.kq_entry;"));
}

void PunchCollector::prepareEntries(const std::vector<ScheduleEntry>& entries) {
    std::vector<int> passOf(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        passOf[i] = shifts::shiftIndex(entries[i].code);
        anySelected_ = anySelected_ || passOf[i] >= 0;
    }
    // Without a selected entry no lookup would run: ry is not even read.
    if (!anySelected_) return;

    const PunchColumns ry = punchColumns(connection_);
    connection_.executeNative(
        QStringLiteral("create temp table kq_entry (seq integer primary key, pass integer, "
                       "day %1, name %2, dayOnly real);"
                       "create temp table kq_punch (day %1, name %2, rid integer, time, "
                       "primary key (day, name, rid)) without rowid;")
            .arg(ry.dateAffinity, ry.nameAffinity));

    Transaction transaction(connection_);
    Statement insert = connection_.prepare(QStringLiteral(
        "insert into temp.kq_entry (seq, pass, day, name, dayOnly) values (?1, ?2, ?3, ?4, ?5)"));
    EntryDays days;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (passOf[i] < 0) continue;
        const double day = days(entries[i].date);
        insert.bind(1, double(i));
        insert.bind(2, double(passOf[i]));
        insert.bind(3, day);
        insert.bind(4, entries[i].name);
        // What the per-shift tables receive as 日期: the long date of the day.
        insert.bind(5, datetime::fromDate(datetime::datePart(day)));
        insert.step();
        insert.reset();
    }
    // ry copied once, keyed as the lookups search it; within a key the
    // punches keep ry's natural order. Sorted first, the copy is appended.
    connection_.executeNative(QStringLiteral(
        "create index temp.kq_entry_pass on kq_entry (pass);"
        "insert into temp.kq_punch (day, name, rid, time) "
        "select \"日期\", \"姓名\", rowid, \"时间\" from main.ry "
        "where \"日期\" is not null and \"姓名\" is not null "  // never equal to a lookup's
        "and \"时间\" is not null and \"时间\" <> '' order by 1, 2, 3;"));
    transaction.commit();
}

qsizetype PunchCollector::rewrite(int shiftIndex) {
    const shifts::Shift& shift = shifts::catalogue().at(std::size_t(shiftIndex));
    Transaction transaction(connection_);
    connection_.execute(QStringLiteral("delete from ") + shift.table);
    qsizetype written = 0;
    if (anySelected_) {
        Statement fill = connection_.prepare(
            QStringLiteral("insert into main.%1 (\"日期\", \"姓名\", \"时间\") "
                           "select e.dayOnly, p.name, p.time from temp.kq_entry e "
                           "cross join temp.kq_punch p on p.day = e.day and p.name = e.name "
                           "where e.pass = ?1 order by e.seq, p.rid")
                .arg(quoteIdentifier(shift.table)));
        fill.bind(1, double(shiftIndex));
        fill.step();
        written = qsizetype(sqlite3_changes64(connection_.handle()));
    }
    transaction.commit();
    return written;
}

}  // namespace kq

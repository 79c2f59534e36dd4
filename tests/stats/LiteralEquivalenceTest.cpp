#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "StatsData.h"
#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/TableCatalogue.h"
#include "shifts/ShiftCatalogue.h"
#include "stats/LiteralCollection.h"
#include "stats/ScheduleFlattening.h"
#include "stats/StatisticsRun.h"
#include "support/TestFolder.h"

namespace {

// Names and codes chosen to trip up quoting, trimming and case. Column names
// of yd cannot differ by case alone, so "zhao" only punches.
const QStringList kScheduled = {"王五", "O'Brien", "张'三", "李 四", "Zhao", "赵六 "};
const QStringList kNames = kScheduled + QStringList{"zhao", "赵六"};
const QStringList kCodes = {"常", "A", "B", "早", "中", "夜", "休", "a", " A", "", QString()};

QString pick(QRandomGenerator& random, const QStringList& list) {
    return list[random.bounded(int(list.size()))];
}

QString someDay(QRandomGenerator& random) {
    return kq::datetime::shortDate(QDate(2023, 12, 31).addDays(random.bounded(8)));
}

// A small random schedule (repeated dates included) and random punches in no
// particular order, some without a time, some of employees not scheduled.
void makeRandomData(kq::Connection& connection, quint32 seed) {
    QRandomGenerator random(seed);
    QStringList employees = kScheduled;
    std::shuffle(employees.begin(), employees.end(), random);
    employees = employees.mid(0, 1 + random.bounded(int(kScheduled.size()) - 1));
    std::vector<kq::test::ScheduleRow> rows(std::size_t(random.bounded(9)));
    for (auto& row : rows) {
        row.date = someDay(random);
        for (qsizetype i = 0; i < employees.size(); ++i) row.codes << pick(random, kCodes);
    }
    kq::test::makeSchedule(connection, employees, rows);

    kq::Transaction transaction(connection);
    const int punches = random.bounded(400);
    for (int i = 0; i < punches; ++i) {
        QString time;
        if (random.bounded(10) > 0)
            time = kq::datetime::timeText(QTime(0, 0).addSecs(random.bounded(86400)));
        QString date = someDay(random);
        if (random.bounded(20) == 0) date += " 8:00";  // a date that is not a whole day
        kq::test::addPunch(connection, date, time, pick(random, kNames));
    }
    transaction.commit();
}

// yw and the six per-shift tables, cell by cell in stored order.
std::vector<kq::RowSet> snapshot(kq::Connection& connection) {
    std::vector<kq::RowSet> tables;
    QStringList names = {"yw"};
    for (const kq::shifts::Shift& shift : kq::shifts::catalogue()) names << shift.table;
    for (const QString& table : names) {
        const auto rows =
            connection.open("select * from " + kq::quoteIdentifier(table) + " order by rowid");
        tables.push_back(*rows.rows());
    }
    return tables;
}

TEST(LiteralEquivalenceTest, FastRunWritesExactlyWhatOneLookupPerEntryWrites) {
    qsizetype collected = 0;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        kq::test::TestFolder folder;
        kq::Connection connection(folder.path());
        connection.executeNative("pragma synchronous = off");  // nothing here must outlive a crash
        makeRandomData(connection, seed);

        const auto result = kq::runStatistics(connection, [](const QString&) {});
        const auto fast = snapshot(connection);

        const auto entries = kq::flattenSchedule(connection);
        kq::writeScheduleEntries(connection, entries);
        for (const kq::shifts::Shift& shift : kq::shifts::catalogue())
            kq::collectLiterally(connection, entries, shift);

        ASSERT_EQ(fast, snapshot(connection)) << "seed " << seed;
        for (const qsizetype n : result.punches) collected += n;
    }
    EXPECT_GT(collected, 100);  // the random data did exercise the collection
}

}  // namespace

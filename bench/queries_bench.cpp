// The punch query over a whole month of 655,350 punches: statement text,
// connection, query and reading every row into memory, as "查询" does before
// the grid shows them.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchData.h"
#include "data/Connection.h"
#include "queries/PunchQuery.h"
#include "queries/ShiftQuery.h"
#include "reports/EmployeeSummary.h"
#include "reports/MissingPunches.h"
#include "stats/StatisticsRun.h"

namespace {

using kq::bench::AttendanceData;

const AttendanceData kTenTimes{.punches = 655350, .employees = 1999};

const QString& filledFolder(bool withStatistics) {
    static QTemporaryDir folder;
    static bool filled = false, statistics = false;
    if (!filled) {
        kq::bench::fillAttendanceData(folder.path(), kTenTimes);
        filled = true;
    }
    if (withStatistics && !statistics) {
        kq::Connection connection(folder.path());
        kq::runStatistics(connection, [](const QString&) {});
        statistics = true;
    }
    static const QString path = folder.path();
    return path;
}

void BM_PunchQueryMonth(benchmark::State& state, QString start, QString end, QString name) {
    const QString& folder = filledFolder(false);
    const QDate first = kTenTimes.firstDay;
    const QDate last = first.addDays(kTenTimes.days - 1);
    qsizetype rows = 0;
    for (auto _ : state) {
        const auto result = kq::queries::runPunchQuery(folder, start, end, first, last, name);
        rows = result->rowCount();
        benchmark::DoNotOptimize(result.get());
    }
    state.counters["rows"] = double(rows);
}

// window: the index in the shift catalogue's windows.
void BM_ShiftQueryMonth(benchmark::State& state, int window, QString start, QString end) {
    const QString& folder = filledFolder(true);
    const QDate first = kTenTimes.firstDay;
    const QDate last = first.addDays(kTenTimes.days - 1);
    qsizetype rows = 0;
    for (auto _ : state) {
        const auto result =
            kq::queries::runShiftQuery(folder, window, start, end, first, last, QString());
        rows = result->rowCount();
        benchmark::DoNotOptimize(result.get());
    }
    state.counters["rows"] = double(rows);
}

// The two reports of "汇总" over the whole month: every yw entry checked
// against ry, and the seven button queries counted per employee.
void BM_MissingPunchesMonth(benchmark::State& state) {
    const QString& folder = filledFolder(true);
    const QDate first = kTenTimes.firstDay;
    const QDate last = first.addDays(kTenTimes.days - 1);
    qsizetype rows = 0;
    for (auto _ : state) {
        const auto result = kq::reports::runMissingPunches(folder, first, last, QString());
        rows = result->rowCount();
        benchmark::DoNotOptimize(result.get());
    }
    state.counters["rows"] = double(rows);
}

void BM_EmployeeSummaryMonth(benchmark::State& state) {
    const QString& folder = filledFolder(true);
    const QDate first = kTenTimes.firstDay;
    const QDate last = first.addDays(kTenTimes.days - 1);
    const kq::shifts::WindowTimes windows = {"7:30",  "8:00",  "13:00", "13:30", "8:00",
                                             "12:00", "20:00", "8:00",  "6:00",  "7:00",
                                             "14:00", "15:00", "22:00", "23:00"};
    qsizetype rows = 0;
    for (auto _ : state) {
        const auto result =
            kq::reports::runEmployeeSummary(folder, windows, first, last, QString());
        rows = result->rowCount();
        benchmark::DoNotOptimize(result.get());
    }
    state.counters["rows"] = double(rows);
}

BENCHMARK(BM_MissingPunchesMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmployeeSummaryMonth)->Unit(benchmark::kMillisecond);

// Every punch of the month: the largest result the button can bring.
BENCHMARK_CAPTURE(BM_PunchQueryMonth, whole_day, QStringLiteral("0:00"), QStringLiteral("23:59"),
                  QString())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PunchQueryMonth, working_hours, QStringLiteral("9:00"),
                  QStringLiteral("17:00"), QString())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PunchQueryMonth, one_employee, QStringLiteral("0:00"), QStringLiteral("23:59"),
                  kq::bench::employeeName(7))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShiftQueryMonth, a_shift, 2, QStringLiteral("8:00"), QStringLiteral("12:00"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShiftQueryMonth, b_shift, 3, QStringLiteral("20:00"), QStringLiteral("8:00"))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The statistics run over generated data: at the .xls limits (65,535 punches,
// 255 employees x 31 days) and at ten times the punches with 1,999 employees
// (SQLite's column limit). Messages are answered at once.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchData.h"
#include "data/Connection.h"
#include "shifts/ShiftCatalogue.h"
#include "stats/LiteralCollection.h"
#include "stats/ScheduleFlattening.h"
#include "stats/StatisticsRun.h"

namespace {

using kq::bench::AttendanceData;

const AttendanceData kXlsLimits{};
const AttendanceData kTenTimes{.punches = 655350, .employees = 1999};

void BM_StatisticsRun(benchmark::State& state, const AttendanceData& data) {
    QTemporaryDir folder;
    kq::bench::fillAttendanceData(folder.path(), data);
    qsizetype collected = 0;
    for (auto _ : state) {
        kq::Connection connection(folder.path());
        const auto result = kq::runStatistics(connection, [](const QString&) {});
        collected = 0;
        for (const qsizetype n : result.punches) collected += n;
    }
    state.counters["collected"] = double(collected);
}

// One unindexed lookup per entry and pass, row-by-row appends.
void BM_LiteralRun(benchmark::State& state, const AttendanceData& data) {
    QTemporaryDir folder;
    kq::bench::fillAttendanceData(folder.path(), data);
    qsizetype collected = 0;
    for (auto _ : state) {
        kq::Connection connection(folder.path());
        const auto entries = kq::flattenSchedule(connection);
        kq::writeScheduleEntries(connection, entries);
        collected = 0;
        for (const kq::shifts::Shift& shift : kq::shifts::catalogue())
            collected += kq::collectLiterally(connection, entries, shift);
    }
    state.counters["collected"] = double(collected);
}

BENCHMARK_CAPTURE(BM_StatisticsRun, xls_limits, kXlsLimits)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LiteralRun, xls_limits, kXlsLimits)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_StatisticsRun, ten_times, kTenTimes)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

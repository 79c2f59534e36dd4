// Import of the largest punch workbook an .xls sheet holds (65,535 punches).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "data/Connection.h"
#include "import/WorkbookImport.h"
#include "import/workbook/WorkbookFile.h"

namespace {

constexpr int kPunches = 65535;

// Generated once per build directory: xlwt needs several seconds for it.
QString largeWorkbook() {
    const QString path = QStringLiteral(KQ_BENCH_DIR "/ry_%1.xls").arg(kPunches);
    if (QFile::exists(path)) return path;
    const int rc = QProcess::execute(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(KQ_SOURCE_DIR "/bench/make_large_ry.py"), path, QString::number(kPunches)});
    if (rc != 0 || !QFile::exists(path)) qFatal("make_large_ry.py failed (%d)", rc);
    return path;
}

void BM_ReadPunchSheet(benchmark::State& state) {
    const QString path = largeWorkbook();
    for (auto _ : state) {
        kq::WorkbookFile workbook(path);
        qsizetype rows = 0;
        workbook.readSheet(QStringLiteral("sheet1"), [&rows](kq::SheetRow&& row) {
            benchmark::DoNotOptimize(row.cells.data());
            ++rows;
        });
        if (rows != kPunches + 1) state.SkipWithError("wrong row count");
    }
}
BENCHMARK(BM_ReadPunchSheet)->Unit(benchmark::kMillisecond);

void BM_ImportPunches(benchmark::State& state) {
    const QString source = largeWorkbook();
    QTemporaryDir folder;
    QFile::copy(source, QDir(folder.path()).filePath(QStringLiteral("ry.xls")));
    for (auto _ : state) {
        kq::Connection connection(folder.path());
        const qsizetype rows = kq::importWorkbook(connection, kq::Workbook::Punches);
        if (rows != kPunches) state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(state.iterations() * kPunches);
}
BENCHMARK(BM_ImportPunches)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

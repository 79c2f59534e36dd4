// Import of the largest punch workbook an .xls sheet holds (65,535 punches),
// and the same sheet as .xlsx, as .csv and as a web page saved as .xls: the
// reader alone, and the whole import (read, check, type, insert); then a
// factory ten times larger, 655,350 punches, as only .xlsx holds them (the
// import, and 更新打卡 whole: the import and the grid's rows), and a sheet at
// the .xlsx row limit as LibreOffice saves it. Peak RSS is reported as a
// counter. The web page comes in two shapes: as LibreOffice saves it (about
// 20 MB) and as plain table tags (about 5 MB).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "data/Connection.h"
#include "import/ImportRun.h"
#include "import/WorkbookFile.h"
#include "import/WorkbookImport.h"

namespace {

constexpr int kPunches = 65535;
constexpr int kTenTimesPunches = 655350;
// The most rows an .xlsx sheet holds, the header among them.
constexpr int kXlsxLimitPunches = 1048575;

// Generated once per build directory: xlwt needs seconds for it. The .xlsx
// is the .xls saved again by LibreOffice, as a clerk's "save as" makes it
// (shared strings); without soffice, openpyxl writes it (inline strings).
// The .csv and the web page ("html") are written by the generator.
QString largeWorkbook(const QString& suffix, int punches = kPunches) {
    const QString path = QStringLiteral(KQ_BENCH_DIR "/ry_%1.%2").arg(punches).arg(suffix);
    if (QFile::exists(path)) return path;
    if (suffix == QLatin1String("xlsx") && punches == kPunches &&
        QProcess::execute(QStringLiteral("soffice"),
                          {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("xlsx"), QStringLiteral("--outdir"),
                           QStringLiteral(KQ_BENCH_DIR), largeWorkbook(QStringLiteral("xls"))}) ==
            0 &&
        QFile::exists(path))
        return path;
    const int rc = QProcess::execute(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(KQ_SOURCE_DIR "/bench/make_large_ry.py"), path, QString::number(punches)});
    if (rc != 0 || !QFile::exists(path)) qFatal("make_large_ry.py failed (%d)", rc);
    return path;
}

// A sheet at the .xlsx row limit as LibreOffice saves it, made from the
// generator's five-column text once per build directory (a few minutes).
QString libreOfficeWorkbookAtTheLimit() {
    const QString path = QStringLiteral(KQ_BENCH_DIR "/ry_%1.wide.xlsx").arg(kXlsxLimitPunches);
    if (QFile::exists(path)) return path;
    const QString text = largeWorkbook(QStringLiteral("wide.csv"), kXlsxLimitPunches);
    const int rc = QProcess::execute(
        QStringLiteral("soffice"),
        {QStringLiteral("--headless"), QStringLiteral("--infilter=CSV:44,34,76,1"),
         QStringLiteral("--convert-to"), QStringLiteral("xlsx"), QStringLiteral("--outdir"),
         QStringLiteral(KQ_BENCH_DIR), text});
    if (rc != 0 || !QFile::exists(path))
        qFatal("LibreOffice could not convert %s", qPrintable(text));
    return path;
}

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The name a generated workbook takes in the program folder.
QString workbookName(const QString& suffix) {
    return suffix.endsWith(QLatin1String("html")) ? QStringLiteral("ry.xls")
                                                  : QStringLiteral("ry.") + suffix;
}

void readPunchSheet(benchmark::State& state, const QString& suffix) {
    const QString path = largeWorkbook(suffix);
    // Read under the name the program folder gives it, as the import does.
    QTemporaryDir folder;
    const QString named = QDir(folder.path()).filePath(workbookName(suffix));
    QFile::copy(path, named);
    for (auto _ : state) {
        kq::WorkbookFile workbook(named);
        std::vector<kq::SheetRow> rows;
        workbook.readSheet(QStringLiteral("sheet1"), rows);
        benchmark::DoNotOptimize(rows.data());
        if (rows.size() != std::size_t(kPunches) + 1) state.SkipWithError("wrong row count");
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void importPunchesFrom(benchmark::State& state, const QString& source, const QString& name,
                       int punches) {
    QTemporaryDir folder;
    QFile::copy(source, QDir(folder.path()).filePath(name));
    for (auto _ : state) {
        kq::Connection connection(folder.path());
        const qsizetype rows = kq::importWorkbook(connection, kq::Workbook::Punches);
        if (rows != punches) state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(state.iterations() * punches);
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void importPunches(benchmark::State& state, const QString& suffix, int punches = kPunches) {
    importPunchesFrom(state, largeWorkbook(suffix, punches), workbookName(suffix), punches);
}

void BM_ReadPunchSheetXls(benchmark::State& state) { readPunchSheet(state, "xls"); }
void BM_ReadPunchSheetXlsx(benchmark::State& state) { readPunchSheet(state, "xlsx"); }
void BM_ImportPunchesXls(benchmark::State& state) { importPunches(state, "xls"); }
void BM_ImportPunchesXlsx(benchmark::State& state) { importPunches(state, "xlsx"); }
void BM_ReadPunchSheetCsv(benchmark::State& state) { readPunchSheet(state, "csv"); }
void BM_ReadPunchSheetHtmlXls(benchmark::State& state) { readPunchSheet(state, "html"); }
void BM_ImportPunchesCsv(benchmark::State& state) { importPunches(state, "csv"); }
void BM_ImportPunchesHtmlXls(benchmark::State& state) { importPunches(state, "html"); }
void BM_ImportPunchesPlainHtmlXls(benchmark::State& state) { importPunches(state, "plain.html"); }
BENCHMARK(BM_ReadPunchSheetXls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPunchSheetXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPunchesXls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPunchesXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPunchSheetCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPunchSheetHtmlXls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPunchesCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPunchesHtmlXls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPunchesPlainHtmlXls)->Unit(benchmark::kMillisecond);
// Written by openpyxl once per build directory (about a minute).
void BM_ImportPunchesXlsxTenTimes(benchmark::State& state) {
    importPunches(state, "xlsx", kTenTimesPunches);
}
BENCHMARK(BM_ImportPunchesXlsxTenTimes)->Unit(benchmark::kMillisecond)->Iterations(3);
// 更新打卡 as the window runs it: the import and the rows the grid shows.
void BM_UpdatePunchesXlsxTenTimes(benchmark::State& state) {
    QTemporaryDir folder;
    QFile::copy(largeWorkbook(QStringLiteral("xlsx"), kTenTimesPunches),
                QDir(folder.path()).filePath(QStringLiteral("ry.xlsx")));
    for (auto _ : state) {
        const auto rows = kq::importPunches(folder.path());
        if (rows->rowCount() != kTenTimesPunches) state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(state.iterations() * kTenTimesPunches);
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}
BENCHMARK(BM_UpdatePunchesXlsxTenTimes)->Unit(benchmark::kMillisecond)->Iterations(3);
// Needs soffice; skipped with a note where it is missing.
void BM_ImportPunchesXlsxRowLimit(benchmark::State& state) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        state.SkipWithError("soffice (LibreOffice) is needed to make this workbook");
        for (auto _ : state) {
        }
        return;
    }
    importPunchesFrom(state, libreOfficeWorkbookAtTheLimit(), QStringLiteral("ry.xlsx"),
                      kXlsxLimitPunches);
}
BENCHMARK(BM_ImportPunchesXlsxRowLimit)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

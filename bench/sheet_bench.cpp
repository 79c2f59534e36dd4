// The monthly attendance sheet over the "ten times" month (655,350 punches,
// 1,999 employees x 31 days): from the button's core call to a filled grid
// model, its export, and every page of its printout laid out into a PDF.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include "BenchData.h"
#include "data/Connection.h"
#include "reports/AttendanceSheet.h"
#include "reports/AttendanceSheetWorkbook.h"
#include "sheet/AttendanceSheetModel.h"
#include "sheet/SheetPrintLayout.h"
#include "stats/StatisticsRun.h"

namespace {

using kq::bench::AttendanceData;

const AttendanceData kTenTimes{.punches = 655350, .employees = 1999};
const kq::shifts::WindowTimes kWindows = {"7:30",  "8:00",  "13:00", "13:30", "8:00",
                                          "12:00", "20:00", "8:00",  "6:00",  "7:00",
                                          "14:00", "15:00", "22:00", "23:00"};

const QString& folderWithStatistics() {
    static QTemporaryDir folder;
    static const QString path = [] {
        kq::bench::fillAttendanceData(folder.path(), kTenTimes);
        kq::Connection connection(folder.path());
        kq::runStatistics(connection, [](const QString&) {});
        return folder.path();
    }();
    return path;
}

kq::reports::AttendanceSheet monthSheet() {
    return kq::reports::runAttendanceSheet(folderWithStatistics(), kWindows, kTenTimes.firstDay,
                                           kTenTimes.firstDay.addDays(kTenTimes.days - 1), {});
}

// The core call and the model the window's grid shows, every cell read once
// as the view would.
void BM_SheetToGridModel(benchmark::State& state) {
    folderWithStatistics();
    kq::ui::AttendanceSheetModel model;
    for (auto _ : state) {
        model.setSheet(monthSheet());
        qsizetype chars = 0;
        for (int r = 0; r < model.rowCount(); ++r)
            for (int c = 0; c < model.columnCount(); ++c)
                chars += model.data(model.index(r, c), Qt::DisplayRole).toString().size();
        benchmark::DoNotOptimize(chars);
    }
    state.counters["employees"] = double(model.sheet().employees.size());
}

void BM_SheetExport(benchmark::State& state) {
    const kq::reports::AttendanceSheet sheet = monthSheet();
    for (auto _ : state) {
        const QString path = kq::reports::writeAttendanceSheetToTempWorkbook(sheet);
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
}

void BM_SheetPrintToPdf(benchmark::State& state) {
    const kq::reports::AttendanceSheet sheet = monthSheet();
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        pages = kq::ui::printAttendanceSheet(printer, sheet);
    }
    state.counters["pages"] = pages;
}

BENCHMARK(BM_SheetToGridModel)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SheetExport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SheetPrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    // Fonts and the printer need an application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Time to write a full-size result grid into a workbook.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

#include "export/GridWorkbook.h"

namespace {

// A result grid as a query leaves it: fixed column 0, then date, name, time.
class ResultGrid : public kq::GridSource {
  public:
    explicit ResultGrid(int rows) {
        cells_.reserve(static_cast<size_t>(rows) * kCols);
        cells_ << QString() << QStringLiteral("日期") << QStringLiteral("姓名")
               << QStringLiteral("时间");
        for (int r = 1; r < rows; ++r) {
            cells_ << QString() << QStringLiteral("2026/3/%1").arg(r % 28 + 1)
                   << QStringLiteral("员工%1").arg(r % 500)
                   << QStringLiteral("%1:%2:%3")
                          .arg(r % 24)
                          .arg(r % 60, 2, 10, QChar(u'0'))
                          .arg(r % 59, 2, 10, QChar(u'0'));
        }
        rows_ = rows;
    }
    int rows() const override { return rows_; }
    int cols() const override { return kCols; }
    QString text(int r, int c) const override { return cells_[r * kCols + c]; }

  private:
    static constexpr int kCols = 4;
    int rows_ = 0;
    QStringList cells_;
};

void BM_ExportResultGrid(benchmark::State& state) {
    const ResultGrid grid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const QString path = kq::writeGridToTempWorkbook(grid);
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 4);
}
BENCHMARK(BM_ExportResultGrid)->Arg(1000)->Arg(65535)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The clerk's whole month through the real main window, in program time:
// the three workbooks in a fresh program folder, then 更新打卡, 更新排班,
// pb through the settings window, 开始统计 with its seven messages, the
// seven shift buttons, 缺卡名单, 人员汇总 and the monthly sheet, its window
// shown and closed. Messages are answered at once. Each step's time is a
// counter; a step that does not do its work ends the program, so no figure
// is ever of an error path. Two months: at the .xls limits (65,535 punches,
// 255 employees x 31 days) and ten times that as .xlsx (655,350 punches,
// 1,999 employees).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "controls/FlexGrid.h"
#include "controls/MessageRecorder.h"
#include "import/FirstRun.h"
#include "settings/Form2.h"
#include "sheet/Form3.h"
#include "shifts/ShiftCatalogue.h"

namespace {

using Kind = kq::ui::MessageBox::Kind;

struct Month {
    int punches;
    int employees;
    const char* suffix;
};
const Month kXlsLimits{65535, 255, "xls"};
const Month kTenTimes{655350, 1999, "xlsx"};
// The generator's month: December 2026, the whole of it in the date pickers.
const QDate kLastDay(2026, 12, 31);
const char* const kWorkbooks[] = {"ry", "yd", "pb"};

[[noreturn]] void fail(const QString& step, const QString& what) {
    std::fprintf(stderr, "workorder_bench: %s: %s\n", qPrintable(step), qPrintable(what));
    std::abort();
}

// Written by make_month_workbooks.py once per build directory (openpyxl
// takes a minute or two for the ten-times month); a folder that is complete
// is never written again.
QString monthWorkbooks(const Month& month) {
    const QString folder = QStringLiteral(KQ_BENCH_DIR "/month_%1x%2.%3")
                               .arg(month.punches)
                               .arg(month.employees)
                               .arg(QLatin1String(month.suffix));
    if (QDir(folder).exists()) return folder;
    const QString part = folder + QStringLiteral(".part");
    QDir(part).removeRecursively();
    QDir().mkpath(part);
    const int rc =
        QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral(KQ_SOURCE_DIR "/bench/make_month_workbooks.py"), part,
                           QString::number(month.punches), QString::number(month.employees),
                           QLatin1String(month.suffix)});
    if (rc != 0 || !QDir().rename(part, folder))
        fail(QStringLiteral("workbooks"),
             QStringLiteral("make_month_workbooks.py failed (%1)").arg(rc));
    return folder;
}

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

int dataRows(const kq::ui::FlexGrid& grid) { return grid.rows() - 1; }

// One run of the work order over one program folder, step by step.
class WorkOrder {
  public:
    WorkOrder(const Month& month, const QString& folder) : month_(month), folder_(folder) {}

    // Seconds of each step, in the order they ran.
    std::vector<std::pair<std::string, double>> times;
    // The data rows each grid step showed, for the figures beside its time.
    std::vector<std::pair<std::string, int>> rows;

    void run() {
        step("startup", [&] {
            kq::prepareDatabaseOnFirstRun(folder_);
            form_ = std::make_unique<Form1>(folder_, [] { return kLastDay; });
            form_->show();
            form_->checkDatabase();
        });
        expectMessages("startup", {});

        step("ry", [&] { click(*form_, "Command1"); });
        expectMessages("更新打卡", {QStringLiteral("数据更新完成")});
        rows.emplace_back("ry", dataRows(grid("MSHFlexGrid2")));
        if (dataRows(grid("MSHFlexGrid2")) != month_.punches)
            fail(QStringLiteral("更新打卡"),
                 QStringLiteral("the grid shows %1 rows").arg(dataRows(grid("MSHFlexGrid2"))));

        step("yd", [&] { click(*form_, "Command4"); });
        expectMessages("更新排班", {QStringLiteral("排班数据更新完成")});

        step("pb", [&] {
            click(*form_, "Command6");
            if (!form_->isShiftSettingsLoaded() || !form_->shiftSettings()->isVisible())
                fail(QStringLiteral("班次设置"),
                     QStringLiteral("the settings window is not shown"));
            click(*form_->shiftSettings(), "Command1");
            click(*form_->shiftSettings(), "Command2");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        expectMessages("pb", {QStringLiteral("排班设置更新完成")});

        step("statistics", [&] { click(*form_, "Command5"); });
        checkStatisticsMessages();

        for (int window = 0; window < 7; ++window) {
            const QString name = kq::shifts::windowAt(window).name();
            step("shift" + std::to_string(window + 1),
                 [&] { click(*form_, QStringLiteral("Command%1").arg(8 + window)); });
            expectMessages(name, {});
            expectRows(name, "MSHFlexGrid1", times.back().first);
        }

        step("missing", [&] { click(*form_, "Command15"); });
        expectMessages("缺卡名单", {});
        expectRows("缺卡名单", "MSHFlexGrid1", "missing");

        step("summary", [&] { click(*form_, "Command16"); });
        expectMessages("人员汇总", {});
        expectRows("人员汇总", "MSHFlexGrid1", "summary");

        step("sheet", [&] {
            click(*form_, "Command17");
            Form3* sheet = form_->attendanceSheet();
            if (!sheet || !sheet->isVisible())
                fail(QStringLiteral("考勤月报"), QStringLiteral("the sheet window is not shown"));
            auto* view = sheet->findChild<QTableView*>(QStringLiteral("Grid1"));
            // The employees and 合计.
            if (!view || view->model()->rowCount() != month_.employees + 1)
                fail(QStringLiteral("考勤月报"), QStringLiteral("the sheet has %1 rows")
                                                     .arg(view ? view->model()->rowCount() : -1));
            view->viewport()->repaint();
            click(*sheet, "Command3");
            if (sheet->isVisible())
                fail(QStringLiteral("考勤月报"), QStringLiteral("关闭 left the window open"));
        });
        expectMessages("考勤月报", {});
    }

    // Outside the timed steps: the window goes without its closing question.
    void discard() { form_.reset(); }

    int lookAlikeHints() const { return lookAlikeHints_; }

  private:
    template <class Work>
    void step(const std::string& name, Work work) {
        recorder_.clear();
        QElapsedTimer timer;
        timer.start();
        work();
        // What the clicks scheduled (painting the grids) is part of the step.
        QCoreApplication::processEvents();
        times.emplace_back(name, timer.nsecsElapsed() / 1e9);
    }

    static void click(QWidget& window, const QString& name) {
        for (auto* button : window.findChildren<QAbstractButton*>(name))
            if (button->window() == &window) {
                if (!button->isEnabled()) fail(name, QStringLiteral("the button is disabled"));
                button->click();
                return;
            }
        fail(name, QStringLiteral("no such button"));
    }

    const kq::ui::FlexGrid& grid(const char* name) const {
        auto* g = form_->findChild<kq::ui::FlexGrid*>(QLatin1String(name));
        if (!g) fail(QLatin1String(name), QStringLiteral("no such grid"));
        return *g;
    }

    void expectRows(const QString& step, const char* gridName, const std::string& counter) {
        rows.emplace_back(counter, dataRows(grid(gridName)));
        if (rows.back().second < 1)
            fail(step, QStringLiteral("%1 shows no rows").arg(QLatin1String(gridName)));
    }

    void expectMessages(const QString& step, const QStringList& texts) const {
        if (recorder_.texts() != texts)
            fail(step, QStringLiteral("messages were [%1], expected [%2]")
                           .arg(recorder_.texts().join(QStringLiteral(" | ")),
                                texts.join(QStringLiteral(" | "))));
    }

    // Seven completion messages, the last of the 夜 pass, and at most the
    // look-alike hint after them.
    void checkStatisticsMessages() {
        const auto& all = recorder_.all();
        std::size_t completions = 0;
        while (completions < all.size() && all[completions].kind == Kind::Information)
            ++completions;
        const bool hint = all.size() == completions + 1 && all.back().kind == Kind::Exclamation;
        if (completions != 7 || all[6].text != QStringLiteral("夜班统计数据更新完成") ||
            (all.size() != 7 && !hint))
            fail(QStringLiteral("开始统计"),
                 QStringLiteral("messages were [%1]")
                     .arg(recorder_.texts().join(QStringLiteral(" | "))));
        lookAlikeHints_ += hint ? 1 : 0;
    }

    const Month& month_;
    QString folder_;
    kq::ui::MessageRecorder recorder_;
    std::unique_ptr<Form1> form_;
    int lookAlikeHints_ = 0;
};

void BM_WorkOrder(benchmark::State& state, const Month& month) {
    const QString workbooks = monthWorkbooks(month);
    std::vector<std::pair<std::string, double>> totals;
    std::vector<std::pair<std::string, int>> rows;
    int hints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<QTemporaryDir>();
        for (const char* table : kWorkbooks) {
            const QString name =
                QStringLiteral("%1.%2").arg(QLatin1String(table), QLatin1String(month.suffix));
            if (!QFile::copy(QDir(workbooks).filePath(name), QDir(folder->path()).filePath(name)))
                fail(QStringLiteral("workbooks"), QStringLiteral("cannot copy %1").arg(name));
        }
        WorkOrder order(month, folder->path());
        state.ResumeTiming();

        order.run();

        state.PauseTiming();
        order.discard();
        folder.reset();
        if (totals.empty()) totals.assign(order.times.size(), {});
        for (std::size_t i = 0; i < order.times.size(); ++i) {
            totals[i].first = order.times[i].first;
            totals[i].second += order.times[i].second;
        }
        rows = order.rows;
        hints += order.lookAlikeHints();
        state.ResumeTiming();
    }
    for (const auto& [name, seconds] : totals)
        state.counters[name] = benchmark::Counter(seconds, benchmark::Counter::kAvgIterations);
    for (const auto& [name, count] : rows) state.counters["rows_" + name] = count;
    state.counters["lookalike_hints"] = hints;
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

BENCHMARK_CAPTURE(BM_WorkOrder, xls_limits, kXlsLimits)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_WorkOrder, ten_times, kTenTimes)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    // The windows are real, the screen is not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("打卡异常统计"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

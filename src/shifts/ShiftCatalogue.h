#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <span>
#include <vector>

// The six shifts of the schedule and their anomaly windows: everything the
// statistics run, the queries and the reports know about a shift.
namespace kq::shifts {

// The settings times: start and end of each anomaly window, in the order of
// the windows below.
inline constexpr int kWindowTimeCount = 14;
using WindowTimes = std::array<QString, kWindowTimeCount>;

// The part of the shift's day a window watches: the regular shift has one
// window in the morning and one in the afternoon, the others one each.
enum class Half { Whole, Morning, Afternoon };

struct Window {
    Half half;
    int startTime;  // index among the settings times
    int endTime;
};

struct Shift {
    QString code;   // as the schedule writes it; compared exactly
    QString table;  // the table its statistics pass rewrites
    QString name;   // 常班, in messages and captions
    std::vector<Window> windows;
    // The anomaly window runs from its start past midnight to its end.
    bool windowWrapsMidnight;
    // A day of it runs from 12:00 of its date to 12:00 of the next when its
    // punches are counted: its out-punch falls on the next date.
    bool dayRunsNoonToNoon;
};

inline constexpr std::size_t kShiftCount = 6;

// The six shifts in the order the statistics run makes its passes.
const std::array<Shift, kShiftCount>& catalogue();

// The shift of exactly this code (no trimming, case-sensitive), or -1.
int shiftIndex(const QString& code);

// One window of one shift: what one anomaly query lists.
struct ShiftWindow {
    const Shift* shift;
    const Window* window;

    QString name() const;            // 常班上午, A班
    QString anomalyCaption() const;  // 常班上异常, A班异常
};

// The windows of all shifts, shift by shift: the seven anomaly queries.
std::span<const ShiftWindow> windows();
// Window index of windows(); throws std::out_of_range outside 0..6.
const ShiftWindow& windowAt(int index);

}  // namespace kq::shifts

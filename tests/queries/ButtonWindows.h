#pragma once

// The windows of the shift catalogue by the main window's buttons that query
// them: Command8 to Command14 in order.
namespace kq::test {
inline constexpr int kRegularMorning = 0;
inline constexpr int kRegularAfternoon = 1;
inline constexpr int kA = 2;
inline constexpr int kB = 3;
inline constexpr int kEarly = 4;
inline constexpr int kMiddle = 5;
inline constexpr int kNight = 6;
}  // namespace kq::test

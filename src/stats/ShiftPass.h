#pragma once

#include <QString>
#include <array>

namespace kq {

// One pass of the statistics run: the schedule code it selects (compared
// exactly, no trimming, case-sensitive), the table it rewrites and the
// message that ends it.
struct ShiftPass {
    QString code;
    QString table;
    QString message;
};

inline const QString kNightShiftCode = QStringLiteral("夜");

// The six passes in the order the run makes them.
const std::array<ShiftPass, 6>& shiftPasses();

// The pass whose code is exactly this text, or -1.
int shiftPassIndex(const QString& code);

}  // namespace kq

#include "stats/ShiftPass.h"

namespace kq {

const std::array<ShiftPass, 6>& shiftPasses() {
    static const std::array<ShiftPass, 6> passes = {{
        {QStringLiteral("常"), QStringLiteral("tj"), QStringLiteral("常班统计数据更新完成")},
        {QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A班统计数据更新完成")},
        {QStringLiteral("B"), QStringLiteral("B"), QStringLiteral("B班统计数据更新完成")},
        {QStringLiteral("早"), QStringLiteral("Z"), QStringLiteral("早班统计数据更新完成")},
        {QStringLiteral("中"), QStringLiteral("ZH"), QStringLiteral("中班统计数据更新完成")},
        {kNightShiftCode, QStringLiteral("Y"), QStringLiteral("夜班统计数据更新完成")},
    }};
    return passes;
}

int shiftPassIndex(const QString& code) {
    const auto& passes = shiftPasses();
    for (std::size_t i = 0; i < passes.size(); ++i)
        if (passes[i].code == code) return int(i);
    return -1;
}

}  // namespace kq

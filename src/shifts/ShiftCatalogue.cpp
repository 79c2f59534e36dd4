#include "shifts/ShiftCatalogue.h"

#include <stdexcept>
#include <string>

namespace kq::shifts {
namespace {

using S = QString;

// The half's word in a window's name, then in its anomaly caption.
S halfName(Half half) {
    switch (half) {
        case Half::Morning:
            return S("上午");
        case Half::Afternoon:
            return S("下午");
        case Half::Whole:
            break;
    }
    return {};
}

S halfCaption(Half half) { return halfName(half).left(1); }

}  // namespace

const std::array<Shift, kShiftCount>& catalogue() {
    static const std::array<Shift, kShiftCount> shifts = {{
        {S("常"),
         S("tj"),
         S("常班"),
         {{Half::Morning, 0, 1}, {Half::Afternoon, 2, 3}},
         false,
         false},
        {S("A"), S("A"), S("A班"), {{Half::Whole, 4, 5}}, false, false},
        {S("B"), S("B"), S("B班"), {{Half::Whole, 6, 7}}, true, true},
        {S("早"), S("Z"), S("早班"), {{Half::Whole, 8, 9}}, false, false},
        {S("中"), S("ZH"), S("中班"), {{Half::Whole, 10, 11}}, false, false},
        // Runs past midnight as B does, although only B's window wraps.
        {S("夜"), S("Y"), S("夜班"), {{Half::Whole, 12, 13}}, false, true},
    }};
    return shifts;
}

int shiftIndex(const QString& code) {
    const auto& shifts = catalogue();
    for (std::size_t i = 0; i < shifts.size(); ++i)
        if (shifts[i].code == code) return int(i);
    return -1;
}

QString ShiftWindow::name() const { return shift->name + halfName(window->half); }

QString ShiftWindow::anomalyCaption() const {
    return shift->name + halfCaption(window->half) + S("异常");
}

std::span<const ShiftWindow> windows() {
    static const std::vector<ShiftWindow> all = [] {
        std::vector<ShiftWindow> out;
        for (const Shift& shift : catalogue())
            for (const Window& window : shift.windows) out.push_back({&shift, &window});
        return out;
    }();
    return all;
}

const ShiftWindow& windowAt(int index) {
    const auto all = windows();
    if (index < 0 || std::size_t(index) >= all.size())
        throw std::out_of_range("no shift window " + std::to_string(index));
    return all[std::size_t(index)];
}

}  // namespace kq::shifts

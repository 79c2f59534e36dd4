#pragma once

#include <functional>

class QWidget;

namespace kq::ui {

// Runs one button's work. A failure that the work does not handle itself is
// shown with its number and description; the window stays open, and what the
// work committed before the failure stays committed. A damaged database is
// the one failure that comes with an offer: set it aside and start afresh.
void runGuarded(QWidget* parent, const std::function<void()>& work);

}  // namespace kq::ui

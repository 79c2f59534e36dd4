#pragma once

class QDateEdit;
class QLabel;

namespace kq::ui {

// A date picker at its designed size shows the whole date of every day: the
// drop-down button is narrowed and, where the window font is still too wide
// for the widest date the display format can give, the font is made smaller.
void showWholeDates(QDateEdit& picker);

// A word-wrapped label shows all of its text inside its designed size: its
// font is made smaller until the wrapped lines fit.
void fitWrappedText(QLabel& label);

}  // namespace kq::ui

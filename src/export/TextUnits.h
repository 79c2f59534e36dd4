#pragma once

#include <QString>

namespace kq {

// Display width in character units of the longest line of the text: a CJK
// character counts two, as a spreadsheet's column width measures it.
int displayUnits(const QString& text);

}  // namespace kq

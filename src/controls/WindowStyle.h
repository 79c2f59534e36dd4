#pragma once

#include <QFont>
#include <QIcon>
#include <QString>

namespace kq::ui {

// The Chinese faces the windows ask for, each with the Linux faces that
// stand in for it where it is not installed.
enum class FontFace { Heiti, Songti, YaHeiLight };

QFont cjkFont(FontFace face, qreal pointSize, bool bold = false);

// The icon both windows carry.
QIcon programIcon();

// Frames with their caption on the top border line, so that controls placed
// just below the caption stay clear of the border.
QString frameStyleSheet();

// The light green of the boxes the clerk types into.
QString inputBoxStyleSheet();
// Compact tabs, so that three pages fit the main window's narrow tab control
// in one row without scroll arrows.
QString compactTabStyleSheet();

}  // namespace kq::ui

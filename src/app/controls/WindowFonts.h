#pragma once

#include <QFont>
#include <QIcon>

namespace kq::ui {

// The Chinese faces the windows ask for, each with the Linux faces that
// stand in for it where it is not installed.
enum class FontFace { Heiti, Songti, YaHeiLight };

QFont cjkFont(FontFace face, qreal pointSize, bool bold = false);

// The icon both windows carry.
QIcon programIcon();

}  // namespace kq::ui

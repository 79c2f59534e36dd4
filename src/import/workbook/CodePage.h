#pragma once

#include <QString>
#include <string_view>

namespace kq {

// Text in a Windows code page, as Excel 95 and older store it (936 on a
// Chinese Windows, 1252 on a Western one). Bytes the code page cannot map
// become U+FFFD; nothing is dropped silently.
QString decodeCodePage(std::string_view bytes, int codePage);

}  // namespace kq

#pragma once

#include <QString>
#include <cstddef>
#include <string>

namespace kq::xlsx {

// Strings in a workbook's XML carry characters XML cannot hold as _xHHHH_
// (_x000D_ a CR, _x0001_ a control character); _x005F_ escapes the
// underscore that would otherwise start one. Decoded left to right, each
// escape once.
QString decodeEscapes(QString text);

// Appends literal UTF-8 text with its line ends as XML reads them: CR LF
// and a lone CR are LF (a CR written as &#13; is no literal and stays).
void appendXmlLineEnds(std::string& out, const char* p, std::size_t n);

}  // namespace kq::xlsx

#pragma once

#include <cstdint>
#include <cstring>
#include <span>

#include "import/workbook/FormatProblem.h"

namespace kq::xls {

using Bytes = std::span<const unsigned char>;

// Little-endian fields of a byte range; reading past its end means the file
// is damaged, never a read outside the buffer.
inline void need(Bytes bytes, std::size_t offset, std::size_t count, const char* what) {
    if (offset > bytes.size() || count > bytes.size() - offset) damaged(QString::fromUtf8(what));
}
inline std::uint16_t u16(Bytes b, std::size_t at) {
    need(b, at, 2, "记录被截断");
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}
inline std::uint32_t u32(Bytes b, std::size_t at) {
    need(b, at, 4, "记录被截断");
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) |
           (std::uint32_t(b[at + 2]) << 16) | (std::uint32_t(b[at + 3]) << 24);
}
inline double f64(Bytes b, std::size_t at) {
    need(b, at, 8, "记录被截断");
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[at + std::size_t(i)];
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace kq::xls

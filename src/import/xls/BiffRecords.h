#pragma once

#include <QString>
#include <vector>

#include "import/xls/Bytes.h"

namespace kq::xls {

// The record layout of a workbook: Excel 2.x, 3.0, 4.0, 5.0/95, 97-2003.
enum class Biff { V2, V3, V4, V5, V8 };

namespace rec {
inline constexpr std::uint16_t kFormula = 0x0006;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kDateMode = 0x0022;
inline constexpr std::uint16_t kFilePass = 0x002F;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kMulRk = 0x00BD;
inline constexpr std::uint16_t kRString = 0x00D6;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kDimension = 0x0200;
inline constexpr std::uint16_t kNumber = 0x0203;
inline constexpr std::uint16_t kLabel = 0x0204;
inline constexpr std::uint16_t kBoolErr = 0x0205;
inline constexpr std::uint16_t kString = 0x0207;
inline constexpr std::uint16_t kRk = 0x027E;
inline constexpr std::uint16_t kFormat = 0x041E;
inline constexpr std::uint16_t kFormulaOld = 0x0406;  // the BIFF4 id some writers keep
inline constexpr std::uint16_t kBof = 0x0809;
inline constexpr std::uint16_t kCodePage = 0x0042;
// Excel 2.x to 4.0: one sheet, its globals in its own stream.
inline constexpr std::uint16_t kDimension2 = 0x0000;
inline constexpr std::uint16_t kInteger2 = 0x0002;
inline constexpr std::uint16_t kNumber2 = 0x0003;
inline constexpr std::uint16_t kLabel2 = 0x0004;
inline constexpr std::uint16_t kBoolErr2 = 0x0005;
inline constexpr std::uint16_t kString2 = 0x0007;
inline constexpr std::uint16_t kBof2 = 0x0009;
inline constexpr std::uint16_t kFormat2 = 0x001E;
inline constexpr std::uint16_t kXf2 = 0x0043;
inline constexpr std::uint16_t kFormula3 = 0x0206;
inline constexpr std::uint16_t kBof3 = 0x0209;
inline constexpr std::uint16_t kXf3 = 0x0243;
inline constexpr std::uint16_t kBof4 = 0x0409;
inline constexpr std::uint16_t kXf4 = 0x0443;

inline bool isBof(std::uint16_t type) {
    return type == kBof || type == kBof2 || type == kBof3 || type == kBof4;
}
}  // namespace rec

struct Record {
    std::uint16_t type = 0;
    Bytes data;
    // The record's data and that of the CONTINUE records after it, for the
    // records whose strings may run on (SST, STRING, LABEL).
    std::vector<Bytes> continued;
};

// The BIFF records of a workbook stream, one after the other from an offset.
class RecordReader {
  public:
    RecordReader(Bytes stream, std::size_t offset);
    // False at the end of the stream; damaged when a record runs past it.
    bool next(Record& record);

  private:
    Bytes stream_;
    std::size_t at_;
};

// Reads across a record and its CONTINUE records as one byte sequence;
// the characters of a string that run into the next record start there
// with a fresh flags byte.
class ContinuedReader {
  public:
    explicit ContinuedReader(const Record& record);

    bool atEnd() const;
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::size_t count);
    // A BIFF8 string: 16-bit (or 8-bit) character count, flags, optional
    // rich-text run count and phonetic size, the characters, then the runs
    // and phonetic data, which are skipped.
    QString string(bool eightBitCount = false);

  private:
    std::size_t remaining() const;
    const std::vector<Bytes>* segments_;
    std::vector<Bytes> own_;
    std::size_t segment_ = 0;
    std::size_t at_ = 0;
    std::size_t total_ = 0;
    std::size_t consumed_ = 0;
};

}  // namespace kq::xls

#pragma once

#include <QString>
#include <exception>

namespace kq {

// What the readers throw about a file's content; WorkbookFile turns it into
// the clerk's message with the file's name.
class FormatProblem : public std::exception {
  public:
    enum class Kind { Damaged, NotAWorkbook, OldFormat, Encrypted, BinaryWorkbook };

    explicit FormatProblem(Kind kind, QString detail = {})
        : kind_(kind), detail_(std::move(detail)) {}

    Kind kind() const { return kind_; }
    const QString& detail() const { return detail_; }  // for Damaged: what is wrong
    const char* what() const noexcept override { return "workbook format problem"; }

  private:
    Kind kind_;
    QString detail_;
};

[[noreturn]] inline void damaged(const QString& detail) {
    throw FormatProblem(FormatProblem::Kind::Damaged, detail);
}

// The largest sheet each format can hold.
inline constexpr int kXlsMaxRows = 65536;
inline constexpr int kXlsMaxColumns = 256;
inline constexpr int kXlsxMaxRows = 1048576;
inline constexpr int kXlsxMaxColumns = 16384;

}  // namespace kq

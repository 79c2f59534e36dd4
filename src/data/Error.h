#pragma once

#include <QString>
#include <array>
#include <stdexcept>

namespace kq {

// What went wrong, one kind per fault, so that callers and tests can tell
// faults apart even where the clerk's message box shows the same number.
enum class ErrorKind {
    TypeMismatch,      // a value that does not read as what it must be
    NoCurrentRecord,   // read past the last row of a result
    FileNotFound,      // a workbook missing from the program folder
    Syntax,            // a statement or literal that does not parse
    TableNotFound,     // a statement over a table the database lacks
    ConnectionClosed,  // work on a connection after it was closed
    FieldNotFound,     // a column a statement or a result lacks
    BadWorkbook,       // a workbook that cannot be read or has the wrong shape
    MissingColumn,     // a workbook sheet without a column it needs
    BadCell,           // a cell of a date or time column that is not one
    BadSchedule,       // a schedule that cannot be flattened
    Export,            // a spreadsheet that cannot be written
    // The database file itself.
    DatabaseDamaged,
    DatabaseNotAFile,
    DatabaseRenameFailed,  // a damaged file that could not be set aside
    DatabaseReadOnly,
    FolderUnwritable,
    DiskFull,
    NetworkUnavailable,
    DatabaseLocked,
    DiskError,
};

// The number the message box shows for each kind. The numbers follow the
// engine codes the clerk may already know from the original tool, so a
// support call can name them; two kinds may share one.
struct ErrorNumber {
    ErrorKind kind;
    int number;
};
inline constexpr std::array<ErrorNumber, 21> kErrorNumbers = {{
    {ErrorKind::TypeMismatch, 13},
    {ErrorKind::NoCurrentRecord, 3021},
    {ErrorKind::FileNotFound, 3024},
    {ErrorKind::Syntax, 3075},
    {ErrorKind::TableNotFound, 3078},
    {ErrorKind::ConnectionClosed, 3049},
    {ErrorKind::FieldNotFound, 3265},
    {ErrorKind::BadWorkbook, 3274},
    {ErrorKind::MissingColumn, 3265},
    {ErrorKind::BadCell, 3349},
    {ErrorKind::BadSchedule, 3061},
    {ErrorKind::Export, 1004},
    {ErrorKind::DatabaseDamaged, 3049},
    {ErrorKind::DatabaseNotAFile, 3051},
    {ErrorKind::DatabaseRenameFailed, 3051},
    {ErrorKind::DatabaseReadOnly, 3027},
    {ErrorKind::FolderUnwritable, 3051},
    {ErrorKind::DiskFull, 3026},
    {ErrorKind::NetworkUnavailable, 3043},
    {ErrorKind::DatabaseLocked, 3260},
    {ErrorKind::DiskError, 3043},
}};

// The table's number for the kind; 0 for a kind the table lacks.
constexpr int errorNumber(ErrorKind kind) {
    for (const ErrorNumber& entry : kErrorNumbers)
        if (entry.kind == kind) return entry.number;
    return 0;
}

// The one failure type of the core: a kind and a Chinese description that
// says what went wrong and what to do. The details, when there are any, are
// for support (the engine's own text, the statement) and stay out of the
// description the clerk reads first.
class Error : public std::runtime_error {
  public:
    Error(ErrorKind kind, const QString& description, const QString& details = {})
        : std::runtime_error(description.toStdString()),
          kind_(kind),
          description_(description),
          details_(details) {}

    ErrorKind kind() const { return kind_; }
    int number() const { return errorNumber(kind_); }
    const QString& description() const { return description_; }
    const QString& details() const { return details_; }

  private:
    ErrorKind kind_;
    QString description_;
    QString details_;
};

}  // namespace kq

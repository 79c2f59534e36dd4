#pragma once

#include <QString>
#include <stdexcept>

namespace kq {

// Error numbers follow the engine codes the clerk may already know from the
// original tool, so a support call can name them.
namespace errc {
inline constexpr int kTypeMismatch = 13;
inline constexpr int kNoCurrentRecord = 3021;
inline constexpr int kFileNotFound = 3024;
inline constexpr int kSyntax = 3075;
inline constexpr int kTableNotFound = 3078;
inline constexpr int kDatabase = 3049;
inline constexpr int kFieldNotFound = 3265;
inline constexpr int kBadWorkbook = 3274;
inline constexpr int kMissingColumn = 3265;
inline constexpr int kBadCell = 3349;
inline constexpr int kBadSchedule = 3061;
inline constexpr int kExport = 1004;
// The database file itself: damaged, read-only, no room, in use.
inline constexpr int kDatabaseDamaged = 3049;
inline constexpr int kDatabaseReadOnly = 3027;
inline constexpr int kDatabaseCannotOpen = 3051;
inline constexpr int kDiskFull = 3026;
inline constexpr int kDatabaseLocked = 3260;
inline constexpr int kDiskError = 3043;
}  // namespace errc

// The one failure type of the core: a number and a Chinese description that
// says what went wrong and what to do. The details, when there are any, are
// for support (the engine's own text, the statement) and stay out of the
// description the clerk reads first.
class Error : public std::runtime_error {
  public:
    Error(int number, const QString& description, const QString& details = {})
        : std::runtime_error(description.toStdString()),
          number_(number),
          description_(description),
          details_(details) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& details() const { return details_; }

  private:
    int number_;
    QString description_;
    QString details_;
};

}  // namespace kq

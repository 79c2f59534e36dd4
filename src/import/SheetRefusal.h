#pragma once

#include <QString>

#include "data/Error.h"

namespace kq {

// Why a sheet cannot be imported as it stands: `what` goes after the
// workbook and sheet names in the message, so it starts with a blank or
// "的" and says what to change.
struct SheetRefusal {
    ErrorKind kind;
    QString what;
};

}  // namespace kq

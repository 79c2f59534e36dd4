#pragma once

#include <QByteArray>
#include <QString>

namespace kq {

// The name of an existing file or folder as the C library's narrow calls
// (fopen) take it. On Windows that is the code page's spelling, or the
// short 8.3 name where the code page cannot spell the long one; empty when
// neither serves. Elsewhere it is the file system's own encoding.
QByteArray narrowPath(const QString& existing);

}  // namespace kq

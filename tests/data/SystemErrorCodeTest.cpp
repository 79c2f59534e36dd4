#include <gtest/gtest.h>

#include <sqlite3.h>
#include <QDir>
#include <QTemporaryDir>

#include "data/DatabaseError.h"
#include "data/SystemErrorCode.h"

namespace kq {
namespace {

struct CodeCase {
    SystemPlatform platform;
    int code;
    SystemFault expected;
};

// Windows's and Linux's numbers overlap (112 is a full disk on one and a host
// that is down on the other), so each is read in its own platform's table.
constexpr CodeCase kCodes[] = {
    {SystemPlatform::Windows, 112, SystemFault::DiskFull},      // ERROR_DISK_FULL
    {SystemPlatform::Windows, 39, SystemFault::DiskFull},       // ERROR_HANDLE_DISK_FULL
    {SystemPlatform::Windows, 1295, SystemFault::DiskFull},     // ERROR_DISK_QUOTA_EXCEEDED
    {SystemPlatform::Windows, 64, SystemFault::NetworkLost},    // ERROR_NETNAME_DELETED
    {SystemPlatform::Windows, 53, SystemFault::NetworkLost},    // ERROR_BAD_NETPATH
    {SystemPlatform::Windows, 55, SystemFault::NetworkLost},    // ERROR_DEV_NOT_EXIST
    {SystemPlatform::Windows, 59, SystemFault::NetworkLost},    // ERROR_UNEXP_NET_ERR
    {SystemPlatform::Windows, 67, SystemFault::NetworkLost},    // ERROR_BAD_NET_NAME
    {SystemPlatform::Windows, 1231, SystemFault::NetworkLost},  // ERROR_NETWORK_UNREACHABLE
    {SystemPlatform::Windows, 28, SystemFault::Unknown},        // ENOSPC's number, not Windows's
    {SystemPlatform::Windows, 5, SystemFault::Unknown},         // ERROR_ACCESS_DENIED
    {SystemPlatform::Windows, 0, SystemFault::Unknown},
    {SystemPlatform::Posix, 28, SystemFault::DiskFull},      // ENOSPC
    {SystemPlatform::Posix, 122, SystemFault::DiskFull},     // EDQUOT
    {SystemPlatform::Posix, 112, SystemFault::NetworkLost},  // EHOSTDOWN
    {SystemPlatform::Posix, 116, SystemFault::NetworkLost},  // ESTALE
    {SystemPlatform::Posix, 107, SystemFault::NetworkLost},  // ENOTCONN
    {SystemPlatform::Posix, 100, SystemFault::NetworkLost},  // ENETDOWN
    {SystemPlatform::Posix, 101, SystemFault::NetworkLost},  // ENETUNREACH
    {SystemPlatform::Posix, 39, SystemFault::Unknown},       // ENOTEMPTY, not a full disk
    {SystemPlatform::Posix, 5, SystemFault::Unknown},        // EIO says nothing of where
    {SystemPlatform::Posix, 13, SystemFault::Unknown},       // EACCES
    {SystemPlatform::Posix, 0, SystemFault::Unknown},
};

TEST(SystemErrorCodes, EachPlatformsCodesNameTheirFault) {
    for (const CodeCase& c : kCodes) {
        SCOPED_TRACE(testing::Message()
                     << (c.platform == SystemPlatform::Windows ? "Windows " : "POSIX ") << c.code);
        EXPECT_EQ(classifySystemError(c.platform, c.code), c.expected);
    }
}

// The engine's I/O error on this build's platform is named by the system's
// code, ahead of what the file system says of the folder; the clerk's text
// for a lost share names the folder and what to do.
TEST(SystemErrorCodes, AnIoErrorIsNamedByThisPlatformsCode) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString db = QDir(dir.path()).filePath(QStringLiteral("KQ.db"));
    const bool windows = kThisPlatform == SystemPlatform::Windows;
    const struct {
        int code;
        DatabaseFault expected;
    } cases[] = {
        {windows ? 112 : 28, DatabaseFault::DiskFull},
        {windows ? 64 : 116, DatabaseFault::NetworkLost},
        {windows ? 28 : 39, DatabaseFault::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(classifyDatabaseFault(SQLITE_IOERR_WRITE, c.code, db), c.expected);
        EXPECT_EQ(classifyDatabaseFault(SQLITE_CANTOPEN, c.code, db), c.expected);
    }
    // A lost share: the folder is gone too, which must not read as unwritable.
    const QString gone = QDir(dir.path()).filePath(QStringLiteral("share/KQ.db"));
    EXPECT_EQ(classifyDatabaseFault(SQLITE_IOERR_READ, windows ? 1231 : 112, gone),
              DatabaseFault::NetworkLost);

    const DatabaseError lost(DatabaseFault::NetworkLost, gone, {});
    EXPECT_EQ(lost.kind(), ErrorKind::NetworkUnavailable);
    EXPECT_TRUE(lost.description().contains(QStringLiteral("网络位置现在无法访问")));
    EXPECT_TRUE(lost.description().contains(
        QDir::toNativeSeparators(QDir(dir.path()).filePath(QStringLiteral("share")))));
    EXPECT_TRUE(lost.description().contains(QStringLiteral("请检查网络连接")));
}

}  // namespace
}  // namespace kq

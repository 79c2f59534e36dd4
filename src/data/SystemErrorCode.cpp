#include "data/SystemErrorCode.h"

#include <cerrno>
#include <cstddef>

namespace kq {
namespace {

struct CodeFault {
    int code;
    SystemFault fault;
};

// Linux's errno numbers, written out so that the Windows build carries the
// same table (MinGW lacks several of the names or numbers them differently).
constexpr CodeFault kPosix[] = {
    {28, SystemFault::DiskFull},      // ENOSPC
    {122, SystemFault::DiskFull},     // EDQUOT
    {67, SystemFault::NetworkLost},   // ENOLINK
    {70, SystemFault::NetworkLost},   // ECOMM
    {100, SystemFault::NetworkLost},  // ENETDOWN
    {101, SystemFault::NetworkLost},  // ENETUNREACH
    {102, SystemFault::NetworkLost},  // ENETRESET
    {103, SystemFault::NetworkLost},  // ECONNABORTED
    {104, SystemFault::NetworkLost},  // ECONNRESET
    {107, SystemFault::NetworkLost},  // ENOTCONN: a FUSE mount whose server is gone
    {110, SystemFault::NetworkLost},  // ETIMEDOUT
    {112, SystemFault::NetworkLost},  // EHOSTDOWN: a CIFS server that stopped answering
    {113, SystemFault::NetworkLost},  // EHOSTUNREACH
    {116, SystemFault::NetworkLost},  // ESTALE: an NFS export removed under us
    {121, SystemFault::NetworkLost},  // EREMOTEIO
};

#ifdef __linux__
static_assert(ENOSPC == 28 && EDQUOT == 122 && ENOLINK == 67 && ECOMM == 70);
static_assert(ENETDOWN == 100 && ENETUNREACH == 101 && ENETRESET == 102 && ECONNABORTED == 103);
static_assert(ECONNRESET == 104 && ENOTCONN == 107 && ETIMEDOUT == 110 && EHOSTDOWN == 112);
static_assert(EHOSTUNREACH == 113 && ESTALE == 116 && EREMOTEIO == 121);
#endif

// winerror.h's numbers, compiled on Linux too.
constexpr CodeFault kWindows[] = {
    {39, SystemFault::DiskFull},       // ERROR_HANDLE_DISK_FULL
    {112, SystemFault::DiskFull},      // ERROR_DISK_FULL
    {1295, SystemFault::DiskFull},     // ERROR_DISK_QUOTA_EXCEEDED
    {51, SystemFault::NetworkLost},    // ERROR_REM_NOT_LIST
    {53, SystemFault::NetworkLost},    // ERROR_BAD_NETPATH
    {54, SystemFault::NetworkLost},    // ERROR_NETWORK_BUSY
    {55, SystemFault::NetworkLost},    // ERROR_DEV_NOT_EXIST
    {58, SystemFault::NetworkLost},    // ERROR_BAD_NET_RESP
    {59, SystemFault::NetworkLost},    // ERROR_UNEXP_NET_ERR
    {64, SystemFault::NetworkLost},    // ERROR_NETNAME_DELETED
    {67, SystemFault::NetworkLost},    // ERROR_BAD_NET_NAME
    {240, SystemFault::NetworkLost},   // ERROR_VC_DISCONNECTED
    {1222, SystemFault::NetworkLost},  // ERROR_NO_NETWORK
    {1231, SystemFault::NetworkLost},  // ERROR_NETWORK_UNREACHABLE
    {1232, SystemFault::NetworkLost},  // ERROR_HOST_UNREACHABLE
    {1236, SystemFault::NetworkLost},  // ERROR_CONNECTION_ABORTED
    {2250, SystemFault::NetworkLost},  // ERROR_NOT_CONNECTED
};

template <std::size_t N>
SystemFault lookUp(const CodeFault (&table)[N], int code) {
    for (const CodeFault& entry : table)
        if (entry.code == code) return entry.fault;
    return SystemFault::Unknown;
}

}  // namespace

SystemFault classifySystemError(SystemPlatform platform, int code) {
    return platform == SystemPlatform::Windows ? lookUp(kWindows, code) : lookUp(kPosix, code);
}

}  // namespace kq

#pragma once

namespace kq {

// Whose numbering a system error code follows: the C library's errno on
// Linux, GetLastError() on Windows. SQLite's VFS reports the one it saw.
enum class SystemPlatform { Posix, Windows };

#ifdef _WIN32
inline constexpr SystemPlatform kThisPlatform = SystemPlatform::Windows;
#else
inline constexpr SystemPlatform kThisPlatform = SystemPlatform::Posix;
#endif

// What a failed read or write of a file tells the clerk, as far as the
// system's code alone says it.
enum class SystemFault {
    Unknown,      // the code does not say; the file system is asked instead
    DiskFull,     // no space left, or the user's quota is used up
    NetworkLost,  // the share or the network the file lies on went away
};

// Both platforms' tables are compiled everywhere, so either can be checked
// on the other.
SystemFault classifySystemError(SystemPlatform platform, int code);

}  // namespace kq

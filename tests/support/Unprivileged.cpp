#include "support/Unprivileged.h"

#ifndef _WIN32
#include <grp.h>
#include <unistd.h>
#endif

namespace kq::test {

bool dropRootPrivileges() {
#ifdef _WIN32
    return false;
#else
    if (geteuid() != 0) return true;
    const uid_t nobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0;
#endif
}

}  // namespace kq::test

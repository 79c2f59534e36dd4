#pragma once

namespace kq::test {

// In a forked child of root: drops to the user nobody (no supplementary
// groups), so that file permissions bind the child as they bind the clerk.
// False when that failed. Does nothing, and succeeds, when not root. POSIX
// only; the tests that need it do not run on Windows.
bool dropRootPrivileges();

}  // namespace kq::test

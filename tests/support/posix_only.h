#pragma once
// Marks a test that needs what only POSIX systems have (a forked child, a
// file-size limit, a pipe in a file's place, the POSIX client and shell). On
// Windows it is reported as skipped with its reason, and its body, which
// would not compile there, is kept out with #ifndef _WIN32.
#include <gtest/gtest.h>

#ifdef _WIN32
#define QUORVIN_POSIX_ONLY(reason) GTEST_SKIP() << "needs POSIX: " << (reason)
#define QUORVIN_WINDOWS_ONLY(reason) (void)0
#else
#define QUORVIN_POSIX_ONLY(reason) (void)0
#define QUORVIN_WINDOWS_ONLY(reason) GTEST_SKIP() << "needs Windows: " << (reason)
#endif

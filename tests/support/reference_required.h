#pragma once
// For tests that compare with something of the build machine (a reference library or tool,
// the BMP suite): where it is missing the test skips on a developer's machine, but under CI
// (CI=true), which installs everything (tools/install-deps.sh), a missing reference fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

inline bool RunningUnderCi()
{
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

#define SKIP_WITHOUT_REFERENCE(what)                                                        \
    do {                                                                                    \
        if (RunningUnderCi())                                                               \
            FAIL() << what << " (needed under CI: tools/install-deps.sh)";                  \
        GTEST_SKIP() << what;                                                               \
    } while (0)

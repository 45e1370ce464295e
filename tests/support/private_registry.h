#pragma once
// Base of test fixtures that read and write settings. Natively each test process gets its own
// registry store file, removed after the suite, so parallel test programs never meet; on
// Windows the real registry is used and each fixture keeps to its own keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

class PrivateRegistryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
#ifndef _WIN32
        static const std::string store =
            std::string(QUENTA_BINARY_DIR) + "/test_registry." + std::to_string(::getpid()) + ".store";
        ::setenv("QUENTA_REGISTRY", store.c_str(), 1);
#endif
    }
    static void TearDownTestSuite()
    {
#ifndef _WIN32
        if (const char* store = std::getenv("QUENTA_REGISTRY"))
            for (const char* suffix : {"", ".lock", ".tmp"})
                std::remove((std::string(store) + suffix).c_str());
#endif
    }
};

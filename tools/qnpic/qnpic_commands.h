#pragma once
// The qnpic commands. Each returns the process exit code: 0 success, 1 when a file failed,
// 2 for a usage error.
#include <string>
#include <vector>

constexpr int kExitOk = 0;
constexpr int kExitFileFailed = 1;
constexpr int kExitUsage = 2;

int RunFormats();
int RunInfo(const std::vector<std::string>& files);
int RunConvert(const std::vector<std::string>& args);

#pragma once
// Putting a file where the system reads it without ever leaving half of one there: the bytes
// go into a file beside it first, which then takes its place. Read-only, hidden and system
// attributes of the old file do not stop the replacement; missing rights do, and are reported.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// True once `path` holds exactly `bytes`; on false the old file (if any) is untouched.
bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes);
// True when `path` is gone afterwards (also when it never existed).
bool RemoveTargetFile(const std::string& path);
// The whole file, or empty when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Platform parts (target_file_win.cpp, target_file_native.cpp).
// Moves `from` over `to`, replacing it whatever its attributes.
bool PutFileInPlace(const std::string& from, const std::string& to);
// Deletes the file with its attributes first set to normal; true when it is gone.
bool DeleteFileForce(const std::string& path);

#pragma once
// The shell's tips: string values "0", "1", "2", ... of HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Tips\".
#include <string>
#include <vector>

inline constexpr const char* kTipsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Tips\\";
inline constexpr size_t kMaxTips = 4096;

// The tips in index order; the first empty, missing or non-text value ends the list and
// becomes its last, empty entry (so the list always ends with one empty entry).
std::vector<std::string> ReadTips();

// Writes each tip whose text differs from `opened` (the list as read; entries past its end
// count as empty) back as the string value named by its index; tips left as read are not
// touched.
void WriteTips(const std::vector<std::string>& tips, const std::vector<std::string>& opened);

// Puts `text` in place of tip `index`; when that was the last, empty entry and now holds a
// text, a new empty entry follows it so that another tip can be added.
void ReplaceTip(std::vector<std::string>& tips, size_t index, const std::string& text);

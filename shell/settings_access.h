#pragma once
// Reads and writes of the product settings (below "Software\Ostrel\Quenta\") used by the
// shell. Numbers are stored as decimal text; every read gives its default when the value is
// missing. The Windows build goes to the registry; the native build keeps an in-memory store.
#include <string>

int ReadSettingInt(const std::string& section, const std::string& name, int defaultValue);
std::string ReadSettingText(const std::string& section, const std::string& name,
                            const std::string& defaultValue);
void WriteSettingText(const std::string& section, const std::string& name, const std::string& text);
void WriteSettingInt(const std::string& section, const std::string& name, int value);

// The leading-number rule: optional blanks and sign, then digits up to the first other
// character; no digits gives 0.
int ParseSettingInt(const std::string& text);

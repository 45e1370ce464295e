#pragma once
// Size texts of the file tools.
#include <cstdint>
#include <string>

// Digits with a comma between thousands: 1234567 gives "1,234,567".
std::string ThousandsText(uint64_t value);

// Short form (report columns): whole part of size / 1024, plus one, with thousands commas and
// " Kb": 0 gives "1 Kb", 1024 gives "2 Kb".
std::string ShortSizeText(uint64_t bytes);

// Long form (summaries, properties): "0 Byte" for 0; otherwise the size in the largest unit it
// exceeds ("Bytes", "Kb", "Mb", "Gb"), one decimal, truncated, then the exact count:
// 1536 gives "1.5 Kb (1,536 bytes)", 1023 "1023.0 Bytes (1,023 bytes)".
std::string LongSizeText(uint64_t bytes);

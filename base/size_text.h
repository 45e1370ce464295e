#pragma once
// Byte counts as the user reads them, in the two forms every list and dialog shares: the long
// form "1.5 Kb (1,536 bytes)" (information sheets, properties) and the short form "2 Kb"
// (size columns of file lists). Units and words come from the string tables (French: "Ko").
#include <cstdint>
#include <string>

// The count with a comma between thousands: 1234567 -> "1,234,567".
std::string GroupThousands(uint64_t value);

// "0 Byte" for 0; otherwise the size in the largest unit it exceeds (Bytes, Kb above 1023,
// Mb above 1,048,575, Gb above 1,073,741,823) with one decimal, truncated, followed by the
// exact count: "29.2 Kb (30,000 bytes)".
std::string LongSizeText(uint64_t bytes);

// The whole part of the size in kilobytes plus one, grouped, then " Kb": an empty file shows
// "1 Kb", a 1024-byte file "2 Kb".
std::string ShortSizeText(uint64_t bytes);

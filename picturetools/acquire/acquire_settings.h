#pragma once
// The acquisition's settings (section "Acquire"): the folder of the last saved picture.
#include <string>

std::string ReadSaveBmpDirectory();
void WriteSaveBmpDirectory(const std::string& folder);

#include "picturetools/acquire/acquire_settings.h"

#include "app/settings.h"

namespace {
const char kSection[] = "Acquire";
const char kSaveDirectory[] = "SaveBMPDirectory";
} // namespace

std::string ReadSaveBmpDirectory() { return CQnSettings().ReadString(kSection, kSaveDirectory); }

void WriteSaveBmpDirectory(const std::string& folder) { CQnSettings().WriteString(kSection, kSaveDirectory, folder); }

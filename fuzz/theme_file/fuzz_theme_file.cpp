// Theme files: any bytes give values whose keys are non-empty names without separators or
// control characters, of at most 255 characters, whose texts hold no zero byte and no line
// end, written into a registry that only records; nothing is read past the input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "systools/colours/theme_file.h"

namespace {
class NullKey : public CRegistryKey {
public:
    std::unique_ptr<CRegistryKey> OpenSubKey(const std::string& name, bool) override
    {
        if (name.empty() || name.size() > kMaxThemeKeyPart || name.find('\\') != std::string::npos)
            std::abort();
        return std::make_unique<NullKey>();
    }
    bool QueryValue(const std::string&, uint32_t&, std::vector<uint8_t>&) override { return false; }
    bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override
    {
        if (type != kRegString || data.empty() || data.back() != 0 || name.find('\0') != std::string::npos)
            std::abort();
        return true;
    }
    bool DeleteValue(const std::string&) override { std::abort(); }
    bool DeleteSubKey(const std::string&) override { std::abort(); }
    bool EnumValue(uint32_t, std::string&, uint32_t&, std::vector<uint8_t>&) override { return false; }
    bool EnumSubKey(uint32_t, std::string&) override { return false; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ThemeFolders folders;
    folders.windowsFolder = "C:\\WINDOWS\\";
    folders.themeFolder = "C:\\Themes\\";
    folders.folderExists = [](const std::string& folder) { return folder.size() % 2 == 0; };
    const ThemeReading reading = ReadThemeValues(std::string_view(reinterpret_cast<const char*>(data), size), folders);
    for (const ThemeValue& value : reading.values) {
        if (value.keyPath.empty() || value.keyPath.size() > kMaxThemeKeyDepth)
            std::abort();
        for (const std::string& part : value.keyPath)
            for (char c : part)
                if (static_cast<unsigned char>(c) < 0x20 || c == '\\')
                    std::abort();
        if (value.text.find_first_of(std::string_view("\0\n", 2)) != std::string::npos)
            std::abort();
    }
    (void)ThemeSessionColours(reading.values);
    const ThemeWriteResult result =
        WriteThemeValues(reading.values, [](RegRoot) -> std::unique_ptr<CRegistryKey> { return std::make_unique<NullKey>(); });
    if (result.written != reading.values.size())
        std::abort();
    return 0;
}

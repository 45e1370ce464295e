#include "systools/info/windows_info_rows.h"

#include "base/text.h"
#include "res/resource.h"

namespace {
const char kOwner[] = "RegisteredOwner";
const char kOrganization[] = "RegisteredOrganization";

std::string ValueOf(const WindowsFacts& facts, const std::string& name, const std::string& fallback = {})
{
    const auto found = facts.values.find(name);
    return found == facts.values.end() ? fallback : found->second;
}
} // namespace

const char* WindowsVersionKey(bool nt)
{
    return nt ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\" : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
}

std::vector<std::string> WindowsValueNames(bool nt)
{
    return {kOwner,       kOrganization, "ProductName",        nt ? "CurrentVersion" : "VersionNumber",
            "Plus! VersionNumber", "CSDVersion", "CurrentBuildNumber", "ProductId", "SystemRoot"};
}

std::string RegisteredOwner(const WindowsFacts& facts) { return ValueOf(facts, kOwner); }
std::string RegisteredOrganization(const WindowsFacts& facts) { return ValueOf(facts, kOrganization); }

InfoRows WindowsInfoRows(const WindowsFacts& facts)
{
    InfoRows rows;
    rows.push_back(NamedRow(IDS_WININFO_PRODUCT_NAME, ValueOf(facts, "ProductName", facts.nt ? "Windows NT" : "Windows")));
    rows.push_back(NamedRow(IDS_WININFO_VERSION, ValueOf(facts, facts.nt ? "CurrentVersion" : "VersionNumber")));
    rows.push_back(NamedRow(IDS_WININFO_PLUS_VERSION, ValueOf(facts, "Plus! VersionNumber")));
    rows.push_back(NamedRow(IDS_WININFO_CSD_VERSION, ValueOf(facts, "CSDVersion")));
    rows.push_back(NamedRow(IDS_WININFO_BUILD, ValueOf(facts, "CurrentBuildNumber")));
    rows.push_back(NamedRow(IDS_WININFO_PRODUCT_ID, ValueOf(facts, "ProductId")));
    rows.push_back(NamedRow(IDS_WININFO_SYSTEM_ROOT, ValueOf(facts, "SystemRoot")));
    rows.push_back(SeparatorRow());
    rows.push_back(NamedRow(IDS_WININFO_SCREEN_BPP, std::to_string(facts.displayBits)));
    rows.push_back(NamedRow(IDS_WININFO_SCREEN_WIDTH, std::to_string(facts.screenWidth)));
    rows.push_back(NamedRow(IDS_WININFO_SCREEN_HEIGHT, std::to_string(facts.screenHeight)));
    if (facts.nt)
        rows.push_back(NamedRow(IDS_WININFO_FREQUENCY, std::to_string(facts.frequency) + " Hz"));
    rows.push_back(SeparatorRow());
    rows.push_back(NamedRow(IDS_WININFO_WINDOWS_DIR, facts.windowsFolder, facts.windowsFolder));
    rows.push_back(NamedRow(IDS_WININFO_SYSTEM_DIR, facts.systemFolder, facts.systemFolder));
    rows.push_back(NamedRow(IDS_WININFO_TEMP_DIR, facts.temporaryFolder, facts.temporaryFolder));
    return rows;
}

int ReportedDisplayBits(int bitsPerPixel, unsigned whitePixelOf16BitBitmap)
{
    if (bitsPerPixel == 16 && (whitePixelOf16BitBitmap & 0xFFFF) != 0xFFFF)
        return 15;
    return bitsPerPixel;
}

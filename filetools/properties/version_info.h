#pragma once
// Version strings of a file (its version resource). The choice of string is portable; reading
// the resource is the platform's: version_info_win.cpp (GetFileVersionInfo, VerQueryValue),
// version_info_native.cpp (files on the build machine carry none).
#include <cstdint>
#include <memory>
#include <string>

// One file's version resource, as read by the platform.
class VersionResource {
public:
    virtual ~VersionResource() = default;
    // First language and code page of "\VarFileInfo\Translation"; false when it has none.
    virtual bool Translation(uint16_t& language, uint16_t& codePage) const = 0;
    // The string at a query path such as "\StringFileInfo\040904E4\FileVersion"; false when absent.
    virtual bool QueryString(const std::string& queryPath, std::string& value) const = 0;
};

// The file's version resource; null when it has none (or cannot be read).
std::unique_ptr<VersionResource> ReadVersionResource(const std::string& path);

// "\StringFileInfo\%04X%04X\<name>".
std::string VersionStringPath(uint16_t language, uint16_t codePage, const std::string& name);

// The string named `first`, else `second`: both are tried with the file's own translation,
// then both with US English, Western code page (040904E4). Empty when none is found (a string
// found empty counts as not found) or when `resource` is null.
std::string ChooseVersionString(const VersionResource* resource, const std::string& first, const std::string& second);

// ChooseVersionString over the file's own version resource.
std::string GetVersionString(const std::string& path, const std::string& first, const std::string& second);

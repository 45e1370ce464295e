#pragma once
// The shell's desktop objects shown as roots of folder trees, named and iconed from their class
// entries in the registry.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/registry_key.h"

enum class DesktopObject { MyComputer, NetworkNeighborhood };

// The registry keys that may describe the object, in the order they are tried.
std::vector<std::pair<RegRoot, std::string>> DesktopObjectKeys(DesktopObject which);

struct DesktopObjectEntry {
    std::string name;         // empty when no key gives one
    std::string iconLocation; // empty when no key gives a usable one
};

// Tries the keys in order until both a name and an icon are found: at each key the name is its
// default value (taken if none yet), the icon location the default value of its "DefaultIcon\"
// subkey (taken if none yet and `iconUsable` accepts it, i.e. it yields an icon).
DesktopObjectEntry FindDesktopObjectEntry(DesktopObject which,
                                          const std::function<bool(const std::string&)>& iconUsable);

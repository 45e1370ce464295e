#pragma once
// The six shell places whose shortcut files the module manages: the desktop, the quick launch
// bar and the start-up folder, each for the current user and for all users. A place's folder
// is read from the registry when the view is created; a place without a folder gets no tab.
#include <functional>
#include <string>
#include <vector>

#include "app/registry_key.h"

enum class PlaceImage { Desktop = 0, QuickLaunch = 1, Startup = 2 };

struct ShortcutPlace {
    unsigned nameId;      // the tab's text
    RegRoot root;
    const char* key;      // the key that holds the folder value
    const char* value;
    PlaceImage image;
};

// The six places in tab order.
const std::vector<ShortcutPlace>& AllShortcutPlaces();

struct PlaceFolder {
    const ShortcutPlace* place;
    std::string folder;   // as the registry gives it
};

// Reads a place's folder value; empty when there is none.
using PlaceFolderReader = std::function<std::string(const ShortcutPlace& place)>;

// The places that have a folder, in tab order.
std::vector<PlaceFolder> AvailableShortcutPlaces(const PlaceFolderReader& readFolder);
// The same through the registry.
std::vector<PlaceFolder> AvailableShortcutPlaces();

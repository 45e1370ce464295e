#pragma once
// Where the Linux build keeps its registry store, and how it reads and writes that file.
#include <string>

#include "app/registry_store.h"

// The store file: $QUENTA_REGISTRY when set (a file path, used by tests and by anyone who
// wants a separate store), otherwise $HOME/.config/quenta/registry.
std::string RegistryStorePath();

// Loads `path` into `store`. A missing file gives an empty store and true; a damaged file
// gives an empty store and false. A leftover temporary file from an interrupted save is
// ignored: the store file itself only ever holds a complete save.
bool LoadRegistryFile(const std::string& path, CRegistryStore& store);

// Saves atomically: the whole store goes to "<path>.tmp", is synced, then renamed over
// `path`, so an interrupted save leaves the previous file intact. With keepDamaged the
// existing file is first kept as "<path>.damaged".
bool SaveRegistryFile(const std::string& path, const CRegistryStore& store, bool keepDamaged);

#pragma once
// Archives among a program's resources (type "ZIP").
#include <windows.h>

#include "setup/resource_archive.h"

// Finds resource `id` of `type` in `module` and opens a copy of it (restored first when
// delta-coded). A resource that is missing or cannot be loaded leaves the archive empty.
int LoadFromResource(ResourceArchive& archive, HMODULE module, unsigned id, const char* type, bool deltaCoded);

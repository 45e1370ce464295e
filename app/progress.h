#pragma once
// Progress sinks live in base/ (below the picture library); this name stays for code not yet
// switched over.
#include "base/progress.h"

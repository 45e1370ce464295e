#pragma once
// Text loading lives in base/ (below the picture library); this name stays for code not yet
// switched over.
#include "base/text.h"

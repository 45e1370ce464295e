#pragma once
// The main window's command ids live with every other id in res/resource.h.
#include "res/resource.h"

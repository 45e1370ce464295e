#pragma once
// The setup screen (dialog 360): a borderless window over the whole screen, painted with the
// backdrop, the title "Quenta Setup" and the footer; the wizard runs over it. Ends with 1 when
// the product was installed, else 0.
#include <windows.h>

INT_PTR RunSetupScreen();

#pragma once
// The program's own message box: the text in Courier New in a read-only box, the busy
// animation, Yes/No or OK. InstallMessageBox makes ShowMessage use it.
#include <string>

#include "app/message.h"

MessageAnswer ShowMessageBox(const std::string& text, MessageButtons buttons, const std::string& caption = {});
void InstallMessageBox();

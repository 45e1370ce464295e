#pragma once
// The program's own message box. The main window installs the real dialog (Courier New text,
// animation, Yes/No or OK); until then, and in command-line tools, a plain fallback is used.
#include <string>

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons = MessageButtons::Ok);

using MessageHandler = MessageAnswer (*)(const std::string& text, MessageButtons buttons);
// Installs the handler used by ShowMessage; returns the previous one.
MessageHandler SetMessageHandler(MessageHandler handler);

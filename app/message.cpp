#include "app/message.h"

#include <cstdio>

namespace {
// Fallback: the text on stderr; a question is answered "No" so nothing is done unasked.
MessageAnswer StderrMessage(const std::string& text, MessageButtons buttons)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

MessageHandler g_handler = StderrMessage;
} // namespace

MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons)
{
    return g_handler(text, buttons);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = g_handler;
    g_handler = handler ? handler : StderrMessage;
    return previous;
}

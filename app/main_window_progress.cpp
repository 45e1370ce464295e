#include "app/main_window.h"
#include "base/progress.h"

CQnCallbackProgress& MainWindowProgress()
{
    static CQnCallbackProgress sink;
    return sink;
}

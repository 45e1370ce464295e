#include "app/main_window.h"
#include "app/progress.h"

CQnCallbackProgress& MainWindowProgress()
{
    static CQnCallbackProgress sink;
    return sink;
}

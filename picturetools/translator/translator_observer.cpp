#include "picturetools/translator/translator_observer.h"

#include "app/message.h"
#include "app/paths.h"
#include "base/text.h"
#include "res/resource.h"

bool CTranslatorObserver::BeginItem(size_t index, size_t, const std::string& source)
{
    if (!m_display.SetFilesDone(static_cast<int>(index)))
        return false;
    const std::string name = PathNamePart(source);
    m_display.SetLine1(FormatText(IDS_STATUS_PROCESSING_FILE, name));
    m_display.SetLine2(FormatText(IDS_STATUS_LOADING, name));
    return m_display.ResetFileBar();
}

OverwriteAnswer CTranslatorObserver::AskOverwrite(const std::string& destination)
{
    if (ShowMessage(FormatText(IDS_ASK_OVERWRITE, destination), MessageButtons::YesNo) != MessageAnswer::Yes)
        return OverwriteAnswer::No;
    return ShowMessage(LoadText(IDS_ASK_OVERWRITE_ALL), MessageButtons::YesNo) == MessageAnswer::Yes
               ? OverwriteAnswer::YesToAll
               : OverwriteAnswer::Yes;
}

bool CTranslatorObserver::BeginSave(const std::string& destination)
{
    m_display.SetLine2(FormatText(IDS_STATUS_SAVING, PathNamePart(destination)));
    return m_display.ResetFileBar();
}

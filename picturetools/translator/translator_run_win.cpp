#include "picturetools/translator/translator_run_win.h"

#include "app/message.h"
#include "app/paths.h"
#include "app/text.h"
#include "shell/working_window_win.h"
#include "res/resource.h"

namespace {

class CTranslatorObserver : public CBatchObserver {
public:
    explicit CTranslatorObserver(CWorkingWindow& window) : m_window(window) {}

    bool BeginItem(size_t index, size_t, const std::string& source) override
    {
        if (!m_window.SetFilesDone(static_cast<int>(index)))
            return false;
        const std::string name = PathNamePart(source);
        m_window.SetLine1(FormatText(IDS_STATUS_PROCESSING_FILE, name));
        m_window.SetLine2(FormatText(IDS_STATUS_LOADING, name));
        return m_window.ResetFileBar();
    }

    // Yes is followed by the question for every later file; No skips this one only.
    OverwriteAnswer AskOverwrite(const std::string& destination) override
    {
        if (ShowMessage(FormatText(IDS_ASK_OVERWRITE, destination), MessageButtons::YesNo) != MessageAnswer::Yes)
            return OverwriteAnswer::No;
        return ShowMessage(LoadText(IDS_ASK_OVERWRITE_ALL), MessageButtons::YesNo) == MessageAnswer::Yes
                   ? OverwriteAnswer::YesToAll
                   : OverwriteAnswer::Yes;
    }

    bool BeginSave(const std::string& destination) override
    {
        m_window.SetLine2(FormatText(IDS_STATUS_SAVING, PathNamePart(destination)));
        return m_window.ResetFileBar();
    }

    CQnProgress* FileProgress() override { return &m_window.FileProgress(); }

private:
    CWorkingWindow& m_window;
};

} // namespace

BatchSummary RunTranslatorBatch(HWND owner, const std::vector<std::string>& sources, const ConvertSettings& settings)
{
    CWorkingWindow window;
    window.Open(owner);
    window.SetFilesRange(static_cast<int>(sources.size()));
    CTranslatorObserver observer(window);
    BatchSummary summary = RunBatchConvert(sources, settings, observer);
    window.Close();
    return summary;
}

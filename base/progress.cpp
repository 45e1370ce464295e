#include "base/progress.h"

#include "base/text.h"
#include "res/resource.h"

void CQnProgress::Begin()
{
    if (m_nesting++ == 0) {
        m_low = 0;
        m_high = 100;
        m_pos = 0;
        m_text.clear();
        m_dirty = true;
        Refresh();
    }
}

void CQnProgress::End(bool force)
{
    if (m_nesting > 0)
        --m_nesting;
    if (m_nesting > 0 && !force)
        return;
    m_nesting = 0;
    m_dirty = true;
    Refresh();
}

void CQnProgress::SetRange(int64_t low, int64_t high, bool redraw)
{
    if (!IsActive())
        return;
    m_low = low;
    m_high = high == low ? low + 1 : high;
    m_dirty = true;
    if (redraw)
        Refresh();
}

bool CQnProgress::SetPos(int64_t position, bool redraw)
{
    if (!IsActive() || position == m_pos)
        return !m_cancelled;
    m_pos = position;
    m_dirty = true;
    if (redraw)
        Refresh();
    return !m_cancelled;
}

void CQnProgress::SetText(const std::string& text, bool redraw)
{
    if (!IsActive() || text == m_text)
        return;
    m_text = text;
    m_dirty = true;
    if (redraw)
        Refresh();
}

void CQnProgress::Refresh() { m_dirty = false; }

void CQnProgress::RestoreNesting(int depth)
{
    while (m_nesting > depth)
        End(false);
}

CQnProgress& CQnProgress::Silent()
{
    static CQnProgress silent;
    return silent;
}

namespace {
unsigned StringIdOfStatus(int code)
{
    switch (code) {
    case kStatusCopyingFile: return IDS_STATUS_COPYING;
    case kStatusExaminingFile: return IDS_STATUS_EXAMINING;
    case kStatusLoadingFile:
    case kStatusReaderLoadingFile: return IDS_STATUS_LOADING;
    case kStatusEmpty: return IDS_EMPTY;
    case kStatusMyComputer: return IDS_MY_COMPUTER;
    case kStatusNetworkNeighborhood: return IDS_NETWORK_NEIGHBORHOOD;
    case kStatusExtracting: return IDS_STATUS_EXTRACTING;
    case kStatusDeleting: return IDS_STATUS_DELETING;
    case kStatusGeneratingHtml: return IDS_STATUS_GENERATING_HTML;
    case kStatusReaderSavingFile: return IDS_STATUS_SAVING;
    case kStatusReaderAllFormats: return IDS_ALL_SUPPORTED_FORMATS;
    default: return 0;
    }
}
} // namespace

void CQnProgress::SetTextById(int statusCode, bool redraw)
{
    unsigned id = StringIdOfStatus(statusCode);
    SetText(id ? LoadText(id) : std::string(), redraw);
}

void CQnProgress::SetTextFormatted(int statusCode, const std::string& arg1, const std::string& arg2,
                                   bool redraw)
{
    unsigned id = StringIdOfStatus(statusCode);
    SetText(id ? FormatText(id, arg1, arg2) : std::string(), redraw);
}

void CQnCallbackProgress::Begin()
{
    if (onBegin)
        onBegin();
    CQnProgress::Begin();
}

void CQnCallbackProgress::End(bool force)
{
    if (onEnd)
        onEnd();
    CQnProgress::End(force);
}

void CQnCallbackProgress::SetRange(int64_t low, int64_t high, bool redraw)
{
    if (onRange)
        onRange(static_cast<int32_t>(low), static_cast<int32_t>(high));
    CQnProgress::SetRange(low, high, redraw);
}

bool CQnCallbackProgress::SetPos(int64_t position, bool redraw)
{
    bool keepGoing = onPos ? onPos(position) : true;
    if (!keepGoing)
        m_cancelled = true;
    return CQnProgress::SetPos(position, redraw) && keepGoing;
}

void CQnCallbackProgress::SetText(const std::string& text, bool redraw)
{
    if (onText)
        onText(text);
    CQnProgress::SetText(text, redraw);
}

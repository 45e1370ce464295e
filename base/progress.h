#pragma once
// Progress sink of every long operation: range, position and text, with nesting so that an
// operation called by another one does not reset the display, and a "continue" answer
// through which the user cancels.
#include <cstdint>
#include <string>

// Status codes of SetTextById and SetTextFormatted (each stands for one status text).
enum QnStatusCode : int {
    kStatusCopyingFile = 7,
    kStatusExaminingFile = 8,
    kStatusLoadingFile = 9,
    kStatusEmpty = 105,
    kStatusMyComputer = 106,
    kStatusNetworkNeighborhood = 107,
    kStatusExtracting = 206,
    kStatusDeleting = 212,
    kStatusGeneratingHtml = 300,
    kStatusReaderLoadingFile = 400,
    kStatusReaderSavingFile = 402,
    kStatusReaderAllFormats = 404,
};

class CQnProgress {
public:
    virtual ~CQnProgress() = default;

    virtual void Begin();
    virtual void End(bool force = false);
    virtual void SetRange(int64_t low, int64_t high, bool redraw = true);
    // Returns false once the operation has been cancelled.
    virtual bool SetPos(int64_t position, bool redraw = true);
    virtual void SetText(const std::string& text, bool redraw = true);
    virtual void Refresh();

    // Text of a status code (QnStatusCode); unknown codes give an empty text.
    void SetTextById(int statusCode, bool redraw = true);
    // Text of a status code formatted with one or two "%s" arguments.
    void SetTextFormatted(int statusCode, const std::string& arg1, const std::string& arg2 = {},
                          bool redraw = true);

    int Nesting() const { return m_nesting; }
    bool IsActive() const { return m_nesting > 0; }
    int64_t Low() const { return m_low; }
    int64_t High() const { return m_high; }
    int64_t Pos() const { return m_pos; }
    const std::string& Text() const { return m_text; }
    bool IsDirty() const { return m_dirty; }
    bool IsCancelled() const { return m_cancelled; }
    void Cancel() { m_cancelled = true; }
    void ResetCancel() { m_cancelled = false; }

    // Ends nesting levels until the count is back to `depth` (front ends left by an exception).
    void RestoreNesting(int depth);

    // The process-wide sink that shows nothing and never cancels.
    static CQnProgress& Silent();

protected:
    int m_nesting = 0;
    int64_t m_low = 0, m_high = 100, m_pos = 0;
    std::string m_text;
    bool m_dirty = false;
    bool m_cancelled = false;
};

// Sink that calls optional plain functions before (or instead of) the base behaviour.
class CQnCallbackProgress : public CQnProgress {
public:
    using BeginFn = void (*)();
    using EndFn = void (*)();
    using RangeFn = void (*)(int32_t low, int32_t high);
    using PosFn = bool (*)(int64_t position);
    using TextFn = void (*)(const std::string& text);

    BeginFn onBegin = nullptr;
    EndFn onEnd = nullptr;
    RangeFn onRange = nullptr;
    PosFn onPos = nullptr;
    TextFn onText = nullptr;

    void Begin() override;
    void End(bool force = false) override;
    void SetRange(int64_t low, int64_t high, bool redraw = true) override;
    bool SetPos(int64_t position, bool redraw = true) override;
    void SetText(const std::string& text, bool redraw = true) override;
};

// Progress sink to use when a caller passed none.
inline CQnProgress& ProgressOrSilent(CQnProgress* p) { return p ? *p : CQnProgress::Silent(); }

#pragma once
// Base of every picture codec. A codec is a process-wide singleton that holds the stream,
// picture and progress sink of one operation between a front end's entry and exit.
// Front ends (ReadFile, ReadStream, PingStream, WriteFile, WriteStream) return 1 or 0 and
// never let an exception out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/progress.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

class CGraphicsCodec {
public:
    CGraphicsCodec(const char* shortName, const char* description, const char* filter);
    virtual ~CGraphicsCodec() = default;
    CGraphicsCodec(const CGraphicsCodec&) = delete;
    CGraphicsCodec& operator=(const CGraphicsCodec&) = delete;

    // Operations a codec implements, in this order.
    // Write m_picture to m_stream; 1 on success. The base is read-only and returns 0.
    virtual int Write();
    // Read m_stream into m_picture; 1 on success, 0 or an exception on foreign or damaged data.
    // With m_picture null the reader only probes (fills the m_ping* fields and m_infoText).
    virtual int Read();
    // Probe the header; 1 when the stream is of this format. The base runs Read without a
    // target picture.
    virtual int Ping();
    // Whether Write accepts a picture reduced to `bits` (0 = the picture's own depth).
    virtual bool CanWriteDepth(int bits) const;
    virtual bool HasWriteOption() const;
    // Quality of the next writes for codecs that have one (the JPEG encoder, 1..100); the
    // others ignore it.
    virtual void SetQuality(int quality);

    // Recognition by content. Most formats open with a signature; those that do not (Targa,
    // MacPaint, CUT) answer false and are tried only when no known signature matches, since
    // their header checks alone would take foreign data for a picture.
    virtual bool HasSignature() const { return true; }
    // Whether `head`, the first bytes of a file (kSignatureBytes, fewer for a shorter file),
    // carries this format's signature. The base matches nothing.
    virtual bool MatchesSignature(const uint8_t* head, size_t size) const;
    static constexpr size_t kSignatureBytes = 64;

    // Whether Write brings the picture to `bits` itself, so that WriteStream must not reduce
    // its colours first (the grey map writer: a reduction would only dither it).
    virtual bool ReducesItself(int bits) const;
    // Files Write puts beside the picture at `path` (the CUT palette); they travel with it.
    virtual std::vector<std::string> CompanionFiles(const std::string& path) const;

    int ReadFile(const std::string& path, CPicture* picture, CQnProgress* progress);
    int ReadStream(CGraphicsStream& stream, CPicture* picture, CQnProgress* progress);
    int PingStream(CGraphicsStream& stream, int* width, int* height, int* bits, std::string* infoText);
    int WriteFile(const std::string& path, CPicture* picture, int bits, bool option, CQnProgress* progress);
    int WriteStream(CGraphicsStream& stream, CPicture* picture, int bits, bool option, CQnProgress* progress);

    const std::string& ShortName() const { return m_shortName; }
    const std::string& Description() const { return m_description; }
    const std::string& Filter() const { return m_filter; }
    const std::string& InfoText() const { return m_infoText; }
    void SetFilter(const std::string& filter) { m_filter = filter; }
    bool WriteOption() const { return m_writeOption; }

    // Whether this codec can do anything on this platform (the metafile codecs need GDI);
    // when not, the reason shown to the user.
    virtual bool IsAvailable() const { return true; }
    virtual std::string UnavailableReason() const { return {}; }

protected:
    CQnProgress& Progress() { return ProgressOrSilent(m_progress); }
    // Reports row `y` of `total` every 10 rows; throws EGraphicsAbort when cancelled.
    void ReportRow(int y);

    std::string m_shortName, m_description, m_filter;
    bool m_writeOption = true;
    CGraphicsStream* m_stream = nullptr;
    CPicture* m_picture = nullptr;
    CQnProgress* m_progress = nullptr;
    int m_pingWidth = 0, m_pingHeight = 0, m_pingBits = 0;
    std::string m_infoText;
};

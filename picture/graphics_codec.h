#pragma once
// Base of every picture codec. A codec is a process-wide singleton that holds the stream,
// picture and progress sink of one operation between a front end's entry and exit.
// Front ends (ReadFile, ReadStream, PingStream, WriteFile, WriteStream) return 1 or 0 and
// never let an exception out.
#include <string>

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

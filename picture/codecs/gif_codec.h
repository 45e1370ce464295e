#pragma once
// GIF 87a and 89a reader: the first image of the file with its local or global colour
// table, interlacing and the transparent colour of a graphic control extension. Read-only.
#include <cstdint>
#include <vector>

#include "picture/graphics_codec.h"

class CGifCodec : public CGraphicsCodec {
public:
    CGifCodec();

    int Read() override;
    int Ping() override;
    bool MatchesSignature(const uint8_t* head, size_t size) const override;

private:
    bool ReadSignature();
    void ReadScreen();
    // Walks the blocks up to the first image descriptor; false at the trailer.
    bool FindImage();
    void SkipSubBlocks();
    void ReadOrFail(void* buffer, size_t n, bool corrupt);
    int ReadImage();
    void StorePixels(const uint8_t* indices, bool interlaced);

    std::vector<uint8_t> m_globalTable; // R, G, B per entry
    std::vector<uint8_t> m_table;       // the table in use
    int m_transparent = -1;
    unsigned m_width = 0, m_height = 0;
};

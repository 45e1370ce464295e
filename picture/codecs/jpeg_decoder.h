#pragma once
// The JPEG decoder: baseline, extended sequential and progressive Huffman streams of 1 or 3
// components with 8-bit samples, into a CPicture.
#include <array>
#include <cstdint>
#include <vector>

#include "base/cpu_features.h"
#include "picture/codecs/jpeg_bit_reader.h"
#include "picture/codecs/jpeg_huffman.h"

class CPicture;
class CQnProgress;

struct JpegComponent {
    int id = 0;
    int h = 1, v = 1;               // sampling factors
    int quantIndex = 0;
    std::array<uint16_t, 64> quantizer{}; // latched at the component's first scan, natural order
    bool quantizerLatched = false;
    int dcTable = 0, acTable = 0;
    int dcPredictor = 0;
    int blocksWide = 0, blocksHigh = 0;             // blocks covering the component's samples
    int paddedBlocksWide = 0, paddedBlocksHigh = 0; // blocks of all whole MCUs
    std::vector<int16_t> coefficients;              // 64 per block (whole-image mode)
    std::vector<uint8_t> rowSamples;                // one MCU row of samples
    // Samples per block across and down: 8, fewer in a reduced decode (where subsampled
    // chroma keeps more of its block, up to the output's own resolution).
    int blockWidth = 8, blockHeight = 8;
    int outH = 1, outV = 1; // sampling factors of the samples produced (h, v at full size)
    size_t RowStride() const { return static_cast<size_t>(paddedBlocksWide) * blockWidth; }
};

struct JpegScan {
    int count = 0;
    int components[3] = {}; // indexes into the frame's components
    int ss = 0, se = 63, ah = 0, al = 0;
};

class CJpegDecoder {
public:
    // `source` holds the whole stream; `picture` null reads only up to the frame header.
    CJpegDecoder(JpegSource& source, CPicture* picture, CQnProgress& progress);

    // Decodes at 1/denominator of each side (1, 2, 4 or 8; sizes rounded up) through reduced
    // inverse transforms. Call before Decode; 1 (the default) is the full-size decode.
    void SetReduction(int denominator);

    // Reads the stream. Throws EJpegError family members on bad data and EJpegAbort on cancel;
    // after any error but a cancel the picture already holds what was decoded.
    void Decode();

    bool HasFrame() const { return m_frameRead; }
    int Width() const { return m_width; }
    int OutputWidth() const { return m_outWidth; }
    int OutputHeight() const { return m_outHeight; }
    int Height() const { return m_height; }
    int ComponentCount() const { return static_cast<int>(m_components.size()); }

private:
    enum class Mode { Undecided, Streaming, WholeImage };

    void ParseStream();
    int NextMarker();
    size_t SegmentEnd();
    void ReadFrameHeader(bool progressive);
    void ReadHuffmanTables();
    void ReadQuantizationTables();
    void ReadRestartInterval();
    void ReadScanHeader();
    void CheckScanTables(const JpegScan& scan) const;
    void PrepareBuffers(const JpegScan& scan);

    void DecodeScan(const JpegScan& scan);
    template <typename BlockFn, typename RowFn>
    void ForEachDataUnit(const JpegScan& scan, BlockFn&& decodeBlock, RowFn&& rowDone);
    void RestartIfDue(const JpegScan& scan);
    void ReportRow(int row, int rows);

    // The block's DC coefficient from its difference to the component's predictor.
    void DecodeDcCoefficient(JpegComponent& c, JpegBits& bits, int16_t* block);
    void DecodeSequentialBlock(JpegComponent& c, int16_t* block);
    // For the 1/8 reduction: the DC term only, the AC terms skipped through m_acSkip.
    void DecodeSequentialBlockDcOnly(JpegComponent& c, int16_t* block);
    void BuildAcSkipTables(const JpegScan& scan);
    void DecodeDcFirst(JpegComponent& c, int16_t* block, int al);
    void DecodeDcRefine(int16_t* block, int al);
    void DecodeAcFirst(JpegComponent& c, int16_t* block, const JpegScan& scan);
    void DecodeAcRefine(JpegComponent& c, int16_t* block, const JpegScan& scan);

    int16_t* CoefficientBlock(JpegComponent& c, int blockRow, int blockCol);
    void TransformMcuRowFromCoefficients(int mcuRow);
    void InverseTransform(const int16_t* block, const JpegComponent& c, uint8_t* out) const;
    // Row-by-row decode: a block's samples at `out`, through StreamedBlock's slot. With
    // m_pairStreamed a block waits for its right-hand neighbour so that the two take the paired
    // transform; FlushStreamedBlocks transforms any still waiting (before a row is written).
    int16_t* StreamedBlock(size_t component)
    {
        StreamedBlocks& s = m_streamed[m_pairStreamed ? component : 0];
        return s.blocks[s.waiting ^ 1];
    }
    void TransformStreamedBlock(size_t component, const JpegComponent& c, uint8_t* out);
    void FlushStreamedBlocks();
    void WriteMcuRow(int mcuRow);
    void FinishPicture();
    void ReleaseBuffers();

    JpegSource& m_source;
    JpegBitReader m_bits;
    CPicture* m_picture;
    CQnProgress& m_progress;

    std::array<std::array<uint16_t, 64>, 4> m_quant{};
    std::array<bool, 4> m_quantDefined{};
    std::array<JpegHuffmanDecodeTable, 4> m_dcTables;
    std::array<JpegHuffmanDecodeTable, 4> m_acTables;

    bool m_frameRead = false;
    bool m_progressive = false;
    int m_width = 0, m_height = 0;
    int m_hMax = 1, m_vMax = 1;
    int m_mcuWidth = 8, m_mcuHeight = 8, m_mcuCols = 0, m_mcuRows = 0;
    // The picture written: the frame's size, or 1/m_reduction of it.
    int m_reduction = 1, m_blockSize = 8;
    int m_outWidth = 0, m_outHeight = 0, m_outMcuHeight = 8;
    // Per AC table, by the next kLookBits bits: (bits to skip << 8) | positions to advance
    // (0: end of block) for a code and its value bits that fit; 0 sends to the full walk.
    std::array<std::array<uint16_t, 1 << JpegHuffmanDecodeTable::kLookBits>, 4> m_acSkip{};
    std::vector<JpegComponent> m_components;

    Mode m_mode = Mode::Undecided;
    int m_restartInterval = 0;
    int m_restartsToGo = 0;
    int m_expectedRestart = 0;
    int m_eobRun = 0;
    std::array<int16_t, 64> m_paddingBlock{}; // see CoefficientBlock
    bool m_afterScan = false;
    bool m_endOfImage = false;
    std::vector<uint8_t> m_upsampled[3]; // one picture row per component
    bool m_chromaOffsetsUsable = false;  // see WriteMcuRow
    std::vector<int16_t> m_chromaOffsets; // blue, green, red offsets per chroma sample
    int m_offsetsRow = -1;
    const SimdLevel m_simd = ActiveSimdLevel(); // vector paths of the pixel stages
    // Blocks of the row-by-row decode per component: one being decoded, one perhaps waiting
    // for its neighbour (m_pairStreamed: AVX2 and every component's blocks full-size).
    struct StreamedBlocks {
        alignas(32) int16_t blocks[2][64] = {};
        uint8_t* waitingOut = nullptr; // the waiting block's samples; null: none waits
        int waiting = 0;               // its slot
    };
    std::array<StreamedBlocks, 3> m_streamed{};
    bool m_pairStreamed = false;
};

#include "filetools/common/drop_files_block.h"

namespace {
void PutLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
} // namespace

std::vector<uint8_t> BuildDropFilesBlock(const std::vector<std::string>& paths, int32_t dropX, int32_t dropY)
{
    std::vector<uint8_t> block(kDropFilesHeaderSize, 0); // both flags stay zero
    PutLittleEndian(block, 0, kDropFilesHeaderSize);
    PutLittleEndian(block, 4, static_cast<uint32_t>(dropX));
    PutLittleEndian(block, 8, static_cast<uint32_t>(dropY));
    for (const std::string& path : paths) {
        block.insert(block.end(), path.begin(), path.end());
        block.push_back(0);
    }
    block.push_back(0);
    return block;
}

#pragma once
// The bytes of a drop-file block (the clipboard's and drag and drop's CF_HDROP format): a
// 20-byte header (offset of the file list, the drop point, a zero non-client flag and a zero
// wide-character flag), then each path with its closing zero byte, then one more zero byte.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint32_t kDropFilesHeaderSize = 20;

std::vector<uint8_t> BuildDropFilesBlock(const std::vector<std::string>& paths, int32_t dropX, int32_t dropY);

#pragma once
// The JPEG writer's earlier, plain form, kept by the tests as the reference for its output.
#include <cstdint>
#include <vector>

class CPicture;

// The complete file the earlier writer produced for `picture` at `quality` (1..100).
std::vector<uint8_t> ReferenceJpegEncode(const CPicture& picture, int quality);

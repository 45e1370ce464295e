#pragma once
// Pieces shared by the image editor's file formats (picture block, sprite, composition):
// the result codes, the 26-byte signature field with the version after it, and
// little-endian field access on header buffers.
#include <cstdint>
#include <cstring>

// Results of the block, sprite and composition readers and writers.
constexpr int kZephraOk = 1;
constexpr int kZephraFailed = 0;          // cancelled, damaged or not writable
constexpr int kZephraWrongSignature = -1;
constexpr int kZephraTooNew = -2;

constexpr size_t kZephraSignatureField = 26;
constexpr uint16_t kZephraVersion = 1;

namespace zephra {

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Get32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void Put16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

// The signature field holds a zero-terminated, zero-padded text.
inline void PutSignature(uint8_t* header, const char* signature)
{
    std::memset(header, 0, kZephraSignatureField);
    std::memcpy(header, signature, std::strlen(signature));
}

// kZephraOk, kZephraWrongSignature or kZephraTooNew for a header starting with a signature
// field and the 16-bit version.
inline int CheckSignature(const uint8_t* header, const char* signature)
{
    const size_t length = std::strlen(signature);
    if (std::memcmp(header, signature, length) != 0 || header[length] != 0)
        return kZephraWrongSignature;
    return Get16(header + kZephraSignatureField) > kZephraVersion ? kZephraTooNew : kZephraOk;
}

} // namespace zephra

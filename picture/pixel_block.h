#pragma once
// One zero-initialised block of memory for a picture's pixels. In the Windows build it is a
// movable global memory block (kept locked while owned), so it can go to the clipboard and to
// GDI unchanged; natively it is plain heap memory.
#include <cstddef>
#include <cstdint>
#include <utility>

class PixelBlock {
public:
    PixelBlock() = default;
    ~PixelBlock() { Free(); }
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;

    // Frees what is held, then allocates `size` zeroed bytes; false when that fails.
    bool Allocate(size_t size);
    void Free();
    void Swap(PixelBlock& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_handle, other.m_handle);
    }

    uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    bool Empty() const { return m_data == nullptr; }

    // The platform handle (an HGLOBAL in the Windows build, null natively).
    void* Handle() const { return m_handle; }
    // Gives up ownership: the block stays allocated and unlocked and the handle is returned
    // (Windows: for SetClipboardData). Natively this copies nothing and returns null.
    void* Release();

private:
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    void* m_handle = nullptr;
};

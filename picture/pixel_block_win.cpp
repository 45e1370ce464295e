#include "picture/pixel_block.h"

#include <windows.h>

bool PixelBlock::Allocate(size_t size)
{
    Free();
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
    if (!handle)
        return false;
    void* data = GlobalLock(handle);
    if (!data) {
        GlobalFree(handle);
        return false;
    }
    m_handle = handle;
    m_data = static_cast<uint8_t*>(data);
    m_size = size;
    return true;
}

void PixelBlock::Free()
{
    if (m_handle) {
        GlobalUnlock(m_handle);
        GlobalFree(m_handle);
    }
    m_handle = nullptr;
    m_data = nullptr;
    m_size = 0;
}

void* PixelBlock::Release()
{
    void* handle = m_handle;
    if (handle)
        GlobalUnlock(handle);
    m_handle = nullptr;
    m_data = nullptr;
    m_size = 0;
    return handle;
}

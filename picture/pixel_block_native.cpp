#include "picture/pixel_block.h"

#include <cstdlib>

bool PixelBlock::Allocate(size_t size)
{
    Free();
    m_data = static_cast<uint8_t*>(std::calloc(size ? size : 1, 1));
    if (!m_data)
        return false;
    m_size = size;
    return true;
}

void PixelBlock::Free()
{
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

void* PixelBlock::Release()
{
    Free();
    return nullptr;
}

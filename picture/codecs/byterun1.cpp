#include "picture/codecs/byterun1.h"

#include <algorithm>
#include <cstring>

namespace byterun1 {

void Encode(const uint8_t* src, size_t n, std::vector<uint8_t>& out)
{
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && src[i + run] == src[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(257 - run)); // -(run - 1)
            out.push_back(src[i]);
            i += run;
            continue;
        }
        // Literal stretch: up to the next run of three equal bytes, at most 128 bytes.
        size_t start = i;
        while (i < n && i - start < 128) {
            if (i + 2 < n && src[i] == src[i + 1] && src[i] == src[i + 2])
                break;
            ++i;
        }
        out.push_back(static_cast<uint8_t>(i - start - 1));
        out.insert(out.end(), src + start, src + i);
    }
}

bool Decode(const uint8_t*& src, const uint8_t* end, uint8_t* dst, size_t n)
{
    size_t produced = 0;
    while (produced < n) {
        if (src >= end)
            return false;
        const int control = static_cast<int8_t>(*src++);
        if (control >= 0) {
            const size_t count = static_cast<size_t>(control) + 1;
            if (static_cast<size_t>(end - src) < count)
                return false;
            const size_t take = std::min(count, n - produced);
            std::memcpy(dst + produced, src, take);
            src += count;
            produced += take;
        } else if (control != -128) {
            if (src >= end)
                return false;
            const size_t count = static_cast<size_t>(1 - control);
            const size_t take = std::min(count, n - produced);
            std::memset(dst + produced, *src++, take);
            produced += take;
        }
    }
    return true;
}

} // namespace byterun1

#include "picture/codecs/packbits_coder.h"

#include <algorithm>
#include <cstring>

namespace rastercodec {

UnpackResult UnpackBits(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize)
{
    size_t i = 0, o = 0;
    while (o < outSize && i < inSize) {
        const int n = static_cast<int8_t>(in[i++]);
        if (n >= 0) {
            size_t count = std::min<size_t>({size_t(n) + 1, inSize - i, outSize - o});
            std::memcpy(out + o, in + i, count);
            i += size_t(n) + 1 <= inSize - i ? size_t(n) + 1 : inSize - i;
            o += count;
        } else if (n != -128) {
            if (i >= inSize)
                break;
            const size_t count = std::min<size_t>(size_t(1 - n), outSize - o);
            std::memset(out + o, in[i++], count);
            o += count;
        }
    }
    return {o, i};
}

void PackBits(const uint8_t* in, size_t n, std::vector<uint8_t>& out)
{
    size_t i = 0;
    while (i < n) {
        // Length of the run of equal bytes starting here (at most 128).
        size_t run = 1;
        while (i + run < n && run < 128 && in[i + run] == in[i])
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(1 - int(run)));
            out.push_back(in[i]);
            i += run;
            continue;
        }
        // Literal stretch: up to the next run of two equal bytes, at most 128 bytes.
        size_t start = i, count = 0;
        while (i < n && count < 128 && !(i + 1 < n && in[i + 1] == in[i])) {
            ++i;
            ++count;
        }
        out.push_back(static_cast<uint8_t>(count - 1));
        out.insert(out.end(), in + start, in + start + count);
    }
}

} // namespace rastercodec

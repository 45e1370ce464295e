// Runs the format recognition on the rest of the input, under the extension the first byte
// chooses (a codec's short name or none), in probe mode and in read mode; a read must be by
// the codec the probe named.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "picture/codec_registry.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int choice = data[0] % (GetCodecCount() + 1);
    const std::string path = choice < GetCodecCount() ? "fuzz." + g_pictureCodecs[choice]->ShortName() : "fuzz";
    CGraphicsStream stream;
    stream.OpenMemory(data + 1, size - 1);
    int width = 0, height = 0, bits = 0;
    CGraphicsCodec* probed = RecognisePicture(stream, path, nullptr, nullptr, &width, &height, &bits);
    CPicture picture;
    CGraphicsCodec* read = RecognisePicture(stream, path, &picture, nullptr);
    if (read && read != probed)
        std::abort();
    CodecBySignature(stream);
    return 0;
}

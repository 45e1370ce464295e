// Feeds arbitrary bytes to the PCX reader (probe, then read), and writes back what it read.
#include "fuzz/codec_round_trip.h"
#include "picture/codecs/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return FuzzCodecRoundTrip(PcxCodec(), data, size);
}

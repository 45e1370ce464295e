// Writes the photo set of the batch benchmark: N photo-like JPEG files (4:2:0, quality 85,
// written by libjpeg-turbo), each from its own seed, so the same command always gives the same
// files. Usage: make_batch_photos FOLDER [COUNT [WIDTH HEIGHT]]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "libjpeg_reference.h"
#include "synthetic_photo.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_batch_photos FOLDER [COUNT [WIDTH HEIGHT]]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 50;
    const int width = argc > 4 ? std::atoi(argv[3]) : 1600;
    const int height = argc > 4 ? std::atoi(argv[4]) : 1200;
    if (count <= 0 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "make_batch_photos: bad count or size\n");
        return 2;
    }
    LibjpegEncodeOptions options;
    options.quality = 85;
    for (int i = 0; i < count; ++i) {
        const std::vector<uint8_t> bytes = LibjpegEncode(MakePhotoLike(width, height, 500 + uint32_t(i)), options);
        char name[32];
        std::snprintf(name, sizeof name, "/photo%03d.jpg", i);
        const std::string path = folder + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            std::fprintf(stderr, "make_batch_photos: cannot write %s\n", path.c_str());
            if (file)
                std::fclose(file);
            return 1;
        }
        if (std::fclose(file) != 0) {
            std::fprintf(stderr, "make_batch_photos: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

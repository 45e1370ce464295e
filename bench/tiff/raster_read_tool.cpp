// Reads one picture file with the codec named by its extension; exit code 0 on success.
#include <cstdio>

#include "picture/codec_registry.h"
#include "picture/picture.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    CPicture picture;
    if (!LoadPicture(argv[1], &picture, nullptr))
        return 1;
    std::printf("%dx%d %d bits\n", picture.Width(), picture.Height(), picture.BitsPerPixel());
    return 0;
}

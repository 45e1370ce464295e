#include "libjpeg_reference.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void ExitByJump(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void Silent(j_common_ptr, int) {}
} // namespace

std::vector<uint8_t> LibjpegEncode(const RgbImage& image, const LibjpegEncodeOptions& options)
{
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ExitByJump;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row(size_t(image.width) * 3);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    if (options.grey) {
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    } else {
        info.comp_info[0].h_samp_factor = options.hSampling;
        info.comp_info[0].v_samp_factor = options.vSampling;
        for (int c = 1; c < 3; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    }
    if (options.progressive)
        jpeg_simple_progression(&info);
    info.optimize_coding = options.optimize ? TRUE : FALSE;
    info.restart_in_rows = options.restartRows;
    info.restart_interval = JDIMENSION(options.restartBlocks);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < image.width * 3; ++x)
            row[size_t(x)] = image.At(x / 3, int(info.next_scanline), x % 3);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

bool LibjpegDecode(const std::vector<uint8_t>& jpeg, RgbImage& image)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ExitByJump;
    errors.base.emit_message = Silent;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    image.width = int(info.output_width);
    image.height = int(info.output_height);
    image.channels = int(info.output_components);
    image.data.resize(size_t(image.width) * image.height * image.channels);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {image.data.data() + size_t(info.output_scanline) * image.width * image.channels};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

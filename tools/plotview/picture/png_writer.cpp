// SavePng of plot_image.h, through libpng.
#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "picture/plot_image.h"

namespace plot {
namespace {

// libpng reports errors by a jump back to the set-up point; nothing with a
// destructor is made between there and the end of the writing.
bool WriteRows(std::FILE* file, const Image& image, std::vector<png_byte>& row,
               std::string* pError) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        *pError = "out of memory for the PNG writer";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        *pError = "the PNG writer failed";
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Plots are mostly white paper and flat colours: the fastest deflate
    // with the "sub" filter packs them almost as tight as the slow settings.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        const uint32_t* pixels = image.pixels.data() + size_t(y) * size_t(image.width);
        for (int x = 0; x < image.width; ++x) {
            row[size_t(x) * 3] = png_byte(RedOf(pixels[x]));
            row[size_t(x) * 3 + 1] = png_byte(GreenOf(pixels[x]));
            row[size_t(x) * 3 + 2] = png_byte(BlueOf(pixels[x]));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool SavePng(const Image& image, const std::string& path, std::string* pError) {
    if (image.Empty()) {
        *pError = "empty image";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *pError = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<png_byte> row(size_t(image.width) * 3);
    bool ok = WriteRows(file, image, row, pError);
    if (std::fclose(file) != 0 && ok) {
        *pError = "cannot write " + path + ": " + std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        if (pError->find(path) == std::string::npos) *pError += " writing " + path;
        // Only a file of ours goes: the target may be a device.
        struct stat st {};
        if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) std::remove(path.c_str());
    }
    return ok;
}

}  // namespace plot

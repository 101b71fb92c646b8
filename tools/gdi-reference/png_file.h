// PNG files of a 32-bit DIB section's pixels, written with zlib: an indexed
// picture when the pixels use at most 256 colours (GDI draws without
// antialiasing, so drawings usually do), else 8-bit RGB.
#pragma once

#include <cstdint>
#include <string>

// pixels: width x height pixels of 4 bytes (blue, green, red, unused), rows
// top to bottom. False with *error set when the file cannot be written.
bool WritePng(const std::string& path, const uint8_t* pixels, int width, int height,
              std::string* error);

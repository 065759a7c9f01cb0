// Minimal PNG writer (stored deflate blocks): screenshots need no image library.
#ifndef ZELMAR_TESTS_PNG_H
#define ZELMAR_TESTS_PNG_H

#include <cstdint>
#include <string>
#include <vector>

// rgb: width*height pixels, 3 bytes each (R, G, B), top row first.
bool png_write(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

#endif

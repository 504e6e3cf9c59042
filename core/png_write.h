// Writes 8-bit RGBA or RGB pixel buffers as PNG files through libpng.
#pragma once
#include <cstdint>
#include <string>

// rows are top to bottom, `stride` bytes apart; channels is 3 (RGB) or 4 (RGBA).
// Returns true when the whole file was written. The output is byte-identical
// for identical input (no timestamps or text chunks are written).
// The same PNG file's bytes, in memory.
bool encode_png(const uint8_t* pixels, int width, int height, int stride, int channels, std::string& bytes);
bool write_png(const std::string& host_path, const uint8_t* pixels, int width, int height,
               int stride, int channels);

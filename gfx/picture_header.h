// Reads the declared size of a PNG, BMP, GIF, PCX or PNM picture from its
// first bytes, so a file that claims an enormous size can be refused before
// the decoder allocates (and clears) memory for it.
#pragma once
#include <cstddef>

// True with `w` and `h` when the bytes start one of those headers; false for
// other formats or too few bytes. BMP heights may be negative (top-down
// rows): `h` is then their magnitude.
bool declared_picture_size(const unsigned char* bytes, size_t n, long long& w, long long& h);

// Reads the start of the data file `path` and applies the above.
bool declared_picture_size_of_file(const char* path, long long& w, long long& h);

// True when the data file `path` is a PNG one of whose chunks claims to run
// past the end of the file. Given such a chunk (a few bytes can claim 2 GB)
// the PNG reader checksums data that isn't there for minutes.
bool png_chunk_runs_past_end(const char* path);

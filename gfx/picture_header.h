// Reads the declared size of a picture from its header, so a file that claims
// an enormous size can be refused before the decoder allocates (and clears,
// and fills) memory for it.
#pragma once
#include <cstddef>

// True with `w` and `h` when the bytes start one of those headers; false for
// other formats or too few bytes. BMP heights may be negative (top-down
// rows): `h` is then their magnitude.
bool declared_picture_size(const unsigned char* bytes, size_t n, long long& w, long long& h);

// More scans than any real JPEG uses: each one is a pass over every block.
constexpr long long max_picture_scans = 100;

// What a picture file's header says before any decoder sees it. Decoders
// allocate, clear and fill what a header claims, so the game hands them only
// the formats whose size it has read here.
struct picture_header {
  bool opened = false;             // the file could be read
  bool size_known = false;         // `w` and `h` hold the size the decoder will make
  long long w = 0, h = 0;
  const char* refusal = nullptr;   // why the file must not be decoded (opened files only)
};
picture_header read_picture_header(const char* path);

// The size `read_picture_header` reads, when it reads one.
bool declared_picture_size_of_file(const char* path, long long& w, long long& h);

// Why the data file `path`, a PNG, must not reach the PNG reader, or nullptr.
// The reader takes a short read for data: given a chunk that claims to run past
// the end (a few bytes can claim 2 GB) it checksums data that isn't there for
// minutes, and given a file cut short before its IEND chunk it reads for ever.
const char* png_structure_refusal(const char* path);

#include "gfx/picture_decode.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// The GIF decoder takes a failed read inside an extension's blocks for one
// more block and asks again, for ever. A file cut short gets it there, and so
// does a broken image, after which it reads on through the picture data as if
// it were extensions. So a GIF is decoded from a copy followed by zeros: past
// the real end every block is empty, which ends each of its loops, and reads
// after the zeros fail, which ends the search for an image. More than one
// block (at most 255 bytes) and its count.
constexpr size_t gif_padding = 1024;

}  // namespace

SDL_Surface* decode_picture_file(const std::string& host_path) {
  std::ifstream in(host_path, std::ios::binary);
  char magic[4] = {};
  if (!in.read(magic, 4) || std::memcmp(magic, "GIF8", 4) != 0) return IMG_Load(host_path.c_str());
  in.seekg(0);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bytes.resize(bytes.size() + gif_padding, 0);
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!rw) return nullptr;
  return IMG_Load_RW(rw, 1);
}

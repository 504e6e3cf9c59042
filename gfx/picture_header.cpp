#include "gfx/picture_header.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>

#include "core/data_path.h"

namespace {

long long be32(const unsigned char* p) {
  return (static_cast<long long>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

long long le32_signed(const unsigned char* p) {
  const unsigned long v = static_cast<unsigned long>(p[0]) | (static_cast<unsigned long>(p[1]) << 8) |
                          (static_cast<unsigned long>(p[2]) << 16) | (static_cast<unsigned long>(p[3]) << 24);
  return static_cast<long long>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}

long long le16(const unsigned char* p) { return p[0] | (p[1] << 8); }

}  // namespace

bool declared_picture_size(const unsigned char* b, size_t n, long long& w, long long& h) {
  static const unsigned char png_magic[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (n >= 24 && std::memcmp(b, png_magic, 8) == 0) {
    w = be32(b + 16);  // IHDR is the first chunk
    h = be32(b + 20);
    return true;
  }
  if (n >= 26 && b[0] == 'B' && b[1] == 'M') {
    const long long header_size = le32_signed(b + 14);
    if (header_size == 12) {  // the old OS/2 header: 16-bit sizes
      w = le16(b + 18);
      h = le16(b + 20);
    } else {
      w = le32_signed(b + 18);
      h = le32_signed(b + 22);
    }
    if (w < 0) w = -w;
    if (h < 0) h = -h;
    return true;
  }
  if (n >= 10 && std::memcmp(b, "GIF8", 4) == 0) {
    w = le16(b + 6);
    h = le16(b + 8);
    return true;
  }
  if (n >= 12 && b[0] == 0x0A && b[1] <= 5 && b[2] == 1) {  // PCX: manufacturer, version, run-length coding
    w = le16(b + 8) - le16(b + 4) + 1;
    h = le16(b + 10) - le16(b + 6) + 1;
    if (w < 0) w = -w;
    if (h < 0) h = -h;
    return true;
  }
  if (n >= 3 && b[0] == 'P' && b[1] >= '1' && b[1] <= '6') {  // PNM: "P6 640 480 ..." in text
    long long dims[2] = {0, 0};
    size_t at = 2;
    for (long long& d : dims) {
      while (at < n && (b[at] == ' ' || b[at] == '\t' || b[at] == '\r' || b[at] == '\n')) ++at;
      if (at >= n || b[at] < '0' || b[at] > '9') return false;  // comments or too short: the decoder decides
      while (at < n && b[at] >= '0' && b[at] <= '9' && d < (1LL << 40)) d = d * 10 + (b[at++] - '0');
    }
    w = dims[0];
    h = dims[1];
    return true;
  }
  return false;
}

bool declared_picture_size_of_file(const char* path, long long& w, long long& h) {
  SDL_RWops* rw = open_data_rw(path, "rb", data_kind::picture, false);  // img_mgr::load reports a refusal
  if (!rw) return false;
  unsigned char start[64];
  const int n = SDL_RWread(rw, start, 1, sizeof start);
  SDL_RWclose(rw);
  return n > 0 && declared_picture_size(start, static_cast<size_t>(n), w, h);
}

bool png_chunk_runs_past_end(const char* path) {
  SDL_RWops* rw = open_data_rw(path, "rb", data_kind::picture, false);
  if (!rw) return false;
  const long long size = SDL_RWseek(rw, 0, RW_SEEK_END);
  unsigned char head[8];
  bool past_end = false;
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (size >= 8 && SDL_RWseek(rw, 0, RW_SEEK_SET) == 0 && SDL_RWread(rw, head, 1, 8) == 8 &&
      std::memcmp(head, signature, 8) == 0) {
    long long at = 8;
    while (at + 8 <= size) {
      if (SDL_RWseek(rw, at, RW_SEEK_SET) != at || SDL_RWread(rw, head, 1, 8) != 8) break;
      const long long length = (static_cast<long long>(head[0]) << 24) | (head[1] << 16) | (head[2] << 8) | head[3];
      if (at + 12 + length > size) {
        past_end = true;
        break;
      }
      if (std::memcmp(head + 4, "IEND", 4) == 0) break;
      at += 12 + length;
    }
  }
  SDL_RWclose(rw);
  return past_end;
}

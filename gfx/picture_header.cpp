#include "gfx/picture_header.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

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
      while (at < n && (b[at] == ' ' || b[at] == '\t' || b[at] == '\r' || b[at] == '\n' || b[at] == '#')) {
        if (b[at] == '#') {
          while (at < n && b[at] != '\n') ++at;  // a comment runs to the end of its line
        } else {
          ++at;
        }
      }
      if (at >= n || b[at] < '0' || b[at] > '9') return false;  // too short to tell
      while (at < n && b[at] >= '0' && b[at] <= '9' && d < (1LL << 40)) d = d * 10 + (b[at++] - '0');
    }
    w = dims[0];
    h = dims[1];
    return true;
  }
  return false;
}

namespace {

long long be16(const unsigned char* p) { return (p[0] << 8) | p[1]; }
long long le32(const unsigned char* p) { return le32_signed(p) & 0xFFFFFFFFLL; }
long long le24(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16); }

bool starts_with(const std::vector<unsigned char>& b, const char* magic, size_t n) {
  return b.size() >= n && std::memcmp(b.data(), magic, n) == 0;
}

// Reads up to `limit` bytes from where `rw` stands.
std::vector<unsigned char> read_up_to(SDL_RWops* rw, size_t limit) {
  std::vector<unsigned char> bytes(limit);
  size_t got = 0;
  while (got < limit) {
    const int n = SDL_RWread(rw, bytes.data() + got, 1, static_cast<int>(std::min<size_t>(limit - got, 1 << 16)));
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

// A TIFF keeps its size in its first directory, which may lie anywhere in the
// file. Every width and length entry counts: the largest is the claim.
bool tiff_size(SDL_RWops* rw, const std::vector<unsigned char>& head, long long& w, long long& h) {
  const bool little = head[0] == 'I';
  auto u16 = [little](const unsigned char* p) { return little ? le16(p) : be16(p); };
  auto u32 = [little](const unsigned char* p) { return little ? le32(p) : be32(p); };
  const long long directory = u32(head.data() + 4);
  unsigned char count_bytes[2];
  if (SDL_RWseek(rw, static_cast<int>(directory), RW_SEEK_SET) != directory || SDL_RWread(rw, count_bytes, 1, 2) != 2) {
    return false;
  }
  const long long count = std::min<long long>(u16(count_bytes), 4096);
  const std::vector<unsigned char> entries = read_up_to(rw, static_cast<size_t>(count) * 12);
  w = h = -1;
  for (size_t at = 0; at + 12 <= entries.size(); at += 12) {
    const unsigned char* e = entries.data() + at;
    const long long tag = u16(e), type = u16(e + 2);
    if (tag != 256 && tag != 257) continue;
    long long value;
    if (type == 3) {
      value = u16(e + 8);
    } else if (type == 4) {
      value = u32(e + 8);
    } else {
      return false;  // a size in a form the check doesn't read
    }
    long long& side = tag == 256 ? w : h;
    side = std::max(side, value);
  }
  return w >= 0 && h >= 0;
}

// Walks a JPEG's segments to its frame header, counting the scans on the way:
// each scan of a progressive picture is a pass over every block, so a small
// file of many empty scans keeps the decoder busy for minutes.
bool jpeg_size(const std::vector<unsigned char>& b, long long& w, long long& h, long long& scans) {
  w = h = -1;
  scans = 0;
  size_t at = 2;
  while (at + 1 < b.size()) {
    if (b[at] != 0xFF) return w >= 0;
    while (at + 1 < b.size() && b[at + 1] == 0xFF) ++at;  // fill bytes
    if (at + 1 >= b.size()) break;
    const unsigned char marker = b[at + 1];
    at += 2;
    if (marker == 0xD9) break;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (at + 2 > b.size()) break;
    const size_t length = static_cast<size_t>(be16(&b[at]));
    if (length < 2 || at + length > b.size()) break;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && length >= 7) {
      h = std::max(h, be16(&b[at + 3]));
      w = std::max(w, be16(&b[at + 5]));
    }
    at += length;
    if (marker == 0xDA) {
      ++scans;
      // Coded data runs to the next marker that isn't a stuffed byte or a restart.
      while (at + 1 < b.size() &&
             !(b[at] == 0xFF && b[at + 1] != 0x00 && !(b[at + 1] >= 0xD0 && b[at + 1] <= 0xD7))) {
        ++at;
      }
    }
  }
  return w >= 0 && h >= 0;
}

// A GIF's decoder sizes its picture by the first image, not the screen the
// header declares: both count. The decoder steps over stray bytes to find that
// image, so this walk does too.
bool gif_size(const std::vector<unsigned char>& b, long long& w, long long& h) {
  if (b.size() < 13) return false;
  w = le16(&b[6]);
  h = le16(&b[8]);
  size_t at = 13;
  if (b[10] & 0x80) at += 3u << ((b[10] & 7) + 1);  // the global colour table
  while (at < b.size()) {
    if (b[at] == 0x3B) return true;  // the trailer before any image: the decoder refuses it
    if (b[at] == 0x2C) {
      if (at + 9 > b.size()) return false;
      const long long image_w = le16(&b[at + 5]), image_h = le16(&b[at + 7]);
      w = image_w == 0 || image_h == 0 ? 0 : std::max(w, image_w);  // an empty image crashes the decoder
      h = std::max(h, image_h);
      return true;
    }
    if (b[at] != 0x21) {
      ++at;
      continue;
    }
    at += 2;
    while (at < b.size() && b[at] != 0) at += b[at] + 1u;  // the extension's sub-blocks
    ++at;
  }
  return true;  // no image: the decoder refuses it
}

bool webp_size(const std::vector<unsigned char>& b, long long& w, long long& h) {
  if (b.size() < 30) return false;
  const unsigned char* chunk = b.data() + 12;
  if (std::memcmp(chunk, "VP8X", 4) == 0) {
    w = le24(b.data() + 24) + 1;
    h = le24(b.data() + 27) + 1;
    return true;
  }
  if (std::memcmp(chunk, "VP8 ", 4) == 0) {
    w = le16(b.data() + 26) & 0x3FFF;
    h = le16(b.data() + 28) & 0x3FFF;
    return true;
  }
  if (std::memcmp(chunk, "VP8L", 4) == 0) {
    const long long bits = le32(b.data() + 21);
    w = (bits & 0x3FFF) + 1;
    h = ((bits >> 14) & 0x3FFF) + 1;
    return true;
  }
  return false;
}

}  // namespace

picture_header read_picture_header(const char* path) {
  picture_header header;
  SDL_RWops* rw = open_data_rw(path, "rb", data_kind::picture, false);  // img_mgr::load reports a refusal
  if (!rw) return header;
  header.opened = true;
  std::vector<unsigned char> bytes = read_up_to(rw, 4096);
  long long w = -1, h = -1;
  bool known = false;
  const bool gif = starts_with(bytes, "GIF8", 4);
  if (gif || (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)) {
    if (bytes.size() == 4096) {  // what sizes the picture may lie past a large thumbnail or comment
      const std::vector<unsigned char> rest = read_up_to(rw, static_cast<size_t>(max_picture_file_bytes));
      bytes.insert(bytes.end(), rest.begin(), rest.end());
    }
  }
  if (gif) {
    known = gif_size(bytes, w, h);
  } else if (declared_picture_size(bytes.data(), bytes.size(), w, h)) {
    known = true;
  } else if (bytes.size() >= 8 && (starts_with(bytes, "II*\0", 4) || starts_with(bytes, "MM\0*", 4))) {
    known = tiff_size(rw, bytes, w, h);
  } else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
    long long scans = 0;
    known = jpeg_size(bytes, w, h, scans);
    if (known && scans > max_picture_scans) header.refusal = "a JPEG of more than 100 scans";
  } else if (starts_with(bytes, "RIFF", 4) && bytes.size() >= 12 && std::memcmp(bytes.data() + 8, "WEBP", 4) == 0) {
    known = webp_size(bytes, w, h);
    // The decoder allocates what the first chunk claims before reading it.
    if (bytes.size() >= 20 && 20 + le32(bytes.data() + 16) > SDL_RWseek(rw, 0, RW_SEEK_END)) {
      header.refusal = "a WebP chunk runs past the end of the file";
    }
  } else {
    header.refusal = "not a picture format the game reads (PNG, BMP, GIF, PCX, PNM, JPEG, TIFF or WebP)";
  }
  SDL_RWclose(rw);
  if (known && (w < 1 || h < 1) && !header.refusal) header.refusal = "its header declares a picture of no pixels";
  if (known) {
    header.size_known = true;
    header.w = w;
    header.h = h;
  } else if (!header.refusal) {
    header.refusal = "its size can't be read from its header";
  }
  return header;
}

bool declared_picture_size_of_file(const char* path, long long& w, long long& h) {
  const picture_header header = read_picture_header(path);
  if (!header.size_known) return false;
  w = header.w;
  h = header.h;
  return true;
}

const char* png_structure_refusal(const char* path) {
  SDL_RWops* rw = open_data_rw(path, "rb", data_kind::picture, false);
  if (!rw) return nullptr;
  const long long size = SDL_RWseek(rw, 0, RW_SEEK_END);
  unsigned char head[8];
  const char* refusal = nullptr;
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (size >= 8 && SDL_RWseek(rw, 0, RW_SEEK_SET) == 0 && SDL_RWread(rw, head, 1, 8) == 8 &&
      std::memcmp(head, signature, 8) == 0) {
    long long at = 8;
    for (;;) {
      if (at + 8 > size || SDL_RWseek(rw, at, RW_SEEK_SET) != at || SDL_RWread(rw, head, 1, 8) != 8) {
        refusal = "the PNG ends before its IEND chunk";
        break;
      }
      if (at + 12 + be32(head) > size) {
        refusal = "a PNG chunk runs past the end of the file";
        break;
      }
      if (std::memcmp(head + 4, "IEND", 4) == 0) break;
      at += 12 + be32(head);
    }
  }
  SDL_RWclose(rw);
  return refusal;
}

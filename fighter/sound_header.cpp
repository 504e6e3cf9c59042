#include "fighter/sound_header.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/data_path.h"

namespace {

long long le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
long long le24(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16); }
long long le32(const unsigned char* p) { return le24(p) | (static_cast<long long>(p[3]) << 24); }

struct declared_sound {
  long long frames = 0;  // sample frames, summed over the file's blocks
  double rate = 0;       // the slowest rate declared
  const char* refusal = nullptr;
};

void add_block(declared_sound& d, long long frames, double rate) {
  d.frames += frames;
  if (d.rate == 0 || rate < d.rate) d.rate = rate;
}

declared_sound read_wav(const unsigned char* b, size_t n) {
  declared_sound d;
  long long tag = 1, channels = 1, rate = 0, align = 1, per_block = 1;
  for (size_t at = 12; at + 8 <= n;) {
    const long long size = le32(b + at + 4);
    const long long body = static_cast<long long>(at) + 8;
    const long long held = std::min<long long>(size, static_cast<long long>(n) - body);  // the loader reads what is there
    // ...into a buffer of the size the chunk claims.
    const bool read = !std::memcmp(b + at, "fmt ", 4) || !std::memcmp(b + at, "data", 4) || !std::memcmp(b + at, "fact", 4);
    if (read && size > max_sound_file_bytes) {
      d.refusal = "a WAV chunk claims more than a sound file may hold";
      return d;
    }
    if (std::memcmp(b + at, "fmt ", 4) == 0 && held >= 16) {
      tag = le16(b + body);
      channels = le16(b + body + 2);
      rate = le32(b + body + 4);
      align = le16(b + body + 12);
      const long long bits = le16(b + body + 14);
      if (tag == 0xFFFE && held >= 26) tag = le16(b + body + 24);  // the extensible form names its format
      if ((tag == 2 || tag == 0x11) && held >= 20) per_block = le16(b + body + 18);  // ADPCM
      // Plain samples come in frames of one sample a channel; the mixer copies
      // by the frame its format implies, past a buffer sized by another.
      const bool plain = tag == 1 || tag == 3 || tag == 6 || tag == 7;
      if (plain && align != channels * ((bits + 7) / 8)) {
        d.refusal = "a WAV whose block size doesn't match its channels and sample size";
        return d;
      }
    } else if (std::memcmp(b + at, "data", 4) == 0) {
      if (rate < 1 || channels < 1 || align < 1) return d;  // the loader refuses it
      if (rate < min_sound_rate) {
        d.refusal = "its sample rate is below 1000 Hz";
        return d;
      }
      const long long frames = tag == 2 || tag == 0x11 ? (held + align - 1) / align * per_block : held / align;
      add_block(d, frames, static_cast<double>(rate));
    }
    at = static_cast<size_t>(body + size + (size & 1));
    if (body + size > static_cast<long long>(n)) break;
  }
  return d;
}

// An Ogg Vorbis stream's first packet gives its rate; how long it decodes to
// can't be told from the header.
declared_sound read_ogg(const unsigned char* b, size_t n) {
  declared_sound d;
  static const unsigned char id[7] = {1, 'v', 'o', 'r', 'b', 'i', 's'};
  if (n < 28 + 16) return d;
  const unsigned char* packet = b + 27 + b[26];  // past the page's segment table
  if (packet + 16 > b + n || std::memcmp(packet, id, 7) != 0) return d;
  if (le32(packet + 12) < min_sound_rate) d.refusal = "its sample rate is below 1000 Hz";
  return d;
}

}  // namespace

const char* sound_refusal(const unsigned char* b, size_t n, long long out_rate, long long out_frame_bytes) {
  declared_sound d;
  if (n >= 12 && std::memcmp(b, "RIFF", 4) == 0 && std::memcmp(b + 8, "WAVE", 4) == 0) {
    d = read_wav(b, n);
  } else if (n >= 4 && std::memcmp(b, "OggS", 4) == 0) {
    d = read_ogg(b, n);
  } else {
    // The mixer reads more (AIFF, VOC, a WAV without its RIFF header), but its
    // readers of those loop for ever, divide by zero or allocate 4 GB on
    // broken files.
    return "not a sound format the game reads (WAV or Ogg)";
  }
  if (d.refusal) return d.refusal;
  if (d.frames == 0 || d.rate <= 0) return nullptr;
  // Converting stretches every frame by the ratio of the rates.
  const double converted = static_cast<double>(d.frames) * std::max(1.0, out_rate / d.rate) * out_frame_bytes;
  if (converted > static_cast<double>(max_converted_sound_bytes)) {
    return "its samples would take more than 64 MB once converted";
  }
  return nullptr;
}

const char* sound_file_refusal(SDL_RWops* rw) {
  if (!rw) return nullptr;
  std::vector<unsigned char> bytes;
  unsigned char chunk[65536];
  int got = 0;
  while (bytes.size() < static_cast<size_t>(max_sound_file_bytes) && (got = SDL_RWread(rw, chunk, 1, sizeof chunk)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  SDL_RWseek(rw, 0, RW_SEEK_SET);
  int rate = 22050, channels = 2;
  Uint16 format = AUDIO_S16SYS;
  if (!Mix_QuerySpec(&rate, &format, &channels)) {
    rate = 22050;
    channels = 2;
    format = AUDIO_S16SYS;
  }
  const long long frame_bytes = static_cast<long long>(channels) * ((format & 0xFF) / 8);
  return sound_refusal(bytes.data(), bytes.size(), rate, frame_bytes < 1 ? 4 : frame_bytes);
}

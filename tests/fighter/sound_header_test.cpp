// Sound files are read before the mixer sees them: what would make it hang,
// crash or spend gigabytes is refused with a reason, real sounds pass.
#include "fighter/sound_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "fighter/sound_effect.h"
#include "support/test_env.h"

namespace {

void put32(std::vector<unsigned char>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& b, uint16_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}

struct wav_shape {
  uint16_t channels = 1;
  uint32_t rate = 22050;
  uint16_t align = 2;
  uint16_t bits = 16;
  uint32_t frames = 100;
  uint32_t claimed_data = 0;  // 0: what the frames take
};

std::vector<unsigned char> wav(const wav_shape& s) {
  const uint32_t data = s.frames * s.align;
  std::vector<unsigned char> b = {'R', 'I', 'F', 'F'};
  put32(b, 36 + data);
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<unsigned char>(c));
  put32(b, 16);
  put16(b, 1);  // plain samples
  put16(b, s.channels);
  put32(b, s.rate);
  put32(b, s.rate * s.align);
  put16(b, s.align);
  put16(b, s.bits);
  for (char c : std::string("data")) b.push_back(static_cast<unsigned char>(c));
  put32(b, s.claimed_data ? s.claimed_data : data);
  b.resize(b.size() + data, 0x80);
  return b;
}

const char* refusal_of(const std::vector<unsigned char>& b) { return sound_refusal(b.data(), b.size(), 22050, 4); }

TEST(SoundHeader, RealSoundsPassAndHostileOnesAreRefusedWithAReason) {
  EXPECT_EQ(nullptr, refusal_of(wav({})));
  EXPECT_EQ(nullptr, refusal_of(wav({2, 44100, 4, 16, 1000})));
  EXPECT_EQ(nullptr, refusal_of(wav({1, 8000, 1, 8, 100000})));
  std::vector<unsigned char> cut = wav({});
  cut.resize(cut.size() - 50);  // a data chunk cut short still loads what it holds
  EXPECT_EQ(nullptr, refusal_of(cut));

  struct refused {
    std::vector<unsigned char> bytes;
    std::string reason;
  };
  std::vector<unsigned char> aiff = {'F', 'O', 'R', 'M', 0, 0, 0, 4, 'A', 'I', 'F', 'F'};
  std::vector<unsigned char> voc(40, 0);
  std::string("Creative Voice File\x1a").copy(reinterpret_cast<char*>(voc.data()), 20);
  std::vector<unsigned char> bare_wave = wav({});
  bare_wave.erase(bare_wave.begin(), bare_wave.begin() + 8);  // "WAVE" first, no RIFF header
  const refused cases[] = {
      {wav({1, 1, 2, 16, 1000}), "its sample rate is below 1000 Hz"},
      {wav({6, 22050, 4, 16, 10}), "a WAV whose block size doesn't match its channels and sample size"},
      {wav({1, 22050, 2, 16, 10, 0xFFFFFFF0u}), "a WAV chunk claims more than a sound file may hold"},
      // 800000 frames at 1000 Hz stretch to 70 MB of 22050 Hz 16-bit stereo.
      {wav({1, 1000, 1, 8, 800000}), "its samples would take more than 64 MB once converted"},
      {aiff, "not a sound format the game reads (WAV or Ogg)"},
      {voc, "not a sound format the game reads (WAV or Ogg)"},
      {bare_wave, "not a sound format the game reads (WAV or Ogg)"},
  };
  for (const refused& c : cases) {
    const char* reason = refusal_of(c.bytes);
    ASSERT_NE(nullptr, reason) << c.reason;
    EXPECT_EQ(c.reason, reason);
  }
}

// The game's loader and the data checker both go through the reading above.
TEST(SoundHeader, RefusedSoundLoadsNothingAndSaysWhy) {
  open_sound_mixer();
  const std::string path = make_temp_dir("sound_header") + "/slow.wav";
  {
    const std::vector<unsigned char> bytes = wav({1, 1, 2, 16, 1000});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }
  sound_effect effect;
  const std::string log = capture_stdout([&] { effect.load_sound(path.c_str()); });
  EXPECT_NE(std::string::npos, log.find("Mix_LoadWAV: its sample rate is below 1000 Hz")) << log;
  EXPECT_EQ(nullptr, effect.chunk);
}

}  // namespace

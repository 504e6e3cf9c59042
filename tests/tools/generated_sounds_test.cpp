// The generated sound effects: short, audible 16-bit mono PCM WAV files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "tree_reader.h"

namespace {
uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

std::set<std::string> sounds_named(const std::string& root) {
  std::set<std::string> out;
  for (const char* f : kFighters) {
    DataFile c = read_data_file(root, std::string("game\\fighter\\") + f + "_char.ini");
    for (int m = 0; m < c.num("moves"); ++m) {
      DataFile a = read_data_file(root, c.str("move" + std::to_string(m)));
      for (int i = 0; i < a.num("images"); ++i)
        if (a.has("sound" + std::to_string(i))) out.insert(a.str("sound" + std::to_string(i)));
    }
  }
  return out;
}

TEST(GeneratedSounds, AreShortAudibleMonoPcm) {
  std::string root = shared_tree();
  auto names = sounds_named(root);
  ASSERT_GE(names.size(), 5u);
  std::set<uint64_t> distinct;
  for (const auto& n : names) {
    SCOPED_TRACE(n);
    auto b = read_bytes(on_disk(root, n));
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(u32(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u16(b, 20), 1);  // PCM
    EXPECT_EQ(u16(b, 22), 1);  // mono
    EXPECT_EQ(u32(b, 24), 22050u);
    EXPECT_EQ(u16(b, 34), 16);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    uint32_t data = u32(b, 40);
    ASSERT_EQ(data + 44, b.size());
    double seconds = data / 2.0 / 22050.0;
    EXPECT_GT(seconds, 0.05);
    EXPECT_LT(seconds, 1.0);
    int peak = 0;
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 44; i + 1 < b.size(); i += 2) {
      peak = std::max(peak, std::abs(static_cast<int16_t>(u16(b, i))));
      h = (h ^ b[i]) * 1099511628211ull;
    }
    EXPECT_GT(peak, 8000) << "too quiet";
    // Starts and ends near silence, so playback does not click.
    EXPECT_LT(std::abs(static_cast<int16_t>(u16(b, 44))), 2000);
    EXPECT_LT(std::abs(static_cast<int16_t>(u16(b, b.size() - 2))), 2000);
    distinct.insert(h);
  }
  EXPECT_EQ(distinct.size(), names.size()) << "two effects sound the same";
}

}  // namespace

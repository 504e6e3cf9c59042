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

// The two music loops: mono 16-bit PCM, a few seconds each, a few hundred kB
// together, and seamless: no click where the last sample meets the first.
TEST(GeneratedSounds, MusicLoopsAreShortAndSeamless) {
  std::string root = shared_tree();
  const std::string files[] = {read_data_file(root, "game\\game.ini").str("music"),
                               read_data_file(root, "rsrc\\veltmoore\\stage_veltmoore.ini").str("music")};
  size_t total = 0;
  for (const std::string& n : files) {
    SCOPED_TRACE(n);
    ASSERT_FALSE(n.empty());
    auto b = read_bytes(on_disk(root, n));
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(u16(b, 22), 1);  // mono
    EXPECT_EQ(u16(b, 34), 16);
    const uint32_t data = u32(b, 40);
    ASSERT_EQ(data + 44, b.size());
    const double seconds = data / 2.0 / 22050.0;
    EXPECT_GT(seconds, 2.0);
    EXPECT_LT(seconds, 8.0);
    total += b.size();
    auto sample = [&](size_t i) { return static_cast<int16_t>(u16(b, 44 + 2 * i)); };
    const size_t count = data / 2;
    int peak = 0;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(static_cast<int>(sample(i))));
    EXPECT_GT(peak, 16000) << "too quiet";
    // The step across the loop point is no larger than the steps of the 32
    // samples on either side of it.
    int nearby_step = 0;
    for (size_t i = 1; i <= 32; ++i) {
      nearby_step = std::max(nearby_step, std::abs(sample(i) - sample(i - 1)));
      nearby_step = std::max(nearby_step, std::abs(sample(count - i) - sample(count - i - 1)));
    }
    EXPECT_LE(std::abs(sample(0) - sample(count - 1)), nearby_step);
  }
  EXPECT_LT(total, 512u * 1024u);
}

}  // namespace

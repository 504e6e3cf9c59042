#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_media.h"
#include "core/nmanager.h"
#include "fighter/sound_effect.h"
#include "gfx/image_cache.h"
#include "support/test_env.h"

namespace {

// A cached type that records what the cache does with it.
std::vector<int> g_destroyed;
int g_loads = 0;
int g_next_id = 0;

struct probe {
  int ref_count = 0;
  int id = g_next_id++;
  std::string loaded_from;
  bool failed = false;
  void add_ref() { ++ref_count; }
  void release() { --ref_count; }
  ~probe() { g_destroyed.push_back(id); }
};

void cache_load(probe* p, const char* name) {
  ++g_loads;
  p->loaded_from = name;
  p->failed = std::string(name).find("missing") != std::string::npos;
}

std::unique_ptr<probe> cache_copy(const probe& p) {
  std::unique_ptr<probe> copy(new probe);
  copy->loaded_from = p.loaded_from;
  copy->failed = p.failed;
  return copy;
}

TEST(NameCache, LendsTheStoredObjectFirstAndGivesCopiesAfter) {
  g_loads = 0;
  nmanager<probe> cache;
  fetched<probe> first = cache.fetch("missing.png");
  EXPECT_TRUE(first.is_lent());
  EXPECT_EQ(nullptr, first.take_copy());  // a lent object is never the caller's to free
  std::string log = capture_stdout([&] {
    fetched<probe> second = cache.fetch("missing.png");
    EXPECT_FALSE(second.is_lent());
    EXPECT_NE(first.get(), second.get());
    EXPECT_TRUE(second->failed);  // the failed object is what is handed out
    std::unique_ptr<probe> mine = second.take_copy();
    EXPECT_NE(nullptr, mine);
    EXPECT_EQ(nullptr, second.get());  // taken: nothing left to free twice
  });
  EXPECT_EQ(1, g_loads);
  EXPECT_EQ("Found in nmanager cache [missing.png] copying\n", log);
  ASSERT_EQ(1u, cache.items.size());
  EXPECT_EQ(first.get(), cache.items[0]);
}

TEST(NameCache, SpellingsOfOneFileShareAnEntryButCaseDiffers) {
  g_loads = 0;
  nmanager<probe> cache;
  probe* stored = cache.fetch("rsrc\\a.png").get();
  std::vector<fetched<probe>> got;
  std::string log = capture_stdout([&] {
    got.push_back(cache.fetch("rsrc/a.png"));
    got.push_back(cache.fetch("rsrc\\.\\.\\\\x\\..\\a.png"));
  });
  cache.fetch("rsrc\\A.png");
  EXPECT_EQ(2, g_loads);
  EXPECT_EQ(2u, cache.items.size());
  EXPECT_EQ(stored, cache.names.lookup("rsrc//./a.png"));
  // The log keeps each name as written.
  EXPECT_NE(std::string::npos, log.find("Found in nmanager cache [rsrc\\.\\.\\\\x\\..\\a.png] copying")) << log;
  for (const fetched<probe>& p : got) EXPECT_FALSE(p.is_lent());  // copies, freed with `got`
}

TEST(NameCache, DestroysNewestFirstAtTheEnd) {
  g_destroyed.clear();
  std::vector<int> ids;
  {
    nmanager<probe> cache;
    ids.push_back(cache.fetch("a")->id);
    ids.push_back(cache.fetch("b")->id);
    ids.push_back(cache.fetch("c")->id);
    cache.fetch("b");  // a copy: the caller's, destroyed here
    g_destroyed.clear();
  }
  EXPECT_EQ((std::vector<int>{ids[2], ids[1], ids[0]}), g_destroyed);
}

TEST(NameCache, OverlongNamesAreNotSharedButStillOwned) {
  g_loads = 0;
  std::string long_name(300, 'x');
  nmanager<probe> cache;
  std::string log = capture_stdout([&] {
    cache.fetch(long_name.c_str());
    cache.fetch(long_name.c_str());
  });
  EXPECT_EQ(2, g_loads);
  EXPECT_EQ(2u, cache.items.size());
  EXPECT_NE(std::string::npos, log.find("WARNING:"));
  EXPECT_EQ(nullptr, cache.names.lookup(long_name.substr(0, 255).c_str()));
}

TEST(ImageCache, SecondFetchIsACopyWithTheSamePicture) {
  ensure_video();
  std::string dir = make_temp_dir("cache");
  std::string path = write_picture(dir, "p.png", 8, 4, [](int x, int y) { return rgb{x * 20, 0, y * 50}; });
  img_mgr* stored = image_cache.fetch(path.c_str()).get();
  std::unique_ptr<img_mgr> copy;
  std::string log = capture_stdout([&] { copy = image_cache.fetch(path.c_str()).take_copy(); });
  ASSERT_NE(nullptr, copy);
  EXPECT_NE(stored, copy.get());
  EXPECT_EQ(0, count_of(log, "Loading img_mgr"));
  EXPECT_EQ(1, count_of(log, "Found in nmanager cache [" + path + "] copying\n"));
  EXPECT_EQ(8, copy->width);
  EXPECT_EQ(4, copy->height);
  ASSERT_NE(nullptr, copy->pixels());
  EXPECT_NE(stored->pixels(), copy->pixels());  // its own pixels
}

TEST(ImageCache, MissingFileIsTriedOnceAndCopiedEmpty) {
  ensure_video();
  std::string path = make_temp_dir("cache") + "/nowhere.png";
  std::string log = capture_stdout([&] {
    image_cache.fetch(path.c_str());
    std::unique_ptr<img_mgr> copy = image_cache.fetch(path.c_str()).take_copy();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(nullptr, copy->pixels());
    EXPECT_EQ(0, copy->width);
  });
  EXPECT_EQ(1, count_of(log, "Couldn't load " + path));
}

TEST(SoundCache, MissingFileReportsAndPlaysNothing) {
  open_sound_mixer();
  std::string path = make_temp_dir("sfx") + "/none.wav";
  sound_effect* effect = nullptr;
  std::string log = capture_stdout([&] { effect = sound_cache.fetch(path.c_str()).get(); });
  EXPECT_EQ(0u, log.find("loading sfx [" + path + "]\nMix_LoadWAV: "));
  ASSERT_NE(nullptr, effect);
  EXPECT_EQ(nullptr, effect->chunk);
  effect->play(-1, 0);  // silent, no crash
}

TEST(SoundCache, CopiesShareTheOneSample) {
  ASSERT_EQ(1, open_sound_mixer());
  std::string path = write_wav(make_temp_dir("sfx"), "beep.wav", 2205);
  sound_effect* stored = sound_cache.fetch(path.c_str()).get();
  std::unique_ptr<sound_effect> copy = sound_cache.fetch(path.c_str()).take_copy();
  ASSERT_NE(nullptr, stored->chunk);
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(stored->chunk, copy->chunk);
  copy.reset();  // the sample stays with the cache's object
  EXPECT_NE(nullptr, stored->chunk);
}

}  // namespace

// The fighter viewer driven by a key script on the bundled data, in either
// drawing mode: Brela's standing posture, then (past her knocked-out picture)
// move 12 paused and stepped,
// mirrored, recoloured, Escape. Screenshots show what each key did.
#pragma once
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/viewer/viewer_overlay.h"
#include "support/run_game.h"
#include "support/test_env.h"

namespace viewer_run {

// Keys after the stage has loaded (the viewer says when it is ready).
inline std::string script() {
  std::string keys;
  for (int i = 0; i < 22; ++i) {  // nine postures, knocked out, then move slots 0..12
    keys += std::to_string(62 + 2 * i) + " down down\n" + std::to_string(63 + 2 * i) + " down up\n";
  }
  keys +=
      "110 space down\n111 space up\n"  // pause
      "115 right down\n116 right up\n"  // one frame on
      "130 m down\n131 m up\n"          // mirror
      "140 c down\n141 c up\n"          // the player's costume
      "150 escape down\n";
  return keys;
}

// Frames saved: standing, paused twice, mirrored, recoloured.
constexpr long standing = 60, paused = 120, still_paused = 125, mirrored = 135, recoloured = 145;

// A screenshot as 32-bit pixels 0xRRGGBB.
struct picture {
  int w = 0, h = 0;
  std::vector<uint32_t> rgb;
  bool loaded() const { return w > 0; }
  uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * w + x]; }
};

inline picture read_picture(const std::string& file) {
  picture p;
  SDL_Surface* loaded = IMG_Load(file.c_str());
  if (!loaded) return p;
  SDL_Surface* s = SDL_CreateRGBSurface(0, loaded->w, loaded->h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_BlitSurface(loaded, nullptr, s, nullptr);
  p.w = s->w;
  p.h = s->h;
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) p.rgb.push_back(row[x] & 0xFFFFFF);
  }
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
  SDL_FreeSurface(loaded);
  return p;
}

inline int count_colour(const picture& p, overlay_colour c) {
  const uint32_t want = (static_cast<uint32_t>(c.r) << 16) | (c.g << 8) | c.b;
  int n = 0;
  for (uint32_t v : p.rgb) n += v == want;
  return n;
}

// Pixels that differ between the rows where the fighter stands, below the
// lines of text and above the help lines (which say what changed anyway).
inline int fighter_rows_differing(const picture& a, const picture& b) {
  int n = 0;
  for (int y = 150; y < a.h - 40 && y < b.h - 40; ++y) {
    for (int x = 0; x < a.w && x < b.w; ++x) n += a.at(x, y) != b.at(x, y);
  }
  return n;
}

struct result {
  game_run run;
  picture shots[5];
  bool frame_after_escape_saved = false;
};

inline result run(const std::string& data, const std::vector<std::string>& mode_args, std::vector<std::string> env) {
  const std::string dir = make_temp_dir("viewer_run");
  write_text_file(dir, "keys.txt", script());
  std::vector<std::string> args = {"--data-dir", data, "--view", "0", "--script", dir + "/keys.txt", "--frames", "1000"};
  args.insert(args.end(), mode_args.begin(), mode_args.end());
  const long frames[5] = {standing, paused, still_paused, mirrored, recoloured};
  for (int i = 0; i < 5; ++i) {
    args.push_back("--screenshot");
    args.push_back(std::to_string(frames[i]) + ":" + dir + "/shot" + std::to_string(i) + ".png");
  }
  args.push_back("--screenshot");
  args.push_back("900:" + dir + "/after_escape.png");
  result r;
  r.run = run_fight(args, env);
  r.frame_after_escape_saved = read_picture(dir + "/after_escape.png").loaded();
  for (int i = 0; i < 5; ++i) r.shots[i] = read_picture(dir + "/shot" + std::to_string(i) + ".png");
  return r;
}

inline void expect_viewer_run(const result& r) {
  const std::string& out = r.run.out;
  ASSERT_EQ(0, r.run.exit_status) << r.run.err;
  const size_t ready = out.find("viewer: ready at frame [");
  ASSERT_NE(std::string::npos, ready) << out;
  EXPECT_LT(std::strtol(out.c_str() + ready + 24, nullptr, 10), 60) << "the keys came before the viewer was ready";
  EXPECT_NE(std::string::npos, out.find("viewer: showing knocked out [rsrc\\brela\\knocked_out.png]")) << out;
  EXPECT_NE(std::string::npos, out.find("viewer: showing move [12] [game\\fighter\\brela\\special.ini]")) << out;
  EXPECT_NE(std::string::npos, out.find("] of move [12]")) << "no frame step";
  EXPECT_FALSE(r.frame_after_escape_saved) << "Escape (frame 150) did not end the viewer";
  for (const picture& p : r.shots) ASSERT_TRUE(p.loaded());

  const picture& stand = r.shots[0];
  EXPECT_GT(count_colour(stand, hit_box_colour), 100) << "no hit box";
  EXPECT_GT(count_colour(stand, origin_colour), 6) << "no origin mark";
  EXPECT_GT(fighter_rows_differing(stand, r.shots[1]), 200) << "move 12 looks like the standing posture";
  EXPECT_EQ(0, fighter_rows_differing(r.shots[1], r.shots[2])) << "a paused move went on playing";
  EXPECT_GT(fighter_rows_differing(r.shots[2], r.shots[3]), 200) << "mirroring changed nothing";
  EXPECT_GT(fighter_rows_differing(r.shots[3], r.shots[4]), 200) << "the costume changed nothing";
}

}  // namespace viewer_run

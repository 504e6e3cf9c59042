// The key script printed in docs/command-line.md (linked from the README),
// played as the page says: the script is read from the page itself, so the
// documentation and the game can't drift apart.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

// The indented block after the line introducing the key script, de-indented.
std::string readme_key_script(const std::string& readme) {
  const size_t intro = readme.find("Key script (`--script FILE`)");
  if (intro == std::string::npos) return "";
  std::istringstream in(readme.substr(readme.find('\n', intro) + 1));
  std::string line, script;
  while (std::getline(in, line)) {
    if (line.empty() && script.empty()) continue;  // the blank line before the block
    if (line.compare(0, 6, "      ") != 0) break;
    script += line.substr(6) + "\n";
  }
  return script;
}

// The number after `option` in the page's example command, or -1.
long readme_number(const std::string& readme, const std::string& option) {
  const size_t at = readme.find(option + " ");
  return at == std::string::npos ? -1 : std::strtol(readme.c_str() + at + option.size() + 1, nullptr, 10);
}

struct fighter_at_key {
  bool found = false;
  int x = 0, y = 0, state = 0, action = 0;
};

// The human's fighter as traced each time the script changed `key` (e.g. "[left] down").
std::vector<fighter_at_key> traced(const std::string& err, const std::string& key) {
  std::vector<fighter_at_key> seen;
  const std::string prefix = "key " + key + ": entry [1] at [";
  for (size_t at = err.find(prefix); at != std::string::npos; at = err.find(prefix, at + 1)) {
    fighter_at_key f;
    f.found = std::sscanf(err.c_str() + at + prefix.size(), "%d,%d] state [%d] action [%d]", &f.x, &f.y, &f.state,
                          &f.action) == 4;
    seen.push_back(f);
  }
  return seen;
}

TEST(ReadmeExample, KeyScriptSelectsTheSecondFighterWhoWalksToTheOpponentAndPunches) {
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  const std::string readme = read_file(source_path("docs/command-line.md"));
  const std::string script = readme_key_script(readme);
  ASSERT_NE(std::string::npos, script.find(" down\n")) << "no key script found in docs/command-line.md:\n" << script;
  const long seed = readme_number(readme, "--seed");
  const long frames = readme_number(readme, "--frames");
  ASSERT_GE(seed, 0);
  ASSERT_GT(frames, 0);

  const std::string dir = make_temp_dir("readme_script");
  write_text_file(dir, "keys.txt", script);
  // The example is timed for one endless fight (a match's first second is "Round 1").
  game_run run = run_fight({"--data-dir", without_match_keys(data), "--seed", std::to_string(seed), "--script", dir + "/keys.txt",
                            "--frames", std::to_string(frames)},
                           {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "GAME_FIGHT_TRACE=1"});
  ASSERT_EQ(0, run.exit_status) << run.err;

  // The computer's Brela is loaded first, then the player's choice: the second fighter.
  const size_t computer = run.out.find("load config [game\\fighter\\brela_char.ini]");
  ASSERT_NE(std::string::npos, computer) << "no fight started:\n" << run.err;
  EXPECT_NE(std::string::npos, find_after(run.out, "load config [game\\fighter\\kastrell_char.ini]", computer + 1))
      << run.out.substr(computer);

  // The fight keys came once the fight was on (keys before it are traced without the fighter).
  EXPECT_EQ(std::string::npos, run.err.find("key [left] down\n")) << "LEFT pressed before the fight:\n" << run.err;

  const char* const mend = "\nThe key script of docs/command-line.md no longer does what its comment says: mend its frames or --seed.";
  // Walking left towards the computer's fighter (which starts 400 pixels to the left) ...
  const std::vector<fighter_at_key> walk_from = traced(run.err, "[left] down");
  const std::vector<fighter_at_key> walk_to = traced(run.err, "[left] up");
  ASSERT_EQ(1u, walk_from.size()) << run.err << mend;
  ASSERT_EQ(1u, walk_to.size()) << run.err << mend;
  ASSERT_TRUE(walk_from[0].found && walk_to[0].found) << run.err;
  EXPECT_LT(walk_to[0].x, walk_from[0].x - 100) << run.err << mend;
  // ... then punches: the fighter attacks (posture 4, special animation 0) when `i` is released
  // (the computer may strike first and interrupt one of them).
  int punches = 0;
  for (const fighter_at_key& f : traced(run.err, "[i] up")) punches += f.found && f.state == 4 && f.action == 0;
  EXPECT_GE(punches, 1) << run.err << mend;
}

}  // namespace

// The golden log: a scripted run of the bundled game without the keys added
// since its first version (support/run_game.h: select, walk, punch, kick, a
// special, Escape) must print exactly the log kept in
// tests/app/golden/scripted_run.log, so that features added later leave the
// narration of data without new keys as it was. Only addresses (printed with
// %x, different in every run) are replaced before comparing.
//
// When a change to the log is intended, regenerate the file with
// scripts/update_golden.sh, read its diff and commit it with the change.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

const char* const golden_log = "tests/app/golden/scripted_run.log";
const char* const golden_keys = "tests/app/golden/scripted_run.keys";
const char* const stderr_marker = "==== standard error ====\n";

bool is_hex_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) || (c >= 'a' && c <= 'f'); }

// Replaces every bracketed address ("[5614a2c0]") with "[ADDR]". An address
// is lower-case hex with a letter in it or at least six digits long; the
// small decimal numbers of the log ("[150]", "[0]") stay as they are.
std::string without_addresses(const std::string& log) {
  std::string out;
  out.reserve(log.size());
  size_t i = 0;
  while (i < log.size()) {
    if (log[i] == '[') {
      size_t end = i + 1;
      bool letter = false;
      while (end < log.size() && is_hex_digit(log[end])) letter |= !std::isdigit(static_cast<unsigned char>(log[end++]));
      const size_t length = end - i - 1;
      if (end < log.size() && log[end] == ']' && length >= 1 && length <= 16 && (letter || length >= 6)) {
        out += "[ADDR]";
        i = end + 1;
        continue;
      }
    }
    out += log[i++];
  }
  return out;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// "line N: expected ... got ..." for the first difference, with the lines around it.
std::string first_difference(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> want = lines_of(expected), got = lines_of(actual);
  size_t n = 0;
  while (n < want.size() && n < got.size() && want[n] == got[n]) ++n;
  std::ostringstream say;
  say << "first difference at line " << n + 1 << " (golden " << want.size() << " lines, this run " << got.size()
      << ")\n";
  for (size_t k = n >= 3 ? n - 3 : 0; k < n; ++k) say << "  " << want[k] << "\n";
  say << "- " << (n < want.size() ? want[n] : "(end of golden log)") << "\n";
  say << "+ " << (n < got.size() ? got[n] : "(end of this run's log)") << "\n";
  return say.str();
}

TEST(GoldenLog, ScriptedRunOfTheBundledGamePrintsTheKeptLog) {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer's allocator hands out blocks whose printed (low 32-bit)
  // addresses can be as short as "[80]", which no normaliser can tell from a
  // number; the normal build keeps the log in check.
  GTEST_SKIP() << "addresses in the sanitizer build look like plain numbers";
#endif
  const char* data = std::getenv("GAME_DATA_DIR");
  if (!data) GTEST_SKIP() << "GAME_DATA_DIR (the bundled data, build/data) is not set";
  // The bundled tree as it was before matches: its log must not change.
  game_run run = run_fight({"--data-dir", without_new_keys(data), "--software", "--seed", "8", "--script", source_path(golden_keys),
                            "--frames", "600"},
                           {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
  ASSERT_EQ(0, run.exit_status) << run.err;
  const std::string log = without_addresses(run.out) + stderr_marker + without_addresses(run.err);

  const std::string golden_file = source_path(golden_log);
  if (std::getenv("GAME_UPDATE_GOLDEN")) {
    std::ofstream(golden_file, std::ios::binary) << log;
    std::printf("golden log written: %s\n", golden_file.c_str());
    return;
  }
  const std::string golden = read_file(golden_file);
  ASSERT_FALSE(golden.empty()) << golden_file << " is missing: create it with scripts/update_golden.sh";
  EXPECT_TRUE(golden == log) << "The log of the scripted run differs from " << golden_file << ".\n"
                             << first_difference(golden, log)
                             << "If the change is intended, run scripts/update_golden.sh, check its diff and "
                                "commit the new golden log.";
}

// The normalisation touches addresses only: a log line keeps its numbers.
TEST(GoldenLog, OnlyAddressesAreNormalised) {
  EXPECT_EQ("Loading img_mgr [rsrc\\a.png] into [ADDR]/[0]\nMove image[ADDR] to videoram bpp[32]\n",
            without_addresses("Loading img_mgr [rsrc\\a.png] into [5614a2c0]/[0]\n"
                              "Move image[99bb4290] to videoram bpp[32]\n"));
  EXPECT_EQ("level: height [1200] onscrsz[1440] AI Selects [209/300] [ADDR]\n",
            without_addresses("level: height [1200] onscrsz[1440] AI Selects [209/300] [12345678]\n"));
}

}  // namespace

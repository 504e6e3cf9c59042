// docs/data-format.md must name every key the game reads from a data file, and
// its walk-through must read as the checker runs it. The keys are taken from
// the game's own sources, not from a list kept by hand: a string literal handed
// as the key to config_file's lookups, to snprintf as a key pattern
// ("move%dscale"), or to a helper that passes one of its parameters on as such
// a key (found the same way, so new helpers count too).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

struct call {
  std::string name;
  std::vector<std::string> args;
  size_t close = 0;  // index of the closing parenthesis
};

// Index just past the string or character literal starting at `i`.
size_t skip_literal(const std::string& s, size_t i) {
  const char quote = s[i++];
  while (i < s.size() && s[i] != quote) i += s[i] == '\\' ? 2 : 1;
  return i + 1;
}

// The code with its comments blanked out; literals stay as they are.
std::string without_comments(const std::string& src) {
  std::string out = src;
  for (size_t i = 0; i < out.size();) {
    if (out[i] == '"' || out[i] == '\'') {
      i = skip_literal(out, i);
    } else if (out.compare(i, 2, "//") == 0) {
      while (i < out.size() && out[i] != '\n') out[i++] = ' ';
    } else if (out.compare(i, 2, "/*") == 0) {
      const size_t end = std::min(out.find("*/", i + 2), out.size() - 2) + 2;
      for (; i < end; ++i) out[i] = out[i] == '\n' ? '\n' : ' ';
    } else {
      ++i;
    }
  }
  return out;
}

// Index of the bracket closing the one at `open`; npos when unbalanced.
size_t matching_close(const std::string& s, size_t open) {
  int depth = 0;
  for (size_t i = open; i < s.size();) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      i = skip_literal(s, i);
      continue;
    }
    if (c == '(' || c == '{' || c == '[') ++depth;
    if ((c == ')' || c == '}' || c == ']') && --depth == 0) return i;
    ++i;
  }
  return std::string::npos;
}

std::string trimmed(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

// The arguments of the call whose parentheses span [open, close], split at top-level commas.
std::vector<std::string> split_args(const std::string& s, size_t open, size_t close) {
  std::vector<std::string> args;
  size_t start = open + 1;
  for (size_t i = open + 1; i < close;) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      i = skip_literal(s, i);
    } else if (c == '(' || c == '{' || c == '[') {
      i = matching_close(s, i) + 1;
    } else {
      if (c == ',') {
        args.push_back(trimmed(s.substr(start, i - start)));
        start = i + 1;
      }
      ++i;
    }
  }
  const std::string last = trimmed(s.substr(start, close - start));
  if (!last.empty() || !args.empty()) args.push_back(last);
  return args;
}

// Every `name(...)` in the code, calls and definitions alike, outside literals.
std::vector<call> calls_in(const std::string& code) {
  static const std::regex callee(R"(([A-Za-z_]\w*)\s*\()");
  std::vector<bool> in_literal(code.size(), false);
  for (size_t i = 0; i < code.size(); ++i) {
    if (code[i] != '"' && code[i] != '\'') continue;
    const size_t end = std::min(skip_literal(code, i), code.size());
    for (size_t j = i; j < end; ++j) in_literal[j] = true;
    i = end - 1;
  }
  std::vector<call> calls;
  for (auto m = std::sregex_iterator(code.begin(), code.end(), callee); m != std::sregex_iterator(); ++m) {
    if (in_literal[m->position(0)]) continue;
    const size_t open = m->position(0) + m->length(0) - 1;
    const size_t close = matching_close(code, open);
    if (close == std::string::npos) continue;
    calls.push_back(call{(*m)[1].str(), split_args(code, open, close), close});
  }
  return calls;
}

// The body of a function whose parameter list closes at `close`, or "" when
// what follows is not a body (a call, a declaration).
std::string body_after(const std::string& code, size_t close) {
  static const std::regex qualifiers(R"(^\s*(const|noexcept|override|\s)*\{)");
  std::smatch m;
  const std::string rest = code.substr(close + 1, 200);
  if (!std::regex_search(rest, m, qualifiers)) return "";
  const size_t brace = close + m.length(0);
  const size_t end = matching_close(code, brace);
  return end == std::string::npos ? "" : code.substr(brace, end - brace + 1);
}

bool literal_of(const std::string& arg, std::string& text) {
  if (arg.size() < 2 || arg.front() != '"' || arg.back() != '"') return false;
  text = arg.substr(1, arg.size() - 2);
  return text.find('"') == std::string::npos;
}

struct source_file {
  std::string name;  // relative to the source tree
  std::string code;
  std::vector<call> calls;
};

std::vector<source_file> game_sources() {
  namespace fs = std::filesystem;
  std::vector<source_file> files;
  for (const char* dir : {"app", "anim", "core", "fighter", "gfx", "stage"}) {
    for (const auto& entry : fs::recursive_directory_iterator(source_path(dir))) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      const std::string relative = fs::relative(entry.path(), source_path("")).string();
      const std::string code = without_comments(read_file(entry.path().string()));
      files.push_back(source_file{relative, code, calls_in(code)});
    }
  }
  return files;
}

// Key -> the source files reading it.
std::map<std::string, std::set<std::string>> keys_read_by_game() {
  const std::vector<source_file> files = game_sources();
  // Function name -> which argument is the key (or key pattern).
  std::map<std::string, size_t> key_arg = {
      {"has_key", 0}, {"get_int", 0}, {"get_float", 0}, {"get_string", 0}, {"snprintf", 2}};
  static const std::regex key_param(R"(^const\s+char\s*\*\s*(\w+)(\s*=.*)?$)");
  for (bool grew = true; grew;) {  // helpers of helpers
    grew = false;
    for (const source_file& f : files) {
      for (const call& def : f.calls) {
        if (key_arg.count(def.name)) continue;
        const std::string body = body_after(f.code, def.close);
        if (body.empty()) continue;
        for (size_t i = 0; i < def.args.size() && !key_arg.count(def.name); ++i) {
          std::smatch m;
          if (!std::regex_match(def.args[i], m, key_param)) continue;
          for (const call& inner : calls_in(body)) {
            auto reader = key_arg.find(inner.name);
            if (reader != key_arg.end() && reader->second < inner.args.size() &&
                inner.args[reader->second] == m[1].str()) {
              key_arg[def.name] = i;
              grew = true;
              break;
            }
          }
        }
      }
    }
  }
  static const std::regex key_shape("[a-z][a-z0-9_]*(%d[a-z0-9_]*)*");  // round_time, knocked_out
  std::map<std::string, std::set<std::string>> keys;
  for (const source_file& f : files) {
    for (const call& c : f.calls) {
      auto reader = key_arg.find(c.name);
      std::string text;
      if (reader == key_arg.end() || reader->second >= c.args.size()) continue;
      if (!literal_of(c.args[reader->second], text) || !std::regex_match(text, key_shape)) continue;
      keys[text].insert(f.name);
    }
  }
  return keys;
}

// Documented: written as code, `key` or `key=...`.
bool documented(const std::string& doc, const std::string& key) {
  for (const char* end : {"`", "="}) {
    if (doc.find("`" + key + end) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

TEST(DataFormatReference, KeysAreFoundInEveryKindOfDataFile) {
  const auto keys = keys_read_by_game();
  // A scanner that lost its way would find nothing and let any reference pass.
  for (const char* known : {"fps", "hwaccel", "round_time",    // settings (through a helper)
                            "hp", "move%dscale", "combo%dmove%d",  // character
                            "flashrate%d", "sound%d", "loop",      // animation
                            "bgset", "part%dparallax%d", "length",  // level
                            "enemy%dcount", "enemies"}) {          // sortie
    EXPECT_EQ(1u, keys.count(known)) << "the scan of the sources did not find the key " << known;
  }
}

TEST(DataFormatReference, NamesEveryKeyTheGameReads) {
  const std::string doc = read_file(source_path("docs/data-format.md"));
  ASSERT_FALSE(doc.empty()) << "docs/data-format.md is missing";
  for (const auto& [key, files] : keys_read_by_game()) {
    std::string readers;
    for (const std::string& f : files) readers += (readers.empty() ? "" : ", ") + f;
    EXPECT_TRUE(documented(doc, key)) << "key `" << key << "` (read in " << readers
                                      << ") is missing from docs/data-format.md";
  }
}

namespace {

// The summary lines ("N errors, M warnings in K files") the walk-through
// quotes, in order.
std::vector<std::string> walk_through_summaries(const std::string& doc) {
  const size_t start = doc.find("## Walk-through: your own fighter");
  std::vector<std::string> out;
  if (start == std::string::npos) return out;
  static const std::regex summary(R"(\d+ errors, \d+ warnings in \d+ files)");
  const std::string walk = doc.substr(start);
  for (auto m = std::sregex_iterator(walk.begin(), walk.end(), summary); m != std::sregex_iterator(); ++m) {
    out.push_back(m->str());
  }
  return out;
}

std::string summary_of(const game_run& run) {
  static const std::regex summary(R"(\n(\d+ errors, \d+ warnings in \d+ files)\n)");
  std::smatch m;
  return std::regex_search(run.out, m, summary) ? m[1].str() : "no summary in:\n" + run.out;
}

}  // namespace

// The walk-through, followed step by step on a copy of the bundled data,
// ends each `--check` with the summary it quotes.
TEST(DataFormatWalkThrough, EachCheckEndsAsTheWalkThroughSays) {
  namespace fs = std::filesystem;
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data (run scripts/make_data.sh)";
  const std::vector<std::string> quoted = walk_through_summaries(read_file(source_path("docs/data-format.md")));
  ASSERT_EQ(3u, quoted.size()) << "the walk-through quotes three summaries: steps 1, 2 and 4";
  const fs::path tree = make_temp_dir("walk_through");
  fs::copy(data, tree, fs::copy_options::recursive);
  auto check = [&tree] {
    return summary_of(
        run_fight({"--data-dir", tree.string(), "--check"}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"}));
  };
  // 1. The tree as copied.
  EXPECT_EQ(quoted[0], check());
  fs::create_directories(tree / "game/fighter/nova");
  fs::create_directories(tree / "rsrc/nova");
  // 2. The character file, one key.
  write_text_file(tree.string(), "game/fighter/dravitz_char.ini", "hp=120\nname=Nova\n");
  EXPECT_EQ(quoted[1], check());
  // 3. Posture pictures and 4. a first move in all sixteen slots.
  for (const char* picture : {"stand.png", "jab1.png", "jab2.png"}) {
    fs::copy_file(tree / "rsrc/dravitz/stand.png", tree / "rsrc/nova" / picture);
  }
  write_text_file(tree.string(), "game/fighter/nova/jab.ini",
                  "images=2\nimage0=rsrc\\nova\\jab1.png\nrate0=4\nimage1=rsrc\\nova\\jab2.png\nrate1=6\n"
                  "sound1=rsrc\\sfx\\punch.wav\n");
  std::string fighter = "hp=120\nname=Nova\nimages=9\n";
  for (int i = 0; i < 9; ++i) fighter += "image" + std::to_string(i) + "=rsrc\\nova\\stand.png\n";
  fighter += "moves=16\n";
  for (int i = 0; i < 16; ++i) fighter += "move" + std::to_string(i) + "=game\\fighter\\nova\\jab.ini\n";
  write_text_file(tree.string(), "game/fighter/dravitz_char.ini", fighter);
  EXPECT_EQ(quoted[2], check());
}

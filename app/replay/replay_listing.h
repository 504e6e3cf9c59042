// The saved replays as the Replays screen lists them: what each one says
// about itself (fighters, result, length) and whether this build plays it,
// read from the file's first and last few hundred bytes without playing it.
// Everything read is treated as hostile: sizes are capped, names cleaned.
#pragma once
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t replay_head_bytes = 4096;  // read from the start: the header and the summary comments
constexpr size_t replay_tail_bytes = 64;    // read from the end: the "FRAME end" line
constexpr size_t max_listed_replays = 500;

struct replay_entry {
  std::string path;
  std::time_t saved = 0;    // the file's modification time
  std::string fighters;     // "Brela vs Kastrell"; empty when the file doesn't say
  std::string result;       // "Brela wins"; empty when the file doesn't say
  long frames = -1;         // from the end line; -1 when there is none
  int fps = 0;              // from the header; 0 when missing
  bool playable = false;
  std::string reason;       // why not, when not playable
};

// The summary comments a saved run starts with, before its header.
std::string replay_summary_lines(const std::string& first_fighter, const std::string& second_fighter,
                                 const std::string& result);

// Fills `e`'s description from the file's first bytes and its last bytes.
void describe_replay(std::string_view head, std::string_view tail, replay_entry& e);

// The regular files named *.replay in `dir` (links and anything else are
// skipped), newest first, at most max_listed_replays of them.
std::vector<replay_entry> list_replays(const std::string& dir);

// The folder F9 saves in: $XDG_DATA_HOME/veltmoore-brawl/replays; empty without a home.
std::string replays_folder();

// "2026-12-08 19:52" in local time.
std::string replay_date_text(std::time_t when);
// "1:23" for `frames` at `fps`; "?" when either is unknown.
std::string replay_length_text(long frames, int fps);

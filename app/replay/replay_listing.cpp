#include "app/replay/replay_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "app/replay/replay_format.h"
#include "app/replay/script_file.h"
#include "core/user_dirs.h"

namespace {

constexpr size_t max_name_chars = 24;

// Letters, digits and a few marks, at most `limit` characters: what a file says is shown, never trusted.
std::string cleaned(std::string_view text, size_t limit) {
  std::string out;
  for (char c : text) {
    if (out.size() == limit) break;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
                       c == '-' || c == '.' || c == '\'' || c == '(' || c == ')';
    out += plain ? c : '?';
  }
  return out;
}

// A whole number of at most 9 digits; false otherwise.
bool small_number(std::string_view text, long& out) {
  if (text.empty() || text.size() > 9) return false;
  long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  out = v;
  return true;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Reads up to `n` bytes at `offset`.
std::string read_part(int fd, off_t offset, size_t n) {
  std::string out(n, '\0');
  const ssize_t got = pread(fd, &out[0], n, offset);
  out.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return out;
}

}  // namespace

std::string replay_summary_lines(const std::string& first_fighter, const std::string& second_fighter,
                                 const std::string& result) {
  std::string text;
  if (!first_fighter.empty() && !second_fighter.empty()) {
    text += "# fighters " + cleaned(first_fighter, max_name_chars) + " vs " + cleaned(second_fighter, max_name_chars) + "\n";
  }
  if (!result.empty()) text += "# result " + cleaned(result, 2 * max_name_chars) + "\n";
  return text;
}

void describe_replay(std::string_view head, std::string_view tail, replay_entry& e) {
  e.playable = false;
  e.reason = "no replay header";
  bool version_seen = false;
  size_t at = 0;
  while (at < head.size()) {
    size_t end = head.find('\n', at);
    if (end == std::string_view::npos) break;  // a line cut off by the read is not used
    const std::string_view line = trimmed(head.substr(at, end - at));
    at = end + 1;
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (starts_with(line, "# fighters ")) e.fighters = cleaned(line.substr(11), 2 * max_name_chars + 4);
      if (starts_with(line, "# result ")) e.result = cleaned(line.substr(9), 2 * max_name_chars);
      continue;
    }
    if (line[0] >= '0' && line[0] <= '9') break;  // the events begin
    const size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? "" : trimmed(line.substr(space + 1));
    long number = 0;
    if (!version_seen) {
      if (word != "replay" || !small_number(value, number)) {
        e.reason = "not a replay";
        return;
      }
      version_seen = true;
      if (number != replay_format_version) {
        e.reason = std::string(number < replay_format_version ? "old" : "newer") + " format " + std::to_string(number);
        return;
      }
      e.playable = true;
      e.reason.clear();
      continue;
    }
    if (word == "build" && value != replay_build_version) {
      e.playable = false;
      e.reason = "other build " + cleaned(value, 16);
    }
    if (word == "fps" && small_number(value, number) && number > 0 && number <= 1000) e.fps = static_cast<int>(number);
  }
  // The last line is "FRAME end".
  std::string_view last = trimmed(tail);
  while (!last.empty() && last.back() == '\n') last = trimmed(last.substr(0, last.size() - 1));
  const size_t line_start = last.rfind('\n');
  if (line_start != std::string_view::npos) last = trimmed(last.substr(line_start + 1));
  long frames = 0;
  if (last.size() > 4 && last.substr(last.size() - 4) == " end" && small_number(trimmed(last.substr(0, last.size() - 4)), frames)) {
    e.frames = frames;
  }
}

std::vector<replay_entry> list_replays(const std::string& dir) {
  std::vector<replay_entry> found;
  DIR* d = dir.empty() ? nullptr : opendir(dir.c_str());
  if (!d) return found;
  const int dir_fd = dirfd(d);
  size_t seen = 0;
  while (dirent* item = readdir(d)) {
    const std::string name = item->d_name;
    if (name.size() <= 7 || name.compare(name.size() - 7, 7, ".replay") != 0) continue;
    if (++seen > 4 * max_listed_replays) break;  // a folder flooded with files is not read to its end
    // Opened without following a link; only a regular file is read.
    const int fd = openat(dir_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      continue;
    }
    replay_entry e;
    e.path = dir + "/" + name;
    e.saved = info.st_mtime;
    const off_t size = info.st_size;
    const std::string head = read_part(fd, 0, replay_head_bytes);
    const off_t tail_at = size > static_cast<off_t>(replay_tail_bytes) ? size - static_cast<off_t>(replay_tail_bytes) : 0;
    const std::string tail = read_part(fd, tail_at, replay_tail_bytes);
    close(fd);
    describe_replay(head, tail, e);
    if (size > max_script_file_bytes) {
      e.playable = false;
      e.reason = "too large";
    }
    found.push_back(e);
  }
  closedir(d);
  std::stable_sort(found.begin(), found.end(), [](const replay_entry& a, const replay_entry& b) {
    return a.saved != b.saved ? a.saved > b.saved : a.path > b.path;
  });
  if (found.size() > max_listed_replays) found.resize(max_listed_replays);
  return found;
}

std::string replays_folder() {
  const std::string dir = user_data_dir();
  return dir.empty() ? "" : dir + "/replays";
}

std::string replay_date_text(std::time_t when) {
  std::tm local = {};
  if (!localtime_r(&when, &local)) return "?";
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

std::string replay_length_text(long frames, int fps) {
  if (frames < 0 || fps <= 0) return "?";
  const long seconds = frames / fps;
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
  return text;
}

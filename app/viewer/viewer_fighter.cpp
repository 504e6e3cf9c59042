#include "app/viewer/viewer_fighter.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "anim/animation.h"
#include "fight/fight_cleanup.h"
#include "app/fight/fight_setup.h"
#include "app/video.h"
#include "core/config_file.h"
#include "core/data_path.h"
#include "core/log.h"
#include "core/nmanager.h"
#include "gfx/img_mgr.h"
#include "fighter/sound_effect.h"
#include "gfx/image_cache.h"

namespace {

// ---- The problems a load prints ----

// Log text seen while a load runs; pieces are joined into lines.
struct problem_collector {
  std::vector<problem_line>* lines = nullptr;
  std::string pending;
};
problem_collector collector;

// The loaders' failure lines. Lines starting "____" are the pictures' own
// bookkeeping, not the author's concern.
bool is_problem(const std::string& line) {
  if (line.compare(0, 4, "____") == 0) return false;
  for (const char* word : {"ERROR", "WARNING", "FAULT", "Can't ", "Couldn't ", "Mix_LoadWAV", "Tried to ->"}) {
    if (line.find(word) != std::string::npos) return true;
  }
  return false;
}

void keep_if_problem(std::string line) {
  // "Can't load animation from [FILE]" has no line break: what follows it on
  // the line is the next log line.
  const char* unbroken = "Can't load animation from [";
  const size_t at = line.find(unbroken);
  if (at != std::string::npos) {
    const size_t close = line.find(']', at);
    if (close != std::string::npos) {
      keep_if_problem(line.substr(close + 1));
      line = line.substr(at, close + 1 - at);
    }
  }
  // One file named by several moves fails once for each: said once, counted.
  if (!is_problem(line)) return;
  for (problem_line& kept : *collector.lines) {
    if (kept.text == line) {
      ++kept.times;
      return;
    }
  }
  collector.lines->push_back(problem_line{line, 1});
}

void watch_log(const char* text) {
  if (!collector.lines) return;
  collector.pending += text;
  size_t end;
  while ((end = collector.pending.find('\n')) != std::string::npos) {
    keep_if_problem(collector.pending.substr(0, end));
    collector.pending.erase(0, end + 1);
  }
}

void start_collecting(std::vector<problem_line>& lines) {
  lines.clear();
  collector.lines = &lines;
  collector.pending.clear();
  log_watcher = watch_log;
}

void stop_collecting() {
  if (collector.lines && !collector.pending.empty()) keep_if_problem(collector.pending);
  collector.lines = nullptr;
  collector.pending.clear();
  log_watcher = nullptr;
}

// ---- Cached files read again ----

bool stamp_of(const char* name, off_t& size, long long& mtime_ns) {
  struct stat st;
  if (stat(host_path(name).c_str(), &st) != 0) return false;
  size = st.st_size;
  mtime_ns = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return true;
}

bool picture_missing(const img_mgr* img) { return !img->pixels() && !img->has_texture(); }

// The pictures and sounds the character file and its animations name as they
// are on disk now (normal data names), read without a word in the problems.
std::set<std::string> files_named_by(const std::string& char_file) {
  void (*watching)(const char*) = log_watcher;
  log_watcher = nullptr;
  std::set<std::string> named;
  config_file fighter;
  fighter.load(char_file.c_str());
  auto add_numbered = [&named](const config_file& cfg, const char* fmt, int count) {
    for (int i = 0; i < count; ++i) {
      char key[32];
      std::snprintf(key, sizeof key, fmt, i);
      if (cfg.has_key(key)) named.insert(normal_data_name(cfg.get_string(key)));
    }
  };
  add_numbered(fighter, "image%d", std::min(fighter.get_int("images"), max_char_images));
  if (fighter.has_key("knocked_out")) named.insert(normal_data_name(fighter.get_string("knocked_out")));
  std::set<std::string> animations;
  for (int i = 0; i < std::min(fighter.get_int("moves"), max_char_moves); ++i) {
    char key[32];
    std::snprintf(key, sizeof key, "move%d", i);
    if (!animations.insert(fighter.get_string(key)).second) continue;
    config_file anim;
    anim.load(fighter.get_string(key));
    const int frames = std::min(anim.get_int("images"), max_animation_frames);
    add_numbered(anim, "image%d", frames);
    add_numbered(anim, "sound%d", frames);
  }
  log_watcher = watching;
  return named;
}

}  // namespace

// ---- viewer_fighter ----

viewer_fighter::~viewer_fighter() {
  plain.reset();
  costumed.reset();
}

std::unique_ptr<lifeform> viewer_fighter::load_one(bool costume) {
  std::unique_ptr<lifeform> l = std::make_unique<lifeform>();
  l->controls = controls[costume ? 0 : 1];
  if (costume) l->colour_swaps = player_colour_swaps();
  l->load(file.c_str());
  return l;
}

void viewer_fighter::load_fighters(bool costume) {
  // Freed with its moves, their animations and frame pictures and its own
  // picture copies; pictures the cache keeps stay.
  plain.reset();
  costumed.reset();
  // The plain fighter first: a picture's first load lands in the cache as
  // read, and the costume only ever recolours copies of it.
  plain = load_one(false);
  costume_loaded_ = costume;
  if (costume) costumed = load_one(true);
  rest_width = plain->width;
  rest_height = plain->height;

  // Read again only for the move files' names: its failures were said above.
  void (*watching)(const char*) = log_watcher;
  log_watcher = nullptr;
  config_file cfg;
  cfg.load(file.c_str());
  log_watcher = watching;
  move_files.assign(move_slot_count, std::string());
  for (int slot = 0; slot < move_slot_count; ++slot) {
    char key[32];
    std::snprintf(key, sizeof key, "move%d", slot);
    if (cfg.has_key(key)) move_files[slot] = cfg.get_string(key);
  }
}

void viewer_fighter::load(const std::string& char_file, bool costume) {
  file = char_file;
  start_collecting(problems);
  load_fighters(costume);
  stop_collecting();
  note_file_stamps();
  log_out("viewer: loaded [%s] with [%d] problems\n", file.c_str(), static_cast<int>(problems.size()));
}

void viewer_fighter::reload() {
  log_out("viewer: reloading [%s]\n", file.c_str());
  start_collecting(problems);
  // The old fighters go first, so nothing shows the old pixels when they are replaced.
  plain.reset();
  costumed.reset();
  refresh_changed_files();
  load_fighters(costume_loaded_);
  stop_collecting();
  note_file_stamps();
  log_out("viewer: loaded [%s] with [%d] problems\n", file.c_str(), static_cast<int>(problems.size()));
}

lifeform* viewer_fighter::shown(bool costume) {
  if (!costume) return plain.get();
  if (!costumed && plain) {
    start_collecting(problems);
    costumed = load_one(true);
    stop_collecting();
    costume_loaded_ = true;
    note_file_stamps();
  }
  return costumed.get();
}

void viewer_fighter::note_file_stamps() {
  for (const name_hash::entry* e = image_cache.names.first(); e; e = e->next) {
    file_stamp& s = stamps_[e->name];
    if (!stamp_of(e->name, s.size, s.mtime_ns)) s = file_stamp();
  }
  for (const name_hash::entry* e = sound_cache.names.first(); e; e = e->next) {
    file_stamp& s = stamps_[e->name];
    if (!stamp_of(e->name, s.size, s.mtime_ns)) s = file_stamp();
  }
}

void viewer_fighter::refresh_changed_files() {
  // A file that failed before is tried again only while the fighter still
  // names it: a name mended in the character file leaves its old spelling in
  // the caches, and its failure is no problem of the fighter any more.
  const std::set<std::string> named = files_named_by(file);
  auto retried = [&named](const char* name) { return named.count(normal_data_name(name)) > 0; };
  auto changed = [this](const char* name) {
    file_stamp now;
    if (!stamp_of(name, now.size, now.mtime_ns)) now = file_stamp();
    const auto it = stamps_.find(name);
    return it == stamps_.end() || it->second.size != now.size || it->second.mtime_ns != now.mtime_ns;
  };
  for (const name_hash::entry* e = image_cache.names.first(); e; e = e->next) {
    img_mgr* stored = static_cast<img_mgr*>(e->data);
    if (stored && (changed(e->name) || (picture_missing(stored) && retried(e->name)))) {
      reload_kept_picture(stored, e->name);  // the fighters that showed it were discarded before
    }
  }
  for (const name_hash::entry* e = sound_cache.names.first(); e; e = e->next) {
    sound_effect* stored = static_cast<sound_effect*>(e->data);
    // The old sample stays: a channel may still be playing it.
    if (stored && (changed(e->name) || (!stored->chunk && retried(e->name)))) stored->load_sound(e->name);
  }
}

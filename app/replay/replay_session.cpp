#include "app/replay/replay_session.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "app/dev/script_driver.h"
#include "app/fight/fight_loop.h"
#include "app/fight/fight_text.h"
#include "app/fight/match_driver.h"
#include "app/replay/replay_format.h"
#include "app/replay/replay_listing.h"
#include "app/replay/replay_run_log.h"
#include "app/replay/replay_saving.h"
#include "app/replay/script_file.h"
#include "app/video.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "core/user_dirs.h"
#include "core/user_file_write.h"
#include "fight/fight_state.h"
#include "fight/fight_state_hash.h"
#include "fighter/lifeform.h"
#include "stage/level.h"

namespace {

constexpr int joy_buttons = 32;
constexpr int joy_axes = 8;

struct pending_key {
  int key;
  int down;
};

struct session_state {
  bool recording = false;  // --record FILE
  bool keeping = false;    // the run is kept in memory, for F9 to save
  bool playing = false;
  bool keys_from_script = false;  // a run driven by --script: its keys are already in the array
  bool started = false;    // the first present has been made
  bool escape = false;     // the player pressed Escape during a replay
  bool save_held = false;  // F9, as it was last frame
  bool libc_random = false;  // this run's numbers come from rand(), counted in libc_draws
  unsigned long long libc_draws = 0;
  long frames = 0;         // presents so far
  std::string file;
  std::string recorded;  // the --record file so far, written whole at the end
  std::shared_ptr<const replay_file> replay;  // the one played
  size_t next_joy = 0;
  size_t next_check = 0;
  size_t next_clock = 0;         // replayed clock: the frame entry in use,
  size_t reading_in_frame = 0;   // the readings of it given out,
  Uint32 clock_now = 0;          // and the last one given
  replay_run_log log;
  replay_header kept_header;     // of what F9 saves
  std::string data_dir;
  bool data_installed = false;   // then F9 saves only in the player's home
  Uint8 last_keys[SDLK_LAST] = {};
  std::vector<pending_key> pending;  // key changes caught since the last frame
  int buttons[joy_buttons] = {};
  int axes[joy_axes] = {};
  int joystick_ok = 0;
  replay_header header;  // of the --record file
  player_actions actions[2] = {0, 0};  // as last recorded, or as the replay holds them now
  size_t next_action = 0;
  std::string early_lines;
  unsigned long long fight_hash = 0;  // the fight's state when its last frame had been stepped,
  long fight_hash_frame = -1;         // and that frame  // actions noted before the first picture, written after the header
  input_seams devices;  // the real sources, for reading the joystick while recording
  SDL_EventFilter chained_filter = nullptr;  // the quit watch's, still called for other events
  bool filter_installed = false;
  void (*chained_before)() = nullptr;
  void (*chained_after)() = nullptr;
};

session_state session;

int recorded_button(int b) { return b >= 0 && b < joy_buttons ? session.buttons[b] : 0; }
Sint16 recorded_axis(int a) { return static_cast<Sint16>(a >= 0 && a < joy_axes ? session.axes[a] : 0); }

// rand() gives the same numbers from the same seed; how many were drawn
// stands for its state, which can't be read.
int counted_libc_random() {
  ++session.libc_draws;
  return session.devices.random();
}

unsigned long long random_state() { return session.libc_random ? session.libc_draws : recordable_random_state(); }

// Everything the fight keeps between frames (fight/fight_state.h), with the
// random source as this run draws from it; the live world's hash when the
// fight does not fit the value.
unsigned long long whole_fight_hash(const match_state* match) {
  const fight_content content;
  static fight_state state;  // tens of KB: kept off the stack
  if (!save_fight_state(state, content, match)) return fight_state_hash(random_state(), g_level, match);
  state.random = random_state();
  return fight_state_hash(state);
}

// The state checked as frame `frame` begins: as the fight left it when it
// stepped the frame before, or, in a frame without a fight, as it is now.
unsigned long long checked_state(long frame) {
  if (session.fight_hash_frame == frame - 1) return session.fight_hash;
  return fight_state_hash(random_state(), g_level, nullptr);
}

// Every reading of the clock is kept by frame, so a replay can give the game
// the very same times.
Uint32 logged_ticks() {
  const Uint32 now = session.devices.ticks();
  session.log.add_reading(session.frames, now);
  return now;
}

// The recorded readings of this frame in turn; past the last one, the last again.
Uint32 replayed_ticks() {
  const std::vector<replay_clock_frame>& clock = session.replay->clock;
  while (session.next_clock < clock.size() && clock[session.next_clock].frame < session.frames) {
    ++session.next_clock;
    session.reading_in_frame = 0;
  }
  if (session.next_clock < clock.size()) {
    const replay_clock_frame& c = clock[session.next_clock];
    if (c.frame == session.frames && session.reading_in_frame < c.count) {
      session.clock_now = session.replay->clock_readings[c.first + session.reading_in_frame++];
    }
  }
  return session.clock_now;
}

// Key presses reach the game only through the frame's key array: a press
// and release inside one frame still lasts that frame, as it will in the replay.
int catch_keys(const SDL_Event* e) {
  if (e->type != SDL_KEYDOWN && e->type != SDL_KEYUP) return session.chained_filter ? session.chained_filter(e) : 1;
  if (session.playing) {
    if (e->type == SDL_KEYDOWN && e->key.keysym.sym == SDLK_ESCAPE) session.escape = true;
    return 0;
  }
  if (!session.keys_from_script) session.pending.push_back({e->key.keysym.sym, e->type == SDL_KEYDOWN ? 1 : 0});
  return 0;
}

void append_line(std::string& lines, long frame, const std::string& rest) {
  lines += std::to_string(frame) + " " + rest + "\n";
}

void key_changes(long frame, std::string& lines) {
  const Uint8* keys = scripted_keys();
  for (int k = 1; k < SDLK_LAST; ++k) {
    if (keys[k] == session.last_keys[k]) continue;
    session.last_keys[k] = keys[k];
    append_line(lines, frame, key_name_for_script(k) + (keys[k] ? " down" : " up"));
  }
}

void save_kept_run(long frame) {
  std::string written, error;
  // What the list of replays shows comes first: both fighters and the last result.
  const lifeform* first = lifeform_at(1);
  const lifeform* second = lifeform_at(0);
  const std::string text = replay_summary_lines(first ? first->name : "", second ? second->name : "", last_match_result()) +
                           session.log.text(session.kept_header, frame);
  if (static_cast<long long>(text.size()) > max_script_file_bytes) {
    log_err("WARNING: can't save the replay: the run so far makes %zu bytes, more than the %lld a replay may have\n",
            text.size(), max_script_file_bytes);
    return;
  }
  if (save_replay_text(text, session.data_dir, std::getenv("HOME"), std::time(nullptr), written, error,
                       !session.data_installed, user_data_dir())) {
    log_out("NOTICE: replay of the run so far (%ld frames) saved as %s\n", frame, written.c_str());
  } else {
    log_err("WARNING: can't save the replay: %s\n", error.c_str());
  }
}

// The lines of this frame: key and joystick changes, and every 60 frames a check.
void record_frame(long frame) {
  std::string lines;
  if (!session.started) {  // the joystick has opened by now
    session.started = true;
    session.header.joystick = session.kept_header.joystick = session.joystick_ok = g_video.joystick_ok;
    if (session.recording) session.recorded += replay_header_text(session.header);
    key_changes(0, lines);  // a script's keys for frame 0 were set before the first picture
    lines += session.early_lines;
  }
  Uint8* keys = scripted_keys();
  std::vector<pending_key> later;
  std::vector<int> changed_now;
  for (const pending_key& p : session.pending) {
    bool changed_this_frame = false;
    for (int k : changed_now) changed_this_frame |= k == p.key;
    if (changed_this_frame || (p.key > 0 && p.key < SDLK_LAST && keys[p.key] == p.down)) {
      if (changed_this_frame) later.push_back(p);
      continue;
    }
    if (p.key <= 0 || p.key >= SDLK_LAST) continue;
    keys[p.key] = static_cast<Uint8>(p.down);
    changed_now.push_back(p.key);
  }
  session.pending = later;
  key_changes(frame, lines);
  if (session.joystick_ok) {
    for (int b = 0; b < joy_buttons; ++b) {
      const int now = session.devices.joy_button(b) ? 1 : 0;
      if (now != session.buttons[b]) {
        session.buttons[b] = now;
        append_line(lines, frame, "joybutton " + std::to_string(b) + (now ? " down" : " up"));
      }
    }
    for (int a = 0; a < joy_axes; ++a) {
      const int now = session.devices.joy_axis(a);
      if (now != session.axes[a]) {
        session.axes[a] = now;
        append_line(lines, frame, "joyaxis " + std::to_string(a) + " " + std::to_string(now));
      }
    }
  }
  if (frame % replay_check_interval == 0) {
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", checked_state(frame));
    append_line(lines, frame, std::string("check ") + hash);
  }
  if (session.recording) session.recorded += lines;
  if (session.keeping) {
    session.log.add_lines(lines);
    const bool save_down = keys[SDLK_F9] != 0;
    if (save_down && !session.save_held) save_kept_run(frame);
    session.save_held = save_down;
  }
}

// The whole file or none: written at the end of the run, never over another
// file. A failure is the run's failure.
void finish_recording() {
  if (!session.recording) return;
  session.recording = false;
  if (!session.started) session.recorded = replay_header_text(session.header);  // no picture was shown
  session.recorded += std::to_string(presented_frames()) + " end\n";
  const size_t slash = session.file.rfind('/');
  user_file_target target;
  target.dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : session.file.substr(0, slash));
  target.name = session.file.substr(slash == std::string::npos ? 0 : slash + 1);
  std::string written, error;
  if (!write_user_file(target, session.recorded, written, error)) {
    log_err("ERROR: can't write the replay %s: %s\n", session.file.c_str(), error.c_str());
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(1);
  }
  if (written != session.file) {
    log_err("WARNING: %s appeared while the run was recorded; the replay is %s\n", session.file.c_str(),
            written.c_str());
  }
}

// Before anything runs: the recording must be able to land where it was asked
// to, as a new regular file. Nothing is opened yet (a FIFO would block).
bool check_record_target(const std::string& file, std::string& error) {
  struct stat info;
  if (lstat(file.c_str(), &info) == 0) {
    error = "can't record into " + file + ": " +
            (S_ISREG(info.st_mode) ? "it already exists (a recording never replaces a file)" : "not a regular file");
    return false;
  }
  const std::string dir = resolved_path(file);
  const size_t slash = dir.rfind('/');
  if (dir.empty() || file.back() == '/' || slash == std::string::npos ||
      access(slash == 0 ? "/" : dir.substr(0, slash).c_str(), W_OK | X_OK) != 0) {
    error = "can't record into " + file + ": its folder is missing or can't be written";
    return false;
  }
  return true;
}

void play_frame(long frame) {
  g_video.joystick_ok = session.joystick_ok;  // as when recorded, whatever is plugged in now
  const std::vector<replay_joy_event>& joy = session.replay->joystick;
  while (session.next_joy < joy.size() && joy[session.next_joy].frame <= frame) {
    const replay_joy_event& e = joy[session.next_joy++];
    (e.axis ? session.axes : session.buttons)[e.index] = e.value;
  }
  const std::vector<replay_check>& checks = session.replay->checks;
  while (session.next_check < checks.size() && checks[session.next_check].frame <= frame) {
    const replay_check& c = checks[session.next_check++];
    if (c.frame != frame) continue;
    const unsigned long long now = checked_state(frame);
    if (now != c.hash) {
      log_err("ERROR: replay %s desynchronised at frame %ld (line %d): fight state %016llx, recorded %016llx\n",
              session.file.c_str(), frame, c.line, now, c.hash);
      std::fflush(stdout);
      std::_Exit(3);
    }
  }
  if (frame >= session.replay->end_frame) {
    log_out("NOTICE: replay %s ended at frame %ld, every check matched\n", session.file.c_str(), frame);
    std::fflush(stdout);
    std::exit(0);
  }
  // The player's own Escape ends the replay.
  if (session.escape) scripted_keys()[SDLK_ESCAPE] = 1;
}

// A replay whose run stops before the recording's did has gone astray, unless
// the player stopped it.
void check_replay_finished() {
  if (session.escape || presented_frames() >= session.replay->end_frame) return;
  log_err("ERROR: replay %s desynchronised: the run ended at frame %ld, the recording at frame %ld\n",
          session.file.c_str(), presented_frames(), session.replay->end_frame);
  std::fflush(stdout);
  std::_Exit(3);
}

void before_present() {
  if (session.playing && lifeform_at(1)) draw_fight_text(centred_text_x("REPLAY"), 40, "REPLAY");
  if (session.chained_before) session.chained_before();
}

void after_present() {
  if (session.chained_after) session.chained_after();
  if (!session.filter_installed) {  // after the quit watch has set its filter, which ours wraps
    session.filter_installed = true;
    session.chained_filter = SDL_GetEventFilter();
    SDL_SetEventFilter(catch_keys);
  }
  const long frame = ++session.frames;
  if (session.recording || session.keeping) record_frame(frame);
  if (session.playing) play_frame(frame);
}

}  // namespace

bool replaying() { return session.playing; }

bool replayed_actions(player_actions out[2]) {
  if (!session.playing) return false;
  const std::vector<replay_action_event>& recorded = session.replay->actions;
  while (session.next_action < recorded.size() && recorded[session.next_action].frame <= session.frames) {
    const replay_action_event& e = recorded[session.next_action++];
    session.actions[e.player] = e.held;
  }
  out[0] = session.actions[0];
  out[1] = session.actions[1];
  return true;
}

void note_fight_stepped(const match_state* match) {
  if (!session.recording && !session.keeping && !session.playing) return;
  session.fight_hash = whole_fight_hash(match);
  session.fight_hash_frame = session.frames;
}

void note_actions(const player_actions held[2]) {
  if (!session.recording && !session.keeping) return;
  std::string lines;
  for (int p = 0; p < 2; ++p) {
    if (held[p] == session.actions[p]) continue;
    session.actions[p] = held[p];
    append_line(lines, session.frames, "p" + std::to_string(p + 1) + " " + player_actions_text(held[p]));
  }
  if (lines.empty()) return;
  if (!session.started) {  // the header is written with the first picture
    session.early_lines += lines;
    return;
  }
  if (session.recording) session.recorded += lines;
  if (session.keeping) session.log.add_lines(lines);
}

bool prepare_replay_options(run_options& options, std::string& error) {
  if (!options.replay.empty()) {
    if (!options.input) {
      error = "the replay " + options.replay + " was not read";
      return false;
    }
    // Another build's fight may differ anywhere, and its checks hash another
    // state: played here it could only go astray.
    if (options.input->header.build != replay_build_version) {
      error = "ERROR: replay " + options.replay + " was recorded by build " + options.input->header.build +
              ", this is " + replay_build_version + ": it can't be played here, record it again";
      return false;
    }
    session.replay = options.input;
    options.seeded = true;
    options.seed = session.replay->header.seed;
    options.fighter = session.replay->header.fighter;
    options.training = session.replay->header.training;
    options.dummy = session.replay->header.training >= 0 ? session.replay->header.dummy : -1;
  } else if (!options.seeded) {  // as every run seeds, but known, for a replay
    options.seeded = true;
    options.seed = static_cast<unsigned>(std::time(nullptr));
  }
  return true;
}

void apply_replay_settings(const run_options& options, game_settings& settings) {
  if (options.replay.empty()) return;
  const replay_header& h = session.replay->header;
  if (h.width > 0) settings.width = h.width;
  if (h.height > 0) settings.height = h.height;
  if (h.fps > 0) settings.fps = h.fps;
  // The match keys it was recorded with; none (an older replay): one endless fight.
  settings.rounds = h.rounds;
  settings.round_time = h.round_time;
  settings.difficulty = h.difficulty;
  settings.push_apart = h.push_apart != 0;
  settings.main_menu = h.main_menu != 0;
}

namespace {

// What both kinds of saved replay say about the run: the header fields that
// make it play the same (screen, rate, fighter, match keys, push).
replay_header header_of_run(const run_options& options, const game_settings& settings, int version) {
  replay_header h;
  h.version = version;
  h.build = replay_build_version;
  h.seed = options.seed;
  h.width = settings.width;
  h.height = settings.height;
  h.fps = settings.fps;
  h.fighter = options.fighter;
  h.rounds = settings.rounds;
  h.round_time = settings.round_time;
  h.difficulty = settings.difficulty;
  h.push_apart = settings.push_apart ? 1 : 0;
  h.main_menu = settings.main_menu ? 1 : 0;
  if (options.training >= 0) {
    h.training = options.training;
    h.dummy = options.dummy >= 0 ? options.dummy : 0;
  }
  return h;
}

}  // namespace

bool start_replay_session(const run_options& options, const game_settings& settings, std::string& error) {
  // Every run a player plays is kept for F9; a demo or a benchmark is not.
  session.keeping = options.replay.empty() && !options.demo && options.benchmark_frames < 0;
  // Watching a replay, the player's own Escape ends it (its keys come from the file).
  if (!options.replay.empty()) treat_escape_as_quit_request();
  if (!session.keeping && options.record.empty() && options.replay.empty()) return true;
  session.devices = seams();
  const bool replayed_libc = !options.replay.empty() && session.replay->header.libc_random;
  session.libc_random = replayed_libc || (options.record.empty() && options.replay.empty());
  if (!session.libc_random) {
    use_recordable_random(options.seed);
  } else {
    seams().random = counted_libc_random;  // rand() was seeded with options.seed at start-up
  }
  if (!options.replay.empty() && session.replay->header.clock_readings) seams().ticks = replayed_ticks;
  if (session.keeping) {
    seams().ticks = logged_ticks;
    session.keys_from_script = !options.script.empty();
    use_scripted_keys();  // keys are taken once a frame, as the replay will give them
    char cwd[4096];
    session.data_dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
    session.data_installed = options.data_installed;
    replay_header& k = session.kept_header;
    k = header_of_run(options, settings, replay_format_version);
    k.libc_random = session.libc_random;
    k.clock_readings = true;
  }
  seams().joy_button = recorded_button;
  seams().joy_axis = recorded_axis;
  session.chained_before = g_video.before_present;
  session.chained_after = g_video.after_present;
  g_video.before_present = before_present;
  g_video.after_present = after_present;
  if (!options.replay.empty()) {
    session.playing = true;
    session.file = options.replay;
    session.joystick_ok = session.replay->header.joystick;
    std::atexit(check_replay_finished);
    return true;
  }
  if (options.record.empty()) return true;
  if (!check_record_target(options.record, error)) return false;
  session.recording = true;
  session.file = options.record;
  session.keys_from_script = !options.script.empty();
  session.header = header_of_run(options, settings, replay_format_version);
  std::atexit(finish_recording);
  return true;
}

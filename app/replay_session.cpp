#include "app/replay_session.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/fight_loop.h"
#include "app/fight_text.h"
#include "app/replay_format.h"
#include "app/replay_state_hash.h"
#include "app/script_driver.h"
#include "app/video.h"
#include "core/log.h"
#include "core/seams.h"
#include "fighter/lifeform.h"

namespace {

constexpr int joy_buttons = 32;
constexpr int joy_axes = 8;

struct pending_key {
  int key;
  int down;
};

struct session_state {
  bool recording = false;
  bool playing = false;
  bool keys_from_script = false;
  bool header_written = false;
  bool escape = false;  // the player pressed Escape during a replay  // a recording made from --script: its keys are already in the array
  std::string file;
  std::FILE* out = nullptr;
  replay_file replay;
  size_t next_joy = 0;
  size_t next_check = 0;
  Uint8 last_keys[SDLK_LAST] = {};
  std::vector<pending_key> pending;  // key changes caught since the last frame
  int buttons[joy_buttons] = {};
  int axes[joy_axes] = {};
  int joystick_ok = 0;
  replay_header header;  // of the recording
  input_seams devices;  // the real sources, for reading the joystick while recording
  SDL_EventFilter chained_filter = nullptr;  // the quit watch's, still called for other events
  bool filter_installed = false;
  void (*chained_before)() = nullptr;
  void (*chained_after)() = nullptr;
};

session_state session;

int recorded_button(int b) { return b >= 0 && b < joy_buttons ? session.buttons[b] : 0; }
Sint16 recorded_axis(int a) { return static_cast<Sint16>(a >= 0 && a < joy_axes ? session.axes[a] : 0); }

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

void write_key_changes(long frame) {
  const Uint8* keys = scripted_keys();
  for (int k = 1; k < SDLK_LAST; ++k) {
    if (keys[k] == session.last_keys[k]) continue;
    session.last_keys[k] = keys[k];
    const char* name = SDL_GetKeyName(static_cast<SDLKey>(k));
    std::fprintf(session.out, "%ld %s %s\n", frame, key_code_for_name(name) == k ? name : std::to_string(k).c_str(),
                 keys[k] ? "down" : "up");
  }
}

void record_frame(long frame) {
  if (!session.header_written) {  // the joystick has opened by now
    session.header_written = true;
    session.header.joystick = session.joystick_ok = g_video.joystick_ok;
    std::fputs(replay_header_text(session.header).c_str(), session.out);
    write_key_changes(0);  // a script's keys for frame 0 were set before the first picture
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
  write_key_changes(frame);
  if (session.joystick_ok) {
    for (int b = 0; b < joy_buttons; ++b) {
      const int now = session.devices.joy_button(b) ? 1 : 0;
      if (now != session.buttons[b]) {
        session.buttons[b] = now;
        std::fprintf(session.out, "%ld joybutton %d %s\n", frame, b, now ? "down" : "up");
      }
    }
    for (int a = 0; a < joy_axes; ++a) {
      const int now = session.devices.joy_axis(a);
      if (now != session.axes[a]) {
        session.axes[a] = now;
        std::fprintf(session.out, "%ld joyaxis %d %d\n", frame, a, now);
      }
    }
  }
  if (frame % replay_check_interval == 0) {
    std::fprintf(session.out, "%ld check %016llx\n", frame, fight_state_hash());
  }
  std::fflush(session.out);
}

void finish_recording() {
  if (!session.out) return;
  std::fprintf(session.out, "%ld end\n", presented_frames());
  std::fclose(session.out);
  session.out = nullptr;
}

void play_frame(long frame) {
  g_video.joystick_ok = session.joystick_ok;  // as when recorded, whatever is plugged in now
  const std::vector<replay_joy_event>& joy = session.replay.joystick;
  while (session.next_joy < joy.size() && joy[session.next_joy].frame <= frame) {
    const replay_joy_event& e = joy[session.next_joy++];
    (e.axis ? session.axes : session.buttons)[e.index] = e.value;
  }
  const std::vector<replay_check>& checks = session.replay.checks;
  while (session.next_check < checks.size() && checks[session.next_check].frame <= frame) {
    const replay_check& c = checks[session.next_check++];
    if (c.frame != frame) continue;
    const unsigned long long now = fight_state_hash();
    if (now != c.hash) {
      log_err("ERROR: replay %s desynchronised at frame %ld (line %d): fight state %016llx, recorded %016llx%s\n",
              session.file.c_str(), frame, c.line, now, c.hash,
              session.replay.header.build != replay_build_version
                  ? (" (recorded by build " + session.replay.header.build + ", this is " + replay_build_version + ")")
                        .c_str()
                  : "");
      std::fflush(stdout);
      std::_Exit(3);
    }
  }
  if (frame >= session.replay.end_frame) {
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
  if (session.escape || presented_frames() >= session.replay.end_frame) return;
  log_err("ERROR: replay %s desynchronised: the run ended at frame %ld, the recording at frame %ld\n",
          session.file.c_str(), presented_frames(), session.replay.end_frame);
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
  const long frame = presented_frames();
  if (session.recording) record_frame(frame);
  if (session.playing) play_frame(frame);
}

}  // namespace

bool replaying() { return session.playing; }

bool prepare_replay_options(run_options& options, std::string& error) {
  if (!options.replay.empty()) {
    if (!load_replay(options.replay, session.replay, error)) return false;
    options.seeded = true;
    options.seed = session.replay.header.seed;
    options.fighter = session.replay.header.fighter;
  } else if (!options.record.empty() && !options.seeded) {
    options.seeded = true;
    options.seed = static_cast<unsigned>(std::time(nullptr));
  }
  return true;
}

void apply_replay_settings(const run_options& options, game_settings& settings) {
  if (options.replay.empty()) return;
  const replay_header& h = session.replay.header;
  if (h.width > 0) settings.width = h.width;
  if (h.height > 0) settings.height = h.height;
  if (h.fps > 0) settings.fps = h.fps;
  // The match keys it was recorded with; none (an older replay): one endless fight.
  settings.rounds = h.rounds;
  settings.round_time = h.round_time;
  settings.difficulty = h.difficulty;
}

bool start_replay_session(const run_options& options, const game_settings& settings, std::string& error) {
  if (options.record.empty() && options.replay.empty()) return true;
  session.devices = seams();
  use_recordable_random(options.seed);
  seams().joy_button = recorded_button;
  seams().joy_axis = recorded_axis;
  session.chained_before = g_video.before_present;
  session.chained_after = g_video.after_present;
  g_video.before_present = before_present;
  g_video.after_present = after_present;
  if (!options.replay.empty()) {
    session.playing = true;
    session.file = options.replay;
    session.joystick_ok = session.replay.header.joystick;
    std::atexit(check_replay_finished);
    if (session.replay.header.build != replay_build_version) {
      log_err("WARNING: replay %s was recorded by build %s, this is %s: it may not play the same\n",
              options.replay.c_str(), session.replay.header.build.c_str(), replay_build_version);
    }
    return true;
  }
  session.recording = true;
  session.file = options.record;
  session.keys_from_script = !options.script.empty();
  session.out = std::fopen(options.record.c_str(), "w");
  if (!session.out) {
    error = "can't write the replay " + options.record;
    return false;
  }
  replay_header& h = session.header;
  h.version = replay_format_version;
  h.build = replay_build_version;
  h.seed = options.seed;
  h.width = settings.width;
  h.height = settings.height;
  h.fps = settings.fps;
  h.fighter = options.fighter;
  h.rounds = settings.rounds;
  h.round_time = settings.round_time;
  h.difficulty = settings.difficulty;
  std::atexit(finish_recording);
  return true;
}

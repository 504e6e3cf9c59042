#include "app/dev/script_driver.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>

#include "app/fight/fight_text.h"
#include "app/screen_capture.h"
#include "app/replay/replay_format.h"
#include "app/video.h"
#include "core/log.h"
#include "core/png_write.h"
#include "core/seams.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"

namespace {

const std::vector<key_script_event> no_events;

struct driver_state {
  std::shared_ptr<const replay_file> input;  // holds the events
  const std::vector<key_script_event>* events = &no_events;
  size_t next_event = 0;
  bool scripted_clock = false;
  int fps = 60;
  long frames = 0;
  long frame_limit = -1;
  std::vector<std::pair<long, std::string>> screenshots;
};

driver_state driver;

Uint32 scripted_ticks() {
  // Whole milliseconds from the frame count, so no rounding drift builds up.
  return static_cast<Uint32>(driver.frames * 1000L / driver.fps);
}

// With a second player, entry 0 is steered by a human step too.
bool human_steers(const lifeform* l) {
  return l && l->path && l->path->step_count > 0 && l->path->steps[0].mode == mode_human;
}

// Where the human's fighter stands and what it does when a key changes: lets
// a test see that a scripted walk moved the fighter and a punch started one.
void trace_key(const key_script_event& e) {
  const char* name = SDL_GetKeyName(static_cast<SDLKey>(e.key));
  const char* change = e.down ? "down" : "up";
  const lifeform* human = lifeform_at(1);
  if (!human) {
    log_err("fight trace: frame [%ld] key [%s] %s\n", e.frame, name, change);
    return;
  }
  log_err("fight trace: frame [%ld] key [%s] %s: entry [1] at [%d,%d] state [%d] action [%d]\n", e.frame, name,
          change, human->x, human->y, human->state, human->action);
  const lifeform* second = lifeform_at(0);
  if (human_steers(second)) {
    log_err("fight trace: frame [%ld] key [%s] %s: entry [0] at [%d,%d] state [%d] action [%d]\n", e.frame, name,
            change, second->x, second->y, second->state, second->action);
  }
}

void apply_events_up_to(long frame) {
  Uint8* keys = scripted_keys();
  while (driver.next_event < driver.events->size() && (*driver.events)[driver.next_event].frame <= frame) {
    const key_script_event& e = (*driver.events)[driver.next_event++];
    if (fight_tracing()) trace_key(e);
    if (e.key == script_quit_key) {  // a close request, as SDL reports one
      SDL_Event quit;
      quit.type = SDL_QUIT;
      if (e.down) SDL_PushEvent(&quit);
    } else {
      keys[e.key] = static_cast<Uint8>(e.down);
    }
  }
}

void before_present() {
  for (const auto& shot : driver.screenshots) {
    if (shot.first == driver.frames && !save_screenshot(shot.second)) {
      log_err("screenshot: can't write [%s]\n", shot.second.c_str());
    }
  }
}

void after_present() {
  ++driver.frames;
  if (driver.frame_limit >= 0 && driver.frames >= driver.frame_limit) {
    std::fflush(stdout);
    std::exit(0);
  }
  if (driver.scripted_clock) apply_events_up_to(driver.frames);
}

}  // namespace

bool install_script_driver(const run_options& options, int fps, std::string& error) {
  driver = driver_state();
  driver.fps = fps > 0 ? fps : 60;
  driver.frame_limit = options.frame_limit;
  driver.screenshots = options.screenshots;
  // A replay is a key script; a recording runs on the same clock so it can be one.
  const std::string& keys_file = options.script.empty() ? options.replay : options.script;
  if (!keys_file.empty() || !options.record.empty()) {
    if (!keys_file.empty() && !options.input) {
      error = "the key script " + keys_file + " was not read";
      return false;
    }
    driver.input = options.input;
    if (driver.input) driver.events = &driver.input->keys;
    driver.scripted_clock = true;
    use_scripted_keys();
    seams().ticks = scripted_ticks;
    apply_events_up_to(0);
  }
  if (driver.scripted_clock || driver.frame_limit >= 0 || !driver.screenshots.empty()) {
    g_video.before_present = before_present;
    g_video.after_present = after_present;
  }
  return true;
}

long presented_frames() { return driver.frames; }

bool save_screenshot(const std::string& host_file) {
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  return read_screen_rgba(rgba, w, h) && write_png(host_file, rgba.data(), w, h, w * 4, 4);
}

#include "app/viewer/viewer_controls.h"

#include <cmath>
#include <cstdio>

#include "anim/animation.h"

const viewer_keys::binding viewer_keys::bindings[] = {
    {SDLK_DOWN, viewer_command::next_item, true},
    {SDLK_PAGEDOWN, viewer_command::next_item, true},
    {SDLK_UP, viewer_command::previous_item, true},
    {SDLK_PAGEUP, viewer_command::previous_item, true},
    {SDLK_SPACE, viewer_command::pause, false},
    {SDLK_p, viewer_command::pause, false},
    {SDLK_RIGHT, viewer_command::next_frame, true},
    {SDLK_LEFT, viewer_command::previous_frame, true},
    {SDLK_m, viewer_command::mirror, false},
    {SDLK_PLUS, viewer_command::zoom_in, true},
    {SDLK_EQUALS, viewer_command::zoom_in, true},
    {SDLK_KP_PLUS, viewer_command::zoom_in, true},
    {SDLK_MINUS, viewer_command::zoom_out, true},
    {SDLK_KP_MINUS, viewer_command::zoom_out, true},
    {SDLK_c, viewer_command::costume, false},
    {SDLK_s, viewer_command::sound, false},
    {SDLK_r, viewer_command::reload, false},
    {SDLK_ESCAPE, viewer_command::quit, false},
};
const int viewer_keys::binding_count = sizeof bindings / sizeof bindings[0];

const char* const viewer_help_lines[2] = {
    "Up/Down posture or move   Space pause   Left/Right frame   M mirror   +/- zoom",
    "C costume   S sound   R reload files   Esc quit",
};

double viewer_view::zoom_factor() const { return std::pow(1.25, zoom_step); }

void apply_view_command(viewer_view& view, viewer_command command) {
  switch (command) {
    case viewer_command::next_item:
      view.item = (view.item + 1) % viewer_item_count;
      break;
    case viewer_command::previous_item:
      view.item = (view.item + viewer_item_count - 1) % viewer_item_count;
      break;
    case viewer_command::pause:
      view.paused = !view.paused;
      break;
    case viewer_command::next_frame:
    case viewer_command::previous_frame:
      view.paused = true;
      break;
    case viewer_command::mirror:
      view.facing = view.facing ? 0 : 1;
      break;
    case viewer_command::zoom_in:
      if (view.zoom_step < viewer_max_zoom_step) ++view.zoom_step;
      break;
    case viewer_command::zoom_out:
      if (view.zoom_step > viewer_min_zoom_step) --view.zoom_step;
      break;
    case viewer_command::costume:
      view.costume = !view.costume;
      break;
    case viewer_command::sound:
      view.sound = !view.sound;
      break;
    case viewer_command::reload:
    case viewer_command::quit:
      break;
  }
}

std::vector<viewer_command> viewer_keys::read(const Uint8* keys, const int* press_events, Uint32 now) {
  std::vector<viewer_command> commands;
  static_assert(sizeof bindings / sizeof bindings[0] <= sizeof buttons_ / sizeof buttons_[0],
                "one button per binding");
  for (int i = 0; i < binding_count; ++i) {
    const binding& b = bindings[i];
    const bool held = keys && keys[b.key];
    const int events = press_events ? press_events[b.key] : 0;
    const bool newly_held = held && !buttons_[i].held;
    int presses = buttons_[i].update(held, events, now);
    // A toggle held down is one press, not one every quarter second.
    if (!b.repeats) presses = events > 0 ? events : (newly_held ? 1 : 0);
    for (int n = 0; n < presses; ++n) commands.push_back(b.command);
  }
  return commands;
}

const char* viewer_posture_name(int posture) {
  static const char* const names[viewer_posture_count] = {
      "standing", "in the air", "crouching", "blocking", "attacking", "hit",
      "block struck in the air", "block struck", "block struck moving right"};
  return posture >= 0 && posture < viewer_posture_count ? names[posture] : "?";
}

const char* viewer_slot_name(int slot) {
  static const char* const names[move_slot_count] = {
      "punch", "hit", "not played", "kick", "joystick button 2", "joystick button 3",
      "hit crouching", "hit in the air", "crouching punch", "crouching kick", "air punch", "air kick",
      "special", "projectile", "not played", "dash"};
  return slot >= 0 && slot < move_slot_count ? names[slot] : "?";
}

std::string describe_animation_frame(const std::string& file, const animation& anim, unsigned index) {
  const size_t count = anim.frames.size();
  char text[256];
  if (count == 0) {
    std::snprintf(text, sizeof text, "%s  no frames", file.c_str());
    return text;
  }
  if (index >= count) index = static_cast<unsigned>(count - 1);
  const animation_frame& f = anim.frames[index];
  std::snprintf(text, sizeof text, "%s  frame %u/%zu  rate %d", file.c_str(), index + 1, count, f.rate);
  std::string line = text;
  if (anim.loop) line += "  loop";
  if (f.fire) line += "  fire";
  if (f.shake) {
    std::snprintf(text, sizeof text, "  shake %d", f.shake);
    line += text;
  }
  if (f.flash) {
    std::snprintf(text, sizeof text, "  flash %d/%d", f.flash, f.flashrate);
    line += text;
  }
  if (f.has_sound) line += "  sound";
  return line;
}

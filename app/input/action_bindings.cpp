#include "app/input/action_bindings.h"

#include "app/replay/key_script.h"
#include "app/replay/script_text.h"
#include "core/seams.h"

namespace {

input_binding key(int code) {
  input_binding b;
  b.kind = input_binding::device::key;
  b.index = code;
  return b;
}

input_binding button(int stick, int index) {
  input_binding b;
  b.kind = input_binding::device::joy_button;
  b.stick = stick;
  b.index = index;
  return b;
}

input_binding axis(int stick, int index, int sign) {
  input_binding b;
  b.kind = input_binding::device::joy_axis;
  b.stick = stick;
  b.index = index;
  b.sign = sign;
  return b;
}

enum action_slot { slot_up, slot_down, slot_left, slot_right, slot_punch, slot_kick, slot_extra1, slot_extra2 };

void bind(action_bindings& t, int slot, std::initializer_list<input_binding> inputs) {
  int i = 0;
  for (const input_binding& b : inputs) t.inputs[slot][i++] = b;
}

bool same_input(const input_binding& a, const input_binding& b) {
  if (a.kind != b.kind || a.index != b.index) return false;
  return a.kind == input_binding::device::key || (a.stick == b.stick && a.sign == b.sign);
}

bool is_key(const input_binding& b) { return b.kind == input_binding::device::key; }

// Inputs of a slot stay packed at its front, keys first.
void pack(input_binding (&inputs)[max_inputs_per_action]) {
  input_binding packed[max_inputs_per_action];
  int n = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (const input_binding& b : inputs) {
      if (b.kind != input_binding::device::none && is_key(b) == (pass == 0)) packed[n++] = b;
    }
  }
  for (int i = 0; i < max_inputs_per_action; ++i) inputs[i] = packed[i];
}

// 0 not pushed that way, 1 half, 2 full, 3 strong.
int axis_band(int value) {
  if (value > 17000) return 3;
  if (value > 10000) return 2;
  return value > 3200 ? 1 : 0;
}

}  // namespace

action_bindings default_action_bindings(int player) {
  action_bindings t;
  const bool first = player == 0;
  const int stick = first ? 0 : 1;
  bind(t, slot_up, {key(first ? SDLK_UP : SDLK_w), axis(stick, 1, -1)});
  bind(t, slot_down, {key(first ? SDLK_DOWN : SDLK_s), axis(stick, 1, 1)});
  bind(t, slot_left, {key(first ? SDLK_LEFT : SDLK_a), axis(stick, 0, -1)});
  bind(t, slot_right, {key(first ? SDLK_RIGHT : SDLK_d), axis(stick, 0, 1)});
  if (first) {
    bind(t, slot_punch, {key(SDLK_i), key(SDLK_SPACE), button(stick, 0)});
  } else {
    bind(t, slot_punch, {key(SDLK_TAB), button(stick, 0)});
  }
  bind(t, slot_kick, {key(first ? SDLK_k : SDLK_z), button(stick, 1)});
  bind(t, slot_extra1, {button(stick, 2)});
  bind(t, slot_extra2, {button(stick, 3)});
  if (first) {
    bind(t, pause_slot, {key(SDLK_p), button(stick, 7)});
  } else {
    bind(t, pause_slot, {button(stick, 7)});
  }
  return t;
}

player_actions read_player_actions(const action_bindings& b, const Uint8* keys, bool joysticks_open) {
  // Keys and joystick inputs are gathered apart: the keyboard beats the
  // joystick within each group (across, up and down, the attacks).
  player_actions by_key = 0, by_joystick = 0;
  int band[2] = {0, 0};  // the strongest push of a stick across, and up or down
  for (int slot = 0; slot < bindable_action_count; ++slot) {
    const player_actions bit = static_cast<player_actions>(1u << slot);
    const int along = slot == slot_left || slot == slot_right ? 0 : slot == slot_up || slot == slot_down ? 1 : -1;
    for (const input_binding& in : b.inputs[slot]) {
      switch (in.kind) {
        case input_binding::device::none:
          break;
        case input_binding::device::key:
          if (keys && in.index > 0 && in.index < SDLK_LAST && keys[in.index] != 0) by_key |= bit;
          break;
        case input_binding::device::joy_button:
          if (joysticks_open && joy_button_of(in.stick, in.index) != 0) {
            by_joystick |= bit;
            if (along >= 0 && band[along] < 2) band[along] = 2;
          }
          break;
        case input_binding::device::joy_axis: {
          const int pushed = joysticks_open ? axis_band(joy_axis_of(in.stick, in.index) * in.sign) : 0;
          if (pushed == 0) break;
          by_joystick |= bit;
          if (along >= 0 && pushed > band[along]) band[along] = pushed;
          break;
        }
      }
    }
  }
  const player_actions groups[3] = {action_left | action_right, action_up | action_down,
                                    action_punch | action_kick | action_extra1 | action_extra2};
  for (int g = 0; g < 3; ++g) {
    if (by_key & groups[g]) by_joystick = static_cast<player_actions>(by_joystick & ~groups[g]);
  }
  player_actions held = static_cast<player_actions>(by_key | by_joystick);
  const player_actions half[2] = {action_x_half, action_y_half};
  const player_actions strong[2] = {action_x_strong, action_y_strong};
  for (int a = 0; a < 2; ++a) {
    if (!(by_joystick & groups[a])) continue;  // no stick moves it, or a key took over
    if (band[a] == 1) held = static_cast<player_actions>(held | half[a]);
    if (band[a] == 3) held = static_cast<player_actions>(held | strong[a]);
  }
  return held;
}

void read_pause_held(const action_bindings& b, const Uint8* keys, bool joysticks_open, bool& by_key,
                     bool& by_joystick) {
  by_key = by_joystick = false;
  for (const input_binding& in : b.inputs[pause_slot]) {
    switch (in.kind) {
      case input_binding::device::none: break;
      case input_binding::device::key:
        if (keys && in.index > 0 && in.index < SDLK_LAST && keys[in.index] != 0) by_key = true;
        break;
      case input_binding::device::joy_button:
        if (joysticks_open && joy_button_of(in.stick, in.index) != 0) by_joystick = true;
        break;
      case input_binding::device::joy_axis:
        if (joysticks_open && axis_band(joy_axis_of(in.stick, in.index) * in.sign) >= 2) by_joystick = true;
        break;
    }
  }
}

const char* binding_slot_name(int slot) {
  if (slot == pause_slot) return "pause";
  return slot >= 0 && slot < bindable_action_count ? player_action_name(slot) : nullptr;
}

int binding_slot_index(std::string_view name) {
  if (name == "pause") return pause_slot;
  const int slot = player_action_index(name);
  return slot >= 0 && slot < bindable_action_count ? slot : -1;
}

bool parse_input_binding(std::string_view text, input_binding& out, std::string& error) {
  script_fields fields(text);
  std::string_view first, what, number, side;
  fields.next(first);
  if (first.size() == 4 && first.substr(0, 3) == "joy" && (first[3] == '0' || first[3] == '1')) {
    const int stick = first[3] - '0';
    fields.next(what);
    fields.next(number);
    long long index = 0;
    if (what == "button" && parse_script_number(number, 0, 31, index) && fields.at_end()) {
      out = button(stick, static_cast<int>(index));
      return true;
    }
    fields.next(side);
    if (what == "axis" && parse_script_number(number, 0, 7, index) && (side == "-" || side == "+") &&
        fields.at_end()) {
      out = axis(stick, static_cast<int>(index), side == "-" ? -1 : 1);
      return true;
    }
    error = "expected 'joyN button 0..31' or 'joyN axis 0..7 -|+', got " + quoted_for_message(text);
    return false;
  }
  const int code = key_code_for_name(first);
  if (code <= 0 || !fields.at_end()) {
    error = "expected a key name or a joystick input, got " + quoted_for_message(text);
    return false;
  }
  out = key(code);
  return true;
}

std::string input_binding_text(const input_binding& b) {
  const std::string stick = "joy" + std::to_string(b.stick);
  switch (b.kind) {
    case input_binding::device::key:
      return key_name_for_script(b.index);
    case input_binding::device::joy_button:
      return stick + " button " + std::to_string(b.index);
    case input_binding::device::joy_axis:
      return stick + " axis " + std::to_string(b.index) + (b.sign < 0 ? " -" : " +");
    case input_binding::device::none:
      break;
  }
  return "none";
}

bool apply_binding_setting(action_bindings players[2], std::string_view name, std::string_view value,
                           std::string& error) {
  const bool named = name.size() > 3 && name[0] == 'p' && (name[1] == '1' || name[1] == '2') && name[2] == '_';
  const int slot = named ? binding_slot_index(name.substr(3)) : -1;
  if (slot < 0) {
    error = "expected a binding name such as p1_punch or p2_left, got " + quoted_for_message(name);
    return false;
  }
  input_binding inputs[max_inputs_per_action];
  int count = 0;
  if (value != "none") {
    std::string_view rest = value;
    while (true) {
      const size_t comma = rest.find(',');
      std::string_view one = rest.substr(0, comma);
      while (!one.empty() && (one.front() == ' ' || one.front() == '\t')) one.remove_prefix(1);
      while (!one.empty() && (one.back() == ' ' || one.back() == '\t')) one.remove_suffix(1);
      if (count == max_inputs_per_action) {
        error = "holds more than " + std::to_string(max_inputs_per_action) + " inputs";
        return false;
      }
      if (!parse_input_binding(one, inputs[count++], error)) return false;
      if (comma == std::string_view::npos) break;
      rest = rest.substr(comma + 1);
    }
  }
  action_bindings& t = players[name[1] - '1'];
  for (int i = 0; i < count; ++i) {
    for (auto& held : t.inputs) {
      for (input_binding& b : held) {
        if (same_input(b, inputs[i])) b = input_binding();
      }
      pack(held);
    }
  }
  for (int i = 0; i < max_inputs_per_action; ++i) t.inputs[slot][i] = i < count ? inputs[i] : input_binding();
  return true;
}

std::string slot_inputs_text(const action_bindings& b, int slot) {
  std::string text;
  for (const input_binding& in : b.inputs[slot]) {
    if (in.kind == input_binding::device::none) continue;
    if (!text.empty()) text += ", ";
    text += input_binding_text(in);
  }
  return text.empty() ? "none" : text;
}

void bind_pressed_input(action_bindings players[2], int player, int slot, const input_binding& input) {
  input_binding (&target)[max_inputs_per_action] = players[player].inputs[slot];
  input_binding replaced;  // the slot's first input of the pressed kind, handed to whoever held `input`
  for (const input_binding& b : target) {
    if (b.kind != input_binding::device::none && is_key(b) == is_key(input)) {
      replaced = b;
      break;
    }
  }
  for (int p = 0; p < 2; ++p) {
    for (int s = 0; s < binding_slot_count; ++s) {
      if (p == player && s == slot) continue;
      for (input_binding& b : players[p].inputs[s]) {
        if (same_input(b, input)) b = replaced;
      }
      pack(players[p].inputs[s]);
    }
  }
  for (input_binding& b : target) {
    if (b.kind != input_binding::device::none && is_key(b) == is_key(input)) b = input_binding();
  }
  pack(target);
  target[max_inputs_per_action - 1] = input;  // the last place is free or the least of the others
  pack(target);
}

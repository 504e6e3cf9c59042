// The replay file: a key script ("FRAME KEY down|up" lines) with a header
// naming what shaped the run, the players' actions, joystick changes, state
// checks and an end line. The fight plays the actions; the keys and joystick
// lines drive what lies around it (titles, select screen, menus).
//
//   replay 3                 format version (first line that is not a comment)
//   build fight-4            the simulation's version that recorded it
//   seed 1234                random seed
//   width 640 / height 480 / fps 60 / fighter -1 (select screen) / joystick 0
//   rounds 2 / round_time 60 / difficulty 3   only when game.ini set them; a
//                            replay without them plays one endless fight
//   push_apart 1             only when game.ini set it; without it the
//                            fighters' bodies pass through each other
//   main_menu 1              only when game.ini set it; without it the select
//                            screen follows the titles
//   training 2 / dummy 3     only for a training run (--training, --dummy)
//   guest_fighter 2          only for an online fight: the guest's pick, entry 0
//                            steered by the p2 actions; `fighter` is the host's,
//                            entry 1, steered by p1. Its frames count the fight's
//                            steps from 0, and the fight starts at once.
//   FRAME KEY down|up        as in a key script
//   FRAME p1|p2 ACTIONS      what that player holds from this frame on: "none" or
//                            action names joined by '+' ("right+punch")
//   FRAME joybutton B down|up, FRAME joyaxis A VALUE
//   FRAME check HEX          fight state hash, every 60 frames
//   FRAME end                the run ended after FRAME frames (missing: truncated)
// A run saved with F9 also says, after the header above:
//   random libc              the numbers came from the C library's rand() seeded with `seed`
//   clock readings           the clock is what the run read, listed by frame:
//   FRAME clock MS D...      first reading MS in that frame, each later one D ms after the one before
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/replay/key_script.h"
#include "fighter/player_actions.h"

// What --record and F9 write and what this build plays. Formats 1 and 2 held
// keys where this one holds actions: they are refused, not played wrongly.
constexpr int replay_format_version = 3;
// Bumped whenever the simulation changes on purpose, so an old replay says
// why it no longer plays the same.
extern const char* const replay_build_version;
constexpr long replay_check_interval = 60;  // frames between state checks

struct replay_header {
  int version = 0;
  std::string build;
  unsigned seed = 0;
  int width = 0, height = 0, fps = 0;
  int fighter = -1;   // roster position given by --fighter, -1 picked on the select screen
  int joystick = 0;   // 1 when joystick 0 was open
  bool libc_random = false;     // rand() seeded with `seed`; otherwise the game's own generator
  bool clock_readings = false;  // the clock lines give every reading; otherwise 1000/fps ms a frame
  int rounds = 0, round_time = 0, difficulty = 0;  // the match keys in force (0: off)
  int push_apart = 0;  // 1: the fighters' bodies were kept apart
  int main_menu = 0;   // 1: the run went through the main menu
  int training = -1;   // roster position of a training run's fighter; -1 not training
  int dummy = -1;      // and of its dummy
  int guest_fighter = -1;  // an online fight's guest's roster position; -1 not online
};

struct replay_joy_event {
  long frame;
  bool axis;   // false: a button
  int index;
  int value;   // button 0/1, axis -32768..32767
};

struct replay_action_event {
  long frame;
  int player;  // 0 or 1
  player_actions held;
};

struct replay_check {
  long frame;
  unsigned long long hash;
  int line;
};

// The readings of one frame: clock_readings[first .. first + count).
struct replay_clock_frame {
  long frame;
  size_t first;
  size_t count;
};

// A replay, or a plain key script read as one (header.version 0: keys only).
struct replay_file {
  replay_header header;
  std::vector<key_script_event> keys;
  std::vector<replay_joy_event> joystick;
  std::vector<replay_action_event> actions;
  std::vector<replay_check> checks;
  std::vector<replay_clock_frame> clock;
  std::vector<uint32_t> clock_readings;  // ms
  long end_frame = -1;
};

bool is_replay_header_word(std::string_view word);

// Reads every line in one pass. False with `error` naming the line ("line N:
// ...") on anything missing, repeated, out of range or malformed: header
// values have the limits game.ini and the options have.
bool parse_replay(std::string_view text, replay_file& out, std::string& error);

std::string replay_header_text(const replay_header& h);

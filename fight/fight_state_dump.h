// Every field of a saved fight (fight/fight_state.h) by name, as text a
// person can read: when two machines playing one fight disagree, their states
// side by side show where.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct fight_state;

struct state_field {
  std::string name;   // e.g. "fighters[0].path.ai.level"
  std::string value;  // as text; doubles exactly (%.17g)
  size_t offset = 0;  // where it lies in the fight_state, in bytes
  size_t size = 0;
};

// Every field, in the order they lie in memory.
std::vector<state_field> fight_state_fields(const fight_state& state);

// "name: mine | theirs" lines: first the fields that differ, each marked with
// a leading "* ", then the others ("  name: value | value"), leaving out those
// that are 0 on both sides. Without `theirs`, "  name: mine" lines of every
// field that is not 0.
std::string fight_state_dump(const fight_state& mine, const fight_state* theirs);

#include "fight/fight_options.h"

namespace {
fight_options run_options_in_force;
}  // namespace

void set_fight_options(const fight_options& options) { run_options_in_force = options; }
const fight_options& current_fight_options() { return run_options_in_force; }

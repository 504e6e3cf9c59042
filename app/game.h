// The main routine: one straight run from the settings to the end of the fight.
#pragma once
#include "app/run_options.h"

// Always returns 0 (the process's exit status), whatever happened on the way.
int run_game(const run_options& options);

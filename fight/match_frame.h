// The rules half of a match's frame, after the hits: the round clock and the
// rounds advance, a new round puts the fighters back, and a fighter knocked
// out lies down while the K.O. is announced.
#pragma once
#include "fight/match.h"

void run_match_rules(match_state& m);

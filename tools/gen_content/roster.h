// The four fighters: their look, their numbers and their combos.
#pragma once
#include <string>
#include <vector>

#include "figure.h"

struct ComboDef {
  int type;                        // 1 jump boost, 2 special, 3 dash
  std::vector<std::string> steps;  // control names
};

struct FighterDef {
  std::string name;         // directory and file stem, e.g. "brela"
  std::string action_shot;  // file name under rsrc\<name>\ of the select picture
  Look look;
  int hp;
  double speed;  // movement divisor: pixels per frame = 1 / speed at full input
  double scale;
  std::vector<ComboDef> combos;
};

const std::vector<FighterDef>& roster();

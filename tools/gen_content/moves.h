// The sixteen move slots of every fighter as animation files.
#pragma once
#include <string>
#include <vector>

struct FrameSpec {
  std::string picture;  // pose name, or "ball%d" for the projectile frames
  int rate;
  std::string sound;    // sound stem under rsrc\sfx, empty for none
  int fire = 0, shake = 0, flash = 0, flashrate = 0;
};

struct MoveSpec {
  std::string file;     // stem of game\fighter\<name>\<file>.ini
  std::vector<FrameSpec> frames;
  bool loop = false;
};

// Index = move slot; slots that share a file name share one animation file.
const std::vector<MoveSpec>& move_table();
// Pose names of the nine posture images (states 0..8).
const std::vector<std::string>& posture_pictures();
// The sound stems the moves use.
const std::vector<std::string>& sound_names();

#include "anim/frame_effects.h"
#include "stage/level.h"

level* g_level = nullptr;

namespace {

// Animation frames shake and flash the current level and are zoomed with it.
class level_frame_stage final : public frame_stage {
 public:
  double zoom() const override { return g_level->zoom; }
  void shake(int amplitude) override { g_level->shake = amplitude; }
  void flash(int strength, int fade_per_tick) override {
    g_level->flash = strength;
    g_level->flash_rate = fade_per_tick;
  }
};

level_frame_stage current_level_stage;

frame_stage* current_stage() { return g_level ? &current_level_stage : nullptr; }

[[maybe_unused]] const bool frame_stage_hooked = (g_frame_effects.stage = current_stage, true);

}  // namespace

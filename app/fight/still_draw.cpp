#include "app/fight/still_draw.h"

#include "stage/level.h"

void draw_level_still(level& stage) {
  const int shake = stage.shake, flash = stage.flash, flash_rate = stage.flash_rate;
  stage.draw();
  stage.shake = shake;
  stage.flash = flash;
  stage.flash_rate = flash_rate;
}

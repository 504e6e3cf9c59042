// Two short music loops composed in code: a calm one for the menus, a
// driving one for the fight. Each loops seamlessly: every note's tail that
// runs past the end is folded back onto the start.
#pragma once
#include <cstdint>
#include <vector>

std::vector<int16_t> compose_menu_loop();
std::vector<int16_t> compose_stage_loop();

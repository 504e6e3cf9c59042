#include "fighter/control.h"

#include <SDL.h>

control::control(const char* control_name, int32_t min_ms, int32_t max_ms)
    : min_time(min_ms), max_time(max_ms), name(control_name ? control_name : "") {}

void control::add_pair(int32_t key, int32_t state) { pairs.push_back(key_pair{key, state}); }

const player_keys first_player_keys = {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_i, SDLK_SPACE, SDLK_k, 0};
const player_keys second_player_keys = {SDLK_a, SDLK_d,   SDLK_w, SDLK_s,
                                        SDLK_TAB, player_keys::no_key, SDLK_z, 1};

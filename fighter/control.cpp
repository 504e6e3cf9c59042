#include "fighter/control.h"

control::control(const char* control_name, int32_t min_ms, int32_t max_ms)
    : min_time(min_ms), max_time(max_ms), name(control_name ? control_name : "") {}

void control::add_pair(int32_t key, int32_t state) { pairs.push_back(key_pair{key, state}); }

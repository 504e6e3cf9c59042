#include "anim/data_bounds.h"

#include <climits>
#include <cmath>

#include "core/config_file.h"
#include "core/log.h"

int count_key(const config_file& config, const char* file, const char* key, int limit) {
  int value = config.get_int(key);
  if (value < 0) {
    log_out("ERROR: [%s] %s=%d is negative, using 0\n", file, key, value);
    return 0;
  }
  if (value > limit) {
    log_out("WARNING: [%s] %s=%d is more than %d, using %d\n", file, key, value, limit, limit);
    return limit;
  }
  return value;
}

int bounded_key(const config_file& config, const char* file, const char* key, int fallback,
                int lo, int hi) {
  if (!config.has_key(key)) return fallback;
  int value = config.get_int(key);
  if (value < lo || value > hi) {
    int clamped = value < lo ? lo : hi;
    log_out("WARNING: [%s] %s=%d is outside %d..%d, using %d\n", file, key, value, lo, hi, clamped);
    return clamped;
  }
  return value;
}


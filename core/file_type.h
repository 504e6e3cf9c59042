// What a path that is not a plain file is, in words, for refusals.
#pragma once
#include <sys/types.h>

const char* file_type_name(mode_t mode);

#include "stage/level.h"

level* g_level = nullptr;

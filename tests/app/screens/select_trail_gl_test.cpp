#include "select_trail.h"

TEST(SelectTrailGl, CopiesKeepOffThePaintedNameInOpenGlMode) { check_trail_keeps_off_the_name(); }

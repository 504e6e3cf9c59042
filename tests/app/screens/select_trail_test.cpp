#include "select_trail.h"

TEST(SelectTrail, CopiesKeepOffThePaintedNameInSoftwareMode) { check_trail_keeps_off_the_name(); }

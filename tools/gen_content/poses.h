// The pose library: every named still a fighter is drawn in.
#pragma once
#include <string>
#include <vector>

#include "figure.h"

// Names of every pose picture (each becomes rsrc\<fighter>\<name>.png).
const std::vector<std::string>& pose_names();
// The pose of that name, adjusted to the build's fighting style.
Pose pose_for(const std::string& name, Build build);

// The desktop icon: a medallion with Brela striking, painted once at 256 pixels
// and averaged down for the smaller sizes so their edges stay smooth.
#pragma once
#include <string>
#include <vector>

// Writes DIR/hicolor/NxN/apps/veltmoore-brawl.png for N = 64, 128 and 256
// (RGBA, transparent around the medallion). Returns the errors, none on success.
std::vector<std::string> write_icons(const std::string& dir);

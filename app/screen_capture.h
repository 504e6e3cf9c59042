// The picture of the frame about to be shown, read back in either drawing
// mode: for --screenshot and for the player's F12.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The logical screen as opaque RGBA rows, top to bottom. False without a screen.
bool read_screen_rgba(std::vector<uint8_t>& rgba, int& width, int& height);

// F12: the frame as a PNG in the player's screenshots folder
// ($XDG_DATA_HOME/veltmoore-brawl/screenshots), a NOTICE naming the file or
// a WARNING saying why it couldn't be written.
void take_player_screenshot();

// Called at every present: a screenshot when F12 went down since the last one.
void watch_screenshot_key();

// The data checker's limits on pictures and on the window: what the game
// would refuse at load (a picture over the size caps or the budget of all
// pictures, a screen size or bpp it doesn't draw) is reported before anything
// is decoded, so the checker itself never allocates what the data claims.
#pragma once

class config_file;
class data_checker;
struct data_site;

// width, height and bpp of game\game.ini against what the game runs.
void check_video_settings(data_checker& check, const config_file& ini);

// False (and a problem) when the picture's declared size is over the caps:
// the caller must not decode it. Counts every distinct picture against the
// budget of all pictures together.
bool check_picture_size(data_checker& check, const char* path, const data_site& by);

// The data checker's stage cover test: whether the stage's pictures fill the
// screen of the settings wherever the fight camera can look.
#pragma once

class config_file;
class data_checker;

// `level_cfg` is the level file `level_path`, `set` its background set (with
// `pictures` pictures). Prints a problem for each way the stage can leave part
// of the screen bare: a zoomed piece too small for the widest view the camera
// asks for, a flat piece narrower than the screen, rows no piece reaches.
void check_stage_cover(data_checker& check, const char* level_path, const config_file& level_cfg,
                       const config_file& set, int pictures);

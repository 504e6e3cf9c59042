// Writes the Veltmoore stage: level file, background set, sorties, pictures.
#pragma once
#include "datafile.h"

extern const char* const kLevelFile;  // rsrc\veltmoore\stage_veltmoore.ini
void write_stage(DataTree& tree);

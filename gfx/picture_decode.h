// Hands a picture file to the image decoders.
#pragma once
#include <string>

struct SDL_Surface;

// Decodes the picture at `host_path` (a host path, already checked and sized),
// or returns nullptr with SDL's error set.
SDL_Surface* decode_picture_file(const std::string& host_path);

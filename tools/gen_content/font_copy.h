// The game's text font comes from Debian's DejaVu package, with its licence.
#pragma once
#include <string>

#include "datafile.h"

extern const char* const kSystemFont;       // DejaVuSans.ttf in fonts-dejavu-core
extern const char* const kSystemFontNotice; // its copyright file
// Copies the font to rsrc\Veranda.ttf and writes rsrc\FONT-LICENSE.txt.
// Returns false with a message in `error` when the font is missing.
bool copy_font(DataTree& tree, const std::string& font_path, const std::string& notice_path, std::string& error);

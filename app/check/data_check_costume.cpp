// The player's costume on a fighter: it replaces a few exact colours in every
// picture the fighter loads. A fighter repainted without any of them looks the
// same in the player's hands as in the computer's, and nothing says so but
// this warning; one without some of them gets a note with --notes.
#include <cstdio>
#include <set>
#include <string>

#include "app/check/data_check.h"
#include "core/config_file.h"
#include "fighter/lifeform.h"

namespace {

std::string key_of(const char* fmt, int a) {
  char key[64];
  std::snprintf(key, sizeof key, fmt, a);
  return key;
}

}  // namespace

void data_checker::check_costume(const config_file& cfg, const char* path) {
  if (costume_colours.empty()) return;
  // Every picture the fighter loads: postures, knocked out, the moves' frames.
  std::set<std::string> names;
  const int images = cfg.get_int("images");
  for (int i = 0; i < images && i <= max_char_images; ++i) names.insert(cfg.get_string(key_of("image%d", i).c_str()));
  if (cfg.has_key("knocked_out")) names.insert(cfg.get_string("knocked_out"));
  const int moves = cfg.get_int("moves");
  for (int i = 0; i < moves && i <= max_char_moves; ++i) {
    const auto frames = frame_pictures_.find(cfg.get_string(key_of("move%d", i).c_str()));
    if (frames != frame_pictures_.end()) names.insert(frames->second.begin(), frames->second.end());
  }
  int loaded = 0;
  uint32_t found = 0;
  for (const std::string& name : names) {
    const auto picture = pictures_.find(name);
    if (picture == pictures_.end() || !picture->second.loaded) continue;
    ++loaded;
    found |= picture->second.costume_colours;
  }
  if (loaded == 0) return;  // nothing loads: said already
  std::string missing;
  int count = 0;
  for (size_t i = 0; i < costume_colours.size() && i < 32; ++i) {
    if (found & (1u << i)) continue;
    const uint32_t c = costume_colours[i];
    char text[32];
    std::snprintf(text, sizeof text, "%s(%u,%u,%u)", count ? ", " : "", (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
    missing += text;
    ++count;
  }
  if (count == 0) return;
  const char* pictures = loaded == 1 ? "picture" : "pictures";
  if (count == static_cast<int>(costume_colours.size())) {
    warning(path, 0,
            "none of the fighter's %d %s holds a colour the player's costume replaces (%s): the player's fighter "
            "looks the same as the computer's",
            loaded, pictures, missing.c_str());
  } else if (notes) {
    // The costume still shows: a colour the fighter doesn't wear is a choice.
    report(data_severity::note, path, 0,
           "none of the fighter's %d %s holds the costume colour%s %s: the player's costume leaves %s", loaded,
           pictures, count == 1 ? "" : "s", missing.c_str(), count == 1 ? "it unchanged" : "them unchanged");
  }
}

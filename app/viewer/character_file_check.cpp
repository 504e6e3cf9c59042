#include "app/viewer/character_file_check.h"

#include <sys/stat.h>

#include "app/check/binary_file.h"
#include "app/check/data_check_keys.h"
#include "core/config_file.h"
#include "core/data_path.h"

namespace {

bool only_in_character_files(const char* key) {
  if (!is_known_key(key, data_file_kind::character)) return false;
  for (data_file_kind other : {data_file_kind::settings, data_file_kind::animation, data_file_kind::level,
                               data_file_kind::background_set, data_file_kind::sortie}) {
    if (is_known_key(key, other)) return false;
  }
  return true;
}

}  // namespace

std::string why_not_a_character_file(const std::string& name) {
  if (name.empty()) return "no file is named";
  const data_file_status status = inspect_data_file(name.c_str(), data_kind::text);
  if (!status.refusal.empty()) return status.refusal;
  struct stat st;
  if (stat(status.host.c_str(), &st) != 0) return "there is no such file";
  if (const char* what = binary_content_of(name.c_str())) return std::string("it is ") + what;
  config_file cfg;
  if (!cfg.load(name.c_str())) return "it can't be read";
  for (int i = 0; i < cfg.entry_count(); ++i) {
    if (only_in_character_files(cfg.key_at(i))) return "";
  }
  return "it sets none of the keys only a character file has (hp, name, moves, combos, knocked_out)";
}

#include "core/data_path.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/file_type.h"
#include "core/log.h"

namespace {

// realpath of the data directory; empty while data is not confined.
std::string g_data_root;

const char* kind_name(data_kind kind) {
  switch (kind) {
    case data_kind::text:
      return "key=value file";
    case data_kind::picture:
      return "picture file";
    case data_kind::sound:
      return "sound file";
    case data_kind::font:
      return "font file";
  }
  return "data file";
}

// "/x", "\x" and "C:x" name a place outside any directory the game is in.
bool is_absolute(const char* name) {
  if (name[0] == '/' || name[0] == '\\') return true;
  const char c = name[0];
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && name[1] == ':';
}

bool climbs_out(const std::string& normal) {
  return normal == ".." || normal.compare(0, 3, "../") == 0;
}

bool inside_root(const std::string& real) {
  if (g_data_root == "/") return true;
  return real.compare(0, g_data_root.size(), g_data_root) == 0 &&
         (real.size() == g_data_root.size() || real[g_data_root.size()] == '/');
}

void report_refusal(const char* name, const std::string& reason) {
  const data_reference* ref = find_data_reference(name);
  if (ref) {
    log_out("ERROR: [%s] key [%s] value [%s] refused: %s\n", ref->file, ref->key, name, reason.c_str());
  } else {
    log_out("ERROR: [%s] refused: %s\n", name, reason.c_str());
  }
  SDL_SetError("%s", reason.c_str());
}

constexpr int reference_slots = 16;
data_reference g_references[reference_slots];
int g_next_reference = 0;

}  // namespace

long long max_data_file_bytes(data_kind kind) {
  switch (kind) {
    case data_kind::text:
      return max_text_file_bytes;
    case data_kind::picture:
      return max_picture_file_bytes;
    case data_kind::sound:
      return max_sound_file_bytes;
    case data_kind::font:
      return max_font_file_bytes;
  }
  return max_text_file_bytes;
}

void confine_data_to_current_directory() {
  char* real = realpath(".", nullptr);
  g_data_root = real ? real : "";
  std::free(real);
}

void stop_confining_data() { g_data_root.clear(); }

std::string normal_data_name(const char* name) {
  if (!name) return "";
  const bool absolute = name[0] == '/' || name[0] == '\\';
  std::vector<std::string> parts;
  size_t kept_up = 0;  // leading ".." that had nothing to fold into
  const char* p = name;
  while (*p) {
    while (*p == '/' || *p == '\\') ++p;
    const char* start = p;
    while (*p && *p != '/' && *p != '\\') ++p;
    std::string part(start, p);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.size() > kept_up) {
        parts.pop_back();
      } else if (!absolute) {
        parts.push_back(part);
        ++kept_up;
      }
      continue;
    }
    parts.push_back(part);
  }
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '/';
    out += parts[i];
  }
  return out;
}

std::string host_path(const char* data_name) {
  std::string path = data_name ? data_name : "";
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

data_file_status inspect_data_file(const char* name, data_kind kind) {
  data_file_status status;
  if (!name || !*name) return status;  // the opener reports an empty name
  status.host = normal_data_name(name);
  if (status.host.empty()) status.host = ".";  // "." or "\": the directory itself
  const bool confined = !g_data_root.empty();
  if (confined && is_absolute(name)) {
    status.refusal = "an absolute path (data names are relative to the data directory)";
    return status;
  }
  if (confined && climbs_out(status.host)) {
    status.refusal = "leads out of the data directory (\"..\" above it)";
    return status;
  }
  struct stat info;
  if (stat(status.host.c_str(), &info) != 0) return status;  // missing: the opener says so
  if (confined) {
    char* real = realpath(status.host.c_str(), nullptr);
    const bool inside = real && inside_root(real);
    std::free(real);
    if (!inside) {
      status.refusal = "leads out of the data directory (through a symbolic link)";
      return status;
    }
  }
  if (!S_ISREG(info.st_mode)) {
    status.refusal = std::string("not a regular file (") + file_type_name(info.st_mode) + ")";
    return status;
  }
  const long long cap = max_data_file_bytes(kind);
  if (static_cast<long long>(info.st_size) > cap) {
    status.refusal = std::to_string(static_cast<long long>(info.st_size)) + " bytes, more than the " +
                     std::to_string(cap) + " allowed for a " + kind_name(kind);
  }
  return status;
}

std::string checked_data_path(const char* name, data_kind kind) {
  data_file_status status = inspect_data_file(name, kind);
  if (status.refusal.empty()) return status.host;
  report_refusal(name, status.refusal);
  return "";
}

FILE* open_data_file(const char* data_name, const char* mode) {
  return std::fopen(host_path(data_name).c_str(), mode);
}

SDL_RWops* open_data_rw(const char* name, const char* mode, data_kind kind, bool report) {
  data_file_status status = inspect_data_file(name, kind);
  if (!status.refusal.empty()) {
    if (report) {
      report_refusal(name, status.refusal);
    } else {
      SDL_SetError("%s", status.refusal.c_str());
    }
    return nullptr;
  }
  return SDL_RWFromFile(status.host.c_str(), mode);
}

void note_data_reference(const void* owner, const char* file, const char* key, const char* value) {
  g_references[g_next_reference] = {owner, file, key, value};
  g_next_reference = (g_next_reference + 1) % reference_slots;
}

void forget_data_references(const void* owner) {
  for (data_reference& r : g_references) {
    if (r.owner == owner) r = data_reference();
  }
}

const data_reference* find_data_reference(const char* name) {
  if (!name) return nullptr;
  for (int i = 1; i <= reference_slots; ++i) {
    const data_reference& r = g_references[(g_next_reference - i + reference_slots) % reference_slots];
    if (r.owner && std::strcmp(r.value, name) == 0) return &r;
  }
  return nullptr;
}

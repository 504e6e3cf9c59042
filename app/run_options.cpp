#include "app/run_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/option_list.h"
#include "app/replay/script_file.h"

namespace {

bool parse_long(const char* text, long& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (*end != '\0' || v < 0) return false;
  out = v;
  return true;
}

}  // namespace

bool parse_run_options(int argc, char** argv, run_options& out, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        error = std::string(name) + " needs a value";
        return nullptr;
      }
      return argv[++i];
    };
    long n = 0;
    if (arg == "--help" || arg == "-h") {
      out.help = true;
    } else if (arg == "--version") {
      out.version = true;
    } else if (arg == "--data-dir") {
      const char* v = value("--data-dir");
      if (!v) return false;
      out.data_dir = v;
    } else if (arg == "--seed") {
      const char* v = value("--seed");
      if (!v) return false;
      if (!parse_long(v, n) || n > 4294967295L) {
        error = "--seed needs a number 0..4294967295";
        return false;
      }
      out.seeded = true;
      out.seed = static_cast<unsigned>(n);
    } else if (arg == "--script") {
      const char* v = value("--script");
      if (!v) return false;
      out.script = v;
    } else if (arg == "--record" || arg == "--replay") {
      const char* v = value(arg.c_str());
      if (!v) return false;
      (arg == "--record" ? out.record : out.replay) = v;
    } else if (arg == "--frames") {
      const char* v = value("--frames");
      if (!v) return false;
      if (!parse_long(v, out.frame_limit)) {
        error = "--frames needs a non-negative number";
        return false;
      }
    } else if (arg == "--screenshot") {
      const char* v = value("--screenshot");
      if (!v) return false;
      const char* colon = std::strchr(v, ':');
      if (!colon || !parse_long(std::string(v, colon).c_str(), n) || !colon[1]) {
        error = "--screenshot needs FRAME:FILE.png";
        return false;
      }
      out.screenshots.emplace_back(n, colon + 1);
    } else if (arg == "--no-limiter") {
      out.no_limiter = true;
    } else if (arg == "--opengl") {
      out.opengl = true;
    } else if (arg == "--software") {
      out.software = true;
    } else if (arg == "--demo") {
      out.demo = true;
    } else if (arg == "--benchmark") {
      const char* v = value("--benchmark");
      if (!v) return false;
      if (!parse_long(v, out.benchmark_frames) || out.benchmark_frames < 1) {
        error = "--benchmark needs a number of frames (1 or more)";
        return false;
      }
    } else if (arg == "--settings") {
      const char* v = value("--settings");
      if (!v) return false;
      if (!*v) {
        error = "--settings \"\" is not a file";
        return false;
      }
      out.settings_file = v;
    } else if (arg == "--no-settings") {
      out.no_settings = true;
    } else if (arg == "--check") {
      out.check = true;
    } else if (arg == "--notes") {
      out.notes = true;
    } else if (arg == "--fighter") {
      const char* v = value("--fighter");
      if (!v) return false;
      if (!parse_long(v, n) || n > 3) {
        error = "--fighter needs a roster position 0..3";
        return false;
      }
      out.fighter = static_cast<int>(n);
    } else if (arg == "--training" || arg == "--dummy") {
      const char* v = value(arg.c_str());
      if (!v) return false;
      if (!parse_long(v, n) || n > 3) {
        error = arg + " needs a roster position 0..3";
        return false;
      }
      (arg == "--training" ? out.training : out.dummy) = static_cast<int>(n);
    } else if (arg == "--view") {
      const char* v = value("--view");
      if (!v) return false;
      if (!parse_long(v, n) || n > 3) {
        error = "--view needs a roster position 0..3";
        return false;
      }
      out.view = static_cast<int>(n);
    } else if (arg == "--view-file") {
      const char* v = value("--view-file");
      if (!v) return false;
      if (!*v) {
        error = "--view-file \"\" is not a character file";
        return false;
      }
      out.view_file = v;
    } else if (arg == "--difficulty") {
      const char* v = value("--difficulty");
      if (!v) return false;
      if (!parse_long(v, n) || n > 5) {
        error = "--difficulty needs a level 0..5";
        return false;
      }
      out.difficulty = static_cast<int>(n);
    } else if (arg == "--duel") {
      const char* v = value("--duel");
      if (!v) return false;
      if (std::strcmp(v, "walker") == 0) {
        out.duel_walker = true;
      } else if (parse_long(v, n) && n <= 5) {
        out.duel_level = static_cast<int>(n);
        out.demo = true;  // the computer steers entry 1
      } else {
        error = "--duel needs a level 0..5 or walker";
        return false;
      }
    } else if (arg == "--host") {
      const char* v = value("--host");
      if (!v) return false;
      if (!parse_long(v, n) || n < 1 || n > 65535) {
        error = "--host needs a UDP port 1..65535";
        return false;
      }
      out.host_port = static_cast<int>(n);
    } else if (arg == "--join") {
      const char* v = value("--join");
      if (!v) return false;
      const char* colon = std::strrchr(v, ':');
      if (!colon || colon == v || !parse_long(colon + 1, n) || n < 1 || n > 65535) {
        error = "--join needs HOST:PORT (a name or address, and a UDP port 1..65535)";
        return false;
      }
      out.join_host.assign(v, colon);
      out.join_port = static_cast<int>(n);
    } else if (arg == "--input-delay") {
      const char* v = value("--input-delay");
      if (!v) return false;
      if (!parse_long(v, n) || n > 8) {
        error = "--input-delay needs a number of frames 0..8";
        return false;
      }
      out.input_delay = static_cast<int>(n);
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (out.host_port >= 0 && out.join_port >= 0) {
    error = "--host and --join exclude each other";
    return false;
  }
  if (out.online() && (!out.replay.empty() || out.demo || out.check || out.view >= 0 || !out.view_file.empty())) {
    error = "--host and --join play online: not with --replay, --demo, --check or --view";
    return false;
  }
  if (out.notes && !out.check) {
    error = "--notes goes with --check";
    return false;
  }
  if (out.no_settings && !out.settings_file.empty()) {
    error = "--settings and --no-settings exclude each other";
    return false;
  }
  if (out.opengl && out.software) {
    error = "--opengl and --software exclude each other";
    return false;
  }
  if (!out.replay.empty() && (!out.script.empty() || !out.record.empty() || out.demo)) {
    error = "--replay plays alone: not with --script, --record or --demo";
    return false;
  }
  if (!out.record.empty() && (out.demo || (out.benchmark_frames >= 0 && !out.online()))) {
    error = "--record records a played fight: not with --demo or --benchmark";
    return false;
  }
  if (out.dummy >= 0 && out.training < 0) {
    error = "--dummy goes with --training";
    return false;
  }
  if (out.training >= 0 && (out.fighter >= 0 || out.demo || !out.replay.empty() || out.benchmark_frames >= 0)) {
    error = "--training plays alone: not with --fighter, --demo, --replay or --benchmark";
    return false;
  }
  const bool viewing = out.view >= 0 || !out.view_file.empty();
  if (viewing && (out.view >= 0) == !out.view_file.empty()) {
    error = "--view and --view-file exclude each other";
    return false;
  }
  if (viewing && (!out.replay.empty() || !out.record.empty() || out.demo || out.benchmark_frames >= 0 ||
                  out.fighter >= 0 || out.training >= 0 || out.check)) {
    error = "--view shows one fighter: not with --replay, --record, --demo, --benchmark, --fighter, --training or --check";
    return false;
  }
  if ((out.duel_level >= 0 || out.duel_walker) && out.script.empty()) {
    error = "--duel runs on the scripted clock: give it --script (an empty file will do)";
    return false;
  }
  // A script that can't be played is refused before anything starts, so a
  // typo never turns into a run that silently does nothing.
  // Read once here: what plays is what was checked, even if the file changes later.
  if (!out.script.empty() || !out.replay.empty()) {
    const bool replay = !out.replay.empty();
    auto input = std::make_shared<replay_file>();
    if (!load_script_file(replay ? out.replay : out.script, replay ? script_kind::replay : script_kind::key_script,
                          *input, error)) {
      return false;
    }
    out.input = input;
  }
  return true;
}

void print_usage(const char* program) { std::fputs(usage_text(program).c_str(), stdout); }

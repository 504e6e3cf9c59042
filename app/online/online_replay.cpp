#include "app/online/online_replay.h"

#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "app/replay/replay_format.h"
#include "app/replay/replay_saving.h"
#include "app/run_options.h"
#include "app/settings.h"
#include "core/log.h"
#include "core/user_dirs.h"
#include "core/user_file_write.h"
#include "net/rollback.h"

void online_replay::take_confirmed(const rollback_engine& engine) {
  player_actions both[2];
  while (static_cast<int>(frames_.size()) <= engine.confirmed_frame() &&
         engine.confirmed_inputs(static_cast<int>(frames_.size()), both)) {
    frames_.push_back({both[1], both[0]});  // entry 1 is the first player
  }
}

void online_replay::cut_after(int frame) {
  if (frame + 1 < frames()) frames_.resize(static_cast<size_t>(frame + 1));
}

std::string online_replay::text(const game_settings& settings, unsigned seed, int host_pick, int guest_pick) const {
  replay_header h;
  h.version = replay_format_version;
  h.build = replay_build_version;
  h.seed = seed;
  h.width = settings.width;
  h.height = settings.height;
  h.fps = settings.fps;
  h.fighter = host_pick;
  h.rounds = settings.rounds;
  h.round_time = settings.round_time;
  h.push_apart = settings.push_apart ? 1 : 0;
  std::string out = "# online fight: the host's fighter " + std::to_string(host_pick) + " as the first player, the guest's " +
                    std::to_string(guest_pick) + " as the second\n" + replay_header_text(h);
  player_actions held[2] = {0, 0};
  for (size_t f = 0; f < frames_.size(); ++f) {
    for (int p = 0; p < 2; ++p) {
      if (frames_[f][p] == held[p]) continue;
      held[p] = frames_[f][p];
      out += std::to_string(f) + " p" + std::to_string(p + 1) + " " + player_actions_text(held[p]) + "\n";
    }
  }
  out += std::to_string(frames_.size()) + " end\n";
  return out;
}

void online_replay::save(const run_options& options, const game_settings& settings, unsigned seed, int host_pick,
                         int guest_pick) const {
  const std::string bytes = text(settings, seed, host_pick, guest_pick);
  std::string written, error;
  bool saved;
  if (!options.record.empty()) {
    const size_t slash = options.record.rfind('/');
    user_file_target target;
    target.dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : options.record.substr(0, slash));
    target.name = options.record.substr(slash == std::string::npos ? 0 : slash + 1);
    target.replace = true;
    saved = write_user_file(target, bytes, written, error);
  } else {
    char cwd[4096];  // the run is in the data directory by now
    saved = save_replay_text(bytes, getcwd(cwd, sizeof cwd) ? cwd : ".", std::getenv("HOME"), std::time(nullptr),
                             written, error, !options.data_installed, user_data_dir());
  }
  if (saved) {
    log_out("NOTICE: online: replay of %d frames saved as %s\n", frames(), written.c_str());
  } else {
    log_err("WARNING: can't save the online replay: %s\n", error.c_str());
  }
}

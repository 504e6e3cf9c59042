#include "app/online/online_replay.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "app/replay/replay_format.h"
#include "app/replay/replay_listing.h"
#include "app/replay/replay_saving.h"
#include "app/run_options.h"
#include "app/settings.h"
#include "core/log.h"
#include "core/user_dirs.h"
#include "core/user_file_write.h"
#include "fight/fight_options.h"
#include "fight/match.h"
#include "fighter/lifeform.h"
#include "net/rollback.h"

void online_replay::take_confirmed(const rollback_engine& engine) {
  player_actions both[2];
  while (static_cast<int>(frames_.size()) <= engine.confirmed_frame() &&
         engine.confirmed_inputs(static_cast<int>(frames_.size()), both)) {
    frames_.push_back({both[1], both[0]});  // entry 1 is the first player
  }
  uint64_t hash = 0;
  for (int f = checks_.empty() ? rollback_hash_interval : checks_.rbegin()->first + rollback_hash_interval;
       f < frames() && engine.local_hash(f, hash); f += rollback_hash_interval) {
    checks_[f] = hash;
  }
}

void online_replay::cut_after(int frame) {
  if (frame + 1 < frames()) frames_.resize(static_cast<size_t>(frame + 1));
  checks_.erase(checks_.lower_bound(frames()), checks_.end());
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
  h.guest_fighter = guest_pick;
  // The rules the match was played by: the host's.
  h.rounds = current_match_rules().rounds;
  h.round_time = current_match_rules().round_time;
  h.push_apart = current_fight_options().push_apart ? 1 : 0;
  // The list of saved replays shows the fighters' names from the first lines.
  const lifeform* host = lifeform_at(1);
  const lifeform* guest = lifeform_at(0);
  std::string out = replay_summary_lines(host ? host->name : "", guest ? guest->name : "", "") +
                    "# online fight: p1 is the host's fighter, p2 the guest's\n" + replay_header_text(h);
  player_actions held[2] = {0, 0};
  for (size_t f = 0; f < frames_.size(); ++f) {
    for (int p = 0; p < 2; ++p) {
      if (frames_[f][p] == held[p]) continue;
      held[p] = frames_[f][p];
      out += std::to_string(f) + " p" + std::to_string(p + 1) + " " + player_actions_text(held[p]) + "\n";
    }
    const auto check = checks_.find(static_cast<int>(f));
    if (check == checks_.end()) continue;
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(check->second));
    out += std::to_string(f) + " check " + hex + "\n";
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

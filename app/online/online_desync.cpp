#include "app/online/online_desync.h"

#include <SDL.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

#include "app/online/online_fight_game.h"
#include "app/run_options.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "core/seams.h"
#include "core/user_dirs.h"
#include "core/user_file_write.h"
#include "fight/fight_state.h"
#include "fight/fight_state_dump.h"
#include "net/session.h"

namespace {

constexpr Uint32 wait_for_theirs_ms = 2000;

bool leaving() {
  const Uint8* keys = key_state();
  return poll_quit_request() || (keys && keys[SDLK_ESCAPE]);
}

bool wait_for_theirs(net_session& session, int frame, fight_state& out) {
  const Uint32 start = SDL_GetTicks();
  while (SDL_GetTicks() - start < wait_for_theirs_ms && session.state() != net_session_state::failed && !leaving()) {
    session.service();
    net_state_dump dump;
    if (session.take_state_dump(dump) && static_cast<int>(dump.frame) == frame &&
        dump.state.size() == sizeof out) {
      std::memcpy(&out, dump.state.data(), sizeof out);
      return true;
    }
    SDL_Delay(5);
  }
  return false;
}

// Beside the --record file ("NAME-desync.txt"), else in the replays folder
// with the time in its name as a saved replay has.
user_file_target dump_target(const run_options& options) {
  user_file_target target;
  char cwd[4096];  // the run is in the data directory by now: never write into it
  target.keep_out_of = resolved_path(getcwd(cwd, sizeof cwd) ? cwd : ".");
  if (!options.record.empty()) {
    const size_t slash = options.record.rfind('/');
    target.dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : options.record.substr(0, slash));
    std::string stem = options.record.substr(slash == std::string::npos ? 0 : slash + 1);
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.resize(dot);
    target.name = stem + "-desync.txt";
    return target;
  }
  const std::string user_dir = user_data_dir();
  target.dir = user_dir.empty() ? "" : user_dir + "/replays";
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  char name[40];
  std::strftime(name, sizeof name, "%Y%m%d-%H%M%S-desync.txt", &local);
  target.name = name;
  return target;
}

}  // namespace

bool send_desync_state(net_session& session, const online_fight_game& game, int frame) {
  const fight_state* mine = game.hashed_state(frame);
  if (!mine) return false;
  net_state_dump dump;
  dump.frame = static_cast<uint32_t>(frame);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(mine);
  dump.state.assign(bytes, bytes + sizeof *mine);
  session.send_state_dump(dump);
  return true;
}

std::string desync_dump_text(int frame, bool hosting, const fight_state* mine, const fight_state* theirs) {
  std::string out = "online fight desynchronised at frame " + std::to_string(frame) + "\n";
  out += std::string("this side: the ") + (hosting ? "host (entry 1)" : "guest (entry 0)") + "\n";
  if (!mine) return out + "this side's state at that frame was no longer kept\n";
  if (theirs) {
    out += "lines: field: this side | other side; \"*\" marks the fields that differ, fields 0 on both sides are left out\n";
  } else {
    out += "the other side's state never came: this side's fields alone, those that are 0 left out\n";
  }
  return out + fight_state_dump(*mine, theirs);
}

void write_desync_dump(net_session& session, const online_fight_game& game, int frame, bool hosting,
                       const run_options& options) {
  static fight_state theirs;  // 28 KB: not on the stack
  const bool came = wait_for_theirs(session, frame, theirs);
  if (!came) log_out("WARNING: online: the opponent's state at frame %d never came: the dump holds this side's alone\n", frame);
  const user_file_target target = dump_target(options);
  std::string written, error;
  if (target.dir.empty()) {
    log_err("WARNING: can't save the desync dump: no folder for the player's files (HOME unset)\n");
    return;
  }
  std::string make_error;
  if (options.record.empty() && !make_folders(target.dir, make_error)) {
    log_err("WARNING: can't save the desync dump: %s\n", make_error.c_str());
    return;
  }
  if (write_user_file(target, desync_dump_text(frame, hosting, game.hashed_state(frame), came ? &theirs : nullptr),
                      written, error)) {
    log_out("NOTICE: online: desync dump saved as %s\n", written.c_str());
  } else {
    log_err("WARNING: can't save the desync dump: %s\n", error.c_str());
  }
}

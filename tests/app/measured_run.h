// Runs the game as a child process and reports its peak memory, for the
// tests of hostile data that would make it grow without bound.
#pragma once
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

// Peak-memory bounds leave room for the sanitizer's shadow memory and its
// quarantine of freed blocks (256 MB by default) in the sanitizer build.
#if defined(__SANITIZE_ADDRESS__)
constexpr long sanitizer_slack_kb = 512L * 1024L;
#else
constexpr long sanitizer_slack_kb = 0;
#endif

struct measured_run {
  int exit_status = -1;  // -1: ended by a signal
  int signal = 0;        // the signal that ended it, if one did
  long peak_kb = 0;      // the child's peak resident memory
  std::string out, err;
};

// `env` entries NAME=value are added to the child's environment. A non-zero
// `address_space_kb` caps the child's address space, so its allocations fail
// the way they do on a machine that runs out of memory.
inline measured_run run_measured(const std::vector<std::string>& args, const std::vector<std::string>& env,
                                 long address_space_kb = 0) {
  const std::string dir = make_temp_dir("measured");
  const std::string out_file = dir + "/out", err_file = dir + "/err";
  measured_run r;
  pid_t pid = fork();
  if (pid == 0) {
    if (address_space_kb > 0) {
      const rlimit cap = {static_cast<rlim_t>(address_space_kb) * 1024, static_cast<rlim_t>(address_space_kb) * 1024};
      setrlimit(RLIMIT_AS, &cap);
    }
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    dup2(out, 1);
    dup2(err, 2);
    dup2(in, 0);
    const std::string exe = fight_executable();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage = {};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    r.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    r.peak_kb = usage.ru_maxrss;
  }
  std::ifstream o(out_file), e(err_file);
  std::stringstream so, se;
  so << o.rdbuf();
  se << e.rdbuf();
  r.out = so.str();
  r.err = se.str();
  return r;
}

// A fight of `frames` unpaced frames on the data in `dir`, headless.
inline measured_run run_fight_frames(const std::string& dir, int frames) {
  return run_measured({"--data-dir", dir, "--no-limiter", "--demo", "--fighter", "0", "--seed", "1", "--benchmark",
                       std::to_string(frames)},
                      {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
}

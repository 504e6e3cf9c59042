// Two game processes go online through the main menu, as players do: one
// hosts, the other types the address and joins; each picks on its own select
// screen, both choose Rematch after the first match, and the guest quits on
// the menu after the second, which the host hears as the opponent leaving.
// Every match here is a drawn round of fixed length, so the key scripts know
// roughly when each menu shows.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/run_game.h"
#include "support/test_env.h"

namespace {

namespace fs = std::filesystem;

// Below the kernel's ephemeral range, apart from the other online tests' ports.
std::string menu_port() { return std::to_string(20000 + (getpid() * 29 + 11) % 12000); }

// The bundled data with every fighter below 0 health: both fall as the round
// begins, so every match is one drawn round of the same few seconds.
std::string fallen_copy(const std::string& data, const std::string& dir) {
  fs::copy(data, dir, fs::copy_options::recursive);
  for (const fs::directory_entry& e : fs::directory_iterator(dir + "/game/fighter")) {
    const std::string name = e.path().filename().string();
    if (name.size() < 9 || name.substr(name.size() - 9) != "_char.ini") continue;
    const std::string text = std::regex_replace(read_file(e.path().string()), std::regex("(^|\n)hp=[0-9]+"), "$1hp=-1");
    std::ofstream(e.path(), std::ios::binary | std::ios::trunc) << text;
  }
  return dir;
}

struct key_script {
  std::vector<std::pair<long, std::string>> lines;
  void tap(long frame, const std::string& key) {
    lines.push_back({frame, key + " down"});
    lines.push_back({frame + 2, key + " up"});
  }
  void type(long frame, const std::string& text) {
    for (char c : text) {
      tap(frame, std::to_string(static_cast<int>(c)));  // the key's code: '1' is 49, ':' 58
      frame += 4;
    }
  }
  std::string text() {
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string s;
    for (const auto& [frame, what] : lines) s += std::to_string(frame) + " " + what + "\n";
    return s;
  }
};

// The main menu shows from frame 96: down three times to Online, Return.
key_script to_online_screen() {
  key_script k;
  for (long f : {100, 104, 108}) k.tap(f, "down");
  k.tap(120, "return");
  return k;
}

std::vector<std::string> lines_with(const std::string& log, const std::string& start) {
  std::vector<std::string> found;
  for (size_t at = log.find(start); at != std::string::npos; at = log.find(start, at + 1)) {
    found.push_back(log.substr(at, log.find('\n', at) - at));
  }
  return found;
}

int picked(const std::string& log) {
  std::smatch m;
  const bool found = std::regex_search(log, m, std::regex("NOTICE: online: picked \\[(\\d)\\]"));
  return found ? std::stoi(m[1]) : -1;
}

TEST(OnlineMenuRun, PicksCrossRematchPlaysAgainAndAQuitIsHeardAsTheOpponentLeaving) {
  const std::string data = bundled_data_dir();
  if (data.empty()) GTEST_SKIP() << "no bundled data";
  const std::string dir = make_temp_dir("online_menu");
  const std::string tree = fallen_copy(data, dir + "/data");
  write_text_file(dir, "settings.ini", "rounds=1\n");  // the host's rules: one round a match
  const std::string port = menu_port();

  // Host: the port typed over the default, Return; then Return now and then
  // (its pick, Rematch after each match) until it is stopped.
  key_script host = to_online_screen();
  for (int i = 0; i < 4; ++i) host.tap(130 + 4 * i, "backspace");
  host.type(150, port);
  host.tap(180, "return");
  for (long f = 220; f < 1400; f += 12) host.tap(f, "return");
  // Guest: Join, the address typed, Return. Right held as its select screen
  // opens moves the cursor once; Return picks there and chooses Rematch after
  // the first match (its menu shows near frame 510), and stops before the
  // second's (near 750); Escape then quits that one, then the main menu.
  key_script guest = to_online_screen();
  guest.tap(130, "down");
  guest.type(140, "127.0.0.1:" + port);
  guest.tap(220, "return");
  guest.lines.push_back({230, "right down"});
  for (long f = 240; f < 700; f += 16) guest.tap(f, "return");
  for (long f = 850; f < 1400; f += 20) guest.tap(f, "escape");
  write_text_file(dir, "host.keys", host.text());
  write_text_file(dir, "guest.keys", guest.text());

  const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "XDG_DATA_HOME=" + dir + "/share"};
  const std::vector<std::string> common = {"--data-dir", tree, "--settings", dir + "/settings.ini", "--software"};
  std::vector<std::string> host_args = common, guest_args = common;
  for (const std::string& a : {std::string("--seed"), std::string("4"), std::string("--script"), dir + "/host.keys"}) {
    host_args.push_back(a);
  }
  guest_args.push_back("--script");
  guest_args.push_back(dir + "/guest.keys");

  running_game hosting = start_fight(host_args, env);
  ASSERT_TRUE(wait_for_output(hosting, "waiting for an opponent on port " + port, 60.0)) << read_file(hosting.dir + "/out");
  running_game joining = start_fight(guest_args, env);
  // The host stays on after the guest has gone: it is told, then stopped here.
  const bool heard = wait_for_output(hosting, "NOTICE: online: Opponent left", 60.0);
  kill(hosting.pid, SIGTERM);
  bool ended = false;
  double waited = 0;
  const game_run g = wait_for_exit(joining, 20.0, ended, waited);
  EXPECT_TRUE(ended) << "the guest did not leave by the main menu's Quit";
  const game_run h = wait_for_exit(hosting, 10.0, ended, waited);
  ASSERT_TRUE(heard) << h.out << "\n---\n" << g.out;
  EXPECT_EQ(0, h.exit_status) << h.err;
  EXPECT_EQ(0, g.exit_status) << g.err;

  // Each side's pick, as the other side's fight starts name it.
  const int host_pick = picked(h.out), guest_pick = picked(g.out);
  ASSERT_GE(host_pick, 0) << h.out;
  ASSERT_GE(guest_pick, 0) << g.out;
  EXPECT_NE(host_pick, guest_pick) << "the same picks could not tell the sides apart";
  const std::string start = "NOTICE: online: fight starts, host plays [" + std::to_string(host_pick) +
                            "] as entry 1, guest plays [" + std::to_string(guest_pick) + "] as entry 0";
  EXPECT_EQ(std::vector<std::string>(2, start), lines_with(h.out, "NOTICE: online: fight starts")) << h.out;
  EXPECT_EQ(std::vector<std::string>(2, start), lines_with(g.out, "NOTICE: online: fight starts")) << g.out;
  // Both matches played to the same end on both sides.
  const std::vector<std::string> ends = lines_with(h.out, "NOTICE: online: match drawn, frame ");
  EXPECT_EQ(2u, ends.size()) << h.out;
  EXPECT_EQ(ends, lines_with(g.out, "NOTICE: online: match drawn, frame ")) << g.out;
  EXPECT_EQ(1u, lines_with(g.out, "NOTICE: online: rematch").size()) << g.out;
  EXPECT_EQ(1u, lines_with(h.out, "NOTICE: online: rematch").size()) << h.out;
  // The guest left from the menu after the second match, not during a fight.
  EXPECT_NE(std::string::npos, g.out.find("NOTICE: online: quit after the match\n")) << g.out;
  EXPECT_EQ(std::string::npos, h.out.find("desynchronised")) << h.out;
  EXPECT_GT(h.out.find("NOTICE: online: Opponent left"), h.out.rfind("NOTICE: online: match drawn"));
  // The address joined is offered again next time: it is in the player's settings.
  const std::string saved = read_file(dir + "/settings.ini");
  EXPECT_NE(std::string::npos, saved.find("\nonline_address=127.0.0.1:" + port + "\n")) << saved << g.out;
  EXPECT_NE(std::string::npos, saved.find("rounds=1\n")) << saved;
  fs::remove_all(dir);
}

}  // namespace

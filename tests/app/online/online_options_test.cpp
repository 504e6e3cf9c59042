// The online options: what they accept and what they refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run_options.h"

namespace {

bool parse(std::vector<std::string> args, run_options& out, std::string& error) {
  args.insert(args.begin(), "fight");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return parse_run_options(static_cast<int>(argv.size()), argv.data(), out, error);
}

TEST(OnlineOptions, HostJoinAndInputDelay) {
  run_options o;
  std::string error;
  ASSERT_TRUE(parse({"--join", "game.example.org:7000", "--input-delay", "0"}, o, error)) << error;
  EXPECT_EQ(o.join_host, "game.example.org");
  EXPECT_EQ(o.join_port, 7000);
  EXPECT_EQ(o.input_delay, 0);
  EXPECT_TRUE(o.online());

  run_options h;
  ASSERT_TRUE(parse({"--host", "7000"}, h, error)) << error;
  EXPECT_EQ(h.host_port, 7000);
  EXPECT_EQ(h.input_delay, 2);

  run_options none;
  ASSERT_TRUE(parse({}, none, error));
  EXPECT_FALSE(none.online());

  for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{{"--host", "0"},
                                                                             {"--host", "65536"},
                                                                             {"--join", "nohost"},
                                                                             {"--join", ":7000"},
                                                                             {"--join", "a:0"},
                                                                             {"--input-delay", "9"},
                                                                             {"--host", "7000", "--join", "a:7000"},
                                                                             {"--host", "7000", "--demo"}}) {
    run_options r;
    error.clear();
    EXPECT_FALSE(parse(bad, r, error)) << bad[0] << " " << bad[1];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace

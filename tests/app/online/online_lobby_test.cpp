// What the Online screen accepts as typed, and how the time between online
// fights sorts the other side's messages.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "app/online/online_lobby.h"
#include "app/screens/online_menu.h"

TEST(OnlineScreen, AddressesAndPortsReadOnlyWhenWhole) {
  std::string host;
  int port = 0;
  EXPECT_TRUE(parse_online_address("127.0.0.1:7777", host, port));
  EXPECT_EQ("127.0.0.1", host);
  EXPECT_EQ(7777, port);
  EXPECT_TRUE(parse_online_address("game-box.lan:65535", host, port));
  EXPECT_EQ("game-box.lan", host);
  EXPECT_EQ(65535, port);
  for (const char* bad : {"127.0.0.1", ":7777", "host:", "host:0", "host:65536", "host:77a7", "ho st:7777",
                          "host:999999", "a:b:7777", "host:-1"}) {
    EXPECT_FALSE(parse_online_address(bad, host, port)) << bad;
  }
  EXPECT_TRUE(parse_online_port("1", port));
  EXPECT_EQ(1, port);
  for (const char* bad : {"", "0", "65536", "7a", "123456"}) EXPECT_FALSE(parse_online_port(bad, port)) << bad;

  // Typing never takes the keys that move or choose on the screen.
  EXPECT_EQ(':', online_typed_char(SDLK_SEMICOLON));
  EXPECT_EQ('7', online_typed_char(SDLK_KP7));
  EXPECT_EQ('.', online_typed_char(SDLK_PERIOD));
  EXPECT_EQ('\b', online_typed_char(SDLK_BACKSPACE));
  for (int key : {SDLK_RETURN, SDLK_SPACE, SDLK_ESCAPE, SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}) {
    EXPECT_EQ(0, online_typed_char(key)) << key;
  }
}

TEST(OnlineLobby, InputsLeftOverFromTheLastFightNeverReachTheNextAndEndsAreSorted) {
  online_inbox inbox;
  net_message m;
  m.kind = net_kind::inputs;
  m.inputs.first_frame = 0;
  m.inputs.actions.resize(3);
  inbox.note(m);
  m.inputs.first_frame = 412;  // the end of the fight before, resent late
  inbox.note(m);
  ASSERT_EQ(1u, inbox.early.size());
  EXPECT_EQ(0u, inbox.early[0].first_frame);

  m = net_message();
  m.kind = net_kind::pick;
  m.pick.fighter = 200;  // out of the roster: never an index
  inbox.note(m);
  EXPECT_EQ(0, inbox.their_pick);
  m.pick.fighter = 3;
  inbox.note(m);
  EXPECT_EQ(3, inbox.their_pick);

  m = net_message();
  m.kind = net_kind::match_end;
  m.match_end.reason = net_end_reason::match_over;
  inbox.note(m);
  EXPECT_FALSE(inbox.their_rematch || inbox.their_select || inbox.their_quit);
  m.match_end.reason = net_end_reason::rematch;
  inbox.note(m);
  EXPECT_TRUE(inbox.their_rematch);
  EXPECT_FALSE(inbox.their_select || inbox.their_quit);
  m.match_end.reason = net_end_reason::select;
  inbox.note(m);
  EXPECT_TRUE(inbox.their_select);
  EXPECT_FALSE(inbox.their_quit);
  m.match_end.reason = net_end_reason::quit;
  inbox.note(m);
  EXPECT_TRUE(inbox.their_quit);
}

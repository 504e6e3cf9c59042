// The wire format: every message comes back as it was sent, and the decoder
// refuses (and counts) every packet that is cut short, lies about a length or
// count, carries an unknown kind or value, or is larger than its kind may be.
#include <gtest/gtest.h>

#include <vector>

#include "net/packet.h"

namespace {

std::vector<std::vector<uint8_t>> one_of_each(uint32_t token) {
  net_join join;
  join.build = "1.0.0";
  join.files = {{"game\\game.ini", 0x1122334455667788ull}, {"rsrc\\a.png", 42}};
  net_welcome welcome;
  welcome.result = net_welcome_result::data_differs;
  welcome.detail = "game\\fighter\\brela_char.ini";
  welcome.seed = 0xdeadbeef;
  welcome.screen_w = 640;
  welcome.screen_h = 480;
  welcome.rules = {{"rounds", 3}, {"round_time", -1}};
  net_inputs inputs;
  inputs.first_frame = 100;
  inputs.actions = {action_left, action_punch | action_right, all_player_actions};
  inputs.ack = 97;
  inputs.frame = 101;
  inputs.advantage = -3;
  return {encode_join(token, join),
          encode_welcome(token, welcome),
          encode_pick(token, net_pick{3, 1}),
          encode_inputs(token, inputs),
          encode_state_hash(token, net_state_hash{120, 0xabcdef0123456789ull}),
          encode_match_end(token, net_match_end{net_end_reason::quit, 1})};
}

bool decodes(const std::vector<uint8_t>& bytes, net_message& m, net_decode_counts& counts) {
  return decode_packet(bytes.data(), bytes.size(), m, counts);
}

TEST(Packet, EveryMessageComesBackAsSent) {
  auto packets = one_of_each(0x5eed1234);
  net_decode_counts counts;
  net_message m;
  ASSERT_TRUE(decodes(packets[0], m, counts));
  EXPECT_EQ(m.kind, net_kind::join);
  EXPECT_EQ(m.token, 0x5eed1234u);
  EXPECT_EQ(m.join.build, "1.0.0");
  ASSERT_EQ(m.join.files.size(), 2u);
  EXPECT_EQ(m.join.files[0].name, "game\\game.ini");
  EXPECT_EQ(m.join.files[0].hash, 0x1122334455667788ull);

  ASSERT_TRUE(decodes(packets[1], m, counts));
  EXPECT_EQ(m.welcome.result, net_welcome_result::data_differs);
  EXPECT_EQ(m.welcome.detail, "game\\fighter\\brela_char.ini");
  EXPECT_EQ(m.welcome.seed, 0xdeadbeefu);
  EXPECT_EQ(m.welcome.screen_w, 640);
  EXPECT_EQ(m.welcome.screen_h, 480);
  ASSERT_EQ(m.welcome.rules.size(), 2u);
  EXPECT_EQ(m.welcome.rules[1].name, "round_time");
  EXPECT_EQ(m.welcome.rules[1].value, -1);

  ASSERT_TRUE(decodes(packets[2], m, counts));
  EXPECT_EQ(m.pick.fighter, 3);
  EXPECT_EQ(m.pick.costume, 1);

  ASSERT_TRUE(decodes(packets[3], m, counts));
  EXPECT_EQ(m.inputs.first_frame, 100u);
  EXPECT_EQ(m.inputs.actions, (std::vector<player_actions>{action_left, action_punch | action_right, all_player_actions}));
  EXPECT_EQ(m.inputs.ack, 97);
  EXPECT_EQ(m.inputs.frame, 101u);
  EXPECT_EQ(m.inputs.advantage, -3);

  ASSERT_TRUE(decodes(packets[4], m, counts));
  EXPECT_EQ(m.state_hash.frame, 120u);
  EXPECT_EQ(m.state_hash.hash, 0xabcdef0123456789ull);

  ASSERT_TRUE(decodes(packets[5], m, counts));
  EXPECT_EQ(m.match_end.reason, net_end_reason::quit);
  EXPECT_EQ(m.match_end.winner, 1);
  EXPECT_EQ(counts.accepted, 6);
  EXPECT_EQ(counts.malformed + counts.oversized, 0);
}

TEST(Packet, RefusesEveryCutAndEveryExtraByte) {
  long sent = 0;
  net_decode_counts counts;
  net_message m;
  for (const auto& packet : one_of_each(7)) {
    for (size_t n = 0; n < packet.size(); ++n, ++sent) {
      std::vector<uint8_t> cut(packet.begin(), packet.begin() + static_cast<long>(n));
      EXPECT_FALSE(decodes(cut, m, counts)) << "kind " << int(packet[2]) << " cut to " << n;
    }
    std::vector<uint8_t> longer = packet;
    longer.push_back(0);
    EXPECT_FALSE(decodes(longer, m, counts)) << "kind " << int(packet[2]) << " with a trailing byte";
    ++sent;
  }
  EXPECT_EQ(counts.malformed, sent);
  EXPECT_EQ(counts.accepted, 0);
}

TEST(Packet, RefusesLyingCountsBadValuesAndOversizedPackets) {
  net_decode_counts counts;
  net_message m;
  auto packets = one_of_each(7);
  auto with = [](std::vector<uint8_t> p, size_t at, uint8_t v) {
    p[at] = v;
    return p;
  };
  EXPECT_FALSE(decodes(with(packets[0], 0, 'X'), m, counts));  // magic
  EXPECT_FALSE(decodes(with(packets[0], 2, 0), m, counts));    // kind 0
  EXPECT_FALSE(decodes(with(packets[0], 2, 8), m, counts));    // kind past the last
  // The join's file count (after header 7, protocol 2, build 1+5) says 300.
  auto join = packets[0];
  EXPECT_FALSE(decodes(with(with(join, 15, 300 & 0xff), 16, 300 >> 8), m, counts));
  // A file name longer than the bytes that follow.
  EXPECT_FALSE(decodes(with(join, 17, 199), m, counts));
  // Inputs: the action count (at 7+4+4+4+1) says 65, past the most a packet carries.
  EXPECT_FALSE(decodes(with(packets[3], 20, 65), m, counts));
  // An action bit no player has.
  EXPECT_FALSE(decodes(with(packets[3], 23, 0x10), m, counts));
  // An acknowledgement below -1.
  EXPECT_FALSE(decodes(with(with(packets[3], 11, 0xfe), 14, 0xff), m, counts));
  EXPECT_FALSE(decodes(with(packets[5], 7, 4), m, counts));     // end reason
  EXPECT_FALSE(decodes(with(packets[5], 8, 2), m, counts));     // winner entry 2
  EXPECT_FALSE(decodes(with(packets[1], 7, 9), m, counts));     // welcome result
  EXPECT_EQ(counts.malformed, 11);

  // Only a join may be larger than a datagram.
  std::vector<uint8_t> big_pick = packets[2];
  big_pick.resize(net_max_packet + 1);
  EXPECT_FALSE(decodes(big_pick, m, counts));
  std::vector<uint8_t> huge(net_max_handshake_packet + 1, 0);
  EXPECT_FALSE(decodes(huge, m, counts));
  EXPECT_EQ(counts.oversized, 2);
  EXPECT_EQ(counts.accepted, 0);
}

// The state a side sends after a desync: many datagrams' worth, but exactly
// one fight state, never a byte more or less.
TEST(Packet, AStateDumpCarriesExactlyOneWholeFightState) {
  net_state_dump dump;
  dump.frame = 240;
  for (size_t i = 0; i < net_state_dump_bytes; ++i) dump.state.push_back(static_cast<uint8_t>(i * 7 + 1));
  const std::vector<uint8_t> bytes = encode_state_dump(9, dump);
  ASSERT_GT(bytes.size(), net_max_packet);
  net_decode_counts counts;
  net_message m;
  ASSERT_TRUE(decodes(bytes, m, counts));
  EXPECT_EQ(m.kind, net_kind::state_dump);
  EXPECT_EQ(m.token, 9u);
  EXPECT_EQ(m.state_dump.frame, 240u);
  EXPECT_TRUE(m.state_dump.state == dump.state);

  // Cut anywhere, or one byte short with its length saying so: refused.
  for (size_t n : {size_t{7}, size_t{14}, size_t{15}, bytes.size() / 2, bytes.size() - 1}) {
    EXPECT_FALSE(decodes(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)), m, counts)) << n;
  }
  std::vector<uint8_t> short_one(bytes.begin(), bytes.end() - 1);
  const uint32_t less = static_cast<uint32_t>(net_state_dump_bytes - 1);
  for (int i = 0; i < 4; ++i) short_one[11 + i] = static_cast<uint8_t>(less >> (8 * i));
  EXPECT_FALSE(decodes(short_one, m, counts));
  EXPECT_EQ(counts.malformed, 6);
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(decodes(longer, m, counts));
  EXPECT_EQ(counts.oversized, 1);

  dump.state.pop_back();
  EXPECT_TRUE(encode_state_dump(9, dump).empty());
}

TEST(Packet, InputsKeepTheLatestFramesWhenThereAreTooMany) {
  net_inputs many;
  many.first_frame = 10;
  for (int i = 0; i < 100; ++i) many.actions.push_back(static_cast<player_actions>(i));
  net_decode_counts counts;
  net_message m;
  auto bytes = encode_inputs(1, many);
  ASSERT_LE(bytes.size(), net_max_packet);
  ASSERT_TRUE(decodes(bytes, m, counts));
  ASSERT_EQ(m.inputs.actions.size(), net_max_inputs);
  EXPECT_EQ(m.inputs.first_frame, 10u + 100 - net_max_inputs);
  EXPECT_EQ(m.inputs.actions.back(), 99);
}

}  // namespace

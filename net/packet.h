// The messages two game processes exchange in an online match, and their
// bytes on the wire. Every packet starts with the same header: two magic bytes,
// the message kind and the session's token. Decoding trusts nothing it reads:
// a count or a length is checked against the bytes that are really there and
// against the largest the protocol allows, and anything that fails is refused
// whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fighter/player_actions.h"

constexpr uint16_t net_protocol_version = 1;
constexpr size_t net_max_packet = 1200;          // stays under a usual path MTU
constexpr size_t net_max_files = 2048;           // data files in a handshake
constexpr size_t net_max_name = 200;             // bytes of a file name or version text
constexpr size_t net_max_rules = 16;             // match rules in a welcome
constexpr size_t net_max_rule_name = 32;
constexpr size_t net_max_inputs = 64;            // frames of actions in one input packet
constexpr size_t net_max_handshake_packet = 256 * 1024;  // the file list makes the join large
extern const size_t net_state_dump_bytes;  // a state dump carries exactly one fight_state

enum class net_kind : uint8_t {
  join = 1,     // guest -> host: who I am and what data I have
  welcome,      // host -> guest: the session's token and the match, or why not
  pick,         // a side's chosen fighter
  inputs,       // a side's unacknowledged actions and its acknowledgement
  state_hash,   // the hash of the confirmed state at a frame
  match_end,    // the match is over, a rematch, back to select, or quit
  state_dump,   // the confirmed state at a frame whose hashes differed
};

struct net_file_hash {
  std::string name;  // data name, e.g. game\fighter\brela_char.ini
  uint64_t hash = 0;
  bool operator==(const net_file_hash& o) const { return name == o.name && hash == o.hash; }
};

struct net_rule {
  std::string name;  // e.g. "rounds"
  int32_t value = 0;
  bool operator==(const net_rule& o) const { return name == o.name && value == o.value; }
};

struct net_join {
  uint16_t protocol = net_protocol_version;
  std::string build;  // the replay build version
  std::vector<net_file_hash> files;
};

enum class net_welcome_result : uint8_t {
  accepted = 0,
  data_differs,     // `detail` names the first differing file
  wrong_protocol,
  wrong_build,      // `detail` is the host's build
  busy,             // a session is already running
};

struct net_welcome {
  net_welcome_result result = net_welcome_result::accepted;
  std::string detail;
  uint16_t protocol = net_protocol_version;
  uint32_t seed = 0;
  uint16_t screen_w = 0, screen_h = 0;  // the host's logical screen
  std::vector<net_rule> rules;
};

struct net_pick {
  uint8_t fighter = 0;  // roster position
  uint8_t costume = 0;
};

struct net_inputs {
  uint32_t first_frame = 0;             // frame of actions[0]
  std::vector<player_actions> actions;  // consecutive frames, at most net_max_inputs
  int32_t ack = -1;                     // last frame of the receiver's inputs the sender holds (-1: none)
  uint32_t frame = 0;                   // the sender's current frame (time sync)
  int8_t advantage = 0;                 // how many frames the sender thinks it is ahead
};

struct net_state_hash {
  uint32_t frame = 0;
  uint64_t hash = 0;
};

// A whole saved fight, so the other side can show both states after a desync.
struct net_state_dump {
  uint32_t frame = 0;
  std::vector<uint8_t> state;  // exactly net_state_dump_bytes: a fight_state's bytes
};

enum class net_end_reason : uint8_t { match_over = 0, rematch, select, quit, count };

struct net_match_end {
  net_end_reason reason = net_end_reason::match_over;
  int8_t winner = -1;  // entry, -1 for none
};

// One decoded packet: `kind` says which member is filled.
struct net_message {
  net_kind kind = net_kind::join;
  uint32_t token = 0;
  net_join join;
  net_welcome welcome;
  net_pick pick;
  net_inputs inputs;
  net_state_hash state_hash;
  net_match_end match_end;
  net_state_dump state_dump;
};

std::vector<uint8_t> encode_join(uint32_t token, const net_join& m);
std::vector<uint8_t> encode_welcome(uint32_t token, const net_welcome& m);
std::vector<uint8_t> encode_pick(uint32_t token, const net_pick& m);
// Sends at most the last net_max_inputs actions when given more.
std::vector<uint8_t> encode_inputs(uint32_t token, const net_inputs& m);
std::vector<uint8_t> encode_state_hash(uint32_t token, const net_state_hash& m);
std::vector<uint8_t> encode_match_end(uint32_t token, const net_match_end& m);
// Empty when `m.state` is not exactly net_state_dump_bytes long.
std::vector<uint8_t> encode_state_dump(uint32_t token, const net_state_dump& m);

// Counts of what the decoder refused, for the statistics and the tests.
struct net_decode_counts {
  long accepted = 0;
  long malformed = 0;  // bad magic, unknown kind, a length or count out of range, trailing bytes
  long oversized = 0;  // larger than its kind may be
};

// True with `out` filled when `data` is one well-formed packet; otherwise
// false, `out` unspecified, and the refusal counted in `counts`.
bool decode_packet(const uint8_t* data, size_t size, net_message& out, net_decode_counts& counts);

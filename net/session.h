// One online session over ENet: the host waits for one guest on a UDP port,
// the guest connects to it. The guest sends its build and a hash of each data
// file, the host checks them and answers with the session's random token and
// the match (seed, rules, screen size) or with why not. From then on every
// packet carries the token; a packet with another token, or from anyone but
// the session's peer, is dropped. Inputs travel unreliable and sequenced on
// channel 0 (each packet repeats what was not acknowledged), everything else
// reliable on channel 1.
//
// Nothing here blocks: call service() once per frame, also while connecting or
// waiting, so the caller's screen keeps answering Escape and the window's close.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "net/packet.h"

struct _ENetHost;
struct _ENetPeer;

enum class net_session_state {
  idle,
  waiting,      // host: listening, no guest yet
  connecting,   // guest: no answer yet
  handshaking,  // connected, checking each other's data
  ready,        // the match can start
  failed,       // see error(); the session is over
};

struct net_session_setup {
  std::string build;                  // the replay build version
  std::vector<net_file_hash> files;   // see hash_data_files
  net_welcome match;                  // host: seed, rules and logical screen size to send
  uint32_t connect_timeout_ms = 10000;  // guest: give up after this long without an answer
  uint32_t lost_after_ms = 3000;        // no packet for this long: "Connection lost"
};

class net_session {
 public:
  explicit net_session(net_session_setup setup);
  ~net_session();
  net_session(const net_session&) = delete;
  net_session& operator=(const net_session&) = delete;

  // False with error() set when the port can't be opened or the host's name is unknown.
  bool host(uint16_t port);
  bool join(const std::string& host_name, uint16_t port);

  void service();
  // Says goodbye to the peer (it sees its session end) and closes the socket.
  void close();

  net_session_state state() const { return state_; }
  bool is_host() const { return is_host_; }
  // "ERROR: online: ..." lines, or "Connection lost".
  const std::string& error() const { return error_; }
  // The guest's copy of the host's match (the host's own on the host).
  const net_welcome& match() const { return setup_.match; }
  uint32_t token() const { return token_; }
  std::string peer_address() const { return address_; }
  int ping_ms() const;

  // The next message of a ready session (picks, inputs, hashes, ends).
  bool receive(net_message& out);
  // A state dump the peer sent is kept aside, never handed out by receive():
  // the last one arrived, once; false when none came since.
  bool take_state_dump(net_state_dump& out);
  void send_inputs(const net_inputs& m);
  void send_pick(const net_pick& m);
  void send_state_hash(const net_state_hash& m);
  void send_match_end(const net_match_end& m);
  // Reliable; ENet cuts it in fragments and puts it back together.
  void send_state_dump(const net_state_dump& m);

  const net_decode_counts& decode_counts() const { return counts_; }
  long foreign_packets() const { return foreign_; }    // right shape, wrong token
  long guests_refused() const { return refused_; }     // a second guest while a session runs

 private:
  void fail(const std::string& text);
  void send(const std::vector<uint8_t>& bytes, bool reliable);
  void on_packet(_ENetPeer* from, const uint8_t* data, size_t size);
  void host_checks_join(const net_join& join);
  void guest_reads_welcome(const net_welcome& welcome, uint32_t token);
  uint32_t now_ms() const;

  net_session_setup setup_;
  _ENetHost* enet_ = nullptr;
  _ENetPeer* peer_ = nullptr;
  bool is_host_ = false;
  net_session_state state_ = net_session_state::idle;
  std::string error_;
  std::string address_;
  uint32_t target_host_ = 0;  // guest: the host's address, for a new attempt
  uint16_t target_port_ = 0;
  uint32_t token_ = 0;
  uint32_t started_ms_ = 0;
  std::deque<net_message> inbox_;
  net_state_dump peer_dump_;
  bool has_peer_dump_ = false;
  net_decode_counts counts_;
  long foreign_ = 0, refused_ = 0;
};

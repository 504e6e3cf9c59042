#include "net/session.h"

#include <enet/enet.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "net/data_hashes.h"

namespace {

constexpr int channel_inputs = 0;
constexpr int channel_reliable = 1;
constexpr uint32_t ping_interval_ms = 250;

bool enet_ready() {
  static const bool ok = [] {
    if (enet_initialize() != 0) return false;
    std::atexit(enet_deinitialize);
    return true;
  }();
  return ok;
}

uint32_t random_token() {
  std::random_device device;
  uint32_t t = 0;
  while (t == 0) t = device();  // 0 is what a guest sends before it has one
  return t;
}

}  // namespace

net_session::net_session(net_session_setup setup) : setup_(std::move(setup)) {}

net_session::~net_session() {
  if (enet_) {
    if (peer_) enet_peer_disconnect_now(peer_, 0);
    enet_host_destroy(enet_);
  }
}

uint32_t net_session::now_ms() const {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void net_session::fail(const std::string& text) {
  if (state_ == net_session_state::failed) return;
  state_ = net_session_state::failed;
  error_ = text;
  if (peer_) enet_peer_disconnect_later(peer_, 0);
}

bool net_session::host(uint16_t port) {
  is_host_ = true;
  ENetAddress address;
  address.host = ENET_HOST_ANY;
  address.port = port;
  // Two peers: the session's guest, and room to tell a second one it is refused.
  if (!enet_ready() || !(enet_ = enet_host_create(&address, 2, 2, 0, 0))) {
    fail("ERROR: online: can't listen on port " + std::to_string(port));
    return false;
  }
  enet_->maximumPacketSize = net_max_handshake_packet;
  enet_->maximumWaitingData = 4 * net_max_handshake_packet;
  token_ = random_token();
  state_ = net_session_state::waiting;
  return true;
}

bool net_session::join(const std::string& host_name, uint16_t port) {
  is_host_ = false;
  address_ = host_name + ":" + std::to_string(port);
  ENetAddress address;
  address.port = port;
  if (!enet_ready() || enet_address_set_host(&address, host_name.c_str()) != 0) {
    fail("ERROR: online: unknown host " + host_name);
    return false;
  }
  target_host_ = address.host;
  target_port_ = address.port;
  if (!(enet_ = enet_host_create(nullptr, 1, 2, 0, 0)) || !(peer_ = enet_host_connect(enet_, &address, 2, 0))) {
    fail("ERROR: online: can't reach " + address_);
    return false;
  }
  enet_->maximumPacketSize = net_max_handshake_packet;
  enet_->maximumWaitingData = 4 * net_max_handshake_packet;
  enet_peer_timeout(peer_, 0, setup_.connect_timeout_ms, setup_.connect_timeout_ms);
  started_ms_ = now_ms();
  state_ = net_session_state::connecting;
  return true;
}

void net_session::service() {
  if (!enet_) return;
  ENetEvent event;
  const net_session_state before = state_;
  // Stops at the session's first change of state, so the caller sees "ready"
  // before anything that follows it in the same burst.
  while (state_ == before && enet_host_service(enet_, &event, 0) > 0) {
    switch (event.type) {
      case ENET_EVENT_TYPE_CONNECT:
        if (is_host_ && peer_ && event.peer != peer_) {
          // A second guest while a session runs: tell it why, then let it go.
          ++refused_;
          net_welcome busy;
          busy.result = net_welcome_result::busy;
          auto bytes = encode_welcome(0, busy);
          enet_peer_send(event.peer, channel_reliable,
                         enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
          enet_peer_disconnect_later(event.peer, 0);
        } else if (state_ == net_session_state::waiting || state_ == net_session_state::connecting) {
          peer_ = event.peer;
          char ip[64] = "?";
          enet_address_get_host_ip(&event.peer->address, ip, sizeof ip);
          if (is_host_) address_ = std::string(ip) + ":" + std::to_string(event.peer->address.port);
          // ENet pings the peer every ping_interval_ms; when nothing has come
          // back for lost_after_ms it ends the connection ("Connection lost").
          enet_peer_timeout(peer_, 0, setup_.lost_after_ms, setup_.lost_after_ms);
          enet_peer_ping_interval(peer_, ping_interval_ms);
          // ENet would drop unreliable packets on its own when the round trip
          // varies; inputs are tiny and each repeats the last ones: send them all.
          enet_peer_throttle_configure(peer_, ENET_PEER_PACKET_THROTTLE_INTERVAL, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
          state_ = net_session_state::handshaking;
          if (!is_host_) {
            net_join join;
            join.build = setup_.build;
            join.files = setup_.files;
            send(encode_join(0, join), true);
          }
        } else {
          enet_peer_disconnect_now(event.peer, 0);
        }
        break;
      case ENET_EVENT_TYPE_RECEIVE:
        if (event.peer == peer_) on_packet(event.peer, event.packet->data, event.packet->dataLength);
        enet_packet_destroy(event.packet);
        break;
      case ENET_EVENT_TYPE_DISCONNECT:
        if (event.peer != peer_) break;
        peer_ = nullptr;
        if (state_ == net_session_state::connecting) {
          // Gave up on this attempt before our own limit: try again.
          ENetAddress again;
          again.host = target_host_;
          again.port = target_port_;
          peer_ = enet_host_connect(enet_, &again, 2, 0);
          if (peer_) enet_peer_timeout(peer_, 0, setup_.connect_timeout_ms, setup_.connect_timeout_ms);
        } else if (is_host_ && state_ == net_session_state::handshaking) {
          state_ = net_session_state::waiting;  // that guest left before the match: wait for another
        } else if (state_ != net_session_state::failed) {
          fail("Connection lost");
        }
        break;
      case ENET_EVENT_TYPE_NONE:
        break;
    }
  }
  if (state_ == net_session_state::connecting && now_ms() - started_ms_ > setup_.connect_timeout_ms) {
    if (peer_) enet_peer_reset(peer_);
    peer_ = nullptr;
    fail("ERROR: online: can't reach " + address_);
  }
}

void net_session::on_packet(_ENetPeer*, const uint8_t* data, size_t size) {
  net_message m;
  if (!decode_packet(data, size, m, counts_)) return;
  if (state_ == net_session_state::handshaking) {
    if (is_host_ && m.kind == net_kind::join) {
      host_checks_join(m.join);
    } else if (!is_host_ && m.kind == net_kind::welcome) {
      guest_reads_welcome(m.welcome, m.token);
    } else {
      ++foreign_;
    }
    return;
  }
  if (state_ != net_session_state::ready || m.token != token_ || m.kind == net_kind::join ||
      m.kind == net_kind::welcome) {
    ++foreign_;
    return;
  }
  if (m.kind == net_kind::state_dump) {
    peer_dump_ = std::move(m.state_dump);
    has_peer_dump_ = true;
    return;
  }
  if (inbox_.size() < 1024) inbox_.push_back(std::move(m));
}

void net_session::host_checks_join(const net_join& join) {
  net_welcome answer = setup_.match;
  answer.protocol = net_protocol_version;
  answer.result = net_welcome_result::accepted;
  answer.detail.clear();
  std::string differing = first_differing_file(setup_.files, join.files);
  if (join.protocol != net_protocol_version) {
    answer.result = net_welcome_result::wrong_protocol;
  } else if (join.build != setup_.build) {
    answer.result = net_welcome_result::wrong_build;
    answer.detail = setup_.build;
  } else if (!differing.empty()) {
    answer.result = net_welcome_result::data_differs;
    answer.detail = differing;
  }
  send(encode_welcome(token_, answer), true);
  switch (answer.result) {
    case net_welcome_result::accepted:
      state_ = net_session_state::ready;
      break;
    case net_welcome_result::data_differs:
      fail("ERROR: online: the data differs from the host's: " + differing);
      break;
    case net_welcome_result::wrong_protocol:
      fail("ERROR: online: the guest speaks protocol " + std::to_string(join.protocol) + ", this game " +
           std::to_string(net_protocol_version));
      break;
    default:
      fail("ERROR: online: the guest runs build " + join.build + ", this game " + setup_.build);
      break;
  }
}

void net_session::guest_reads_welcome(const net_welcome& welcome, uint32_t token) {
  switch (welcome.result) {
    case net_welcome_result::accepted:
      if (token == 0) {
        fail("ERROR: online: the host at " + address_ + " sent no session token");
        return;
      }
      token_ = token;
      setup_.match = welcome;
      state_ = net_session_state::ready;
      break;
    case net_welcome_result::data_differs:
      fail("ERROR: online: the data differs from the host's: " + welcome.detail);
      break;
    case net_welcome_result::wrong_protocol:
      fail("ERROR: online: the host speaks protocol " + std::to_string(welcome.protocol) + ", this game " +
           std::to_string(net_protocol_version));
      break;
    case net_welcome_result::wrong_build:
      fail("ERROR: online: the host runs build " + welcome.detail + ", this game " + setup_.build);
      break;
    case net_welcome_result::busy:
      fail("ERROR: online: the host at " + address_ + " is already in a match");
      break;
  }
}

void net_session::send(const std::vector<uint8_t>& bytes, bool reliable) {
  if (!peer_) return;
  ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
  if (packet && enet_peer_send(peer_, reliable ? channel_reliable : channel_inputs, packet) != 0) {
    enet_packet_destroy(packet);
  }
  enet_host_flush(enet_);
}

void net_session::send_inputs(const net_inputs& m) {
  if (state_ == net_session_state::ready) send(encode_inputs(token_, m), false);
}
void net_session::send_pick(const net_pick& m) {
  if (state_ == net_session_state::ready) send(encode_pick(token_, m), true);
}
void net_session::send_state_hash(const net_state_hash& m) {
  if (state_ == net_session_state::ready) send(encode_state_hash(token_, m), true);
}
void net_session::send_match_end(const net_match_end& m) {
  if (state_ == net_session_state::ready) send(encode_match_end(token_, m), true);
}

void net_session::send_state_dump(const net_state_dump& m) {
  if (state_ != net_session_state::ready) return;
  const std::vector<uint8_t> bytes = encode_state_dump(token_, m);
  if (!bytes.empty()) send(bytes, true);
}

bool net_session::take_state_dump(net_state_dump& out) {
  if (!has_peer_dump_) return false;
  out = std::move(peer_dump_);
  has_peer_dump_ = false;
  return true;
}

bool net_session::receive(net_message& out) {
  if (inbox_.empty()) return false;
  out = std::move(inbox_.front());
  inbox_.pop_front();
  return true;
}

int net_session::ping_ms() const { return peer_ ? static_cast<int>(peer_->roundTripTime) : 0; }

void net_session::close() {
  if (!enet_) return;
  if (peer_) {
    // After what is already on its way (a plain disconnect would drop it).
    enet_peer_disconnect_later(peer_, 0);
    // Give the goodbye a moment to leave; never long enough for a player to notice.
    ENetEvent event;
    for (int i = 0; i < 20 && enet_host_service(enet_, &event, 10) >= 0;) {
      if (event.type == ENET_EVENT_TYPE_DISCONNECT) break;
      if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
      ++i;
    }
  }
  enet_host_destroy(enet_);
  enet_ = nullptr;
  peer_ = nullptr;
  if (state_ != net_session_state::failed) state_ = net_session_state::idle;
}

#include "net/packet.h"

#include "fight/fight_state.h"

const size_t net_state_dump_bytes = sizeof(fight_state);

namespace {

constexpr uint8_t magic0 = 'V', magic1 = 'B';
constexpr size_t header_bytes = 7;
const size_t state_dump_packet = header_bytes + 8 + sizeof(fight_state);

// Little-endian writer.
struct writer {
  std::vector<uint8_t> bytes;
  void u8(uint8_t v) { bytes.push_back(v); }
  void u16(uint16_t v) { for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i))); }
  void u32(uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i))); }
  void u64(uint64_t v) { for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i))); }
  // A text cut to `limit` bytes, its length in one byte.
  void text(const std::string& s, size_t limit) {
    size_t n = s.size() < limit ? s.size() : limit;
    u8(static_cast<uint8_t>(n));
    bytes.insert(bytes.end(), s.begin(), s.begin() + static_cast<long>(n));
  }
  void header(net_kind kind, uint32_t token) {
    u8(magic0);
    u8(magic1);
    u8(static_cast<uint8_t>(kind));
    u32(token);
  }
};

// Reader that turns sticky-false on the first read past the end; every value
// read after that is zero, so callers check `ok` once at the end.
struct reader {
  const uint8_t* p;
  size_t left;
  bool ok = true;
  bool take(size_t n) {
    if (!ok || left < n) {
      ok = false;
      return false;
    }
    return true;
  }
  uint64_t le(size_t n) {
    if (!take(n)) return 0;
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    p += n;
    left -= n;
    return v;
  }
  uint8_t u8() { return static_cast<uint8_t>(le(1)); }
  uint16_t u16() { return static_cast<uint16_t>(le(2)); }
  uint32_t u32() { return static_cast<uint32_t>(le(4)); }
  uint64_t u64() { return le(8); }
  std::string text(size_t limit) {
    size_t n = u8();
    if (n > limit) ok = false;
    if (!take(n)) return std::string();
    std::string s(reinterpret_cast<const char*>(p), n);
    p += n;
    left -= n;
    return s;
  }
  // A count that must not exceed `limit`, nor promise more items of at least
  // `item_min` bytes than remain.
  size_t count(size_t limit, size_t item_min) {
    size_t n = u16();
    if (n > limit || n * item_min > left) ok = false;
    return ok ? n : 0;
  }
};

void read_join(reader& r, net_join& m) {
  m.protocol = r.u16();
  m.build = r.text(net_max_name);
  size_t n = r.count(net_max_files, 1 + 8);
  m.files.clear();
  for (size_t i = 0; i < n && r.ok; ++i) {
    net_file_hash f;
    f.name = r.text(net_max_name);
    f.hash = r.u64();
    m.files.push_back(f);
  }
}

void read_welcome(reader& r, net_welcome& m) {
  uint8_t result = r.u8();
  if (result > static_cast<uint8_t>(net_welcome_result::busy)) r.ok = false;
  m.result = static_cast<net_welcome_result>(result);
  m.detail = r.text(net_max_name);
  m.protocol = r.u16();
  m.seed = r.u32();
  m.screen_w = r.u16();
  m.screen_h = r.u16();
  size_t n = r.count(net_max_rules, 1 + 4);
  m.rules.clear();
  for (size_t i = 0; i < n && r.ok; ++i) {
    net_rule rule;
    rule.name = r.text(net_max_rule_name);
    rule.value = static_cast<int32_t>(r.u32());
    m.rules.push_back(rule);
  }
}

void read_inputs(reader& r, net_inputs& m) {
  m.first_frame = r.u32();
  m.ack = static_cast<int32_t>(r.u32());
  m.frame = r.u32();
  m.advantage = static_cast<int8_t>(r.u8());
  size_t n = r.count(net_max_inputs, 2);
  if (m.ack < -1) r.ok = false;
  // The frames must be numbers the receiver can hold.
  if (r.ok && n > 0 && m.first_frame > 0x7fffffffu - n) r.ok = false;
  m.actions.clear();
  for (size_t i = 0; i < n && r.ok; ++i) {
    player_actions a = r.u16();
    if (a & ~all_player_actions) r.ok = false;
    m.actions.push_back(a);
  }
}

}  // namespace

std::vector<uint8_t> encode_join(uint32_t token, const net_join& m) {
  writer w;
  w.header(net_kind::join, token);
  w.u16(m.protocol);
  w.text(m.build, net_max_name);
  size_t n = m.files.size() < net_max_files ? m.files.size() : net_max_files;
  w.u16(static_cast<uint16_t>(n));
  for (size_t i = 0; i < n; ++i) {
    w.text(m.files[i].name, net_max_name);
    w.u64(m.files[i].hash);
  }
  return w.bytes;
}

std::vector<uint8_t> encode_welcome(uint32_t token, const net_welcome& m) {
  writer w;
  w.header(net_kind::welcome, token);
  w.u8(static_cast<uint8_t>(m.result));
  w.text(m.detail, net_max_name);
  w.u16(m.protocol);
  w.u32(m.seed);
  w.u16(m.screen_w);
  w.u16(m.screen_h);
  size_t n = m.rules.size() < net_max_rules ? m.rules.size() : net_max_rules;
  w.u16(static_cast<uint16_t>(n));
  for (size_t i = 0; i < n; ++i) {
    w.text(m.rules[i].name, net_max_rule_name);
    w.u32(static_cast<uint32_t>(m.rules[i].value));
  }
  return w.bytes;
}

std::vector<uint8_t> encode_pick(uint32_t token, const net_pick& m) {
  writer w;
  w.header(net_kind::pick, token);
  w.u8(m.fighter);
  w.u8(m.costume);
  return w.bytes;
}

std::vector<uint8_t> encode_inputs(uint32_t token, const net_inputs& m) {
  writer w;
  w.header(net_kind::inputs, token);
  size_t skip = m.actions.size() > net_max_inputs ? m.actions.size() - net_max_inputs : 0;
  w.u32(m.first_frame + static_cast<uint32_t>(skip));
  w.u32(static_cast<uint32_t>(m.ack));
  w.u32(m.frame);
  w.u8(static_cast<uint8_t>(m.advantage));
  w.u16(static_cast<uint16_t>(m.actions.size() - skip));
  for (size_t i = skip; i < m.actions.size(); ++i) w.u16(m.actions[i]);
  return w.bytes;
}

std::vector<uint8_t> encode_state_hash(uint32_t token, const net_state_hash& m) {
  writer w;
  w.header(net_kind::state_hash, token);
  w.u32(m.frame);
  w.u64(m.hash);
  return w.bytes;
}

std::vector<uint8_t> encode_match_end(uint32_t token, const net_match_end& m) {
  writer w;
  w.header(net_kind::match_end, token);
  w.u8(static_cast<uint8_t>(m.reason));
  w.u8(static_cast<uint8_t>(m.winner));
  return w.bytes;
}

std::vector<uint8_t> encode_state_dump(uint32_t token, const net_state_dump& m) {
  if (m.state.size() != net_state_dump_bytes) return {};
  writer w;
  w.header(net_kind::state_dump, token);
  w.u32(m.frame);
  w.u32(static_cast<uint32_t>(m.state.size()));
  w.bytes.insert(w.bytes.end(), m.state.begin(), m.state.end());
  return w.bytes;
}

bool decode_packet(const uint8_t* data, size_t size, net_message& out, net_decode_counts& counts) {
  if (size > net_max_handshake_packet) {
    ++counts.oversized;
    return false;
  }
  if (!data) {
    ++counts.malformed;
    return false;
  }
  reader r{data, size};
  uint8_t m0 = r.u8(), m1 = r.u8();
  uint8_t kind = r.u8();
  out.token = r.u32();
  if (!r.ok || m0 != magic0 || m1 != magic1 || kind < static_cast<uint8_t>(net_kind::join) ||
      kind > static_cast<uint8_t>(net_kind::state_dump)) {
    ++counts.malformed;
    return false;
  }
  out.kind = static_cast<net_kind>(kind);
  const size_t most = out.kind == net_kind::join         ? net_max_handshake_packet
                      : out.kind == net_kind::state_dump ? state_dump_packet
                                                         : net_max_packet;
  if (size > most) {
    ++counts.oversized;
    return false;
  }
  switch (out.kind) {
    case net_kind::join:
      read_join(r, out.join);
      break;
    case net_kind::welcome:
      read_welcome(r, out.welcome);
      break;
    case net_kind::pick:
      out.pick.fighter = r.u8();
      out.pick.costume = r.u8();
      break;
    case net_kind::inputs:
      read_inputs(r, out.inputs);
      break;
    case net_kind::state_hash:
      out.state_hash.frame = r.u32();
      out.state_hash.hash = r.u64();
      break;
    case net_kind::match_end: {
      uint8_t reason = r.u8();
      if (reason >= static_cast<uint8_t>(net_end_reason::count)) r.ok = false;
      out.match_end.reason = static_cast<net_end_reason>(reason);
      out.match_end.winner = static_cast<int8_t>(r.u8());
      if (out.match_end.winner < -1 || out.match_end.winner > 1) r.ok = false;
      break;
    }
    case net_kind::state_dump: {
      out.state_dump.frame = r.u32();
      const uint32_t n = r.u32();
      out.state_dump.state.clear();
      // Exactly one state, all of it there.
      if (n != net_state_dump_bytes || !r.take(n)) {
        r.ok = false;
        break;
      }
      out.state_dump.state.assign(r.p, r.p + n);
      r.p += n;
      r.left -= n;
      break;
    }
  }
  if (!r.ok || r.left != 0) {
    ++counts.malformed;
    return false;
  }
  ++counts.accepted;
  return true;
}

// Fuzzes the online packet decoder: any bytes are refused or decoded into a
// message that encodes back to exactly the same bytes, and a decoded input or
// hash message fed to a rollback engine leaves it stepping normally; a
// decoded state dump holds exactly one fight state.
#include <cstdlib>
#include <vector>

#include "fight/fight_state.h"
#include "net/packet.h"
#include "net/rollback.h"

namespace {

struct counter_game : rollback_game {
  uint64_t state = 0, slots[rollback_slots] = {};
  void save_state(int slot) override { slots[slot] = state; }
  void load_state(int slot) override { state = slots[slot]; }
  void step(const player_actions inputs[2]) override { state = state * 31 + inputs[0] * 7 + inputs[1]; }
  uint64_t state_hash() override { return state; }
};

std::vector<uint8_t> encode(const net_message& m) {
  switch (m.kind) {
    case net_kind::join: return encode_join(m.token, m.join);
    case net_kind::welcome: return encode_welcome(m.token, m.welcome);
    case net_kind::pick: return encode_pick(m.token, m.pick);
    case net_kind::inputs: return encode_inputs(m.token, m.inputs);
    case net_kind::state_hash: return encode_state_hash(m.token, m.state_hash);
    case net_kind::match_end: return encode_match_end(m.token, m.match_end);
    case net_kind::state_dump: return encode_state_dump(m.token, m.state_dump);
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  net_decode_counts counts;
  net_message m;
  if (!decode_packet(data, size, m, counts)) {
    if (counts.malformed + counts.oversized != 1) std::abort();
    return 0;
  }
  std::vector<uint8_t> again = encode(m);
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();

  // A state dump is exactly one fight state's bytes (any bytes read as one).
  if (m.kind == net_kind::state_dump) {
    if (m.state_dump.state.size() != sizeof(fight_state)) std::abort();
    return 0;
  }

  counter_game game;
  rollback_engine engine(game, 0, 2);
  for (int i = 0; i < 12; ++i) {
    if (m.kind == net_kind::inputs) engine.receive(m.inputs);
    if (m.kind == net_kind::state_hash) engine.receive_hash(m.state_hash);
    engine.advance(static_cast<player_actions>(i));
    net_inputs out = engine.outgoing();
    if (out.actions.size() > net_max_inputs || engine.frame() > 12) std::abort();
  }
  return 0;
}

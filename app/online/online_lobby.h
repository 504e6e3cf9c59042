// Between online fights: each side's own select screen and the exchange of
// picks, and the menu after a match (Rematch, Character select, Quit). Every
// screen here services the session each frame, so Escape, the window's close,
// a lost connection and the other side leaving are heard at any moment.
#pragma once
#include <vector>

#include "app/online/online_fight.h"
#include "net/packet.h"

class net_session;
struct game_settings;
struct title_screens;

// What the other side said between two fights.
struct online_inbox {
  int their_pick = -1;      // roster position, -1 none yet
  bool their_rematch = false;
  bool their_select = false;
  bool their_quit = false;
  std::vector<net_inputs> early;  // inputs of the next fight that overtook its start

  // Services the session and sorts what came; false when the session failed
  // (the NOTICE line says why) or the other side quit ("Opponent left").
  bool take(net_session& session);
  // Sorts one message (a pick, an input, an end) as take does.
  void note(const net_message& m);
  // Inputs sent before a fight starts all begin at its frame 0 (nothing of
  // them is acknowledged yet); a packet that begins later is a leftover of
  // the fight before and never reaches the next one.
  static bool belongs_to_next_fight(const net_inputs& m) { return m.first_frame == 0; }
};

enum class online_next {
  fight,          // both have picked (or both chose Rematch)
  select,         // back to the select screens
  left,           // this player left
  opponent_left,  // the other side quit
  lost,           // the session ended (connection lost)
};

// The select screen (solo, captioned as an online fight) when `titles` is
// given, or the fixed pick `fixed` (--fighter) without any screen; then sends
// the pick and waits for the other's. Fills `picks` on online_next::fight.
online_next online_pick_fighters(net_session& session, title_screens* titles, int fixed, const game_settings& settings,
                                 online_inbox& inbox, online_picks& picks);

// The menu after a decided match: Rematch needs both to choose it (a
// waiting text shows until the other does); Character select sends both back
// to their select screens; Quit (or Escape) tells the other side and leaves.
online_next online_after_match(net_session& session, const game_settings& settings, const online_fight_outcome& fight,
                               online_inbox& inbox);

// "Opponent left" (or the connection's end) on screen for a moment; a key or
// Escape cuts it short.
void show_online_notice(const game_settings& settings, const char* text);

// Where an online session meets the fight. Not built yet: it needs the fight's
// save and restore. The parts already in place, and how they are to join:
//
//  - net_session (net/session.h) is ready: the guest has the host's seed,
//    rules and logical screen size in session.match(); every later message
//    comes from session.receive().
//  - Both select screens run at once; each side sends its pick with
//    send_pick() as soon as it is made and waits (servicing the session every
//    frame, so Escape and "Connection lost" still work) for the other's. The
//    host plays entry 1, the guest entry 0; each with player 1's keys.
//  - The fight runs a rollback_engine (net/rollback.h) with local entry 1 on
//    the host and 0 on the guest, and --input-delay. An adapter implements
//    rollback_game over the fight: save_state/load_state keep the fight's
//    whole state in rollback_slots slots, step runs one fight frame without
//    drawing, state_hash is the fight's state hash. Each displayed frame:
//    receive(), advance(this player's actions), send_inputs(outgoing()),
//    send_state_hash(take_hash()) when there is one, then draw the present
//    frame and stretch the frame limiter's period by frame_time_scale().
//  - Sounds go through rollback_events (net/rollback_events.h): the sound
//    effect player asks the ledger instead of starting a sound in a step, with
//    a key made of the sound and the entry, and the ledger starts it once and
//    stops it when a correction removes it. Shake and flash are state, so a
//    restore puts them right.
//  - The replay records confirmed_inputs() frame by frame; desync_frame() >= 0
//    stops the fight with "ERROR: online fight desynchronised at frame N".
//  - At the end each side prints rollback_stats_line(engine.stats()) and sends
//    a match_end; a quit shows "Opponent left" on the other side.
#pragma once

// The fight's messages (result, "Combo[%d]", the timing figure) go to the
// main routine's text renderer through here, in screen pixels. On screens
// taller than 480 lines they are drawn larger, in proportion (hud_px).
#pragma once

// Draws `text` at (x, y) with g_text; nothing when there is no renderer.
void draw_fight_text(int x, int y, const char* text);
// The same without the box behind the letters (the menus' bars show
// through), and neither traced nor watched: menus trace their own changes.
void draw_fight_text_clear(int x, int y, const char* text);
// Size `text` takes when drawn by draw_fight_text (8 x 16 pixels a character
// when no font is open).
void fight_text_size(const char* text, int& w, int& h);

// Small labels (the fighters' names by their gauges): the fight's font at a
// smaller size (hud_px of fight_label_point_size), or g_text's own when that
// cannot be opened. Seen by
// fight_text_watcher like the other messages.
void draw_fight_label(int x, int y, const char* text);
void fight_label_size(const char* text, int& w, int& h);
constexpr int fight_label_point_size = 12;

// When set, sees every message before it is drawn (tests use it); null in a
// normal run.
extern void (*fight_text_watcher)(int x, int y, const char* text);

// With GAME_FIGHT_TRACE set in the environment the fight narrates its events
// (messages other than the timing figure, health changes) on standard error,
// each line starting "fight trace: frame [N]" with N the presented frames so
// far: a way for end-to-end tests and players to see what a run did.
bool fight_tracing();

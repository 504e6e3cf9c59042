#include "app/fight/fight_setup.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "fight/fight_cleanup.h"
#include "app/keep_until_exit.h"
#include "app/video.h"
#include "core/log.h"
#include "core/quit_request.h"
#include "fighter/control.h"
#include "fighter/lifeform.h"
#include "fighter/path.h"
#include "stage/level.h"

const char* const roster_char_files[roster_size] = {
    "game\\fighter\\brela_char.ini",
    "game\\fighter\\kastrell_char.ini",
    "game\\fighter\\morvane_char.ini",
    "game\\fighter\\dravitz_char.ini",
};

namespace {

struct control_row {
  const char* map_name;  // null: built but entered in no map
  const char* name;
  int pairs;
  int key[2];
  int state[2];
};

// Building order: the first map's seven, the second map's seven, then the four
// controls no map holds. Every control has the window (1, 1000) ms.
const control_row control_table[18] = {
    {"up", "p1_up", 1, {SDLK_UP, 0}, {1, 0}},
    {"noup", "p1_noup", 1, {SDLK_UP, 0}, {0, 0}},
    {"down", "p1_down", 1, {SDLK_DOWN, 0}, {1, 0}},
    {"left", "p1_left", 2, {SDLK_DOWN, SDLK_LEFT}, {0, 1}},
    {"right", "p1_right", 1, {SDLK_RIGHT, 0}, {1, 0}},
    {"punch", "p1_punch", 1, {SDLK_i, 0}, {1, 0}},
    {"kick", "p1_kick", 1, {SDLK_k, 0}, {1, 0}},
    {"up", "p2_up", 1, {SDLK_w, 0}, {1, 0}},
    {"noup", "p2_noup", 1, {SDLK_w, 0}, {0, 0}},
    {"down", "p2_down", 1, {SDLK_s, 0}, {1, 0}},
    {"left", "p2_left", 2, {SDLK_s, SDLK_a}, {0, 1}},
    {"right", "p2_right", 1, {SDLK_d, 0}, {1, 0}},
    {"punch", "p2_punch", 1, {SDLK_TAB, 0}, {1, 0}},
    {"kick", "p2_kick", 1, {SDLK_z, 0}, {1, 0}},
    {nullptr, "p1_up2", 1, {SDLK_UP, 0}, {1, 0}},
    {nullptr, "p1_downleft", 2, {SDLK_DOWN, SDLK_LEFT}, {1, 1}},
    {nullptr, "p2_up2", 1, {SDLK_w, 0}, {1, 0}},
    {nullptr, "p2_downleft", 2, {SDLK_s, SDLK_a}, {1, 1}},
};

struct rgb {
  Uint8 r, g, b;
};

// The human's fighter is recoloured so a mirror match can be told apart.
const rgb swap_from[5] = {{252, 244, 255}, {166, 154, 204}, {91, 74, 97}, {41, 31, 50}, {160, 124, 145}};
const rgb swap_to[5] = {{252, 213, 130}, {133, 100, 91}, {183, 74, 97}, {121, 47, 91}, {183, 74, 97}};

uint32_t map_colour(const rgb& c) {
  if (g_video.screen) return SDL_MapRGB(g_video.screen->format, c.r, c.g, c.b);
  return (static_cast<uint32_t>(c.r) << 16) | (static_cast<uint32_t>(c.g) << 8) | c.b;
}

// Half the level's width in world pixels; a level scale of 0 (bad data) counts as 1.

}  // namespace

std::vector<colour_swap> player_colour_swaps() {
  std::vector<colour_swap> swaps;
  for (int i = 0; i < 5; ++i) swaps.push_back(colour_swap{map_colour(swap_from[i]), map_colour(swap_to[i])});
  return swaps;
}

namespace {

void place(lifeform* l, path* p, int x, int team, int screen_h) {
  l->path = p;
  if (p) p->recognizer.import(l->combos.get());
  l->x = x;
  l->y = screen_h - l->height;
  l->team = team;
}

// A new fighter of roster position `position`, its combos bound to `keys`.
std::unique_ptr<lifeform> load_fighter(int position, control_map* keys, bool costume, bool costume_on_copies) {
  std::unique_ptr<lifeform> l = std::make_unique<lifeform>();
  l->controls = keys;
  if (costume) {
    l->colour_swaps = player_colour_swaps();
    l->costume_on_copies = costume_on_copies;
  }
  l->load(roster_char_files[position]);
  return l;
}

// Every projectile leaves lifeform_list and is freed.
void remove_projectiles() {
  for (size_t k = 2; k < lifeform_list.size(); ++k) {
    if (lifeform_list[k]) lifeform_list[k]->hp = -1;
  }
  remove_dead_projectiles();
}

// `p` forgets a combo list about to be freed: the combos it was bound to, and
// the attempts in progress that point into them.
void forget_combos(path* p, const std::vector<combo>* gone) {
  if (!p || !gone || gone->empty()) return;
  combo_recognizer& r = p->recognizer;
  if (r.combos == gone) r.combos = nullptr;
  const std::less<const combo*> before;
  const combo* first = gone->data();
  const combo* end = first + gone->size();
  r.attempts.erase(std::remove_if(r.attempts.begin(), r.attempts.end(),
                                  [&](const combo_attempt& a) { return !before(a.which, first) && before(a.which, end); }),
                   r.attempts.end());
}

}  // namespace

fight_setup::fight_setup() = default;

fight_setup::~fight_setup() {
  if (!fighters_[0] && !fighters_[1]) return;
  // Projectiles first: they play their fighter's animations.
  for (size_t k = lifeform_list.size(); k-- > 0;) {
    lifeform* l = lifeform_list[k];
    if (l != fighters_[0].get() && l != fighters_[1].get()) free_projectile(l);
  }
  lifeform_list.clear();
}

lifeform* fight_setup::fighter(int entry) const {
  return entry == 0 || entry == 1 ? fighters_[entry].get() : nullptr;
}

void fight_setup::build_paths(bool demo) {
  human_path = std::make_unique<path>();
  human_path->add_step(mode_human, 0, 0, 0, 0);
  computer_path = std::make_unique<path>();
  computer_path->add_step(mode_computer, 0, 0, 0, 0);
  computer_path->player = 1;  // its recogniser watches the second player's actions
  if (demo) {
    demo_path = std::make_unique<path>();
    demo_path->add_step(mode_computer, 0, 0, 0, 0);
  }
}

void fight_setup::build_controls() {
  maps[0] = std::make_unique<control_map>();
  maps[1] = std::make_unique<control_map>();
  for (int i = 0; i < 18; ++i) {
    const control_row& row = control_table[i];
    std::unique_ptr<control> c = std::make_unique<control>(row.name, 1, 1000);
    for (int p = 0; p < row.pairs; ++p) c->add_pair(row.key[p], row.state[p]);
    if (row.map_name) maps[i < 7 ? 0 : 1]->insert(row.map_name, c.get());
    controls.push_back(std::move(c));
  }
}

void fight_setup::make_second_player_path() {
  if (second_player_path) return;
  second_player_path = std::make_unique<path>();
  second_player_path->add_step(mode_human, 0, 0, 0, 0);
  second_player_path->player = 1;
}

std::unique_ptr<lifeform> fight_setup::enlist_fighter(int entry, std::unique_ptr<lifeform> fresh) {
  std::unique_ptr<lifeform> replaced = std::move(fighters_[entry]);
  fighters_[entry] = std::move(fresh);
  lifeform* l = fighters_[entry].get();
  const size_t at = static_cast<size_t>(entry);
  if (replaced && at < lifeform_list.size() && lifeform_list[at] == replaced.get()) {
    lifeform_list[at] = l;
  } else {
    lifeform_list.push_back(l);
  }
  return replaced;
}

void fight_setup::start_fight(int roster_position, int second_player) {
  if (roster_position < 0 || roster_position >= roster_size) {
    log_out("WARNING: roster position [%d] outside 0..%d, playing position 0\n", roster_position,
            roster_size - 1);
    roster_position = 0;
  }
  path* entry0_path = computer_path.get();
  int entry0_position = computer_position >= 0 && computer_position < roster_size ? computer_position : 0;
  if (second_player >= 0) {
    entry0_position = second_player < roster_size ? second_player : 0;
    make_second_player_path();
    entry0_path = second_player_path.get();
  }
  entry0_position_ = entry0_position;
  if (g_level) g_level->load(fight_level_file);
  // A quit request stops the loading between files; the fight is not started.
  if (poll_quit_request()) return;

  const int computer_index = static_cast<int>(lifeform_list.size());
  enlist_fighter(0, load_fighter(entry0_position, maps[1].get(), false, false));
  lifeform* computer = fighters_[0].get();
  if (poll_quit_request()) return;

  const int human_index = static_cast<int>(lifeform_list.size());
  enlist_fighter(1, load_fighter(roster_position, maps[0].get(), true, costume_on_copies));
  lifeform* human = fighters_[1].get();

  computer->target = human_index;
  human->target = computer_index;
  for (lifeform* l : lifeform_list) {
    if (l) l->edge_death = 0;
  }

  const int screen_w = g_video.screen ? g_video.screen->w : 0;
  const int screen_h = g_video.screen ? g_video.screen->h : 0;
  computer->facing = 1;
  place(computer, entry0_path, fight_start_x(0), 0, screen_h);
  place(human, demo_path ? demo_path.get() : human_path.get(), fight_start_x(1), 1, screen_h);

  const int max_width = g_level ? g_level->max_width : 0;
  const int max_height = g_level ? g_level->max_height : 0;
  log_out("Level [%d,%d] screen [%d,%d]\n", max_width, max_height, screen_w, screen_h);
  log_out("Scrolling Max for level: maxx [%d] maxy[%d]\n", max_width - screen_w, max_height - screen_h);
}

void fight_setup::change_fighters(int roster_position, int second_player) {
  if (lifeform_list.size() < 2 || roster_position < 0 || roster_position >= roster_size) return;
  // Only fighters this set-up placed are replaced.
  if (!fighters_[0] || !fighters_[1] || lifeform_list[0] != fighters_[0].get() ||
      lifeform_list[1] != fighters_[1].get()) {
    return;
  }
  const int screen_h = g_video.screen ? g_video.screen->h : 0;
  std::unique_ptr<lifeform> replaced[2];

  // Entry 0 changes when a second player picks now or played before: the
  // computer takes position 0 back when the second player has gone. It is
  // loaded before entry 1, as at set-up, so the costume recolours only the
  // human's copies of pictures both may share.
  const bool second_played = second_player_path && fighters_[0]->path == second_player_path.get();
  const int computer_at = computer_position >= 0 && computer_position < roster_size ? computer_position : 0;
  if (second_player >= 0 || second_played || entry0_position_ != computer_at) {
    path* entry0_path = computer_path.get();
    int entry0_position = computer_at;
    if (second_player >= 0) {
      entry0_position = second_player < roster_size ? second_player : 0;
      make_second_player_path();
      entry0_path = second_player_path.get();
    }
    entry0_position_ = entry0_position;
    replaced[0] = enlist_fighter(0, load_fighter(entry0_position, maps[1].get(), false, false));
    lifeform* entry0 = fighters_[0].get();
    entry0->edge_death = 0;
    entry0->facing = 1;
    place(entry0, entry0_path, fight_start_x(0), 0, screen_h);
  }

  replaced[1] = enlist_fighter(1, load_fighter(roster_position, maps[0].get(), true, costume_on_copies));
  lifeform* human = fighters_[1].get();
  human->edge_death = 0;
  place(human, demo_path ? demo_path.get() : human_path.get(), fight_start_x(1), 1, screen_h);
  fighters_[0]->target = 1;
  human->target = 0;

  // The replaced fighters go now, once nothing shows or steers by what they
  // loaded: the projectiles they fired play their animations, and a path may
  // still hold their combos.
  remove_projectiles();
  for (const std::unique_ptr<lifeform>& gone : replaced) {
    if (!gone) continue;
    for (path* p : {human_path.get(), computer_path.get(), demo_path.get(), second_player_path.get()}) {
      forget_combos(p, gone->combos.get());
    }
  }
}

void fight_setup::release() {
  for (size_t i = controls.size(); i-- > 0;) controls[i].reset();
  controls.clear();
  // The maps only point at the controls; they go with them.
  maps[0].reset();
  maps[1].reset();
  // The fighters outlive their paths: leave them none rather than a dangling one.
  for (lifeform* l : lifeform_list) {
    if (l && l->path && (l->path == human_path.get() || l->path == computer_path.get() ||
                         l->path == demo_path.get() || l->path == second_player_path.get())) {
      l->path = nullptr;
    }
  }
  human_path.reset();
  computer_path.reset();
  demo_path.reset();
  second_player_path.reset();
}

void fight_setup::keep_fighters_until_exit() {
  for (std::unique_ptr<lifeform>& f : fighters_) keep_until_exit(std::move(f));
}

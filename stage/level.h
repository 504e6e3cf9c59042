// The stage: background pieces stacked from the bottom of the screen, their
// parallax layers, a tilted floor, the enemy waves of each part, and the shake
// and flash effects animation frames set. One level exists; the main routine
// creates it and keeps it in g_level until the program ends.
#pragma once
#include <deque>
#include <memory>
#include <vector>

#include "gfx/img_mgr.h"

constexpr int max_sorties = 11;         // sortie records, and entries per record
constexpr int max_level_parts = 1000;   // "length" above this is clamped
constexpr int max_level_images = 1000;  // background-set "images" above this is clamped
constexpr int max_level_layers = 1000;  // "part%dparallax" above this is clamped

// Background picture indices of one piece's parallax layers, in key order.
struct layered_segment {
  std::vector<int> layers;
};

// One part's enemy waves: kept, not used by the fight.
struct sortie {
  int count[max_sorties] = {0};  // "enemy%dcount" of entry n
  int enemy[max_sorties] = {0};  // "enemy%d" of entry n
  int size = 0;                  // "enemies", at most max_sorties
};

class level {
 public:
  // The pictures carry their own drawing state (the rectangles a draw sets,
  // zoomed copies, textures): drawing the stage changes those and nothing else.
  mutable std::vector<img_mgr> images;  // background-set pictures; everything else indexes these
  mutable std::deque<img_mgr> plist;    // on-screen pieces, highest part first (part 0 last)
  std::vector<std::unique_ptr<layered_segment>> layered_segments;  // parallel to plist
  int floor = -1;          // index into images of the floor picture, -1 for none
  int stage_width = 0;     // "width" of the background set; only printed
  int max_height = 0;      // tallest picture, times scale
  int total_height = 0;    // sum of the piece heights
  int length = 0;          // number of parts
  int base_y = 0;          // screen y of the bottom piece
  int scroll_x = 0;        // set by the fight camera every tick
  int max_width = 0;       // widest picture, times scale
  int scroll_y = 0;        // set by the fight camera every tick
  double zoom = 1.0;       // set by the fight camera every tick; advance multiplies it by scale
  double scale = 1.0;      // the level file's "scale"
  int loading = 0;         // 1 while load runs
  int loop = -1;           // the level file's "loop"; kept only
  int shake = 0;           // current shake offset, pixels; set by animation frames
  int flash = 0;           // current flash strength 0..255; set by animation frames
  int flash_rate = 0;      // flash fade per tick
  int flash_shown = 0;     // the strength this tick's draw shows: flash before advance faded it
  sortie sorties[max_sorties];
  // Set by the fight's camera, which may zoom out past the pictures to keep
  // the fighters in view: draw then paints the backdrop (stage_backdrop.h)
  // wherever the pieces can't reach. Off, those parts keep the clear colour.
  bool fill_uncovered = false;
  // The ground piece's edge colour of each row (stage_backdrop.h), read at the
  // first draw, before an OpenGL upload takes the pixels away.
  mutable std::vector<uint32_t> edge_rows;
  mutable bool edge_rows_read = false;

  level() = default;
  level(const level&) = delete;
  level& operator=(const level&) = delete;
  ~level();

  // Reads the level file `path` and everything it names, playing the loading
  // animation. Failures print a line and leave defaults.
  void load(const char* path);
  // The stage's own tick, taken where the frame draws the stage, after the
  // camera set scroll and zoom: the zoom becomes the one the stage is drawn
  // and hit-tested at (times scale) and, unless `held` (a paused fight), the
  // shake swings to its next offset and the flash fades, the draw showing it
  // as it was before fading (flash_shown).
  void advance(bool held = false);
  // Paints the stage as advance left it; changes no field of the level.
  void draw() const;
  // The smallest zoom, as draw uses it (after scale), at which every layered
  // piece on a screen of that size covers it from the top down to the piece's
  // bottom edge and across its width (stage_window.h); 0 when no piece asks.
  // `with_slack` as in stage_window.h.
  double covering_zoom(int screen_w, int screen_h, bool with_slack = true) const;
  // True when the pieces fill a screen of that size at the zoom draw uses
  // (after scale): every layered piece zoomed enough, every plain piece drawn
  // as wide as the screen, and the stack reaching the top.
  bool covers_screen(int screen_w, int screen_h, double drawn_zoom) const;

 private:
  void paint_ground_backdrop(int screen_w, int screen_h, double dy) const;
};

// The game's stage; set by the main routine before anything else uses it.
extern level* g_level;

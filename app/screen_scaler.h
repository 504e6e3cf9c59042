// Software presentation of the logical screen in a window of another size:
// the picture scaled into its fitted rectangle, black bars around it.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "app/display_fit.h"

class screen_scaler {
 public:
  // Draws all of `logical` into `window` at `fit` (nearest pixel, or linear
  // when `smooth`) and paints the rest of the window black. Surfaces of the
  // same format; linear needs 4 bytes a pixel (others are drawn nearest).
  void draw(SDL_Surface* logical, SDL_Surface* window, const display_fit& fit, bool smooth);

 private:
  // Tables for one geometry, rebuilt when the sizes change; kept between
  // frames so presenting allocates nothing.
  int table_logical_w = -1, table_fit_w = -1;
  std::vector<int> nearest_x;    // per window column of the picture: logical column
  std::vector<int> linear_x;     // per column: left logical column of the pair
  std::vector<uint32_t> weight_x;  // per column: weight of the right one, 0..256
  std::vector<uint32_t> rows[2];   // logical rows scaled across (linear)
  int row_of[2] = {-1, -1};        // which logical row each holds

  void build_tables(int logical_w, int fit_w);
  void draw_nearest(SDL_Surface* logical, SDL_Surface* window, const display_fit& fit);
  void draw_linear(SDL_Surface* logical, SDL_Surface* window, const display_fit& fit);
  const uint32_t* scaled_row(SDL_Surface* logical, int row, int width);
};

// The linear filter's sample for window offset `o` of a picture `picture`
// pixels long showing `logical` pixels: the left source pixel and the right
// one's weight out of 256 (pixel centres line up).
void linear_sample(int o, int logical, int picture, int& left, uint32_t& weight);

// Where the logical screen (the size the game draws at) lands in a window of
// another size: scaled as large as fits with its aspect ratio kept, centred,
// black bars filling the rest on one axis.
#pragma once

struct display_fit {
  int x = 0, y = 0;  // top-left corner of the picture in the window, pixels
  int w = 0, h = 0;  // size of the picture in the window, pixels (0 when nothing fits)
};

// The fitted picture of a logical_w x logical_h screen in a window_w x window_h
// window. Sizes of 0 or less give an empty fit.
display_fit fit_logical_screen(int logical_w, int logical_h, int window_w, int window_h);

// The window column (row) where logical column `lx` (row `ly`) starts: the
// first window pixel whose nearest logical pixel is lx. Logical size as given
// to fit_logical_screen.
int window_x_of(const display_fit& fit, int logical_w, int lx);
int window_y_of(const display_fit& fit, int logical_h, int ly);

// The logical column (row) a window column (row) of the picture shows; the
// inverse of the above, used by the scalers. `wx` is relative to fit.x.
inline int logical_of(int picture_offset, int logical_size, int picture_size) {
  return static_cast<int>(static_cast<long long>(picture_offset) * logical_size / picture_size);
}

// Limits drawing on the screen to the rows [top, bottom), in either drawing
// mode, for as long as the object lives.
#pragma once

class screen_rows_clip {
 public:
  screen_rows_clip(int top, int bottom);
  ~screen_rows_clip();
  screen_rows_clip(const screen_rows_clip&) = delete;
  screen_rows_clip& operator=(const screen_rows_clip&) = delete;
};

#include "loading_art.h"

#include <cmath>

#include "block_font.h"

Canvas loading_frame(int frame) {
  Canvas cv(640, 60);
  // Dark band across the screen with a lit top edge.
  cv.rect(0, 8, 640, 52, RGB{24, 18, 36});
  cv.rect(0, 8, 640, 2, RGB{166, 154, 204});
  TextStyle st;
  st.cell = 3, st.outline_px = 2, st.shadow = 0;
  draw_text(cv, "LOADING", 16, 22, st);
  // Segmented bar: segments fill up over the loop, the newest one pulses.
  const int segments = 16, x0 = 150, w = 28, gap = 4;
  int lit = (frame + 1) * segments / kLoadingFrames;
  float pulse = 0.5f + 0.5f * std::sin(frame * 3.14159265f / 2.0f);
  for (int i = 0; i < segments; ++i) {
    int x = x0 + i * (w + gap);
    cv.rect(x, 24, w, 18, RGB{60, 46, 80});
    if (i < lit) {
      RGB c = i == lit - 1 ? mix(RGB{250, 170, 70}, RGB{255, 244, 200}, pulse) : RGB{250, 170, 70};
      cv.rect(x + 2, 26, w - 4, 14, c);
      cv.rect(x + 2, 26, w - 4, 3, mix(c, RGB{255, 255, 255}, 0.4f));
    }
  }
  return cv;
}

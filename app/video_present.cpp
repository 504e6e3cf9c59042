// The presentation half of the video object: the window, which shows the
// logical screen scaled to fit (a whole number of times in a window, the
// desktop's resolution in full screen, any size the player drags the window
// to), full-screen toggling and the per-frame present.
#include <SDL_opengl.h>

#include <chrono>
#include <vector>

#include "app/screen_capture.h"
#include "app/screen_scaler.h"
#include "app/video.h"
#include "core/log.h"

namespace {

// What the one video object needs between frames. Lives until the program ends.
struct presentation_state {
  screen_scaler scaler;
  bool toggle_requested = false;
  int requested_w = 0, requested_h = 0;  // a resized window's new size; 0 when none
  // Filters found installed in place of ours (the quit watch, a replay's key
  // catcher); each sees every event after ours. One that wraps ours calls
  // back into it: `inside` makes that call pass straight through.
  std::vector<SDL_EventFilter> chained;
  bool inside = false;
  GLuint texture = 0;                     // OpenGL: the logical screen, copied each frame
  int texture_w = 0, texture_h = 0;
};
presentation_state state;

int power_of_two_at_least(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

// Sees every event as SDL queues it: F11 and Alt+Enter toggle full screen, a
// resized window is fitted again. Every event still goes on to the filter that
// was there before (the quit watcher) and into the queue.
int watch_display_events(const SDL_Event* event) {
  if (state.inside) return 1;
  if (event->type == SDL_KEYDOWN) {
    const SDLKey key = event->key.keysym.sym;
    const bool alt = (event->key.keysym.mod & KMOD_ALT) != 0;
    if (key == SDLK_F11 || (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER))) g_video.request_fullscreen_toggle();
  } else if (event->type == SDL_VIDEORESIZE) {
    g_video.request_window_size(event->resize.w, event->resize.h);
  }
  state.inside = true;
  int keep = 1;
  for (SDL_EventFilter f : state.chained) {
    if (!f(event)) keep = 0;
  }
  state.inside = false;
  return keep;
}

void watch_events() {
  SDL_EventFilter current = SDL_GetEventFilter();
  if (current == watch_display_events) return;
  if (current) state.chained.push_back(current);
  SDL_SetEventFilter(watch_display_events);
}

// True when the window is exactly the logical screen: nothing to scale.
bool one_to_one(const SDL_Surface* window, const SDL_Surface* screen) {
  return window && screen && window->w == screen->w && window->h == screen->h;
}

}  // namespace

display_fit video::fit() const {
  if (!screen || !window) return display_fit{};
  return fit_logical_screen(screen->w, screen->h, window->w, window->h);
}

void video::request_fullscreen_toggle() { state.toggle_requested = true; }

void video::request_window_size(int w, int h) {
  state.requested_w = w;
  state.requested_h = h;
}

bool video::set_window_mode(int w, int h, uint32_t mode_flags) {
  // A window the player can resize; full screen is the desktop's size.
  if (!(mode_flags & SDL_FULLSCREEN)) mode_flags |= SDL_RESIZABLE;
  SDL_Surface* shown = SDL_SetVideoMode(w, h, logical_bpp, mode_flags);
  if (!shown) return false;
  window = shown;
  window_flags = mode_flags;
  if (!(mode_flags & SDL_FULLSCREEN)) {
    windowed_w = w;
    windowed_h = h;
  }
  return true;
}

bool video::open_window(int width, int height, int bpp) {
  logical_bpp = bpp;
  int w = width, h = height;
  if (flags & SDL_FULLSCREEN) {
    if (desktop_w > 0 && desktop_h > 0) {
      w = desktop_w;
      h = desktop_h;
    }
  } else if (scale > 1) {
    int n = scale;
    // A window larger than the desktop would be cut off.
    while (n > 1 && desktop_w > 0 && desktop_h > 0 && (width * n > desktop_w || height * n > desktop_h)) --n;
    if (n != scale) {
      log_out("NOTICE: scale=%d doesn't fit the %d x %d desktop, the window is %d times the screen\n", scale,
              desktop_w, desktop_h, n);
    }
    w = width * n;
    h = height * n;
  }
  windowed_w = width * (scale > 1 ? scale : 1);
  windowed_h = height * (scale > 1 ? scale : 1);
  bool shown = set_window_mode(w, h, flags);
  if (!shown && (w != width || h != height)) {
    log_out("WARNING: can't open a %d x %d window (%s), showing the game at %d x %d\n", w, h, SDL_GetError(), width,
            height);
    shown = set_window_mode(width, height, flags);
  }
  if (!shown) return false;
  if (screen && (screen->w != width || screen->h != height)) {
    SDL_FreeSurface(screen);
    screen = nullptr;
  }
  if (!screen) {
    // The logical screen has the window's pixel format, so colours mapped for
    // it and pictures in the display format show unchanged. (Its pixels can't
    // be the window's: the compatibility layer keeps its own record of where
    // a surface's pixels are, and fills and blits go there.)
    const SDL_PixelFormat* f = window->format;
    screen = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask,
                                  f->Amask);
    if (!screen) {
      log_err("Couldn't set %d x %d x %d video mode: %s\n", width, height, bpp, SDL_GetError());
      return false;
    }
    if (f->palette) SDL_SetColors(screen, f->palette->colors, 0, f->palette->ncolors);
  }
  return true;
}

void video::set_gl_view() {
  if (!screen || !window) return;
  const display_fit f = fit();
  if (window->w >= screen->w && window->h >= screen->h) {
    // The game draws the logical screen 1:1 in the lower-left corner of the
    // frame (where a screenshot reads it); present scales it from there.
    glViewport(0, 0, screen->w, screen->h);
  } else {
    // A window smaller than the logical screen: drawn straight into the fit.
    glViewport(f.x, window->h - f.y - f.h, f.w, f.h);
  }
}

void video::show_scaled_gl() {
  if (window->w < screen->w || window->h < screen->h) return;  // drawn in place (set_gl_view)
  const int tw = power_of_two_at_least(screen->w), th = power_of_two_at_least(screen->h);
  if (!state.texture || state.texture_w != tw || state.texture_h != th) {
    if (!state.texture) glGenTextures(1, &state.texture);
    glBindTexture(GL_TEXTURE_2D, state.texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    state.texture_w = tw;
    state.texture_h = th;
  }
  glBindTexture(GL_TEXTURE_2D, state.texture);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, screen->w, screen->h);
  const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);

  glViewport(0, 0, window->w, window->h);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, window->w, window->h, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT);  // the bars
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glColor4ub(255, 255, 255, 255);
  // Texture rows run bottom to top: the logical screen's top row is at v.
  const float u = static_cast<float>(screen->w) / tw, v = static_cast<float>(screen->h) / th;
  const display_fit f = fit();
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, v);
  glVertex2i(f.x, f.y);
  glTexCoord2f(u, v);
  glVertex2i(f.x + f.w, f.y);
  glTexCoord2f(u, 0.0f);
  glVertex2i(f.x + f.w, f.y + f.h);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2i(f.x, f.y + f.h);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glViewport(0, 0, screen->w, screen->h);
}

void video::present() {
  if (!screen || !window) return;
  watch_events();
  if (before_present) before_present();
  watch_screenshot_key();
  const bool scaled = !one_to_one(window, screen);
  const auto start = std::chrono::steady_clock::now();
  if (opengl()) {
    if (scaled) show_scaled_gl();
  } else {
    state.scaler.draw(screen, window, fit(), smooth);
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  scaling_ms_total += ms;
  if (ms > scaling_ms_worst) scaling_ms_worst = ms;
  ++scaled_frames;
  if (opengl()) {
    SDL_GL_SwapBuffers();
  } else {
    SDL_Flip(window);
  }
  if (after_present) after_present();
  apply_window_requests();
}

void video::apply_window_requests() {
  const bool toggle = state.toggle_requested;
  const int rw = state.requested_w, rh = state.requested_h;
  state.toggle_requested = false;
  state.requested_w = state.requested_h = 0;
  if (!toggle && (rw <= 0 || rh <= 0 || fullscreen())) return;

  const SDL_Surface* before = window;
  const uint32_t before_flags = window_flags;
  const int before_w = window->w, before_h = window->h;
  bool shown = false;
  if (toggle && !fullscreen()) {
    const int w = desktop_w > 0 ? desktop_w : before_w, h = desktop_h > 0 ? desktop_h : before_h;
    shown = set_window_mode(w, h, window_flags | SDL_FULLSCREEN);
  } else if (toggle) {
    shown = set_window_mode(windowed_w, windowed_h, window_flags & ~static_cast<uint32_t>(SDL_FULLSCREEN));
  } else {
    shown = set_window_mode(rw, rh, window_flags);
  }
  if (!shown) {
    log_out("WARNING: can't change the window (%s), keeping %d x %d\n", SDL_GetError(), before_w, before_h);
    if (!set_window_mode(before_w, before_h, before_flags) && before != window) window = nullptr;
    return;
  }
  if (opengl()) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, screen->w, screen->h, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    set_gl_view();
  }
  if (toggle && fullscreen_changed) fullscreen_changed(fullscreen());
  const display_fit f = fit();
  log_out("NOTICE: showing the %d x %d screen at %d x %d in a %d x %d %s\n", screen->w, screen->h, f.w, f.h,
          window->w, window->h, fullscreen() ? "full screen" : "window");
}

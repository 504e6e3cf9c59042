#include "app/text_renderer.h"

#include <SDL_opengl.h>

#include "app/video.h"
#include "core/data_path.h"
#include "core/log.h"
#include "gfx/img_mgr.h"

text_renderer* g_text = nullptr;

void text_texture_size(int w, int h, int& texture_w, int& texture_h) {
  texture_w = texture_size_for(w);
  texture_h = texture_size_for(h);
}

void text_renderer::create(SDL_Surface* target) {
  *this = text_renderer();
  target_surface = target;
  if (TTF_Init() < 0) log_err("Couldn't initialize TTF: %s\n", SDL_GetError());
  font_open = 0;
}

void text_renderer::open_font(const char* path) {
  if (font_open) {
    TTF_CloseFont(font);
    font = nullptr;
    font_open = 0;
  }
  font = TTF_OpenFont(checked_data_path(path, data_kind::font).c_str(), point_size);
  if (!font) {
    log_out("ERROR: TTF_OpenFont: %s\n", SDL_GetError());
    return;
  }
  TTF_SetFontStyle(font, style);
  font_open = 1;
}

namespace {

void draw_as_texture(SDL_Surface* rendered, int x, int y) {
  const int w = rendered->w, h = rendered->h;
  int pw = 1, ph = 1;
  text_texture_size(w, h, pw, ph);
  SDL_Surface* rgba = g_video.create_rgba_surface(pw, ph, 32, 0);
  if (!rgba) {
    log_out("Render failure in creating texture [%d,%d]\n", pw, ph);
    return;
  }
  SDL_Rect from = {0, 0, static_cast<Uint16>(pw), static_cast<Uint16>(ph)};
  SDL_Rect to = from;
  SDL_BlitSurface(rendered, &from, rgba, &to);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pw, ph, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba->pixels);
  SDL_FreeSurface(rgba);

  const float u = static_cast<float>(w) / static_cast<float>(pw);
  const float v = static_cast<float>(h) / static_cast<float>(ph);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBegin(GL_QUADS);
  glColor4ub(255, 255, 255, 255);
  glTexCoord2f(0, 0); glVertex2i(x, y);
  glTexCoord2f(u, 0); glVertex2i(x + w, y);
  glTexCoord2f(u, v); glVertex2i(x + w, y + h);
  glTexCoord2f(0, v); glVertex2i(x, y + h);
  glEnd();
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glDeleteTextures(1, &texture);
}

}  // namespace

void text_renderer::draw_text(const char* text) {
  if (!text) text = "";
  if (!font_open) open_font("tahoma.ttf");
  if (!font_open) return;
  rendered = solid ? TTF_RenderText_Solid(font, text, fg) : TTF_RenderText_Shaded(font, text, fg, bg);
  if (!rendered) {
    log_out("ERROR render text is NULL [%s]\n", text);
    return;
  }
  if (opengl_mode()) {
    draw_as_texture(rendered, x, y);
  } else if (target_surface) {
    SDL_Rect to = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(rendered, nullptr, target_surface, &to);
  }
  SDL_FreeSurface(rendered);
  rendered = nullptr;
}

void text_renderer::destroy() {
  if (font_open) TTF_CloseFont(font);
  font = nullptr;
  font_open = 0;
}

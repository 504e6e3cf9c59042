// The tilted floor in OpenGL mode: the same strips the software path blits,
// each screen row a one-pixel-high textured quad, so both modes show the same
// picture rows at the same screen rows (and the same left shift per row).
#include <SDL_opengl.h>

#include <vector>

#include "core/log.h"
#include "gfx/img_internal.h"
#include "gfx/img_mgr.h"
#include "gfx/zoom_window.h"

namespace {

// One strip of the software path: the zoomed picture's rows sy.. and columns
// sx.. landing at (dx, dy), as the blit would clip them.
void quad_rows(const img_mgr& img, const std::vector<int>& cols, const std::vector<int>& rows, const blit_plan& p) {
  // Texels, not zoomed pixels: the zoomed copy's column c shows picture column
  // cols[c]; the quad spans the picture columns its first and last pixel show.
  const float s0 = static_cast<float>(cols[p.sx]) / img.texture_width;
  const float s1 = static_cast<float>(cols[p.sx + p.w - 1] + 1) / img.texture_width;
  const float x0 = static_cast<float>(p.dx);
  const float x1 = static_cast<float>(p.dx + p.w);
  for (int j = 0; j < p.h; ++j) {
    // The texel row's centre: linear filtering then reads that row alone.
    const float t = (rows[p.sy + j] + 0.5f) / img.texture_height;
    const float y0 = static_cast<float>(p.dy + j);
    glTexCoord2f(s0, t); glVertex2f(x0, y0);
    glTexCoord2f(s1, t); glVertex2f(x1, y0);
    glTexCoord2f(s1, t); glVertex2f(x1, y0 + 1.0f);
    glTexCoord2f(s0, t); glVertex2f(x0, y0 + 1.0f);
  }
}

}  // namespace

void draw_floor_gl(img_mgr& img, int x, int y, SDL_Surface* target, double zoom, double depth) {
  img.upload();
  if (!img.has_texture()) {
    log_out("ERROR displaying non-uploadedGL image [%x]->NULL\n", log_addr(&img));
    return;
  }
  const std::vector<int>& cols = zoom_line_map(img.width, zoom);
  const std::vector<int>& rows = zoom_line_map(img.height, zoom);
  SDL_Rect& sr = img.src_rect;
  SDL_Rect& dr = img.dest_rect;
  if (target && !cols.empty() && !rows.empty()) {
    const int zh = static_cast<int>(rows.size());
    // The software path's geometry: the window scaled, the bottom edge kept.
    sr.x = to_s16(trunc_to_int(sr.x * zoom));
    sr.y = to_s16(trunc_to_int(sr.y * zoom));
    sr.w = to_u16(trunc_to_int(sr.w * zoom));
    sr.h = to_u16(trunc_to_int(sr.h * zoom));
    dr.x = to_s16(trunc_to_int(static_cast<Sint16>(x) * zoom));
    dr.y = to_s16(y + img.height - zh);
    dr.w = to_u16(trunc_to_int(dr.w * zoom));
    dr.h = to_u16(trunc_to_int(dr.h * zoom));
    if (dr.x + dr.w > target->w) dr.w = to_u16(target->w - dr.x);
    if (dr.y + dr.h > target->h) dr.h = to_u16(target->h - dr.y);
    const int row_count = dr.y > target->h ? 0 : dr.h;

    // Drawn in the software path's order, each strip whole: a later strip
    // covers the rows below it, and where it is see-through the earlier one
    // shows, as with keyed blits.
    const int zw = static_cast<int>(cols.size());
    // Nearest texels, as the software zoom picks them; the texture's own
    // filter is put back afterwards (set outside the quad: GL ignores it inside).
    glBindTexture(GL_TEXTURE_2D, img.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    begin_textured_quad(img.texture);
    glColor4ub(255, 255, 255, static_cast<GLubyte>(img.alpha & 0xFF));
    for_each_floor_strip(sr, dr, row_count, depth, [&] {
      const blit_plan p = plan_blit(zw, zh, sr, target->clip_rect, dr);
      if (p.visible()) quad_rows(img, cols, rows, p);
      dr = p.dst_out;
    });
    end_textured_quad();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  }
  img.src_rect = {0, 0, to_u16(img.width), to_u16(img.height)};
  img.dest_rect.w = to_u16(img.width);
  img.dest_rect.h = to_u16(img.height);
}

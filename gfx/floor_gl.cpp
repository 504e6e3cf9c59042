// The tilted floor in OpenGL mode: the rows the software path's strip blits
// leave showing, drawn as textured quads, so both modes show the same picture
// rows at the same screen rows (and the same left shift per row).
#include <SDL_opengl.h>

#include <algorithm>
#include <vector>

#include "core/log.h"
#include "gfx/drawn_rects.h"
#include "gfx/img_internal.h"
#include "gfx/img_mgr.h"
#include "gfx/zoom_window.h"

namespace {

// A screen row of the floor as the software blits leave it showing: the zoomed
// picture's row `sy`, from its column `sx` on, `w` columns landing at (dx, y).
struct floor_row {
  int y, dx, w, sx, sy;
};

// Rows showing one picture row side by side with the same horizontal extent
// form one quad, its texture sheared by the rows' left shift: a one-pixel-high
// quad per row costs a software rasteriser several times the same fill.
bool same_run(const floor_row& last, const floor_row& next) {
  return next.y == last.y + 1 && next.sy == last.sy && next.dx == last.dx && next.w == last.w &&
         (next.sx == last.sx || next.sx == last.sx + 1);
}

void quad_run(const img_mgr& img, const std::vector<int>& rows, int zw, const floor_row* first, int count) {
  const floor_row& last = first[count - 1];
  // Zoomed columns to texels: the left shift grows by `slope` columns a row;
  // the texture's left edge is placed so that each row's centre reads the
  // columns its blit would (a quarter column in, clear of texel borders).
  const double slope = count > 1 ? static_cast<double>(last.sx - first->sx) / (count - 1) : 0.0;
  const double step = static_cast<double>(img.width) / zw / img.texture_width;
  const float s_top = static_cast<float>((first->sx - slope * 0.5 - 0.25) * step);
  const float s_bottom = static_cast<float>((first->sx + slope * (count - 0.5) - 0.25) * step);
  const float s_w = static_cast<float>(first->w * step);
  // The texel row's centre, whichever the filter.
  const float t = (rows[first->sy] + 0.5f) / img.texture_height;
  const float x0 = static_cast<float>(first->dx);
  const float x1 = static_cast<float>(first->dx + first->w);
  const float y0 = static_cast<float>(first->y);
  const float y1 = static_cast<float>(last.y + 1);
  glTexCoord2f(s_top, t); glVertex2f(x0, y0);
  glTexCoord2f(s_top + s_w, t); glVertex2f(x1, y0);
  glTexCoord2f(s_bottom + s_w, t); glVertex2f(x1, y1);
  glTexCoord2f(s_bottom, t); glVertex2f(x0, y1);
  note_drawn_rect(first->dx, first->y, first->w, last.y + 1 - first->y);
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

    const int zw = static_cast<int>(cols.size());
    static std::vector<blit_plan> plans;  // both reused: no allocation per frame
    static std::vector<floor_row> shown;
    plans.clear();
    shown.clear();
    for_each_floor_strip(sr, dr, row_count, depth, [&] {
      plans.push_back(plan_blit(zw, zh, sr, target->clip_rect, dr));
      dr = plans.back().dst_out;
    });

    // Each strip blit copies several rows but the next one, a row lower,
    // covers all but its first: only the rows left showing are drawn (a
    // see-through texel then shows the stage behind the floor, where the
    // software blits would show the strip above continued).
    int covered_from = target->h;
    for (size_t k = plans.size(); k-- > 0;) {
      const blit_plan& p = plans[k];
      if (!p.visible()) continue;
      for (int j = std::min(p.h, covered_from - p.dy) - 1; j >= 0; --j) {
        shown.push_back({p.dy + j, p.dx, p.w, p.sx, p.sy + j});
      }
      covered_from = std::min(covered_from, p.dy);
    }
    std::reverse(shown.begin(), shown.end());

    // Nearest texels, as the software zoom picks them; the texture's own
    // filter is put back afterwards (set outside the quad: GL ignores it inside).
    glBindTexture(GL_TEXTURE_2D, img.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    begin_textured_quad(img.texture);
    glColor4ub(255, 255, 255, static_cast<GLubyte>(img.alpha & 0xFF));
    for (size_t a = 0; a < shown.size();) {
      size_t b = a + 1;
      while (b < shown.size() && same_run(shown[b - 1], shown[b])) ++b;
      quad_run(img, rows, zw, &shown[a], static_cast<int>(b - a));
      a = b;
    }
    end_textured_quad();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  }
  img.src_rect = {0, 0, to_u16(img.width), to_u16(img.height)};
  img.dest_rect.w = to_u16(img.width);
  img.dest_rect.h = to_u16(img.height);
}

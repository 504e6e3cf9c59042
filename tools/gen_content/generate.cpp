#include "generate.h"

#include "datafile.h"
#include "fighter_writer.h"
#include "font_copy.h"
#include "loading_art.h"
#include "moves.h"
#include "music.h"
#include "projectile_art.h"
#include "sound.h"
#include "stage_writer.h"
#include "title_art.h"

namespace {
void write_settings(DataTree& tree) {
  // Software mode (hwaccel=1 plays in OpenGL mode).
  KeyValues kv;
  kv.add("width", 640).add("height", 480).add("bpp", 32).add("fps", 60);
  // Matches: first to two rounds, a minute a round, a middling opponent.
  kv.add("rounds", 2).add("round_time", 60).add("difficulty", 3);
  // Bodies don't walk through each other; the frame-timing number and the
  // OpenGL mode's hit-box outlines stay hidden.
  kv.add("push_apart", 1).add("hide_timing_figure", 1).add("hide_hit_boxes", 1);
  // The action shots paint the fighter's name in their top 40 rows (action_shot):
  // the select screen's circling copies keep off it.
  kv.add("shot_name_height", 40);
  // Music under the titles, the select screen and the menus.
  kv.add("music", "rsrc\\music\\menu_loop.wav");
  // The main menu after the titles (Arcade, Versus, Options, Quit), its own
  // backdrop, and the picture behind the arcade's closing screen.
  kv.add("main_menu", 1);
  kv.add("menu_backdrop", "rsrc\\menu_backdrop_640x480.png");
  kv.add("arcade_ending", "rsrc\\arcade_ending_640x480.png");
  tree.write("game\\game.ini", kv);
}

void write_loading(DataTree& tree) {
  KeyValues kv;
  kv.add("images", kLoadingFrames).add("loop", 1);
  for (int i = 0; i < kLoadingFrames; ++i) {
    std::string pic = "rsrc\\loading\\loading" + std::to_string(i + 1) + ".png";
    tree.write(pic, loading_frame(i));
    kv.add(key("image%d", i), pic).add(key("rate%d", i), 4);
  }
  tree.write("game\\fighter\\loading.ini", kv);
}

void write_titles(DataTree& tree) {
  tree.write("rsrc\\dmk_logo2_640x480.png", logo_picture());
  tree.write("rsrc\\QZ_group_redo_rough_640x480.png", group_backdrop());
  tree.write("rsrc\\menu_backdrop_640x480.png", menu_backdrop());
  tree.write("rsrc\\arcade_ending_640x480.png", arcade_ending());
  for (const FighterDef& f : roster()) {
    tree.write("rsrc\\" + f.name + "\\" + f.name + "_symbol.png", symbol_picture(f));
    tree.write("rsrc\\" + f.name + "\\" + f.action_shot, action_shot(f));
  }
}
}  // namespace

GenerateResult generate(const std::string& root) {
  DataTree tree(root);
  GenerateResult result;
  std::string font_error;
  if (!copy_font(tree, kSystemFont, kSystemFontNotice, font_error)) {
    result.errors.push_back(font_error);
    return result;
  }
  write_settings(tree);
  tree.write("rsrc\\music\\menu_loop.wav", wav_bytes(compose_menu_loop()));
  tree.write("rsrc\\music\\stage_loop.wav", wav_bytes(compose_stage_loop()));
  for (const FighterDef& f : roster()) write_fighter(tree, f);
  tree.write("rsrc\\brela\\special\\brela_bullet1.png", bullet());
  for (const std::string& s : sound_names()) tree.write(sound_file_name(s), wav_bytes(synth_named(s)));
  write_stage(tree);
  write_titles(tree);
  write_loading(tree);
  result.files = tree.files_written();
  result.errors = tree.errors();
  return result;
}

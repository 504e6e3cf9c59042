#include "fighter_writer.h"

#include <set>

#include "lying_figure.h"
#include "moves.h"
#include "poses.h"
#include "projectile_art.h"

namespace {
std::string picture_name(const FighterDef& f, const std::string& pic) {
  if (pic.rfind("ball", 0) == 0) return "rsrc\\" + f.name + "\\special\\" + f.name + "_" + pic + ".png";
  return "rsrc\\" + f.name + "\\" + pic + ".png";
}

std::string anim_name(const FighterDef& f, const MoveSpec& m) {
  return "game\\fighter\\" + f.name + "\\" + m.file + ".ini";
}

KeyValues animation_file(const FighterDef& f, const MoveSpec& m) {
  KeyValues kv;
  kv.add("images", static_cast<int>(m.frames.size()));
  if (m.loop) kv.add("loop", 1);
  for (size_t i = 0; i < m.frames.size(); ++i) {
    const FrameSpec& fr = m.frames[i];
    int n = static_cast<int>(i);
    kv.add(key("image%d", n), picture_name(f, fr.picture));
    kv.add(key("rate%d", n), fr.rate);
    if (!fr.sound.empty()) kv.add(key("sound%d", n), sound_file_name(fr.sound));
    if (fr.fire) kv.add(key("fire%d", n), fr.fire);
    if (fr.shake) kv.add(key("shake%d", n), fr.shake);
    if (fr.flash) {
      kv.add(key("flash%d", n), fr.flash);
      kv.add(key("flashrate%d", n), fr.flashrate);
    }
  }
  return kv;
}

KeyValues character_file(const FighterDef& f) {
  KeyValues kv;
  kv.add("hp", f.hp).add("speed", f.speed).add("scale", f.scale);
  const auto& moves = move_table();
  kv.add("moves", static_cast<int>(moves.size()));
  for (size_t i = 0; i < moves.size(); ++i) kv.add(key("move%d", static_cast<int>(i)), anim_name(f, moves[i]));
  const auto& postures = posture_pictures();
  kv.add("images", static_cast<int>(postures.size()));
  for (size_t i = 0; i < postures.size(); ++i)
    kv.add(key("image%d", static_cast<int>(i)), picture_name(f, postures[i]));
  kv.add("knocked_out", picture_name(f, "knocked_out"));
  kv.add("combos", static_cast<int>(f.combos.size()));
  for (size_t c = 0; c < f.combos.size(); ++c) {
    int ci = static_cast<int>(c);
    const ComboDef& combo = f.combos[c];
    kv.add(key("combo%dmove", ci), combo.type);
    kv.add(key("combo%dmoves", ci), static_cast<int>(combo.steps.size()));
    for (size_t s = 0; s < combo.steps.size(); ++s)
      kv.add(key("combo%dmove%d", ci, static_cast<int>(s)), combo.steps[s]);
  }
  return kv;
}
}  // namespace

std::string char_file_name(const FighterDef& f) { return "game\\fighter\\" + f.name + "_char.ini"; }
std::string sound_file_name(const std::string& stem) { return "rsrc\\sfx\\" + stem + ".wav"; }

void write_fighter(DataTree& tree, const FighterDef& f) {
  for (const std::string& pose : pose_names())
    tree.write(picture_name(f, pose), paint_fighter(f.look, pose_for(pose, f.look.build)));
  tree.write(picture_name(f, "knocked_out"), lying_figure(f.look));
  for (int i = 0; i < kBallFrames; ++i)
    tree.write(picture_name(f, "ball" + std::to_string(i + 1)), energy_ball(f.look.glow, i));
  std::set<std::string> done;
  for (const MoveSpec& m : move_table())
    if (done.insert(m.file).second) tree.write(anim_name(f, m), animation_file(f, m));
  tree.write(char_file_name(f), character_file(f));
}

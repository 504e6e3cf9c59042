#include "roster.h"

namespace {
const Ramp kCapeDark{kSwapC, kSwapD, RGB{24, 18, 30}};

FighterDef brela() {
  Look l{};
  l.build = Build::brawler;
  l.spine = 60, l.neck = 8, l.head_r = 13, l.upper_arm = 31, l.fore_arm = 29;
  l.thigh = 42, l.shin = 42, l.foot = 18;
  l.chest_w = 58, l.waist_w = 44, l.hip_w = 44;
  l.arm_r = 10, l.fore_r = 9, l.fist_r = 9, l.thigh_r = 11, l.shin_r = 9, l.ankle_r = 6;
  l.skin = material({{236, 186, 140}, {206, 146, 102}, {152, 98, 70}});
  l.top = material({kSwapA, kSwapB, kSwapC});
  l.sleeves = l.skin;
  l.pants = material({kSwapE, kSwapC, kSwapD});
  l.boots = material({{150, 100, 70}, {110, 70, 50}, {70, 44, 34}});
  l.gloves = material({kSwapA, kSwapA, kSwapB});
  l.hair = material({{120, 60, 40}, {80, 36, 26}, {50, 22, 18}});
  l.belt = material({{255, 170, 80}, {230, 120, 40}, {170, 80, 30}});
  l.cape = l.pants;
  l.eye = {60, 40, 30};
  l.accent = {230, 120, 40}, l.accent_dark = {170, 80, 30};
  l.glow = {{255, 250, 220}, {255, 190, 60}, {240, 110, 30}};
  return {"brela", "brela_action_shot.png", l, 150, 0.28, 1.0,
          {{1, {"down", "up"}}, {2, {"down", "right", "punch"}}, {3, {"down", "kick", "right"}}}};
}

FighterDef kastrell() {
  Look l{};
  l.build = Build::kicker;
  l.spine = 56, l.neck = 10, l.head_r = 12, l.upper_arm = 32, l.fore_arm = 30;
  l.thigh = 50, l.shin = 50, l.foot = 18;
  l.chest_w = 40, l.waist_w = 30, l.hip_w = 34;
  l.arm_r = 6, l.fore_r = 5.5f, l.fist_r = 6, l.thigh_r = 8, l.shin_r = 6.5f, l.ankle_r = 4.5f;
  l.skin = material({{250, 222, 200}, {232, 190, 160}, {180, 136, 112}});
  l.top = material({kSwapA, kSwapE, kSwapC});
  l.sleeves = l.top;
  l.pants = material({kSwapE, kSwapC, kSwapD});
  l.boots = material({{250, 250, 246}, {206, 206, 204}, {140, 140, 152}});
  l.gloves = material({{110, 220, 225}, {40, 160, 170}, {20, 100, 115}});
  l.hair = material({{70, 80, 120}, {36, 42, 72}, {20, 22, 40}});
  l.belt = l.gloves;
  l.cape = l.top;
  l.eye = {30, 60, 90};
  l.accent = {40, 160, 170}, l.accent_dark = {20, 100, 115};
  l.glow = {{255, 235, 245}, {255, 140, 200}, {210, 60, 140}};
  return {"kastrell", "kastrell_action_shot_ha.png", l, 110, 0.2, 1.0,
          {{1, {"kick", "up"}}, {2, {"down", "right", "kick"}}, {3, {"down", "punch", "right"}}}};
}

FighterDef morvane() {
  Look l{};
  l.build = Build::caster;
  l.spine = 60, l.neck = 10, l.head_r = 12, l.upper_arm = 32, l.fore_arm = 30;
  l.thigh = 46, l.shin = 46, l.foot = 17;
  l.chest_w = 44, l.waist_w = 34, l.hip_w = 38;
  l.arm_r = 7, l.fore_r = 6, l.fist_r = 6.5f, l.thigh_r = 8, l.shin_r = 7, l.ankle_r = 5;
  l.skin = material({{236, 220, 226}, {204, 184, 196}, {150, 128, 146}});
  l.top = material({kSwapE, kSwapC, kSwapD});
  l.sleeves = material({kSwapA, kSwapB, kSwapC});
  l.cape = material(kCapeDark);
  l.pants = material(kCapeDark);
  l.boots = material({{120, 100, 130}, {80, 64, 90}, {50, 40, 60}});
  l.gloves = l.skin;
  l.hair = material({{250, 250, 255}, {210, 214, 228}, {150, 154, 176}});
  l.belt = material({{255, 230, 140}, {222, 180, 60}, {160, 120, 30}});
  l.eye = {170, 60, 200};
  l.accent = {222, 180, 60}, l.accent_dark = {160, 120, 30};
  l.glow = {{250, 230, 255}, {200, 130, 255}, {130, 60, 220}};
  return {"morvane", "morvane_action_shot.png", l, 120, 0.25, 1.0,
          {{1, {"punch", "up"}}, {2, {"right", "down", "punch"}}, {3, {"down", "kick", "right"}}}};
}

FighterDef dravitz() {
  Look l{};
  l.build = Build::armoured;
  l.spine = 58, l.neck = 8, l.head_r = 13, l.upper_arm = 32, l.fore_arm = 30;
  l.thigh = 44, l.shin = 44, l.foot = 20;
  l.chest_w = 54, l.waist_w = 42, l.hip_w = 44;
  l.arm_r = 9, l.fore_r = 9, l.fist_r = 8.5f, l.thigh_r = 10, l.shin_r = 9.5f, l.ankle_r = 7;
  l.skin = material({{230, 190, 160}, {196, 150, 120}, {140, 100, 80}});
  l.gloves = material({{226, 230, 238}, {160, 168, 182}, {92, 98, 114}});  // steel
  l.boots = l.gloves;
  l.top = material({kSwapE, kSwapC, kSwapD});
  l.sleeves = l.top;
  l.pants = material({kSwapC, kSwapD, RGB{24, 18, 30}});
  l.hair = l.gloves;
  l.belt = material({kSwapA, kSwapB, kSwapC});  // tabard
  l.cape = l.pants;
  l.eye = {255, 70, 40};
  l.accent = {200, 40, 40}, l.accent_dark = {130, 20, 30};
  l.glow = {{240, 245, 255}, {150, 180, 255}, {80, 100, 230}};
  return {"dravitz", "dravitz_action_shot.png", l, 140, 0.3, 1.0,
          {{1, {"down", "up"}}, {2, {"right", "down", "kick"}}, {3, {"down", "punch", "right"}}}};
}
}  // namespace

const std::vector<FighterDef>& roster() {
  static const std::vector<FighterDef> r = {brela(), kastrell(), morvane(), dravitz()};
  return r;
}

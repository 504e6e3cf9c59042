// Colours shared by every painter: the transparency key, the costume colours
// that the human's recolouring swaps, and small helpers for tone ramps.
#pragma once
#include <cstdint>

struct RGB {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const RGB& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const RGB& o) const { return !(*this == o); }
};

// Pure green is transparent in every keyed picture.
constexpr RGB kKey{0, 255, 0};

// Costume colours the fight set-up swaps on the human's fighter (from-values).
constexpr RGB kSwapA{252, 244, 255};  // pale lilac white
constexpr RGB kSwapB{166, 154, 204};  // lavender
constexpr RGB kSwapC{91, 74, 97};     // dusk purple
constexpr RGB kSwapD{41, 31, 50};     // night purple
constexpr RGB kSwapE{160, 124, 145};  // mauve
constexpr RGB kSwapFrom[5] = {kSwapA, kSwapB, kSwapC, kSwapD, kSwapE};

constexpr RGB kOutline{22, 16, 26};

// Three flat tones of one material: lit rim, body, shadow.
struct Ramp {
  RGB light, base, shade;
};

RGB mix(RGB a, RGB b, float t);
// True when the colour is so close to the key that a converter or a careless
// eye could take it for transparency.
bool near_key(RGB c);
// Nudges a colour away from the key (used on gradients and glows).
RGB away_from_key(RGB c);
